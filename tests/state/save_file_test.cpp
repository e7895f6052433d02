#include "state/save_file.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/debug_dump.hpp"
#include "field/board_helpers.hpp"
#include "field/camera.hpp"
#include "field/map.hpp"
#include "field/players.hpp"
#include "state/new_game.hpp"
#include "support/save_scratch.hpp"

namespace tessaly {
namespace {

using Bytes = std::vector<unsigned char>;

// Offsets into a save file.
constexpr size_t kPlayerBlock0 = 4;
constexpr size_t kCharacterIdAt = 8;  // within a player block
constexpr size_t kItemsAt = 452;      // within a player block: the first of eight copies
constexpr size_t kCameraAt = kPlayerBlock0 + 3 * kSavePlayerBytes;
constexpr size_t kRequestsAt = kCameraAt + kSaveCameraBytes;
constexpr size_t kRequestSquareAt = 44;  // within a request row
constexpr size_t kStagesAt = kRequestsAt + kSaveRequestBytes;

Bytes file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void put_i32(Bytes& b, size_t at, int32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<unsigned char>(static_cast<uint32_t>(v) >> (8 * i));
}

int32_t get_i32(const Bytes& b, size_t at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(b[at + i]) << (8 * i);
    return static_cast<int32_t>(v);
}

void put_f32(Bytes& b, size_t at, float f) {
    int32_t v;
    std::memcpy(&v, &f, 4);
    put_i32(b, at, v);
}

// Gives every saved field of the board a value a new game would not have.
void vary_the_board() {
    for (int s = 10; s < 13; ++s) {
        PlayerRecord& p = test::player_at_slot(s);
        p.level = 20 + s;
        p.hit_points = 150 + s;
        p.max_hit_points = 300;
        p.money = 123456 + s;
        p.experience = 950;
        p.achievement_bits = 1 << (s - 10);
        p.items[3] = 7;
        p.items[7] = 12;
        p.route_number = 11;
        p.route_die_step = 19;
        p.route_direction_step = 39;
        p.team_number = 2;
        p.team_target = 5;
        p.skip_turn = s == 12 ? 1 : 0;
        p.history[6] = 4321;
        p.members[2].data.attack = 77;
        // A load starts each turn afresh: one step, no step frame.
        p.steps_left = 1;
        p.step_frame = 0;
    }
    g_game.requests[2].taken = 1;
    g_game.requests[2].holder = 0;
    g_game.event_stage[7] = 3;
    g_game.event_stage[59] = 2;
    const int cell = test::cell_index_of(3, 4);
    g_game.terrain_layer[cell] = kTerrainWater;
    CameraRecord* c = camera_find();
    ASSERT_NE(c, nullptr);
    c->target.x += 0.5f;
    c->angle = 265.0f;
}

Bytes current_image() {
    static unsigned char buffer[kSaveMaxBytes];
    const size_t n = save_build(buffer, sizeof buffer);
    return Bytes(buffer, buffer + n);
}

int live_tasks() {
    int n = 0;
    for (int i = 0; i < kTaskSlots; ++i) n += task_pool()[i].in_use ? 1 : 0;
    return n;
}

struct SaveFile : test::GameFixture {
    test::SaveScratch scratch;
    void SetUp() override {
        test::GameFixture::SetUp();
        scratch.open();
    }
    void TearDown() override {
        scratch.close();
        test::GameFixture::TearDown();
    }
    std::string path(int slot) const {
        char p[600];
        save_file_path(slot, p, sizeof p);
        return p;
    }
    void write(int slot, const Bytes& b) const {
        std::ofstream out(path(slot), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
};

TEST_F(SaveFile, HoldsEveryBlockInOrderAtTheLengthOfTheMap) {
    test::board_in_play(1);
    vary_the_board();
    ASSERT_EQ(save_game(0), 1);
    const Bytes b = file_bytes(path(0));
    ASSERT_EQ(b.size(), 2876 + 2 * static_cast<size_t>(g_game.map_width) * g_game.map_height);
    EXPECT_EQ(get_i32(b, 0), 0b111);  // the achievements of all three players together
    for (int k = 0; k < 3; ++k) {
        const size_t block = kPlayerBlock0 + k * kSavePlayerBytes;
        EXPECT_EQ(get_i32(b, block + kCharacterIdAt), (1 + k) % 3);
        // The item block is there eight times over.
        for (int copy = 0; copy < 8; ++copy) {
            EXPECT_EQ(get_i32(b, block + kItemsAt + 32 * copy + 4 * 3), 7);
            EXPECT_EQ(get_i32(b, block + kItemsAt + 32 * copy + 4 * 7), 12);
        }
    }
    float angle;
    std::memcpy(&angle, &b[kCameraAt + 24], 4);
    EXPECT_EQ(angle, 265.0f);
    EXPECT_EQ(get_i32(b, kRequestsAt + 48 * 2 + 4), 1);  // request 2 taken
    EXPECT_EQ(get_i32(b, kRequestsAt + 48 * 2 + kRequestSquareAt), 31);
    EXPECT_EQ(get_i32(b, kStagesAt + 4 * 7), 3);
    EXPECT_EQ(get_i32(b, kStagesAt + 4 * 59), 2);
    // The terrain block, then the square block, row after row of the map.
    const size_t w = g_game.map_width;
    EXPECT_EQ(b[kSaveFixedBytes + 4 * w + 3], kTerrainWater);
    const size_t squares = kSaveFixedBytes + w * g_game.map_height;
    size_t numbered = 0;
    for (size_t i = squares; i < b.size(); ++i) numbered += (b[i] >= 1 && b[i] <= 60) ? 1 : 0;
    EXPECT_EQ(numbered, static_cast<size_t>(g_game.square_count));
}

TEST_F(SaveFile, SaveThenLoadGivesAnIdenticalGame) {
    test::board_in_play(2);
    vary_the_board();
    // A save does not store experience (a loaded game starts it at 0, tested below).
    for (int s = 10; s < 13; ++s) test::player_at_slot(s).experience = 0;
    ASSERT_EQ(save_game(3), 1);
    const Bytes before = current_image();
    const std::string dump_before = debug_dump_text();
    // Something else happens in between: a new game on another character.
    test::board_in_play(0);
    ASSERT_EQ(load_game(3), 1);
    EXPECT_EQ(current_image(), before);
    EXPECT_EQ(debug_dump_text(), dump_before);
    // Map, three players and the camera, and nothing else.
    EXPECT_EQ(live_tasks(), 5);
    EXPECT_EQ(task_pool()[kSlotMap].kind, kKindMap);
}

TEST_F(SaveFile, ALoadedGameStartsAFreshTurnWithoutExperience) {
    test::board_in_play(0);
    vary_the_board();
    PlayerRecord& human = test::player_at_slot(10);
    human.state = &walk;
    human.steps_left = 4;
    human.members[1].data.further[3] = 500;
    ASSERT_EQ(save_game(1), 1);
    ASSERT_EQ(load_game(1), 1);
    for (int s = 10; s < 13; ++s) {
        const PlayerRecord& p = test::player_at_slot(s);
        EXPECT_EQ(p.experience, 0) << "950 experience is not stored";
        EXPECT_EQ(p.state, s == 10 ? &die_spin : &turn_waiting);
        EXPECT_EQ(p.steps_left, 1);
        EXPECT_EQ(p.alive, 1);
        EXPECT_EQ(p.members[0].state, &member_idle);
        EXPECT_EQ(p.members[3].state, &member_follow);
        EXPECT_EQ(p.members[3].ahead, &p.members[2]);
        EXPECT_EQ(p.members[3].owner, &p);
        for (const MemberRecord& m : p.members) {
            EXPECT_EQ(m.data.further[2], 0);
            EXPECT_EQ(m.data.further[3], 0);
        }
        for (int32_t h : p.route_hints) EXPECT_GE(h, -1);
    }
    EXPECT_EQ(test::player_at_slot(10).members[2].data.attack, 77);
    const CameraRecord* c = camera_find();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->followed, &test::player_at_slot(10));
    EXPECT_EQ(c->behaviour, &camera_follow);
    // The turn ring links all three again.
    EXPECT_EQ(test::player_at_slot(12).next_player, &test::player_at_slot(10));
    // The human spins its die on the next frame.
    test::tick();
    EXPECT_EQ(test::player_at_slot(10).steps_left, 2);
}

struct Damage {
    const char* what;
    void (*apply)(Bytes&);
};

const Damage kDamages[] = {
    {"a file one byte short", [](Bytes& b) { b.pop_back(); }},
    {"a file one byte too long", [](Bytes& b) { b.push_back(0); }},
    {"a file of the summary alone", [](Bytes& b) { b.resize(4); }},
    {"an item id of 200", [](Bytes& b) { put_i32(b, kPlayerBlock0 + kItemsAt + 7 * 32 + 4, 200); }},
    {"a request square of 1000",
     [](Bytes& b) { put_i32(b, kRequestsAt + 48 * 3 + kRequestSquareAt, 1000); }},
    {"a character id of 7",
     [](Bytes& b) { put_i32(b, kPlayerBlock0 + kSavePlayerBytes + kCharacterIdAt, 7); }},
    {"two human players", [](Bytes& b) { put_i32(b, kPlayerBlock0 + kSavePlayerBytes + 4, 0); }},
    {"no human player", [](Bytes& b) { put_i32(b, kPlayerBlock0 + 4, 1); }},
    {"a stage of 4", [](Bytes& b) { put_i32(b, kStagesAt + 4 * 10, 4); }},
    {"a team number of 10", [](Bytes& b) { put_i32(b, kPlayerBlock0 + 64, 10); }},
    {"a route number of 12", [](Bytes& b) { put_i32(b, kPlayerBlock0 + 76, 12); }},
    {"a route die step of 20", [](Bytes& b) { put_i32(b, kPlayerBlock0 + 80, 20); }},
    {"a history count of 7", [](Bytes& b) { put_i32(b, kPlayerBlock0 + 60, 7); }},
    {"a history cell past the grid", [](Bytes& b) { put_i32(b, kPlayerBlock0 + 88 + 8, 90000); }},
    {"a member mesh of 25", [](Bytes& b) { put_i32(b, kPlayerBlock0 + 116 + 16 + 4, 25); }},
    {"a player position that is not a number",
     [](Bytes& b) { put_f32(b, kPlayerBlock0 + 36, std::nanf("")); }},
    {"a player far outside the grid", [](Bytes& b) { put_f32(b, kPlayerBlock0 + 44, 1.0e6f); }},
    {"a camera angle that is infinite", [](Bytes& b) { put_f32(b, kCameraAt + 24, INFINITY); }},
    {"a request item of 13", [](Bytes& b) { put_i32(b, kRequestsAt + 48 + 24, 13); }},
    {"a square number of 61 on the map", [](Bytes& b) { b[b.size() - 1] = 61; }},
};

TEST_F(SaveFile, DamagedFilesAreRefusedWithTheGameUntouched) {
    test::board_in_play(1);
    vary_the_board();
    ASSERT_EQ(save_game(2), 1);
    const Bytes good = file_bytes(path(2));
    // The game in play is another one.
    test::board_in_play(2);
    test::ticks(3);
    const Bytes in_play = current_image();
    const std::string dump = debug_dump_text();
    for (const Damage& d : kDamages) {
        Bytes bad = good;
        d.apply(bad);
        write(2, bad);
        EXPECT_EQ(load_game(2), 0) << d.what;
        EXPECT_EQ(current_image(), in_play) << d.what;
        EXPECT_EQ(debug_dump_text(), dump) << d.what;
    }
    // The undamaged file still loads.
    write(2, good);
    EXPECT_EQ(load_game(2), 1);
}

TEST_F(SaveFile, MissingFilesAndSlotsOutsideTheFiveAreRefused) {
    test::board_in_play(0);
    const Bytes in_play = current_image();
    EXPECT_EQ(save_slot_exists(4), 0);
    EXPECT_EQ(load_game(4), 0);
    EXPECT_EQ(load_game(-1), 0);
    EXPECT_EQ(load_game(5), 0);
    EXPECT_EQ(save_game(5), 0);
    EXPECT_EQ(save_game(-1), 0);
    EXPECT_EQ(current_image(), in_play);
    ASSERT_EQ(save_game(4), 1);
    EXPECT_EQ(save_slot_exists(4), 1);
}

TEST_F(SaveFile, AFailedWriteLeavesTheOldFile) {
    test::board_in_play(0);
    ASSERT_EQ(save_game(0), 1);
    const Bytes old = file_bytes(path(0));
    test::player_at_slot(10).money = 5;
    scratch.make_unwritable(path(0));
    EXPECT_EQ(save_game(0), 0);
    EXPECT_EQ(file_bytes(path(0)), old);
}

TEST_F(SaveFile, ABoardThatIsNotWholeIsNotSaved) {
    test::board_in_play(0);
    task_pool()[12].in_use = 0;
    EXPECT_EQ(save_game(0), 0);
    EXPECT_EQ(save_slot_exists(0), 0);
}

TEST_F(SaveFile, TheSummaryIsTheFirstFourBytes) {
    test::board_in_play(0);
    test::player_at_slot(11).achievement_bits = 0b1010;
    ASSERT_EQ(save_game(1), 1);
    EXPECT_EQ(save_slot_summary(1), 0b1010);
    EXPECT_EQ(save_slot_summary(2), 0);
}

}  // namespace
}  // namespace tessaly
