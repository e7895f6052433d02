// tessaly-run: the real program without a visible window and without the frame wait.
//   --seed N          fixed random seed
//   --ticks N         stop after N ticks
//   --keys FILE       key script: lines "TICK KEY..." give the keys held from that tick on
//   --shot TICK:FILE  the presented frame of that tick as a PNG (repeatable)
//   --dump TICK:FILE  a text dump of the live tasks after that tick (repeatable)
//   --test-frame      the renderer's test card in place of the title
//   --saves DIR       the folder of the save files (the working directory by default)
//   --reference-draw  every fan and mesh subset drawn by a draw call of its own
//   --battle SPEC     a battle in place of the title: "random", or "set:ROW,ROW,..." (1..4
//                     rows of the member data table), fought by a lone player of character 0
//   --computer        that player is computer-controlled and fights without keys
//   --hp N            that player's hit points (and their maximum)
//   --rivals-hp N     the computer players of a new game start with N hit points
//   --autoplay        the human player is played by the runner's own player (autoplay.hpp)
//   --character N     the character autoplay picks for a new game (0..2, 0 by default)
//   --until-title     with --autoplay: the run ends at the title after the first ending
//   --no-render       no render pass (the updates alone; nothing drawn changes the game)
//   --render-every N  the render pass only in every Nth tick
//   --record FILE     writes the seed and the keys of every tick (held-key changes)
//   --replay FILE     plays a record back: its seed and its keys
//   --hash-every N    prints "hash TICK WHOLE SAVED" every N ticks and at the last tick
//                     (state_hash.hpp)
//   --save-at T:SLOT  saves the game to the slot at the first tick from T on at which the
//                     human player spins its die showing 1 (the face a loaded die starts
//                     from), and prints "saved SLOT TICK RANDOM"
//   --load SLOT       the slot's game in place of the title
//   --replay-from T   with --load: tick k plays the record's tick T + k, hashes are labelled
//                     T + k, and the key table starts as the record's tick T left it
//   --events FILE     the event pack new games and loaded games read, in place of epack.dat
//   --event K         a new game of character 0 whose first player runs script K on square 41
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/app.hpp"
#include "app/debug_dump.hpp"
#include "app/keys.hpp"
#include "app/random.hpp"
#include "app/state_hash.hpp"
#include "app/task_pool.hpp"
#include "autoplay.hpp"
#include "event/event_pack.hpp"
#include "event/event_runner.hpp"
#include "field/camera.hpp"
#include "field/players.hpp"
#include "lone_battle.hpp"
#include "platform/gpu.hpp"
#include "render/device.hpp"
#include "render/test_card.hpp"
#include "state/game_state.hpp"
#include "state/new_game.hpp"
#include "state/save_file.hpp"

namespace {

using namespace tessaly;

// --rivals-hp: set once, on the first tick that has players.
int g_rivals_hp = 0;

void rivals_hp_apply() {
    if (g_rivals_hp <= 0) return;
    bool any = false;
    for (int s = kSlotPlayersFirst; s < kSlotPlayersEnd; ++s) {
        PlayerRecord* p = player_in_slot(s);
        if (!p) continue;
        any = true;
        if (p->computer) p->hit_points = g_rivals_hp;
    }
    if (any) g_rivals_hp = 0;
}

struct KeyStep {
    int tick;
    bool held[kKeyCount];
};

struct AtTick {
    int tick;
    std::string path;
};

std::vector<KeyStep> g_script;
std::vector<AtTick> g_shots;
std::vector<AtTick> g_dumps;
// The tick whose poll is next; the first tick is 1.
int g_poll_tick = 1;

bool g_autoplay = false;
bool g_until_title = false;
int g_character = 0;
// The keys of the tick being polled, worked out once per tick.
int g_keys_tick = 0;
bool g_held[kKeyCount] = {};
std::ofstream g_record;
bool g_last_recorded[kKeyCount] = {};
bool g_recorded_any = false;
int g_hash_every = 0;
int g_save_from = 0;
int g_save_slot = -1;
bool g_saved = false;
int g_load_slot = -1;
int g_replay_from = 0;
int g_render_every = 0;
long g_rss_start_kb = 0;
long g_rss_warm_kb = 0;
long g_rss_end_kb = 0;
int g_last_tick = -1;

// The resident size of this process in kB, from /proc; 0 where there is none.
long resident_kb() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return 0;
}

// --battle: the foes' rows (empty for a random battle) and who fights them.
std::vector<int32_t> g_battle_rows;
int g_battle_computer = 0;
int g_battle_hp = 0;

int battle_first_task() {
    return lone_battle_start(g_battle_rows, g_battle_computer, g_battle_hp);
}

