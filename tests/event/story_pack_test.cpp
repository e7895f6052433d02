// The story as the build compiles it (epack.dat beside data.dat), read back through the
// game's own loader and walked command by command the way the runner reads it: every
// command is one the runner knows, every argument list is whole, every jump finds its
// label, and the story keeps what the board and the tables ask of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "event/event_pack.hpp"
#include "platform/window.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

const std::string kBuiltPack = std::string(TESSALY_BINARY_DIR) + "/epack.dat";

// One command as the runner reads it.
struct Step {
    int number = 0;
    int32_t start = 0;  // position of its "#"
    int32_t end = 0;    // read position after its arguments
    std::vector<int> args;
    std::vector<std::string> labels;  // a choice's two labels
};

// The label a condition jumps to when it holds.
const std::map<int, std::string> kConditionLabel = {{15, "all_achieved"}, {20, "kaihi"},
                                                    {31, "requested"},    {32, "no_team"},
                                                    {33, "achieved"},     {36, "other"}};

class StoryPack : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_buffer_ = g_game.event_buffer;
        buffer_.assign(kEventBufferBytes, 0);
        g_game.event_buffer = buffer_.data();
        platform::last_error_reset();
        ASSERT_EQ(event_pack_load(kBuiltPack.c_str()), 1) << kBuiltPack;
        for (int k = 0; k < event_script_count(); ++k) scripts_.push_back(walk(k));
    }
    void TearDown() override {
        g_game.event_buffer = saved_buffer_;
        platform::last_error_reset();
    }

    const unsigned char* buffer(int k) const { return buffer_.data() + k * kEventScriptBytes; }
    std::string text(int k) const {
        const auto* s = reinterpret_cast<const char*>(buffer(k));
        return std::string(s, strnlen(s, kEventScriptBytes));
    }

    // A message or choice line: glyphs up to a 0, or 24 glyphs and one number more.
    void read_line(int k, int32_t& p, Step& s) {
        const unsigned char* b = buffer(k);
        int stored = 0;
        for (;;) {
            const int g = script_read_number(p, b);
            if (g == 0) break;
            EXPECT_LE(g, 336) << "script " << k << ": glyph " << g << " at " << p;
            if (++stored == 24) {
                script_read_number(p, b);
                break;
            }
        }
        s.args.push_back(stored);
    }

    // Reads the script the way the runner does: the next "#", the command number, then its
    // arguments in the runner's order. Every command must be one the runner executes.
    std::vector<Step> walk(int k) {
        const unsigned char* b = buffer(k);
        std::vector<Step> steps;
        int32_t p = 0;
        for (;;) {
            while (p < kEventScriptBytes - 1 && b[p] != '#') ++p;
            if (p >= kEventScriptBytes - 1 || b[p] != '#') break;
            Step s;
            s.start = p++;
            s.number = script_read_number(p, b);
            auto num = [&] {
                const int v = script_read_number(p, b);
                s.args.push_back(v);
                return v;
            };
            auto nums = [&](int n) {
                for (int i = 0; i < n; ++i) num();
            };
            switch (s.number) {
                case 6:
                case 15:
                case 20:
                case 41:
                case 42:
                case 99:
                    break;
                case 1:
                case 3:
                case 5:
                case 14:
                case 19:
                case 21:
                case 31:
                case 32:
                case 33:
                case 34:
                case 36:
                case 37:
                case 38:
                case 39:
                case 40:
                    nums(1);
                    break;
                case 16:
                case 35:
                    nums(2);
                    break;
                case 22:
                    nums(3);
                    break;
                case 11:
                case 17:
                    nums(5);
                    break;
                case 2: {
                    const int lines = num();
                    EXPECT_TRUE(lines >= 1 && lines <= 3) << "script " << k << " at " << s.start;
                    for (int i = 0; i < lines && i < 3; ++i) read_line(k, p, s);
                    break;
                }
                case 4: {
                    for (int i = 0; i < 3; ++i) read_line(k, p, s);
                    for (int i = 0; i < 2; ++i) {
                        std::string label;
                        while (p < kEventScriptBytes - 1 && b[p] != ',' && b[p] != 0)
                            label += static_cast<char>(b[p++]);
                        EXPECT_EQ(b[p], ',') << "script " << k << ": choice label unended";
                        ++p;
                        EXPECT_FALSE(label.empty());
                        EXPECT_LE(label.size(), 19u);
                        s.labels.push_back(label);
                    }
                    break;
                }
                case 7:
                case 10: {
                    const int n = num();
                    EXPECT_TRUE(n >= 1 && n <= (s.number == 7 ? 4 : 12)) << "script " << k;
                    nums(n);
                    break;
                }
                case 18: {
                    const int n = num();
                    EXPECT_TRUE(n >= 1 && n <= 4) << "script " << k;
                    nums(3 * n);
                    break;
                }
                case 30: {
                    num();
                    const int m = num();
                    EXPECT_TRUE(m >= 1 && m <= 12) << "script " << k;
                    nums(m);
                    break;
                }
                default:
                    ADD_FAILURE() << "script " << k << ": no command " << s.number << " at "
                                  << s.start;
            }
            s.end = p;
            steps.push_back(s);
            if (p >= kEventScriptBytes - 1) break;
        }
        return steps;
    }

    // Where the runner lands when it jumps to a label from a read position: just after the
    // label's first occurrence from there; -1 when there is none.
    int32_t jump(int k, int32_t from, const std::string& label) const {
        const size_t at = text(k).find(label, static_cast<size_t>(from));
        return at == std::string::npos ? -1 : static_cast<int32_t>(at + label.size());
    }

    // The index of the first step at or after a read position.
    size_t step_at(int k, int32_t position) const {
        const auto& steps = scripts_[k];
        for (size_t i = 0; i < steps.size(); ++i)
            if (steps[i].start >= position) return i;
        return steps.size();
    }

    // Every command a computer player can reach: conditions either way, a choice always
    // option 0 (a computer player takes it after 20 frames), command 40 not followed.
    std::set<int> computer_reach(int k) const {
        std::set<int> seen_steps, numbers;
        std::vector<size_t> todo{0};
        const auto& steps = scripts_[k];
        while (!todo.empty()) {
            size_t i = todo.back();
            todo.pop_back();
            for (; i < steps.size(); ++i) {
                if (!seen_steps.insert(static_cast<int>(i)).second) break;
                const Step& s = steps[i];
                numbers.insert(s.number);
                if (s.number == 99) break;
                if (s.number == 4) {
                    todo.push_back(step_at(k, jump(k, s.end, s.labels[0])));
                    break;
                }
                const auto cond = kConditionLabel.find(s.number);
                if (cond != kConditionLabel.end())
                    todo.push_back(step_at(k, jump(k, s.end, cond->second)));
            }
        }
        return numbers;
    }

    int script_of(int square, int stage) const { return g_game.event_script[square - 1][stage]; }
    std::vector<const Step*> commands(int k, int number) const {
        std::vector<const Step*> out;
        for (const Step& s : scripts_[k])
            if (s.number == number) out.push_back(&s);
        return out;
    }

    std::vector<unsigned char> buffer_;
    unsigned char* saved_buffer_ = nullptr;
    std::vector<std::vector<Step>> scripts_;
};

