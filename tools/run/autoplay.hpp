#pragma once
// The headless runner's player: plays the human player as a sensible player would, from what
// the screen shows (the game's own records), by holding keys like a script does.
#include <cstdint>
#include <string>

#include "app/keys.hpp"

namespace tessaly {

struct AutoplayFigures {
    int ticks = 0;
    int new_games = 0;
    int turns[3] = {};        // turns begun, by player slot 10..12
    int longest_turn = 0;     // ticks from a turn's start until the next player's
    int longest_turn_at = 0;  // the tick that turn began
    int battles_won[3] = {};
    int battles_lost[3] = {};
    int requests_completed[3] = {};  // by character id
    int requests_taken[3] = {};
    int end_picture_tick = 0;
    int credits_tick = 0;
    int back_at_title_tick = 0;  // after the credits
    int stalled_at = 0;          // the tick no turn had ended for too long, 0 if never
    int endings = 0;             // games played to the title after the credits
};

// Starts the policy for a new game with the character (0..2).
void autoplay_begin(int character_id);
// The keys to hold in this tick, decided from the game as the last tick left it.
void autoplay_keys(bool held[kKeyCount]);
// After every tick: counts turns, battles and requests, and sees the ending.
void autoplay_observe(int tick);
const AutoplayFigures& autoplay_figures();
// The figures as lines of text.
std::string autoplay_report();

}  // namespace tessaly