// --event: the script the opening square runs in place of its own.
int32_t g_event_script = 0;
constexpr int kOpeningSquareIndex = kOpeningEventSquare - 1;

int event_first_task() {
    new_game(0);
    // The opening gives way to script K, run for the first player as if its walk had ended
    // on square 41: the player waits for the event and the camera holds still.
    task_end_kind(kKindEventRunner);
    PlayerRecord* p = player_in_slot(kSlotPlayersFirst);
    if (!p) return 0;
    g_game.event_script[kOpeningSquareIndex][g_game.event_stage[kOpeningSquareIndex]] =
        g_event_script;
    p->state = &event_wait;
    camera_hold();
    return event_start(p, kOpeningEventSquare);
}

bool parse_battle(const std::string& choice) {
    if (choice == "random") return true;
    if (choice.rfind("set:", 0) != 0) return false;
    std::istringstream in(choice.substr(4));
    std::string row;
    while (std::getline(in, row, ',')) {
        if (row.empty()) return false;
        g_battle_rows.push_back(std::atoi(row.c_str()));
    }
    return !g_battle_rows.empty();
}

// The step in force at a tick: the last one from that tick or before (the script is kept in
// tick order, so a whole game's record looks its keys up quickly).
const KeyStep* step_for(int tick) {
    const auto after = std::upper_bound(g_script.begin(), g_script.end(), tick,
                                        [](int t, const KeyStep& s) { return t < s.tick; });
    return after == g_script.begin() ? nullptr : &*(after - 1);
}

void keys_of_script(int tick, bool held[kKeyCount]) {
    const KeyStep* s = step_for(tick);
    for (int i = 0; i < kKeyCount; ++i) held[i] = s ? s->held[i] : false;
}

void record_keys(int tick) {
    if (!g_record.is_open()) return;
    if (g_recorded_any && std::memcmp(g_last_recorded, g_held, sizeof g_held) == 0) return;
    g_record << tick;
    bool any = false;
    for (int i = 0; i < kKeyCount; ++i) {
        if (!g_held[i]) continue;
        g_record << ' ' << key_name(i);
        any = true;
    }
    if (!any) g_record << " -";
    g_record << '\n';
    std::memcpy(g_last_recorded, g_held, sizeof g_held);
    g_recorded_any = true;
}

// The keys of a tick come from the player or the script, once per tick, and go to the record.
void keys_for(int tick) {
    if (g_keys_tick == tick) return;
    g_keys_tick = tick;
    if (g_autoplay) {
        autoplay_keys(g_held);
    } else {
        keys_of_script(tick + g_replay_from, g_held);
    }
    record_keys(tick);
}

bool script_key(int virtual_key) {
    keys_for(g_poll_tick);
    for (int i = 0; i < kKeyCount; ++i) {
        if (key_virtual_code(i) == virtual_key) return g_held[i];
    }
    return false;
}

void print_hash(int tick) {
    std::printf("hash %d %s %s\n", tick, state_hash_text(HashScope::Whole).c_str(),
                state_hash_text(HashScope::Saved).c_str());
}

// The save a player makes from the field menu finds the die spinning; a loaded die starts
// at 1, so the save is taken when the die shows 1 and the two games can be compared.
void save_when_due(int tick) {
    if (g_save_slot < 0 || g_saved || tick < g_save_from) return;
    for (int s = kSlotPlayersFirst; s < kSlotPlayersEnd; ++s) {
        const PlayerRecord* p = player_in_slot(s);
        if (!p || p->computer || p->state != &die_spin || p->steps_left != 1) continue;
        if (!save_game(g_save_slot)) {
            std::fprintf(stderr, "tessaly-run: the save at tick %d failed\n", tick);
            std::exit(1);
        }
        g_saved = true;
        std::printf("saved %d %d %u\n", g_save_slot, tick, random_state());
        if (g_hash_every > 0 && tick % g_hash_every != 0) print_hash(tick);
        return;
    }
}

// --load: the slot's game in place of the title, with the key table as the record left it.
int load_first_task() {
    if (!load_game(g_load_slot)) {
        std::fprintf(stderr, "tessaly-run: slot %d cannot be loaded\n", g_load_slot);
        std::exit(1);
    }
    if (g_replay_from > 0) {
        keys_of_script(g_replay_from, g_held);
        g_keys_tick = 0;
        keys_set_source([](int virtual_key) {
            for (int i = 0; i < kKeyCount; ++i) {
                if (key_virtual_code(i) == virtual_key) return g_held[i];
            }
            return false;
        });
        keys_poll();
        keys_set_source(&script_key);
        if (g_hash_every > 0) print_hash(g_replay_from);
    }
    return 1;
}