TEST_F(StoryPack, LoadsWholeWithoutAnOverflowMessage) {
    EXPECT_EQ(event_script_count(), 39);
    EXPECT_EQ(event_pack_overflows(), 0);
    EXPECT_STREQ(platform::last_error_text(), "");
    // Every script the table names says something, but for script 0 and the four that no
    // square names.
    for (int k = 1; k < 39; ++k) {
        if (k >= 29 && k <= 32) continue;
        EXPECT_GE(scripts_[k].size(), 3u) << "script " << k;
    }
}

TEST_F(StoryPack, EveryJumpFindsItsLabelAtACommandBoundary) {
    for (int k = 0; k < 39; ++k) {
        const std::string t = text(k);
        for (const Step& s : scripts_[k]) {
            std::vector<std::string> labels = s.labels;
            const auto cond = kConditionLabel.find(s.number);
            if (cond != kConditionLabel.end()) labels.push_back(cond->second);
            for (const std::string& label : labels) {
                const int32_t to = jump(k, s.end, label);
                ASSERT_GE(to, 0) << "script " << k << ": no " << label << " after " << s.start;
                // The label stands where a command ends and the next begins (or the text ends),
                // not inside a longer word.
                EXPECT_TRUE(static_cast<size_t>(to) == t.size() || t[to] == '#')
                    << "script " << k << ": " << label << " lands inside text at " << to;
            }
        }
    }
}

TEST_F(StoryPack, ComputerPlayersNeverStartASetBattle) {
    std::set<int> battles;
    for (int k = 0; k < 39; ++k) {
        if (!commands(k, 7).empty()) battles.insert(k);
        EXPECT_EQ(computer_reach(k).count(7), 0u) << "script " << k;
    }
    // The guardians of the four crests, the witch's servant and the Shadow King.
    EXPECT_EQ(battles, (std::set<int>{7, 10, 12, 13, 17, 28}));
    std::set<int> rows;
    for (int k : battles)
        for (const Step* s : commands(k, 7))
            for (size_t i = 1; i < s->args.size(); ++i) rows.insert(s->args[i]);
    EXPECT_EQ(rows, (std::set<int>{18, 19, 20, 21, 22, 23}));
}

