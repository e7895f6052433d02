#include "board_helpers.hpp"

#include "field/map.hpp"

namespace tessaly::test {
namespace {

bool g_virtual_down[256];

}  // namespace

bool& virtual_key_down(int virtual_key) {
    return g_virtual_down[virtual_key & 0xFF];
}

bool fake_key_source(int virtual_key) {
    return virtual_key >= 0 && virtual_key < 256 && g_virtual_down[virtual_key];
}

void BoardFixture::SetUp() {
    ASSERT_TRUE(pool_create());
    pool_reset();
    g_game = GameState{};
    apply_settings_defaults();
    ASSERT_EQ(map_alloc(), 1);
    for (bool& d : g_virtual_down) d = false;
    keys_set_source(&fake_key_source);
    keys_init();
}

void BoardFixture::TearDown() {
    keys_set_source(nullptr);
    map_free();
    pool_destroy();
}

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

void tick(std::initializer_list<int> held) {
    for (bool& d : g_virtual_down) d = false;
    for (int k : held) g_virtual_down[key_virtual_code(k)] = true;
    keys_poll();
    task_update_pass();
}

void ticks(int n, std::initializer_list<int> held) {
    for (int i = 0; i < n; ++i) tick(held);
}

void tap(int key) {
    tick({key});
    tick();
}

PlayerRecord& player_at_slot(int slot) {
    return task_record<PlayerRecord>(&task_pool()[slot]);
}

}  // namespace tessaly::test
