#pragma once
// The event runner: the task (kind 1500, slot 907) that runs a square's script for a player,
// one command a frame, and draws the event's portrait, message window, text and choice.
#include <cstdint>

#include "render/rect.hpp"

namespace tessaly {

struct Task;
struct PlayerRecord;
struct EventRunnerRecord;

using EventState = void (*)(EventRunnerRecord&);

constexpr int kMessageLines = 3;
constexpr int kMessageLineGlyphs = 24;
// A choice label: at most 19 bytes and its terminating zero.
constexpr int kLabelBytes = 20;
constexpr int kLabelTextMax = kLabelBytes - 1;
constexpr int kMoversMax = 4;
constexpr int kPortraitCount = 25;
// Portrait value of a fresh event: none shown.
constexpr int32_t kPortraitNone = 100;

// Frames a computer player lets a revealed message stand, and before it answers a choice.
constexpr int32_t kComputerMessageFrames = 30;
constexpr int32_t kComputerChoiceFrames = 20;

// What event_step asks the runner to do next.
constexpr int kCodeNext = 0;
constexpr int kCodeMessage = 1;
constexpr int kCodeChoice = 2;
constexpr int kCodeFrameWait = 3;
constexpr int kCodeCameraPan = 4;
constexpr int kCodeActorMove = 5;
constexpr int kCodeBattleWait = 6;
constexpr int kCodeShopWait = 10;
constexpr int kCodeEnd = 99;

struct EventRunnerRecord {
    int32_t alive;          // 0 ends the runner at the end of its update
    int32_t read_position;  // next byte of the script buffer to read
    int32_t square_index;   // square number - 1 of the square whose script runs
    int32_t script_number;  // the script buffer read
    int32_t wait_frames;    // frames left in a frame wait
    PlayerRecord* player;   // the player the event runs for
    int32_t countdown;      // frames before a computer player's message or choice goes on
    EventState state;
    int32_t window_shown;  // 1: the message window is drawn
    int32_t portrait;      // 0..24 shows that portrait; any other value none
    int32_t source_lines[kMessageLines][kMessageLineGlyphs];  // the message being revealed
    int32_t reveal_glyph;                                     // next glyph of the reveal line
    int32_t reveal_line;                                      // 3 or more: all revealed
    int32_t shown_lines[kMessageLines][kMessageLineGlyphs];   // what is drawn
    int32_t choice;                                           // highlighted option, 0 or 1
    char labels[2][kLabelBytes];                              // where each option jumps
    int32_t pan_direction;                                    // 0, 90, 180 or 270
    int32_t pan_frames;                                       // frames left in the pan
    int32_t mover_count;
    int32_t mover_ids[kMoversMax];
    int32_t mover_directions[kMoversMax];
    int32_t mover_frames[kMoversMax];
};

// Starts the event of a square for a player; 1 if the runner was created, 0 if an event
// already runs or its slot is taken. A square outside 1..square count runs square 1.
int event_start(PlayerRecord* player, int square);
// Points the runner at a square's script from its first byte: square index n - 1 (0 for a
// square outside 1..square count) and the script of that square's current stage.
void event_runner_select_square(EventRunnerRecord& r, int square);
// The live runner's record, or null.
EventRunnerRecord* event_runner_find();

// The runner's states; other code compares the state with these. To resume is to go back to
// runner_run, so the next command executes in the next frame.
void runner_start(EventRunnerRecord& r);
void runner_run(EventRunnerRecord& r);
void runner_message(EventRunnerRecord& r);
void runner_choice(EventRunnerRecord& r);
void runner_frame_wait(EventRunnerRecord& r);
void runner_camera_pan(EventRunnerRecord& r);
void runner_actor_move(EventRunnerRecord& r);
void runner_battle_wait(EventRunnerRecord& r);
void runner_shop_wait(EventRunnerRecord& r);
// The state's name for the dump ("message"); "other" for none of the above.
const char* runner_state_name(EventState s);

// Executes the next command of the script and returns its code.
int event_step(EventRunnerRecord& r);
// Moves the read position just past the next occurrence of the label at or after it. A
// label found nowhere ahead moves it to the script's last byte, which ends the event.
void jump_to_label(EventRunnerRecord& r, const unsigned char* script, const char* label);
// The script buffer the runner reads; null when its script number names no buffer.
const unsigned char* runner_script(const EventRunnerRecord& r);
// One frame of command 18's movers: each with frames left moves its actors one step.
void runner_movers_step(EventRunnerRecord& r);
// Switches to the state of a code; 99 ends the event.
void runner_enter(EventRunnerRecord& r, int code);

void event_runner_update(Task* t);
void event_runner_draw(Task* t);

// Where portrait n (0..24) lies on the atlas.
extern const Rect kPortraits[kPortraitCount];

}  // namespace tessaly
