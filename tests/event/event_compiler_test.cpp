#include "event_compiler.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "event/event_pack.hpp"
#include "event/glyph_table.hpp"
#include "platform/window.hpp"
#include "state/game_state.hpp"
#include "support/scratch_dir.hpp"

namespace tessaly {
namespace {

using evc::Command;
using evc::Script;

const evc::GlyphMap& glyphs() {
    static const evc::GlyphMap map = [] {
        evc::GlyphMap m;
        std::string error;
        EXPECT_TRUE(evc::glyphs_load(TESSALY_SOURCE_DIR "/content/glyphs/glyphs.tsv", m, error))
            << error;
        return m;
    }();
    return map;
}

// Compiles one source; the errors joined by line feeds ("" when it compiled).
std::string compile(const std::string& source, Script* out = nullptr) {
    Script s;
    std::vector<std::string> errors;
    evc::script_compile("t.ev", source, glyphs(), s, errors);
    if (out) *out = s;
    std::string joined;
    for (const std::string& e : errors) joined += e + "\n";
    return joined;
}

std::string text_of(const std::string& source) {
    Script s;
    const std::string errors = compile(source, &s);
    EXPECT_EQ(errors, "");
    return s.text;
}

void write_file(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// A source that compiles to exactly n bytes of waits ("#5,1," is 5 bytes, "#5,10," 6).
std::string waits_of_bytes(int n) {
    for (int fives = 0; fives < 6; ++fives) {
        if ((n - 5 * fives) % 6 != 0 || n < 5 * fives) continue;
        std::string s;
        for (int i = 0; i < fives; ++i) s += "wait 1\n";
        for (int i = 0; i < (n - 5 * fives) / 6; ++i) s += "wait 10\n";
        return s;
    }
    ADD_FAILURE() << "no waits of " << n << " bytes";
    return "";
}

// Reads the commands of a loaded script the way the runner reads them: search for "#", the
// command number, then the arguments in the order of the command table.
struct ReadBack {
    std::vector<Command> commands;
    bool ran_to_end = false;
};

ReadBack read_back(const unsigned char* script) {
    ReadBack r;
    int32_t p = 0;
    auto line = [&](std::vector<int32_t>& out) {
        int stored = 0;
        for (;;) {
            const int32_t g = script_read_number(p, script);
            out.push_back(g);
            if (g == 0) return;
            if (++stored == evc::kLineGlyphs) {
                // A full line: the runner reads one more number and drops it.
                out.push_back(script_read_number(p, script));
                return;
            }
        }
    };
    for (int guard = 0; guard < 1000; ++guard) {
        while (p < kEventScriptBytes - 1 && script[p] != '#') ++p;
        if (p >= kEventScriptBytes - 1) {
            r.ran_to_end = true;
            return r;
        }
        ++p;
        Command c;
        c.number = script_read_number(p, script);
        auto take = [&](int n) {
            for (int i = 0; i < n; ++i) c.numbers.push_back(script_read_number(p, script));
        };
        switch (c.number) {
            case 2: {
                const int32_t count = script_read_number(p, script);
                c.numbers.push_back(count);
                for (int i = 0; i < count && i < 3; ++i) line(c.numbers);
                break;
            }
            case 4:
                for (int i = 0; i < 3; ++i) line(c.numbers);
                for (int i = 0; i < 2; ++i) {
                    std::string label;
                    while (p < kEventScriptBytes - 1 && script[p] != ',')
                        label += static_cast<char>(script[p++]);
                    ++p;
                    c.labels.push_back(label);
                }
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
                take(1);
                break;
            case 16:
            case 35:
                take(2);
                break;
            case 22:
                take(3);
                break;
            case 11:
            case 17:
                take(5);
                break;
            case 7:
            case 10:
            case 18: {
                const int32_t count = script_read_number(p, script);
                c.numbers.push_back(count);
                take(count * (c.number == 18 ? 3 : 1));
                break;
            }
            case 30: {
                take(1);
                const int32_t count = script_read_number(p, script);
                c.numbers.push_back(count);
                take(count);
                break;
            }
            default:
                break;
        }
        r.commands.push_back(c);
    }
    return r;
}

// The game's loader over a scratch event buffer; the game's own buffer comes back afterwards.
class EventCompilerPack : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_buffer_ = g_game.event_buffer;
        buffer_.assign(kEventBufferBytes, 0);
        g_game.event_buffer = buffer_.data();
        platform::last_error_reset();
    }
    void TearDown() override {
        g_game.event_buffer = saved_buffer_;
        platform::last_error_reset();
    }
    int load(const std::vector<unsigned char>& pack) {
        const std::string path = scratch_.file("epack.dat");
        write_file(path, std::string(pack.begin(), pack.end()));
        return event_pack_load(path.c_str());
    }
    const unsigned char* script(int k) const {
        return buffer_.data() + static_cast<size_t>(k) * kEventScriptBytes;
    }
    // The loaded script holds the compiled text, and the runner's way of reading it gives
    // back every command with the numbers and labels the compiler wrote.
    void expect_loaded_as_compiled(const Script& s) const {
        const auto* loaded = reinterpret_cast<const char*>(script(s.number));
        EXPECT_EQ(std::string(loaded, strnlen(loaded, kEventScriptBytes)), s.text);
        const ReadBack r = read_back(script(s.number));
        EXPECT_TRUE(r.ran_to_end);
        ASSERT_EQ(r.commands.size(), s.commands.size());
        for (size_t i = 0; i < s.commands.size(); ++i) {
            SCOPED_TRACE("line " + std::to_string(s.commands[i].line));
            EXPECT_EQ(r.commands[i].number, s.commands[i].number);
            EXPECT_EQ(r.commands[i].numbers, s.commands[i].numbers);
            EXPECT_EQ(r.commands[i].labels, s.commands[i].labels);
        }
        // Each jump, searched forward in the loaded text as the runner searches, goes on
        // right after its own label.
        const unsigned char* text = script(s.number);
        for (const evc::Jump& j : s.jumps) {
            SCOPED_TRACE("jump on line " + std::to_string(j.line) + " to " + j.label);
            size_t at = j.from;
            while (at + j.label.size() <= kEventScriptBytes &&
                   std::memcmp(text + at, j.label.data(), j.label.size()) != 0)
                ++at;
            EXPECT_EQ(at + j.label.size(), j.to);
        }
    }
    test::ScratchDir scratch_{"evc"};
    std::vector<unsigned char> buffer_;
    unsigned char* saved_buffer_ = nullptr;
};

TEST(EventCompiler, GlyphTableSourceAgreesWithTheGame) {
    ASSERT_FALSE(glyphs().empty());
    for (const auto& [code, number] : glyphs()) EXPECT_EQ(glyph_from_code(code), number) << code;
    EXPECT_EQ(evc::kScriptCount, event_script_count());
}

TEST_F(EventCompilerPack, ContentScriptsLoadBackAsCompiled) {
    std::vector<Script> scripts;
    std::vector<unsigned char> pack;
    std::vector<std::string> errors;
    ASSERT_TRUE(evc::pack_compile({TESSALY_SOURCE_DIR "/content/events"}, glyphs(), {}, scripts,
                                  pack, errors))
        << errors.front();
    ASSERT_EQ(static_cast<int>(scripts.size()), event_script_count());
    ASSERT_EQ(load(pack), 1);
    EXPECT_EQ(event_pack_overflows(), 0);
    EXPECT_STREQ(platform::last_error_text(), "");
    for (const Script& s : scripts) {
        SCOPED_TRACE(s.file);
        expect_loaded_as_compiled(s);
    }
    // Every script a square runs says something (monsters speak without a portrait); script
    // 0 runs on every plain square, and no square names scripts 29..32.
    for (int n = 1; n < evc::kScriptCount; ++n) {
        if (n >= 29 && n <= 32) continue;
        SCOPED_TRACE(scripts[n].file);
        bool message = false;
        for (const Command& c : scripts[n].commands) message = message || c.number == 2;
        EXPECT_TRUE(message);
    }

    // The build wrote the same pack for the game.
    std::ifstream built(TESSALY_BINARY_DIR "/epack.dat", std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(built)),
                                           std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, pack);
}

