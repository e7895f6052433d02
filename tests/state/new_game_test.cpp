#include "state/new_game.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "app/byte_io.hpp"
#include "app/keys.hpp"
#include "event/event_runner.hpp"
#include "field/board_helpers.hpp"
#include "field/camera.hpp"
#include "field/players.hpp"
#include "platform/audio.hpp"
#include "platform/window.hpp"
#include "scene/title.hpp"
#include "sound/sound.hpp"
#include "state/character_select.hpp"
#include "state/game_state.hpp"
#include "support/scratch_dir.hpp"

namespace tessaly {
namespace {

using test::tick;
using test::tick_press;

Task* slot(int s) {
    return &task_pool()[s];
}

int live_tasks() {
    int n = 0;
    for (int i = 0; i < kTaskSlots; ++i) n += slot(i)->in_use ? 1 : 0;
    return n;
}

// The board's fixture runs where the build put mappack.dat; the fixed tables are restored
// after each test.
struct NewGameFixture : test::GameFixture {
    // Title -> new game entry -> the wheel at rest waiting for keys.
    void open_select_from_title() {
        ASSERT_EQ(title_open(), 1);
        tick();
        tick_press({kKeyEnter});
        ASSERT_EQ(slot(kSlotSelectWheel)->in_use, 1);
        tick();
    }
    void turn(int key) {
        tick_press({key});
        test::ticks(6);
    }
};

using NewGame = NewGameFixture;

TEST_F(NewGame, EndsEverythingAndBuildsTheBoardsTasks) {
    ASSERT_EQ(title_open(), 1);
    ASSERT_EQ(character_select_open(), 1);
    new_game(1);
    EXPECT_EQ(slot(kSlotTitle)->in_use, 0);
    EXPECT_EQ(slot(kSlotSelectWheel)->in_use, 0);
    EXPECT_EQ(slot(kSlotMap)->kind, kKindMap);
    for (int s = kSlotPlayersFirst; s < kSlotPlayersEnd; ++s) {
        ASSERT_EQ(slot(s)->in_use, 1);
        EXPECT_EQ(slot(s)->kind, kKindPlayer);
    }
    EXPECT_EQ(slot(kSlotCamera)->kind, kKindCamera);
    EXPECT_EQ(slot(kSlotEventRunner)->kind, kKindEventRunner);
    // Map, three players, camera and the opening event, and nothing else.
    EXPECT_EQ(live_tasks(), 6);
}

TEST_F(NewGame, ReadsTheBoardAgain) {
    g_game.square_count = 0;
    new_game(0);
    EXPECT_GT(g_game.map_width, 0);
    EXPECT_GT(g_game.square_count, 0);
}

TEST_F(NewGame, HumanGetsTheChosenCharacterAndTheRivalsTheOthersInOrder) {
    for (int c = 0; c < 3; ++c) {
        new_game(c);
        const PlayerRecord& human = test::player_at_slot(10);
        EXPECT_EQ(human.computer, 0);
        EXPECT_EQ(human.character_id, c);
        EXPECT_EQ(test::player_at_slot(11).character_id, (c + 1) % 3);
        EXPECT_EQ(test::player_at_slot(12).character_id, (c + 2) % 3);
        EXPECT_EQ(test::player_at_slot(11).computer, 1);
    }
}

TEST_F(NewGame, OnlyTheOpeningSquareKeepsAStageAndEveryRequestIsFree) {
    for (int32_t& s : g_game.event_stage) s = 3;
    g_game.requests[2].taken = 1;
    g_game.requests[2].holder = 0;
    g_game.requests[7].holder = 5;
    new_game(2);
    for (int i = 0; i < kSquareCount; ++i) {
        EXPECT_EQ(g_game.event_stage[i], i == kOpeningEventSquare - 1 ? 2 : 0)
            << "square " << i + 1;
    }
    for (const RequestRecord& r : g_game.requests) {
        EXPECT_EQ(r.taken, 0);
        EXPECT_EQ(r.holder, kNoHolder);
    }
    EXPECT_EQ(g_game.requests[2].reward_money, game_state_initial().requests[2].reward_money);
}

TEST_F(NewGame, KeepsTheSettingsAndTheScriptTable) {
    g_game.settings[kSettingBattles] = 0;
    g_game.event_script[7][1] = 0;  // a cleared script stays cleared
    new_game(0);
    EXPECT_EQ(g_game.settings[kSettingBattles], 0);
    EXPECT_EQ(g_game.event_script[7][1], 0);
}

TEST_F(NewGame, ASecondNewGameReplacesTheFirstBoard) {
    new_game(0);
    test::ticks(5);
    new_game(1);
    EXPECT_EQ(live_tasks(), 6);
    EXPECT_EQ(test::player_at_slot(10).character_id, 1);
    EXPECT_EQ(test::player_at_slot(10).state, &turn_start);
}

TEST_F(NewGame, TheHumanSpinsTheDieOnceTheOpeningEventHasEnded) {
    new_game(0);
    PlayerRecord& human = test::player_at_slot(10);
    // The opening's messages are confirmed as they stand revealed.
    for (int i = 0; i < 5000 && slot(kSlotEventRunner)->in_use; ++i) {
        const EventRunnerRecord* r = event_runner_find();
        if (r->state == &runner_message && r->reveal_line >= kMessageLines) {
            tick_press({kKeyEnter});
        } else {
            tick();
        }
        EXPECT_EQ(human.state, &turn_start);
    }
    ASSERT_EQ(slot(kSlotEventRunner)->in_use, 0);
    tick();
    tick();
    EXPECT_EQ(human.state, &die_spin);
    ASSERT_NE(camera_find(), nullptr);
    EXPECT_EQ(camera_find()->followed, &human);
}

TEST_F(NewGame, EnterOnTheWheelAtRestStartsWithCharacterZero) {
    open_select_from_title();
    tick_press({kKeyEnter});
    EXPECT_EQ(slot(kSlotSelectWheel)->in_use, 0);
    EXPECT_EQ(test::player_at_slot(10).character_id, 0);
    EXPECT_EQ(g_game.event_stage[kOpeningEventSquare - 1], 0);
}

TEST_F(NewGame, OneRightThenConfirmStartsWithCharacterTwo) {
    open_select_from_title();
    turn(kKeyRight);
    tick_press({kKeyZ});
    EXPECT_EQ(test::player_at_slot(10).character_id, 2);
    EXPECT_EQ(g_game.event_stage[kOpeningEventSquare - 1], 2);
}

TEST_F(NewGame, OneLeftThenConfirmStartsWithCharacterOne) {
    open_select_from_title();
    turn(kKeyLeft);
    tick_press({kKeyEnter});
    EXPECT_EQ(test::player_at_slot(10).character_id, 1);
}

TEST_F(NewGame, ConfirmWhileTheWheelTurnsIsIgnored) {
    open_select_from_title();
    tick_press({kKeyRight});
    tick_press({kKeyEnter});
    EXPECT_EQ(slot(kSlotSelectWheel)->in_use, 1);
    EXPECT_EQ(task_kind_exists(kKindPlayer), 0);
}

// A map pack with a skip block of four bytes, the given size and layer bytes (terrain, then
// squares).
std::vector<unsigned char> map_pack(int32_t width, int32_t height,
                                    const std::vector<unsigned char>& layers) {
    std::vector<unsigned char> out;
    ByteWriter w(out);
    w.i32(4);
    w.i32(0);
    w.i32(width);
    w.i32(height);
    w.i32(0);
    w.i32(0);
    w.bytes(layers.data(), layers.size());
    return out;
}

// Road everywhere, and squares where the square layer says.
std::vector<unsigned char> road_layers(bool with_square) {
    std::vector<unsigned char> v(2 * 64, 0);
    if (with_square) v[64 + 9] = 1;
    return v;
}

// The new game runs in a folder of its own that holds only the map pack it is given.
struct NewGameWithoutBoard : NewGameFixture {
    void write_map_pack(const test::ScratchDir& dir, const std::vector<unsigned char>& bytes) {
        std::ofstream o(dir.file(kMapPackFile), std::ios::binary | std::ios::trunc);
        o.write(reinterpret_cast<const char*>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
    }
    // The start-up's message, the title alone, its music, and nothing of a board.
    void expect_back_at_the_title(const char* what) {
        EXPECT_STREQ(platform::last_error_text(), "data load failed") << what;
        EXPECT_EQ(slot(kSlotTitle)->kind, kKindTitle) << what;
        EXPECT_EQ(live_tasks(), 1) << what;
        EXPECT_EQ(task_kind_exists(kKindPlayer), 0) << what;
        EXPECT_TRUE(platform::audio_voice_state(kTrackTitle).playing) << what;
        EXPECT_FALSE(platform::audio_voice_state(kTrackBoard).playing) << what;
        platform::last_error_reset();
    }
};

TEST_F(NewGameWithoutBoard, AMissingOrDamagedMapPackShowsTheMessageAndOpensTheTitle) {
    test::ScratchDir dir("new-game-board", true);
    platform::last_error_reset();
    new_game(0);
    expect_back_at_the_title("no mappack.dat");

    const std::vector<unsigned char> whole = map_pack(8, 8, road_layers(true));
    std::vector<unsigned char> cut_header = whole;
    cut_header.resize(10);
    std::vector<unsigned char> cut_layers = whole;
    cut_layers.resize(whole.size() - 30);
    std::vector<unsigned char> skip_past_the_end = whole;
    skip_past_the_end[0] = 0xFF;
    skip_past_the_end[1] = 0xFF;
    struct Case {
        const char* what;
        std::vector<unsigned char> bytes;
    };
    const Case cases[] = {
        {"a skip length past the end", skip_past_the_end},
        {"a map larger than the grid", map_pack(302, 8, road_layers(true))},
        {"a negative size", map_pack(-8, 8, road_layers(true))},
        {"an odd size", map_pack(7, 8, road_layers(true))},
        {"a header cut short", cut_header},
        {"layers cut short", cut_layers},
        {"no square at all", map_pack(8, 8, road_layers(false))},
        {"an empty file", {}},
    };
    for (const Case& c : cases) {
        write_map_pack(dir, c.bytes);
        new_game(1);
        expect_back_at_the_title(c.what);
    }
}

TEST_F(NewGameWithoutBoard, TheBoardOfTheBuildStillStartsFromTheSameFolder) {
    test::ScratchDir dir("new-game-board", true);
    const std::string copy = std::string("cp '") + TESSALY_BINARY_DIR + "/" + kMapPackFile + "' .";
    ASSERT_EQ(std::system(copy.c_str()), 0);
    platform::last_error_reset();
    new_game(0);
    EXPECT_STREQ(platform::last_error_text(), "");
    EXPECT_EQ(task_kind_exists(kKindPlayer), 1);
    EXPECT_EQ(slot(kSlotTitle)->in_use, 0);
}

TEST_F(NewGameWithoutBoard, ThePlayerChoosesACharacterAndLandsBackAtTheTitle) {
    test::ScratchDir dir("new-game-board", true);
    platform::last_error_reset();
    open_select_from_title();
    tick_press({kKeyEnter});
    expect_back_at_the_title("from the wheel");
    // The title answers keys again: new game opens the wheel once more.
    tick();
    tick_press({kKeyEnter});
    EXPECT_EQ(slot(kSlotSelectWheel)->in_use, 1);
}

}  // namespace
}  // namespace tessaly