TEST_F(StoryPack, GiversHandOutTheBoardsRoutesAndComputerPlayersAccept) {
    struct Giver {
        int square, request;
        std::set<int> routes;
    };
    for (const Giver& g :
         {Giver{8, 1, {4, 5, 6, 7}}, Giver{31, 2, {0, 1, 2, 3}}, Giver{35, 3, {8, 9, 10, 11}}}) {
        const int offer = script_of(g.square, 0);
        const auto takes = commands(offer, 30);
        ASSERT_EQ(takes.size(), 1u) << "square " << g.square;
        EXPECT_EQ(takes[0]->args[0], g.request);
        EXPECT_EQ(std::set<int>(takes[0]->args.begin() + 2, takes[0]->args.end()), g.routes);
        EXPECT_EQ(computer_reach(offer).count(30), 1u) << "square " << g.square;
        // Taken, the giver waits (stage 1); its holder completes it there.
        EXPECT_EQ(commands(script_of(g.square, 1), 34).size(), 1u);
        EXPECT_EQ(commands(script_of(g.square, 1), 34)[0]->args[0], g.request);
        // Nothing else hands out or completes a request.
        for (int k = 0; k < 39; ++k) {
            if (k == offer) continue;
            for (const Step* s : commands(k, 30)) EXPECT_NE(s->args[0], g.request) << k;
        }
    }
}

TEST_F(StoryPack, ItemSquaresSellTheirRequestsItemInEveryStageTheyReach) {
    struct Shop {
        int square, item;
        std::vector<int> stages;
    };
    for (const Shop& s : {Shop{16, 11, {0}}, Shop{37, 5, {0, 1}}, Shop{7, 12, {0, 1}}}) {
        for (int stage : s.stages) {
            const auto shops = commands(script_of(s.square, stage), 10);
            ASSERT_EQ(shops.size(), 1u) << "square " << s.square << " stage " << stage;
            const auto& a = shops[0]->args;
            EXPECT_NE(std::find(a.begin() + 1, a.end(), s.item), a.end())
                << "square " << s.square << " stage " << stage;
        }
        // No script moves the item square to a stage whose script does not sell the item.
        for (int k = 0; k < 39; ++k)
            for (const Step* st : commands(k, 35)) {
                if (st->args[0] != s.square) continue;
                EXPECT_NE(std::find(s.stages.begin(), s.stages.end(), st->args[1]), s.stages.end())
                    << "script " << k;
            }
    }
    // The mayor's request, once done, opens the rockfall on the road to the causeway.
    const auto blasts = commands(script_of(8, 1), 22);
    ASSERT_EQ(blasts.size(), 1u);
    EXPECT_EQ(blasts[0]->args, (std::vector<int>{30, 60, 0}));
    // Healing items 1 and 2 are on sale somewhere.
    std::set<int> sold;
    for (int k = 0; k < 39; ++k)
        for (const Step* s : commands(k, 10)) sold.insert(s->args.begin() + 1, s->args.end());
    EXPECT_TRUE(sold.count(1) && sold.count(2));
}

TEST_F(StoryPack, FourAchievementsAndAnEnding) {
    int bits = 0;
    for (int k = 0; k < 39; ++k)
        for (const Step* s : commands(k, 37)) bits |= s->args[0];
    EXPECT_EQ(bits, 15);
    // The ending: the end picture, then the credits, only in the castle's script, behind
    // the check of the four achievements.
    for (int k = 0; k < 39; ++k) {
        const bool ends = !commands(k, 41).empty() || !commands(k, 42).empty();
        EXPECT_EQ(ends, k == script_of(27, 1)) << "script " << k;
    }
    const int castle = script_of(27, 1);
    ASSERT_FALSE(commands(castle, 15).empty());
    ASSERT_FALSE(commands(castle, 41).empty());
    EXPECT_LT(commands(castle, 15)[0]->start, commands(castle, 41)[0]->start);
    EXPECT_LT(commands(castle, 41)[0]->start, commands(castle, 42)[0]->start);
    // The castle opens (square 27 to stage 1) only where the four are seen together.
    for (int k = 0; k < 39; ++k)
        for (const Step* s : commands(k, 35))
            if (s->args[0] == 27) {
                const auto checks = commands(k, 15);
                ASSERT_FALSE(checks.empty()) << "script " << k;
                EXPECT_GT(s->start, checks[0]->start) << "script " << k;
            }
}

TEST_F(StoryPack, OpeningsSetTheCharactersSquareAndGoOnToOrdsHouse) {
    for (int c = 0; c < 3; ++c) {
        const int k = script_of(41, c);
        ASSERT_EQ(commands(k, 39).size(), 1u) << "character " << c;
        EXPECT_EQ(commands(k, 39)[0]->args[0], 42);
        ASSERT_EQ(commands(k, 40).size(), 1u);
        EXPECT_EQ(commands(k, 40)[0]->args[0], 42);
        // Shown again, the players; the opening does not come back (square 41 to stage 3).
        ASSERT_FALSE(commands(k, 21).empty());
        EXPECT_EQ(commands(k, 21).back()->args[0], 1);
        bool plain_after = false;
        for (const Step* s : commands(k, 35)) plain_after |= s->args[0] == 41 && s->args[1] == 3;
        EXPECT_TRUE(plain_after);
        EXPECT_EQ(script_of(41, 3), 0);
        // Every actor it places is removed again.
        EXPECT_EQ(commands(k, 11).size() + commands(k, 17).size(), commands(k, 19).size());
    }
}

}  // namespace
}  // namespace tessaly