TEST_F(EventCompilerPack, EveryCommandReadsBackInTheRunnersOrder) {
    Script s;
    const std::string source =
        "window on\nportrait 24\nportrait none\n"
        "message\n> あいう\n> ０1２\n>\n"
        "choice\n> どうする？\n> はい -> yes\n> いいえ -> no_way\n"
        "wait 0\nrandom_battle\nbattle 12 23 18 19\nshop 1 12\n"
        "actor_place 299 0 359 24 7\nactor_appear 1 2 90 3 999999\n"
        "actor_move 7 east 8, 8 north 0, 9 west 4, 10 south 1\nactor_remove 7\n"
        "sound money\nsound 0\nif_all_achieved\ncamera_pan 270 40\nif_battles_off\n"
        "players hide\nterrain 10 20 -1\nrequest_take 9 0 1 2 3 4 5 6 7 8 9 10 11\n"
        "if_request_taken 1\nif_not_holding 2\nif_has_request_item 3\nrequest_complete 4\n"
        "stage 60 3\nif_holding_other 5\nachieve 15\nscript_off 1\nstage_character 41\n"
        "continue_square 42\nend_picture\ncredits\n"
        "label yes\nlabel no_way\nlabel achieved\nlabel all_achieved\nlabel kaihi\n"
        "label requested\nlabel no_team\nlabel other\nend\n";
    ASSERT_EQ(compile(source, &s), "");
    std::vector<Script> scripts(evc::kScriptCount);
    for (int n = 0; n < evc::kScriptCount; ++n) scripts[n].number = n;
    scripts[5] = s;
    ASSERT_EQ(load(evc::pack_image(scripts)), 1);
    EXPECT_EQ(event_pack_overflows(), 0);
    s.number = 5;
    EXPECT_EQ(s.jumps.size(), 8u);
    expect_loaded_as_compiled(s);
    const std::vector<int> numbers = {1,  3,  3,  2,  4,  5,  6,  7,  10, 11, 17, 18,
                                      19, 14, 14, 15, 16, 20, 21, 22, 30, 31, 32, 33,
                                      34, 35, 36, 37, 38, 39, 40, 41, 42, 99};
    ASSERT_EQ(s.commands.size(), numbers.size());
    for (size_t i = 0; i < numbers.size(); ++i) EXPECT_EQ(s.commands[i].number, numbers[i]);
    // Words and counts as the runner takes them.
    EXPECT_EQ(s.commands[2].numbers, std::vector<int32_t>{100});
    EXPECT_EQ(s.commands[3].numbers, (std::vector<int32_t>{3, 1, 2, 3, 0, 129, 130, 131, 0, 0}));
    EXPECT_EQ(s.commands[4].labels, (std::vector<std::string>{"yes", "no_way"}));
    EXPECT_EQ(s.commands[7].numbers, (std::vector<int32_t>{4, 12, 23, 18, 19}));
    EXPECT_EQ(s.commands[11].numbers,
              (std::vector<int32_t>{4, 7, 0, 8, 8, 90, 0, 9, 180, 4, 10, 270, 1}));
    EXPECT_EQ(s.commands[13].numbers, std::vector<int32_t>{13});
    EXPECT_EQ(s.commands[19].numbers, (std::vector<int32_t>{10, 20, 255}));
    EXPECT_EQ(s.commands[20].numbers.size(), 14u);
    EXPECT_EQ(s.commands[20].numbers[1], 12);
}