// Screenshots are asked for before the tick renders; dumps are written after it updates.
void before_render(int tick) {
    for (const AtTick& s : g_shots) {
        if (s.tick == tick && !render_capture_next(s.path.c_str())) {
            std::cerr << "tessaly-run: no frame to capture at tick " << tick << "\n";
        }
    }
}

void after_tick(int tick) {
    rivals_hp_apply();
    if (g_autoplay) {
        autoplay_observe(tick);
        if (g_until_title && autoplay_figures().endings > 0) g_running = 0;
    }
    if (tick == 1) g_rss_start_kb = resident_kb();
    // The graphics driver fills its caches over the first frames drawn: the resident size
    // after a tenth of the run is the one the end is compared with.
    if (g_last_tick > 0 && tick == g_last_tick / 10) g_rss_warm_kb = resident_kb();
    // The run's last tick, at the tick budget or earlier at the title, is a checkpoint too.
    const bool last = tick == g_last_tick || g_running == 0;
    if (last) g_rss_end_kb = resident_kb();
    if (g_render_every > 0) app_config().no_render = (tick + 1) % g_render_every != 0;
    if (g_hash_every > 0 && ((tick + g_replay_from) % g_hash_every == 0 || last))
        print_hash(tick + g_replay_from);
    save_when_due(tick);
    for (const AtTick& d : g_dumps) {
        if (d.tick != tick) continue;
        const std::string text = debug_dump_text();
        std::ofstream o(d.path);
        o << "tick " << tick << "\n" << text;
    }
    g_poll_tick = tick + 1;
    before_render(tick + 1);
}

bool parse_at(const char* arg, AtTick& out) {
    const char* colon = std::strchr(arg, ':');
    if (!colon) return false;
    out.tick = std::atoi(arg);
    out.path.assign(colon + 1);
    return out.tick > 0 && !out.path.empty();
}

// A record: "seed N", key lines as a key script has them, and "end TICK".
uint32_t g_record_seed = 0;
bool g_record_has_seed = false;
int g_record_end = -1;

