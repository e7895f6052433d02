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
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/app.hpp"
#include "app/debug_dump.hpp"
#include "app/keys.hpp"
#include "lone_battle.hpp"
#include "platform/gpu.hpp"
#include "render/device.hpp"
#include "render/test_card.hpp"
#include "state/save_file.hpp"

namespace {

using namespace tessaly;

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

// --battle: the foes' rows (empty for a random battle) and who fights them.
std::vector<int32_t> g_battle_rows;
int g_battle_computer = 0;
int g_battle_hp = 0;

int battle_first_task() {
    return lone_battle_start(g_battle_rows, g_battle_computer, g_battle_hp);
}

bool parse_battle(const std::string& spec) {
    if (spec == "random") return true;
    if (spec.rfind("set:", 0) != 0) return false;
    std::istringstream in(spec.substr(4));
    std::string row;
    while (std::getline(in, row, ',')) {
        if (row.empty()) return false;
        g_battle_rows.push_back(std::atoi(row.c_str()));
    }
    return !g_battle_rows.empty();
}

const KeyStep* step_for(int tick) {
    const KeyStep* found = nullptr;
    for (const KeyStep& s : g_script) {
        if (s.tick <= tick) found = &s;
    }
    return found;
}

bool script_key(int virtual_key) {
    const KeyStep* s = step_for(g_poll_tick);
    if (!s) return false;
    for (int i = 0; i < kKeyCount; ++i) {
        if (key_virtual_code(i) == virtual_key) return s->held[i];
    }
    return false;
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

bool load_script(const char* path) {
    std::ifstream in(path);
    if (!in) return false;
    std::string line;
    int line_no = 0;
    while (std::getline(in, line)) {
        ++line_no;
        if (line.empty() || line[0] == '#') continue;
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
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    AppConfig& cfg = app_config();
    int ticks = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool has_value = i + 1 < argc;
        if (a == "--seed" && has_value) {
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
        } else if (a == "--computer") {
            g_battle_computer = 1;
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
                         "[--computer] [--hp N]\n";
            return 2;
        }
    }
    // A headless run: no visible window, no sound out, unless the caller chose drivers.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    cfg.no_wait = true;
    cfg.after_tick = &after_tick;
    keys_set_source(&script_key);
    before_render(1);
    return app_main(ticks);
}