TEST(EventCompiler, FullLineKeepsItsTerminatorForTheRunnerToDrop) {
    const std::string line24 = "あいうえおかきくけこさしすせそたちつてとなしぬね";
    EXPECT_EQ(text_of("message\n> " + line24 + "\n").substr(0, 5), "#2,1,");
    Script s;
    ASSERT_EQ(compile("message\n> " + line24 + "\nend\n", &s), "");
    ASSERT_EQ(s.commands[0].numbers.size(), 26u);
    EXPECT_EQ(s.commands[0].numbers.back(), 0);
    EXPECT_NE(compile("message\n> " + line24 + "の\n"), "");
}

TEST(EventCompiler, WritesTheScriptTextTheLoaderExpects) {
    EXPECT_EQ(text_of("# nothing but a comment\n\nend   # the end\n"), "#99,");
    EXPECT_EQ(text_of("\xEF\xBB\xBFwait 30\r\nsound chime\r\n"), "#5,30,#14,3,");
    EXPECT_EQ(text_of("request_take 2, 4, 5\n"), "#30,2,2,4,5,");
    EXPECT_EQ(text_of("choice\n> あ\n> い -> a\n> う -> b\nlabel a\nlabel b\n"),
              "#4,1,0,2,0,3,0,a,b,ab");
    EXPECT_EQ(text_of("message\n> !?\n"), "#2,1,141,142,0,");
}

