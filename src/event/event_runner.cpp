#include "event/event_runner.hpp"

#include <cstdio>
#include <cstring>
#include <string>

#include "app/debug_dump.hpp"
#include "app/keys.hpp"
#include "app/task_pool.hpp"
#include "event/event_actors.hpp"
#include "event/event_commands.hpp"
#include "event/event_pack.hpp"
#include "event/glyph_table.hpp"
#include "field/camera.hpp"
#include "field/players.hpp"
#include "render/glyph_line.hpp"
#include "render/sprites.hpp"
#include "sound/sound.hpp"
#include "state/game_state.hpp"

namespace tessaly {

const Rect kPortraits[kPortraitCount] = {
    {1304, 759, 1511, 934},   {1517, 761, 1688, 925},   {1690, 732, 1867, 901},
    {1334, 936, 1511, 1101},  {1513, 927, 1690, 1128},  {1869, 708, 2046, 873},
    {1690, 502, 1867, 730},   {1692, 903, 1865, 1128},  {1873, 875, 2046, 1100},
    {1867, 1102, 2046, 1297}, {1680, 1130, 1865, 1297}, {1493, 1130, 1678, 1297},
    {1320, 1103, 1491, 1297}, {2, 1830, 192, 2000},     {212, 1828, 390, 2000},
    {416, 1816, 592, 2012},   {616, 1830, 794, 2000},   {1224, 1820, 1400, 2014},
    {1022, 1822, 1198, 2006}, {820, 1814, 996, 2010},   {1426, 1824, 1602, 2004},
    {1828, 1826, 2006, 2004}, {1630, 1818, 1804, 2010}, {214, 1572, 392, 1734},
    {16, 1546, 186, 1766},
};

namespace {

constexpr float kWindowX = 124.0f;
constexpr float kWindowY = 384.0f;
constexpr Rect kWindowSource = {0, 1148, 512, 1244};
constexpr Rect kHighlightSource = {1538, 1299, 2046, 1319};
constexpr float kHighlightX = 126.0f;
constexpr float kHighlightOffsets[2] = {36.0f, 64.0f};
constexpr uint32_t kHighlightColour = 0x64FFFFFF;
constexpr float kTextX = 140.0f;
constexpr float kTextTop = kWindowY + 8.0f;
constexpr float kLineSpacing = 28.0f;
constexpr float kPortraitX = -4.0f;
constexpr float kPanStep = 0.5f;

struct StateName {
    EventState state;
    const char* name;
};
constexpr StateName kStateNames[] = {
    {&runner_start, "start"},           {&runner_run, "run"},
    {&runner_message, "message"},       {&runner_choice, "choice"},
    {&runner_frame_wait, "frame_wait"}, {&runner_camera_pan, "camera_pan"},
    {&runner_actor_move, "actor_move"}, {&runner_battle_wait, "battle_wait"},
    {&runner_shop_wait, "shop_wait"},
};

bool slot_free(int slot) {
    Task* pool = task_pool();
    return !pool || !pool[slot].in_use;
}

bool computer_player(const EventRunnerRecord& r) {
    return r.player && r.player->computer != 0;
}

void resume(EventRunnerRecord& r) {
    r.state = &runner_run;
}

// The event's section of the dump: the runner's state and the text it shows.
void runner_dump(std::string& out) {
    const EventRunnerRecord* r = event_runner_find();
    if (!r) return;
    char line[256];
    std::snprintf(line, sizeof line,
                  "event square %d script %d state %s read %d window %d portrait %d choice %d "
                  "reveal %d %d countdown %d wait %d pan %d %d movers %d\n",
                  r->square_index + 1, r->script_number, runner_state_name(r->state),
                  r->read_position, r->window_shown, r->portrait, r->choice, r->reveal_line,
                  r->reveal_glyph, r->countdown, r->wait_frames, r->pan_direction, r->pan_frames,
                  r->mover_count);
    out += line;
    for (int l = 0; l < kMessageLines; ++l) {
        char text[kMessageLineGlyphs * 4 + 1];
        if (glyphs_to_text(r->shown_lines[l], kMessageLineGlyphs, text, sizeof text) < 0) {
            std::snprintf(text, sizeof text, "?");
        }
        std::snprintf(line, sizeof line, "event line %d %s\n", l, text);
        out += line;
    }
    if (r->state == &runner_choice) {
        std::snprintf(line, sizeof line, "event labels %s %s\n", r->labels[0], r->labels[1]);
        out += line;
    }
}

// One glyph of the message a frame; a line ends at its 0 or after its 24th glyph.
void reveal_one(EventRunnerRecord& r) {
    const int32_t g = r.reveal_glyph < kMessageLineGlyphs
                          ? r.source_lines[r.reveal_line][r.reveal_glyph]
                          : kGlyphEndOfLine;
    if (g != kGlyphEndOfLine) {
        r.shown_lines[r.reveal_line][r.reveal_glyph] = g;
        r.reveal_glyph += 1;
        return;
    }
    r.reveal_line += 1;
    r.reveal_glyph = 0;
    if (r.reveal_line >= kMessageLines) r.countdown = kComputerMessageFrames;
}

void runner_choose(EventRunnerRecord& r) {
    sound_request(kSoundCursor, 0);
    resume(r);
    const unsigned char* script = runner_script(r);
    if (script) jump_to_label(r, script, r.labels[r.choice == 1 ? 1 : 0]);
}

}  // namespace

const char* runner_state_name(EventState s) {
    for (const StateName& n : kStateNames) {
        if (n.state == s) return n.name;
    }
    return "other";
}

EventRunnerRecord* event_runner_find() {
    Task* pool = task_pool();
    if (!pool) return nullptr;
    Task* t = &pool[kSlotEventRunner];
    if (!t->in_use || t->kind != kKindEventRunner) return nullptr;
    return &task_record<EventRunnerRecord>(t);
}

const unsigned char* runner_script(const EventRunnerRecord& r) {
    if (!g_game.event_buffer || r.script_number < 0 || r.script_number >= kEventScriptBuffers)
        return nullptr;
    return g_game.event_buffer + static_cast<size_t>(r.script_number) * kEventScriptBytes;
}

void event_runner_select_square(EventRunnerRecord& r, int square) {
    int index = square - 1;
    if (index < 0 || index > g_game.square_count - 1 || index >= kSquareCount) index = 0;
    r.square_index = index;
    const int32_t stage = g_game.event_stage[index];
    // A stage outside the table's four columns (a damaged save) runs script 0.
    r.script_number = stage >= 0 && stage < kEventStages ? g_game.event_script[index][stage] : 0;
    r.read_position = 0;
}

int event_start(PlayerRecord* player, int square) {
    if (task_kind_exists(kKindEventRunner)) return 0;
    Task* t = task_alloc_at(kSlotEventRunner);
    if (!t) return 0;
    task_start(t, kKindEventRunner, &event_runner_update, &event_runner_draw);
    EventRunnerRecord& r = task_record<EventRunnerRecord>(t);
    event_runner_select_square(r, square);
    r.alive = 1;
    r.portrait = kPortraitNone;
    r.window_shown = 0;
    r.player = player;
    r.countdown = 0;
    r.wait_frames = 0;
    r.read_position = 0;
    r.choice = 0;
    r.pan_direction = 0;
    r.pan_frames = 0;
    r.state = &runner_start;
    debug_dump_add_section(&runner_dump);
    return 1;
}

void event_runner_update(Task* t) {
    EventRunnerRecord& r = task_record<EventRunnerRecord>(t);
    if (r.state) r.state(r);
    if (r.alive == 0) t->in_use = 0;
}

void runner_start(EventRunnerRecord& r) {
    resume(r);
}

void runner_run(EventRunnerRecord& r) {
    runner_enter(r, event_step(r));
}

void runner_enter(EventRunnerRecord& r, int code) {
    switch (code) {
        case kCodeMessage:
            r.state = &runner_message;
            break;
        case kCodeChoice:
            r.state = &runner_choice;
            break;
        case kCodeFrameWait:
            r.state = &runner_frame_wait;
            break;
        case kCodeCameraPan:
            r.state = &runner_camera_pan;
            break;
        case kCodeActorMove:
            r.state = &runner_actor_move;
            break;
        case kCodeBattleWait:
            r.state = &runner_battle_wait;
            break;
        case kCodeShopWait:
            r.state = &runner_shop_wait;
            break;
        case kCodeEnd:
            r.alive = 0;
            break;
        default:
            break;
    }
}

void runner_message(EventRunnerRecord& r) {
    if (r.reveal_line < kMessageLines) {
        reveal_one(r);
        return;
    }
    if (computer_player(r)) {
        r.countdown -= 1;
        if (r.countdown <= 0) resume(r);
        return;
    }
    if (key_confirm()) {
        sound_request(kSoundCursor, 0);
        resume(r);
    }
}

void runner_choice(EventRunnerRecord& r) {
    if (computer_player(r)) {
        r.countdown -= 1;
        if (r.countdown <= 0) {
            r.choice = 0;
            runner_choose(r);
        }
        return;
    }
    // Every press sounds, also one that leaves the highlight where it is.
    if (key_pressed(kKeyDown)) {
        r.choice = 1;
        sound_request(kSoundCursor, 0);
    }
    if (key_pressed(kKeyUp)) {
        r.choice = 0;
        sound_request(kSoundCursor, 0);
    }
    if (key_confirm()) runner_choose(r);
}

void runner_frame_wait(EventRunnerRecord& r) {
    r.wait_frames -= 1;
    if (r.wait_frames <= 0) {
        r.wait_frames = 0;
        resume(r);
    }
}

// With no camera the pan waits for one; nothing else ends it.
void runner_camera_pan(EventRunnerRecord& r) {
    CameraRecord* c = camera_find();
    if (!c) return;
    r.pan_frames -= 1;
    switch (r.pan_direction) {
        case 0:
            c->target.x += kPanStep;
            break;
        case 90:
            c->target.z += kPanStep;
            break;
        case 180:
            c->target.x -= kPanStep;
            break;
        case 270:
            c->target.z -= kPanStep;
            break;
        default:
            break;
    }
    if (r.pan_frames <= 0) resume(r);
}

void runner_movers_step(EventRunnerRecord& r) {
    const int count = r.mover_count < kMoversMax ? r.mover_count : kMoversMax;
    for (int i = 0; i < count; ++i) {
        if (r.mover_frames[i] <= 0) continue;
        actors_step(r.mover_ids[i], r.mover_directions[i], r.mover_frames[i]);
        r.mover_frames[i] -= 1;
    }
}

void runner_actor_move(EventRunnerRecord& r) {
    runner_movers_step(r);
    const int count = r.mover_count < kMoversMax ? r.mover_count : kMoversMax;
    for (int i = 0; i < count; ++i) {
        if (r.mover_frames[i] >= 1) return;
    }
    resume(r);
}

void runner_battle_wait(EventRunnerRecord& r) {
    if (slot_free(kSlotBattle)) resume(r);
}

void runner_shop_wait(EventRunnerRecord& r) {
    if (slot_free(kSlotShop)) resume(r);
}

int event_step(EventRunnerRecord& r) {
    const unsigned char* script = runner_script(r);
    if (!script) return kCodeEnd;
    if (r.read_position < 0) r.read_position = 0;
    for (;;) {
        const int at = r.read_position;
        // A "#" on the last byte could start no command: that byte always ends the script.
        if (at >= kEventScriptTextMax) {
            r.read_position = kEventScriptTextMax;
            return kCodeEnd;
        }
        r.read_position = at + 1;
        if (script[at] == '#') break;
    }
    const int number = script_read_number(r.read_position, script);
    return event_command(r, script, number);
}

void jump_to_label(EventRunnerRecord& r, const unsigned char* script, const char* label) {
    const int length = static_cast<int>(strnlen(label, kLabelBytes));
    for (int at = r.read_position < 0 ? 0 : r.read_position; at + length <= kEventScriptBytes;
         ++at) {
        if (std::memcmp(script + at, label, static_cast<size_t>(length)) == 0) {
            r.read_position = at + length;
            return;
        }
    }
    // Not found ahead: the event ends cleanly at its next step.
    r.read_position = kEventScriptTextMax;
}

void event_runner_draw(Task* t) {
    const EventRunnerRecord& r = task_record<EventRunnerRecord>(t);
    if (r.portrait >= 0 && r.portrait < kPortraitCount) {
        const Rect& p = kPortraits[r.portrait];
        atlas_draw(kPortraitX, kScreenHeight - (p.bottom - p.top), p);
    }
    if (r.window_shown == 1) panel_draw(kWindowX, kWindowY, kWindowSource, kColourTranslucent);
    const bool choosing = r.state == &runner_choice;
    if (choosing) {
        atlas_draw(kHighlightX, kWindowY + kHighlightOffsets[r.choice == 1 ? 1 : 0],
                   kHighlightSource, kHighlightColour);
    }
    if (choosing || r.state == &runner_message) {
        for (int l = 0; l < kMessageLines; ++l) {
            glyph_line_draw(kTextX, kTextTop + kLineSpacing * static_cast<float>(l),
                            r.shown_lines[l]);
        }
    }
}

}  // namespace tessaly