bool load_script(const char* path) {
    std::ifstream in(path);
    if (!in) return false;
    std::string line;
    int line_no = 0;
    while (std::getline(in, line)) {
        ++line_no;
        if (line.empty() || line[0] == '#') continue;
        if (line.rfind("seed ", 0) == 0) {
            g_record_seed = static_cast<uint32_t>(std::strtoul(line.c_str() + 5, nullptr, 10));
            g_record_has_seed = true;
            continue;
        }
        if (line.rfind("end ", 0) == 0) {
            g_record_end = std::atoi(line.c_str() + 4);
            continue;
        }
        std::istringstream ls(line);
        KeyStep step{};
        if (!(ls >> step.tick)) {
            std::cerr << path << ":" << line_no << ": a line starts with its tick\n";
            return false;
        }
        std::string name;
        while (ls >> name) {
            if (name == "-") continue;
            const int k = key_index_from_name(name.c_str());
            if (k < 0) {
                std::cerr << path << ":" << line_no << ": unknown key " << name << "\n";
                return false;
            }
            step.held[k] = true;
        }
        g_script.push_back(step);
    }
    // Lines out of tick order still count by their ticks; of equal ticks the later line wins.
    std::stable_sort(g_script.begin(), g_script.end(),
                     [](const KeyStep& a, const KeyStep& b) { return a.tick < b.tick; });
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    AppConfig& cfg = app_config();
    int ticks = -1;
    std::string record_path;
    bool replay = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool has_value = i + 1 < argc;
        if (a == "--autoplay") {
            g_autoplay = true;
        } else if (a == "--until-title") {
            g_until_title = true;
        } else if (a == "--character" && has_value) {
            g_character = std::atoi(argv[++i]);
        } else if (a == "--no-render") {
            cfg.no_render = true;
        } else if (a == "--render-every" && has_value) {
            g_render_every = std::atoi(argv[++i]);
            cfg.no_render = g_render_every > 1;
        } else if (a == "--record" && has_value) {
            record_path = argv[++i];
        } else if (a == "--replay" && has_value) {
            if (!load_script(argv[++i])) {
                std::cerr << "tessaly-run: cannot use record " << argv[i] << "\n";
                return 2;
            }
            replay = true;
        } else if (a == "--hash-every" && has_value) {
            g_hash_every = std::atoi(argv[++i]);
        } else if (a == "--save-at" && has_value) {
            AtTick at;
            if (!parse_at(argv[++i], at)) {
                std::cerr << "tessaly-run: --save-at takes TICK:SLOT\n";
                return 2;
            }
            g_save_from = at.tick;
            g_save_slot = std::atoi(at.path.c_str());
        } else if (a == "--load" && has_value) {
            g_load_slot = std::atoi(argv[++i]);
            cfg.step_first_task = &load_first_task;
        } else if (a == "--replay-from" && has_value) {
            g_replay_from = std::atoi(argv[++i]);
        } else if (a == "--seed" && has_value) {
            cfg.fixed_seed = true;
            cfg.seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (a == "--ticks" && has_value) {
            ticks = std::atoi(argv[++i]);
        } else if (a == "--keys" && has_value) {
            if (!load_script(argv[++i])) {
                std::cerr << "tessaly-run: cannot use key script " << argv[i] << "\n";
                return 2;
            }
        } else if (a == "--saves" && has_value) {
            save_folder_set(argv[++i]);
        } else if (a == "--reference-draw") {
            platform::gpu_reference_drawing(true);
        } else if (a == "--test-frame") {
            cfg.step_first_task = &test_card_create;
        } else if (a == "--battle" && has_value) {
            if (!parse_battle(argv[++i])) {
                std::cerr << "tessaly-run: --battle takes random or set:ROW,ROW,...\n";
                return 2;
            }
            cfg.step_first_task = &battle_first_task;
        } else if (a == "--events" && has_value) {
            event_pack_file_set(argv[++i]);
        } else if (a == "--event" && has_value) {
            g_event_script = std::atoi(argv[++i]);
            if (g_event_script < 0 || g_event_script >= kEventScriptBuffers) {
                std::cerr << "tessaly-run: --event takes a script number of 0.."
                          << kEventScriptBuffers - 1 << "\n";
                return 2;
            }
            cfg.step_first_task = &event_first_task;
        } else if (a == "--computer") {
            g_battle_computer = 1;
        } else if (a == "--rivals-hp" && has_value) {
            g_rivals_hp = std::atoi(argv[++i]);
        } else if (a == "--hp" && has_value) {
            g_battle_hp = std::atoi(argv[++i]);
        } else if ((a == "--shot" || a == "--dump") && has_value) {
            AtTick at;
            if (!parse_at(argv[++i], at)) {
                std::cerr << "tessaly-run: " << a << " takes TICK:FILE\n";
                return 2;
            }
            (a == "--shot" ? g_shots : g_dumps).push_back(at);
        } else {
            std::cerr << "usage: tessaly-run [--seed N] [--ticks N] [--keys FILE] "
                         "[--shot TICK:FILE.png]... [--dump TICK:FILE]... [--test-frame] "
                         "[--saves DIR] [--reference-draw] [--battle random|set:ROW,...] "
                         "[--computer] [--hp N] [--autoplay] [--character N] [--until-title] "
                         "[--no-render] "
                         "[--render-every N] "
                         "[--record FILE] [--replay FILE] [--hash-every N] [--save-at T:SLOT] "
                         "[--load SLOT] [--replay-from T] [--events FILE] [--event K]\n";
            return 2;
        }
    }
    if (replay && !cfg.fixed_seed && g_record_has_seed) {
        cfg.fixed_seed = true;
        cfg.seed = g_record_seed;
    }
    if (replay && ticks < 0 && g_record_end >= 0) ticks = g_record_end - g_replay_from;
    if (g_autoplay) autoplay_begin(g_character);
    g_last_tick = ticks;
    if (!record_path.empty()) {
        g_record.open(record_path);
        if (!g_record) {
            std::cerr << "tessaly-run: cannot write " << record_path << "\n";
            return 2;
        }
        // Without a fixed seed the calendar's seed is the one start-up will take.
        if (!cfg.fixed_seed) {
            cfg.fixed_seed = true;
            cfg.seed = static_cast<uint32_t>(std::time(nullptr));
        }
        g_record << "# tessaly-run record\nseed " << cfg.seed << "\n";
    }
    // A headless run: no visible window, no sound out, unless the caller chose drivers.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    cfg.no_wait = true;
    cfg.after_tick = &after_tick;
    keys_set_source(&script_key);
    before_render(1);
    const int code = app_main(ticks);
    if (g_record.is_open()) {
        g_record << "end " << app_tick_count() << "\n";
        g_record.close();
    }
    if (g_autoplay) {
        std::fputs(autoplay_report().c_str(), stdout);
        std::printf("memory resident_kb start %ld warm %ld end %ld\n", g_rss_start_kb,
                    g_rss_warm_kb, g_rss_end_kb);
    }
    std::fflush(stdout);
    return code;
}