TEST(EventCompiler, JumpsLandJustAfterTheirLabel) {
    // The same name twice: each jump finds the next one.
    Script s;
    ASSERT_EQ(compile("if_battles_off\nwait 1\nlabel kaihi\nif_battles_off\nwait 2\n"
                      "label kaihi\nend\n",
                      &s),
              "");
    EXPECT_EQ(s.text, "#20,#5,1,kaihi#20,#5,2,kaihi#99,");
    // A label standing before its jump, or missing, is refused.
    EXPECT_NE(compile("label kaihi\nif_battles_off\nend\n")
                  .find("t.ev:2: no 'label kaihi' "
                        "after this command"),
              std::string::npos);
    // "achieved" inside "all_achieved" would stop the jump early.
    const std::string early = compile(
        "if_has_request_item 1\nlabel all_achieved\nend\n"
        "label achieved\nend\n");
    EXPECT_NE(early.find("t.ev:1: the jump to 'achieved' would stop early, inside label "
                         "'all_achieved' on line 2"),
              std::string::npos)
        << early;
    // A later choice's label list is script text too.
    const std::string list = compile(
        "choice\n> ？\n> はい -> a\n> いいえ -> b\nchoice\n> ？\n> はい -> a\n> いいえ -> c\n"
        "label a\nlabel b\nlabel c\n");
    EXPECT_NE(list.find("t.ev:3: the jump to 'a' would stop early, inside choice on line 5"),
              std::string::npos)
        << list;
}

// Each refusal names the file, the line and the reason.
TEST(EventCompiler, RefusesWhatTheRunnerWouldRefuseCutOrRunPast) {
    const std::string line25 = "あいうえおかきくけこさしすせそたちつてとなしぬねの";
    const struct {
        const char* source;
        std::string error;
    } cases[] = {
        {"message\n> 魔法の国へ\n> ようこそ。\n> 犬\n",
         "t.ev:4: not in the glyph table: '犬' (U+72AC)"},
        {"message\n> ok\n", "t.ev:2: not in the glyph table: 'o' (U+006F), 'k' (U+006B)"},
        {"message\n> あ い\n", "t.ev:2: not in the glyph table: ' ' (a space)"},
        {"message\n> \xE3\x81\n", "t.ev:2: the text is not UTF-8"},
        {nullptr, "t.ev:2: the line has 25 glyphs; a message line holds at most 24"},
        {"message\n> あ\n> い\n> う\n> え\n",
         "t.ev:1: a message shows 1 to 3 lines; this one has 4 '>' lines"},
        {"wait 1\nmessage\nend\n", "t.ev:2: a message shows 1 to 3 lines; this one has 0"},
        {"choice\n> ？\n> はい -> a\nlabel a\n",
         "t.ev:1: a choice has exactly three '>' lines (a question, then two options each "
         "with '-> label'); this one has 2"},
        {"choice\n> ？\n> はい -> a\n> いいえ\nlabel a\n",
         "t.ev:4: an option of a choice ends with '-> label'"},
        {"choice\n> ？ -> q\n> はい -> a\n> いいえ -> b\n",
         "t.ev:2: the question line of a choice jumps nowhere"},
        {"message\n> はい -> a\n", "t.ev:2: only a choice's options name a label ('->')"},
        {"choice\n> ？\n> はい -> a_label_of_twenty_bb\n> いいえ -> b\nlabel b\n",
         "t.ev:3: label 'a_label_of_twenty_bb' is 20 bytes; a label holds at most 19"},
        {"label 1st\n", "t.ev:1: label '1st' must be letters, digits and '_'"},
        {"label a b\n", "t.ev:1: label takes one name"},
        {"if_battles_off\nend\n", "t.ev:1: no 'label kaihi' after this command"},
        {"> あ\n", "t.ev:1: a '>' text line stands only under message or choice"},
        {"wait 1\nshout 3\n", "t.ev:2: unknown command 'shout'"},
        {"wait\n", "t.ev:1: wait takes 1 argument (frames), not 0"},
        {"end now\n", "t.ev:1: end takes no arguments, not 1"},
        {"stage 8\n", "t.ev:1: stage takes 2 arguments (a square (1..60), a stage (0..3)), not 1"},
        {"message 3\n", "t.ev:1: message takes no arguments; its text follows on '>' lines"},
        {"request_take 1\n",
         "t.ev:1: request_take takes a request (1..9), then 1 to 12 routes; got 1 argument"},
        {"request_take 1 0 1 2 3 4 5 6 7 8 9 10 11 0\n",
         "t.ev:1: request_take takes a request (1..9), then 1 to 12 routes; got 14 arguments"},
        {"request_take 1 12\n", "t.ev:1: request_take: 12 is outside a route (0..11)"},
        {"actor_move 1 east 4, 2 east 4, 3 east 4, 4 east 4, 5 east 4\n",
         "t.ev:1: actor_move takes 1 to 4 movers (each: an actor id, a direction"},
        {"actor_move\n", "t.ev:1: actor_move takes 1 to 4 movers"},
        {"actor_move 1 east\n", "t.ev:1: actor_move takes 1 to 4 movers"},
        {"actor_move 1 45 4\n", "t.ev:1: actor_move: 45 is outside a direction"},
        {"battle\n", "t.ev:1: battle takes 1 to 4 opponents; got 0 arguments"},
        {"battle 12 13 14 15 16\n", "t.ev:1: battle takes 1 to 4 opponents; got 5 arguments"},
        {"battle 24\n", "t.ev:1: battle: 24 is outside a member data row (0..23)"},
        {"shop\n", "t.ev:1: shop takes 1 to 12 items; got 0 arguments"},
        {"sound 14\n", "t.ev:1: sound: 14 is outside a sound (0..13 or its name)"},
        {"sound -1\n", "t.ev:1: sound: -1 is outside a sound"},
        {"sound boom\n", "t.ev:1: sound: 'boom' is not a sound (0..13 or its name)"},
        {"portrait 25\n", "t.ev:1: portrait: 25 is outside a portrait (0..24, or none)"},
        {"wait 1000000\n", "t.ev:1: wait: 1000000 is outside frames"},
        {"window maybe\n", "t.ev:1: window: 'maybe' is not on or off"},
        {"stage 61 0\n", "t.ev:1: stage: 61 is outside a square (1..60)"},
        {"stage 8 4\n", "t.ev:1: stage: 4 is outside a stage (0..3)"},
        {"request_complete 0\n", "t.ev:1: request_complete: 0 is outside a request (1..9)"},
        {"terrain 0 300 1\n", "t.ev:1: terrain: 300 is outside a map row (0..299)"},
        {"actor_place 1 1 360 0 1\n", "t.ev:1: actor_place: 360 is outside an angle"},
        {"actor_place 1 1 0 25 1\n", "t.ev:1: actor_place: 25 is outside a model (mesh 0..24)"},
    };
    for (const auto& c : cases) {
        const std::string source = c.source ? c.source : "message\n> " + line25 + "\n";
        const std::string errors = compile(source);
        EXPECT_NE(errors.find(c.error), std::string::npos) << "source:\n"
                                                           << source << "errors:\n"
                                                           << errors;
    }
}

