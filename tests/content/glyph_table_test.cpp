#include "event/glyph_table.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tessaly {
namespace {

std::string decode(const std::vector<int32_t>& glyphs) {
    char text[256];
    const int n = glyphs_to_text(glyphs.data(), static_cast<int>(glyphs.size()), text, sizeof text);
    return n < 0 ? std::string("<refused>") : std::string(text, n);
}

std::vector<int32_t> encode(const char* text) {
    int32_t out[64];
    const int n = glyphs_from_text(text, out, 64);
    if (n < 0) return {};
    return std::vector<int32_t>(out, out + n);
}

// A number the way the battle writes it into a message: its decimal digits, most significant
// first.
std::vector<int32_t> digits(int value) {
    std::vector<int32_t> out;
    const std::string s = std::to_string(value);
    for (char c : s) out.push_back(kGlyphDigitZero + (c - '0'));
    return out;
}

std::vector<int32_t> join(std::initializer_list<std::vector<int32_t>> parts) {
    std::vector<int32_t> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST(GlyphTable, FixedRowsKeepTheirCodesAndRectangles) {
    struct Row {
        int number;
        int32_t code;
        float l, t, r, b;
    };
    const Row rows[] = {{0, 0, 0, 0, 1, 1},
                        {1, 0x3042, 3, 5, 20, 22},
                        {2, 0x3044, 25, 6, 41, 21},
                        {336, 0x4E0B, 275, 435, 293, 453}};
    for (const Row& row : rows) {
        const GlyphEntry& g = kGlyphTable[row.number];
        EXPECT_EQ(g.number, row.number);
        EXPECT_EQ(g.code, row.code) << row.number;
        EXPECT_EQ(g.left, row.l) << row.number;
        EXPECT_EQ(g.top, row.t) << row.number;
        EXPECT_EQ(g.right, row.r) << row.number;
        EXPECT_EQ(g.bottom, row.b) << row.number;
    }
}

TEST(GlyphTable, EntryNHoldsGlyphNumberN) {
    for (int n = 0; n < kGlyphCount; ++n) EXPECT_EQ(kGlyphTable[n].number, n);
}

TEST(GlyphTable, EveryDrawnGlyphShowsACharacter) {
    for (int n = 1; n <= kGlyphLast; ++n) EXPECT_NE(glyph_code(n), 0) << n;
    EXPECT_EQ(glyph_code(0), 0);
    EXPECT_EQ(glyph_code(-1), 0);
    EXPECT_EQ(glyph_code(kGlyphLast + 1), 0);
}

TEST(GlyphTable, DigitGlyphsReadAsTheDigits) {
    std::vector<int32_t> all;
    for (int d = 0; d <= 9; ++d) all.push_back(kGlyphDigitZero + d);
    EXPECT_EQ(decode(all), "０１２３４５６７８９");
    EXPECT_EQ(decode(digits(90210)), "９０２１０");
}

TEST(GlyphTable, CodeLookupFindsTheFirstGlyphOfACharacter) {
    for (int n = 1; n <= kGlyphLast; ++n) {
        const int first = glyph_from_code(glyph_code(n));
        ASSERT_GE(first, 1) << n;
        EXPECT_LE(first, n);
        EXPECT_EQ(glyph_code(first), glyph_code(n));
    }
    EXPECT_EQ(glyph_from_code(0x3057), 12);  // し also stands at 22 for the loss message
    EXPECT_EQ(glyph_from_code(0x304B), 6);   // か also stands at 315
    EXPECT_EQ(glyph_from_code(0x0041), -1);
}

TEST(GlyphTable, TextRoundTripsThroughGlyphNumbers) {
    const char* texts[] = {
        "あいうえお、かきくけこ。",
        "ようこそ、テサリーの町へ！",
        "「北の森で薬草を探してきてほしい。」",
        "依頼を受けますか？",
        "冒険者よ、依頼主の店と宿屋はあの城の前だ。",
        "ゲームオーバー",
        "パーティーは全滅しかけた",
        "お金を１０００得た…",
        "バイオリンとギターのメロディー",
        "づべぼぱぴぷぺぽぁぃぅぇぉっゃゅょァゥェォ",
    };
    for (const char* text : texts) {
        const std::vector<int32_t> glyphs = encode(text);
        ASSERT_FALSE(glyphs.empty()) << text;
        EXPECT_EQ(decode(glyphs), text);
        for (int32_t g : glyphs) {
            EXPECT_GE(g, 1);
            EXPECT_LE(g, kGlyphLast);
        }
    }
}

TEST(GlyphTable, EveryCharacterRoundTrips) {
    for (int n = 1; n <= kGlyphLast; ++n) {
        const std::string text = decode({n});
        const std::vector<int32_t> back = encode(text.c_str());
        ASSERT_EQ(back.size(), 1u) << n;
        EXPECT_EQ(glyph_code(back[0]), glyph_code(n)) << n;
    }
}

TEST(GlyphTable, FixedBattleMessagesReadAsTheirSentences) {
    const std::vector<int32_t> opening = {157, 50, 153, 39, 16};
    const std::vector<int32_t> player_turn = {116, 123, 86, 128, 123, 25, 165, 166};
    const std::vector<int32_t> foe_turn = {157, 25, 165, 166};
    const std::vector<int32_t> strike_start = {116, 123, 86, 128, 123, 26};
    const std::vector<int32_t> player_struck = {25, 114, 101, 123, 117, 45, 156, 4, 16};
    const std::vector<int32_t> foe_struck = {25, 114, 101, 123, 117, 45, 155, 9, 16};
    const std::vector<int32_t> win = {116, 123, 86, 128, 123, 26, 157, 45, 158, 12, 16};
    const std::vector<int32_t> after_money = {25, 5, 246, 20};
    const std::vector<int32_t> after_exp = {25, 174, 175, 176, 45, 177, 16};
    const std::vector<int32_t> loss = {116, 123, 86, 128, 123, 26, 178, 179, 22, 315, 9, 16};
    const std::vector<int32_t> game_over = {118, 123, 100, 72, 123, 115, 123};
    const std::vector<int32_t> skip_turn = {130, 162, 163, 32, 53, 13};

    EXPECT_EQ(decode(opening), "敵が現れた");
    EXPECT_EQ(decode(player_turn), "パーティーの攻撃");
    EXPECT_EQ(decode(foe_turn), "敵の攻撃");
    EXPECT_EQ(decode(join({strike_start, digits(12), player_struck})),
              "パーティーは１２のダメージを与えた");
    EXPECT_EQ(decode(join({strike_start, digits(7), foe_struck})),
              "パーティーは７のダメージを受けた");
    EXPECT_EQ(decode(win), "パーティーは敵を倒した");
    EXPECT_EQ(decode(join({digits(500), after_money, digits(250), after_exp})),
              "５００のお金と２５０の経験値を得た");
    EXPECT_EQ(decode(loss), "パーティーは全滅しかけた");
    EXPECT_EQ(decode(game_over), "ゲームオーバー");
    EXPECT_EQ(decode(skip_turn), "１回休みです");
}

TEST(GlyphTable, DecodingStopsAtTheEndOfLine) {
    EXPECT_EQ(decode({1, 2, kGlyphEndOfLine, 3}), "あい");
}

TEST(GlyphTable, CharacterWithoutGlyphIsRefused) {
    int32_t out[8];
    EXPECT_EQ(glyphs_from_text("あXい", out, 8), -1);
    EXPECT_EQ(glyphs_from_text("鬱", out, 8), -1);
    EXPECT_EQ(glyphs_from_text("😀", out, 8), -1);  // beyond 16 bits
}

TEST(GlyphTable, MalformedUtf8IsRefused) {
    int32_t out[8];
    const char truncated[] = {static_cast<char>(0xE3), static_cast<char>(0x81), 0};
    const char overlong[] = {static_cast<char>(0xC0), static_cast<char>(0x80), 0};
    const char stray[] = {static_cast<char>(0x81), 0};
    EXPECT_EQ(glyphs_from_text(truncated, out, 8), -1);
    EXPECT_EQ(glyphs_from_text(overlong, out, 8), -1);
    EXPECT_EQ(glyphs_from_text(stray, out, 8), -1);
}

TEST(GlyphTable, TextLongerThanTheBufferIsRefusedWithoutWritingPastIt) {
    int32_t out[4] = {-7, -7, -7, -7};
    EXPECT_EQ(glyphs_from_text("あいう", out, 2), -1);
    EXPECT_EQ(out[2], -7);
    EXPECT_EQ(glyphs_from_text("あいう", out, 3), 3);

    const int32_t glyphs[] = {1, 2};
    char small[6];
    small[5] = 'x';
    EXPECT_EQ(glyphs_to_text(glyphs, 2, small, 6), -1);  // 6 bytes and a terminator
    EXPECT_EQ(small[5], 'x');
    char exact[7];
    EXPECT_EQ(glyphs_to_text(glyphs, 2, exact, 7), 6);
}

TEST(GlyphTable, NumberWithoutGlyphIsRefusedOnDecoding) {
    char text[16];
    const int32_t beyond[] = {1, kGlyphLast + 1};
    EXPECT_EQ(glyphs_to_text(beyond, 2, text, sizeof text), -1);
}

// The engine's table is generated from the glyph source; a source changed without regenerating
// would draw wrong pictures.
TEST(GlyphTable, MatchesTheGlyphSource) {
    std::ifstream in(TESSALY_SOURCE_DIR "/content/glyphs/glyphs.tsv");
    ASSERT_TRUE(in.good());
    std::string line;
    int rows = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> cells;
        std::stringstream ss(line);
        std::string cell;
        while (std::getline(ss, cell, '\t')) cells.push_back(cell);
        if (line.back() == '\t') cells.push_back("");
        ASSERT_EQ(cells.size(), 7u) << line;
        const int number = std::atoi(cells[0].c_str());
        ASSERT_EQ(number, rows);
        const GlyphEntry& g = kGlyphTable[number];
        EXPECT_EQ(g.code, std::strtol(cells[2].c_str(), nullptr, 16)) << number;
        EXPECT_EQ(decode({number}), cells[1]) << number;
        EXPECT_EQ(g.left, std::atoi(cells[3].c_str())) << number;
        EXPECT_EQ(g.top, std::atoi(cells[4].c_str())) << number;
        EXPECT_EQ(g.right, std::atoi(cells[5].c_str())) << number;
        EXPECT_EQ(g.bottom, std::atoi(cells[6].c_str())) << number;
        ++rows;
    }
    EXPECT_EQ(rows, kGlyphCount);
}

}  // namespace
}  // namespace tessaly
