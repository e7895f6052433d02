#pragma once
// Test helpers for the board: a pool and map set up as at start-up, small boards laid
// from text, and ticks driven with keys held.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "app/keys.hpp"
#include "app/task_pool.hpp"
#include "field/map.hpp"
#include "field/players.hpp"
#include "state/game_state.hpp"
#include "support/ticks.hpp"

namespace tessaly::test {

// A fresh pool, keyboard and game state with the map buffers allocated, as at start-up.
struct BoardFixture : TickFixture {
    void SetUp() override;
    void TearDown() override;
};

// Lays a board from rows of text into the centred block: '#' blocked fill, '.' road,
// 'o' a square (numbered 1, 2, ... in reading order), '~' water, '^' raised rock,
// '1'..'4' destinations. Sets the map size and the square count.
void lay_board(const std::vector<std::string>& rows);

// The small board the walking, player and computer-turn tests share. Squares in reading
// order: 1 (1,1), 2 (4,1), 3 (7,1), 4 (1,4). A blind corridor runs south from square 2;
// square 4 lies south of square 1.
extern const std::vector<std::string> kFourSquareBoard;
// World position of a map cell's centre.
void cell_world(int column, int row, float& x, float& z);
int cell_index_of(int column, int row);
// The square number on a map cell (0 = none).
int square_on(int column, int row);

// The player of slot 10..12.
PlayerRecord& player_at_slot(int slot);

}  // namespace tessaly::test

namespace tessaly::test {

// A board whose sound requests reach the recording output (the pack's real sounds).
struct SoundedBoardFixture : BoardFixture {
    void SetUp() override;
    void TearDown() override;
};

// The effects played in the last frame, as the recording output logged them ("play 8").
std::string sounds_played();

}  // namespace tessaly::test

namespace tessaly::test {

// A sounded board for tests that play whole games: the game state is given back as it was
// (its layers and event buffer excepted) after the test.
struct GameFixture : SoundedBoardFixture {
    GameState kept{};
    void SetUp() override;
    void TearDown() override;
};

// Runs the event until it ends (at most limit frames), confirming each message and taking
// the highlighted option of each choice.
void event_run_out(int limit = 20000);

// A new game whose opening event has run out: the human spins its die.
void board_in_play(int character);

}  // namespace tessaly::test