TEST(EventCompiler, ScriptOf2047BytesCompilesAnd2048IsRefused) {
    EXPECT_EQ(text_of(waits_of_bytes(evc::kScriptTextMax)).size(), 2047u);
    const std::string errors = compile(waits_of_bytes(evc::kScriptTextMax + 1));
    EXPECT_NE(errors.find("t.ev: the script is 2048 bytes of text, over the 2047 a script "
                          "buffer holds"),
              std::string::npos)
        << errors;
}

TEST(EventCompiler, EveryExampleOfTheReadmeCompiles) {
    std::ifstream in(TESSALY_SOURCE_DIR "/content/events/README.md");
    std::string line, block;
    bool inside = false;
    int examples = 0;
    while (std::getline(in, line)) {
        if (line == "```") {
            if (inside) {
                ++examples;
                EXPECT_EQ(compile(block), "") << block;
                block.clear();
            }
            inside = !inside;
        } else if (inside) {
            block += line + "\n";
        }
    }
    EXPECT_GE(examples, 6);
}

class EventCompilerFolders : public ::testing::Test {
  protected:
    std::string folder(const char* name) {
        const std::string path = scratch_.file(name);
        std::filesystem::create_directories(path);
        return path;
    }
    std::string compile_pack(const std::vector<std::string>& folders, bool fill_empty) {
        evc::PackOptions options;
        options.fill_empty = fill_empty;
        std::vector<std::string> errors;
        ok_ = evc::pack_compile(folders, glyphs(), options, scripts_, pack_, errors);
        std::string joined;
        for (const std::string& e : errors) joined += e + "\n";
        return joined;
    }
    test::ScratchDir scratch_{"evc-folders"};
    std::vector<Script> scripts_;
    std::vector<unsigned char> pack_;
    bool ok_ = false;
};

