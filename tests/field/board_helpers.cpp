#include "board_helpers.hpp"

#include "app/asset_pack.hpp"
#include "event/event_runner.hpp"
#include "field/map.hpp"
#include "platform/audio.hpp"
#include "sound/sound.hpp"
#include "state/new_game.hpp"

namespace tessaly::test {
void BoardFixture::SetUp() {
    TickFixture::SetUp();
    // Only the board's fields: the fixed tables of the game state keep their contents.
    for (int32_t& stage : g_game.event_stage) stage = 0;
    g_game.square_count = 0;
    g_game.minimap_flag = 0;
    apply_settings_defaults();
    ASSERT_EQ(map_alloc(), 1);
}

void BoardFixture::TearDown() {
    map_free();
    TickFixture::TearDown();
}

const std::vector<std::string> kFourSquareBoard = {
    "##########", "#o..o..o##", "#.##.#####", "#.##.#####", "#o########", "##########",
};

void lay_board(const std::vector<std::string>& rows) {
    const int h = static_cast<int>(rows.size());
    const int w = h ? static_cast<int>(rows[0].size()) : 0;
    g_game.map_width = w;
    g_game.map_height = h;
    int next_square = 1;
    for (int r = 0; r < h; ++r) {
        for (int c = 0; c < w; ++c) {
            const int cell = cell_index_of(c, r);
            int terrain = 0, square = 0;
            switch (rows[r][c]) {
                case '#':
                    terrain = kTerrainFill;
                    break;
                case 'o':
                    square = next_square++;
                    break;
                case '~':
                    terrain = kTerrainWater;
                    break;
                case '^':
                    terrain = kTerrainRaised;
                    break;
                case '1':
                case '2':
                case '3':
                case '4':
                    terrain = rows[r][c] - '0';
                    break;
                default:
                    break;
            }
            g_game.terrain_layer[cell] = static_cast<int8_t>(terrain);
            g_game.square_layer[cell] = static_cast<int8_t>(square);
        }
    }
    g_game.square_count = map_count_squares();
}

void cell_world(int column, int row, float& x, float& z) {
    x = static_cast<float>(column);
    z = static_cast<float>(row);
    map_to_world(x, z);
}

int cell_index_of(int column, int row) {
    const int r0 = (kGridSize - g_game.map_height) / 2;
    const int c0 = (kGridSize - g_game.map_width) / 2;
    return (row + r0) * kGridSize + column + c0;
}

int square_on(int column, int row) {
    return square_at(cell_index_of(column, row));
}

PlayerRecord& player_at_slot(int slot) {
    return task_record<PlayerRecord>(&task_pool()[slot]);
}

void SoundedBoardFixture::SetUp() {
    BoardFixture::SetUp();
    platform::audio_use_recording(true);
    ASSERT_EQ(pack_load(), 1);
    ASSERT_EQ(sound_init(), 1);
    platform::audio_record_clear();
}

void SoundedBoardFixture::TearDown() {
    sound_release();
    pack_release();
    platform::audio_record_clear();
    platform::audio_use_recording(false);
    BoardFixture::TearDown();
}

std::string sounds_played() {
    std::string out;
    for (int i = 0; i < platform::audio_record_count(); ++i) {
        const platform::AudioEvent e = platform::audio_record_event(i);
        if (e.op != platform::AudioOp::Play) continue;
        if (!out.empty()) out += " ";
        out += "play " + std::to_string(e.voice);
    }
    return out;
}

}  // namespace tessaly::test

namespace tessaly::test {

void GameFixture::SetUp() {
    kept = g_game;
    SoundedBoardFixture::SetUp();
}

void GameFixture::TearDown() {
    SoundedBoardFixture::TearDown();
    int8_t* square = g_game.square_layer;
    int8_t* terrain = g_game.terrain_layer;
    unsigned char* events = g_game.event_buffer;
    g_game = kept;
    g_game.square_layer = square;
    g_game.terrain_layer = terrain;
    g_game.event_buffer = events;
}

void event_run_out(int limit) {
    for (int i = 0; i < limit && task_kind_exists(kKindEventRunner); ++i) {
        const EventRunnerRecord* r = event_runner_find();
        const bool waits_for_key =
            r && ((r->state == &runner_message && r->reveal_line >= kMessageLines) ||
                  r->state == &runner_choice);
        if (waits_for_key) {
            tick_press({kKeyEnter});
        } else {
            tick();
        }
    }
}

void board_in_play(int character) {
    new_game(character);
    event_run_out();
    ASSERT_EQ(task_kind_exists(kKindEventRunner), 0);
    ticks(2);
    ASSERT_EQ(player_at_slot(10).state, &die_spin);
}

}  // namespace tessaly::test
