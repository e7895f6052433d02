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

namespace tessaly::test {

// Virtual key state the keyboard poll reads in tests.
bool& virtual_key_down(int virtual_key);
bool fake_key_source(int virtual_key);

struct BoardFixture : ::testing::Test {
    void SetUp() override;
    void TearDown() override;
};

// Lays a board from rows of text into the centred block: '#' blocked fill, '.' road,
// 'o' a square (numbered 1, 2, ... in reading order), '~' water, '^' raised rock,
// '1'..'4' destinations. Sets the map size and the square count.
void lay_board(const std::vector<std::string>& rows);
// World position of a map cell's centre.
void cell_world(int column, int row, float& x, float& z);
int cell_index_of(int column, int row);
// The square number on a map cell (0 = none).
int square_on(int column, int row);

// One frame of the update half with the given keys held (as game key indices).
void tick(std::initializer_list<int> held = {});
void ticks(int n, std::initializer_list<int> held = {});
// A key pressed for one frame and released the next.
void tap(int key);

// The player of slot 10..12.
PlayerRecord& player_at_slot(int slot);

}  // namespace tessaly::test