TEST_F(EventCompilerFolders, MissingScriptsAreRefusedUnlessFilledEmpty) {
    const std::string a = folder("a");
    for (int n = 0; n < evc::kScriptCount; ++n) {
        if (n == 12) continue;
        write_file(a + "/" + (n < 10 ? "0" : "") + std::to_string(n) + "_x.ev", "end\n");
    }
    write_file(a + "/README.md", "not a script");
    const std::string errors = compile_pack({a}, false);
    EXPECT_FALSE(ok_);
    EXPECT_NE(errors.find(a + ": no script 12 (a file named 12_<name>.ev)"), std::string::npos)
        << errors;

    EXPECT_EQ(compile_pack({a}, true), "");
    EXPECT_TRUE(ok_);
    EXPECT_EQ(scripts_[12].text, "");
    EXPECT_EQ(scripts_[11].text, "#99,");
    EXPECT_EQ(pack_.size(), 8u + 38 * 5 + 1);
}

TEST_F(EventCompilerFolders, LaterFolderReplacesScriptsOfTheSameNumber) {
    const std::string a = folder("a"), b = folder("b");
    write_file(a + "/03_inn.ev", "wait 1\n");
    write_file(a + "/07_seer.ev", "wait 7\n");
    write_file(b + "/3_test.ev", "wait 3\n");
    ASSERT_EQ(compile_pack({a, b}, true), "");
    EXPECT_EQ(scripts_[3].text, "#5,3,");
    EXPECT_EQ(scripts_[3].file, b + "/3_test.ev");
    EXPECT_EQ(scripts_[7].text, "#5,7,");
}

TEST_F(EventCompilerFolders, RefusesStrayDuplicateAndUnusedScriptFiles) {
    const std::string a = folder("a");
    write_file(a + "/03_inn.ev", "end\n");
    write_file(a + "/3_again.ev", "end\n");
    write_file(a + "/39_never.ev", "end\n");
    write_file(a + "/inn.ev", "end\n");
    write_file(a + "/05_broken.ev", "wait\n");
    const std::string errors = compile_pack({a}, true);
    EXPECT_FALSE(ok_);
    EXPECT_NE(errors.find("/3_again.ev: script 3 already comes from " + a + "/03_inn.ev"),
              std::string::npos)
        << errors;
    EXPECT_NE(errors.find("/39_never.ev: script 39 is never run; the event script table names "
                          "scripts 0..38"),
              std::string::npos);
    EXPECT_NE(errors.find("/inn.ev: a script's file name starts with its number"),
              std::string::npos);
    EXPECT_NE(errors.find("/05_broken.ev:1: wait takes 1 argument"), std::string::npos);
}

TEST_F(EventCompilerFolders, PackTextOf35999BytesCompilesAndOneMoreIsRefused) {
    const std::string a = folder("a");
    // 17 scripts of 1999 bytes, one of n, 21 empty ones, each with its "@".
    for (int k = 0; k < 17; ++k)
        write_file(a + "/" + std::to_string(k) + "_big.ev", waits_of_bytes(1999));
    write_file(a + "/17_rest.ev", waits_of_bytes(1977));
    EXPECT_EQ(compile_pack({a}, true), "");
    EXPECT_EQ(pack_.size(), 8u + evc::kPackTextMax);

    write_file(a + "/17_rest.ev", waits_of_bytes(1978));
    const std::string errors = compile_pack({a}, true);
    EXPECT_FALSE(ok_);
    EXPECT_NE(errors.find("the pack's text is 36000 bytes, over the 35999 the loader takes"),
              std::string::npos)
        << errors;
}

TEST_F(EventCompilerPack, PackAtTheLimitLoadsWithoutOverflow) {
    // 17 scripts of 1999 bytes and one of 1977, each with its "@", and 21 empty ones.
    std::vector<Script> scripts(evc::kScriptCount);
    for (int n = 0; n < evc::kScriptCount; ++n) scripts[n].number = n;
    for (int k = 0; k < 17; ++k) scripts[k].text = text_of(waits_of_bytes(1999));
    scripts[17].text = text_of(waits_of_bytes(1977));
    const std::vector<unsigned char> pack = evc::pack_image(scripts);
    ASSERT_EQ(pack.size() - 8, static_cast<size_t>(evc::kPackTextMax));
    ASSERT_EQ(load(pack), 1);
    EXPECT_EQ(event_pack_overflows(), 0);
    EXPECT_EQ(strnlen(reinterpret_cast<const char*>(script(17)), kEventScriptBytes), 1977u);
}

}  // namespace
}  // namespace tessaly
