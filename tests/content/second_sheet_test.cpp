// The second texture as shipped: the glyph pictures and every catalogued picture on it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "event/glyph_table.hpp"
#include "platform/image.hpp"

namespace tessaly {
namespace {

constexpr int kSheetWidth = 1024;
constexpr int kSheetHeight = 2048;
constexpr uint32_t kKey = 0xFF00FF00;
// Top of the first instruction page; the glyph rows stay above it.
constexpr int kPagesTop = 513;
// The message drawer centres each glyph in a line 20 pixels high.
constexpr int kMessageLineHeight = 20;

struct Rect {
    int l = 0, t = 0, r = 0, b = 0;
};

struct Picture {
    std::string name;
    Rect rect;
    std::string shows;
    std::string words;
};

const platform::Image& sheet() {
    static platform::Image img = [] {
        std::ifstream in(TESSALY_SOURCE_DIR "/content/art/sheet2.png", std::ios::binary);
        const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in),
                                               std::istreambuf_iterator<char>()};
        platform::Image out;
        if (!platform::image_decode(bytes.data(), bytes.size(), out)) out = {};
        return out;
    }();
    return img;
}

uint32_t texel(int x, int y) {
    return sheet().argb[static_cast<size_t>(y) * sheet().width + x];
}

bool inside_sheet(const Rect& r) {
    return r.l >= 0 && r.t >= 0 && r.l < r.r && r.t < r.b && r.r <= kSheetWidth &&
           r.b <= kSheetHeight;
}

int drawn_texels(const Rect& r) {
    int n = 0;
    for (int y = r.t; y < r.b; ++y)
        for (int x = r.l; x < r.r; ++x) n += texel(x, y) != kKey;
    return n;
}

int key_texels(const Rect& r) {
    return (r.r - r.l) * (r.b - r.t) - drawn_texels(r);
}

Rect glyph_rect(int n) {
    const GlyphEntry& g = kGlyphTable[n];
    return {static_cast<int>(g.left), static_cast<int>(g.top), static_cast<int>(g.right),
            static_cast<int>(g.bottom)};
}

std::map<std::string, Picture> catalogue() {
    std::map<std::string, Picture> out;
    std::ifstream in(TESSALY_SOURCE_DIR "/content/art/sheet2.tsv");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> cells;
        std::stringstream ss(line);
        std::string cell;
        while (std::getline(ss, cell, '\t')) cells.push_back(cell);
        if (line.back() == '\t') cells.push_back("");
        if (cells.size() != 7) {
            ADD_FAILURE() << "catalogue row without 7 columns: " << line;
            continue;
        }
        Picture p;
        p.name = cells[0];
        p.rect = {std::atoi(cells[1].c_str()), std::atoi(cells[2].c_str()),
                  std::atoi(cells[3].c_str()), std::atoi(cells[4].c_str())};
        p.shows = cells[5];
        p.words = cells[6];
        EXPECT_EQ(out.count(p.name), 0u) << "twice: " << p.name;
        out[p.name] = p;
    }
    return out;
}

class SecondSheet : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(sheet().width, kSheetWidth);
        ASSERT_EQ(sheet().height, kSheetHeight);
    }
};

TEST_F(SecondSheet, EveryGlyphLiesInsideTheSheetAboveThePagesAndIsDrawn) {
    for (int n = 1; n <= kGlyphLast; ++n) {
        const Rect r = glyph_rect(n);
        ASSERT_TRUE(inside_sheet(r)) << n;
        EXPECT_LE(r.b, kPagesTop) << n;
        EXPECT_GT(drawn_texels(r), 0) << n;
    }
}

TEST_F(SecondSheet, GlyphsFitTheMessageLine) {
    for (int n = 1; n <= kGlyphLast; ++n) {
        const Rect r = glyph_rect(n);
        EXPECT_LE(r.b - r.t, kMessageLineHeight) << n;
        EXPECT_GE(r.b - r.t, 3) << n;
    }
}

// A glyph drawn wider than its rectangle would lose its edge on screen: the texels around
// every rectangle are transparent.
TEST_F(SecondSheet, NoGlyphIsCutByItsRectangle) {
    for (int n = 1; n <= kGlyphLast; ++n) {
        const Rect r = glyph_rect(n);
        for (int x = r.l - 1; x <= r.r; ++x) {
            const int cx = x < 0 ? 0 : x;
            if (r.t > 0) {
                EXPECT_EQ(texel(cx, r.t - 1), kKey) << n;
            }
            EXPECT_EQ(texel(cx, r.b), kKey) << n;
        }
        for (int y = r.t; y < r.b; ++y) {
            if (r.l > 0) {
                EXPECT_EQ(texel(r.l - 1, y), kKey) << n;
            }
            EXPECT_EQ(texel(r.r, y), kKey) << n;
        }
    }
}

TEST_F(SecondSheet, GlyphRectanglesDoNotOverlap) {
    for (int a = 1; a <= kGlyphLast; ++a) {
        const Rect ra = glyph_rect(a);
        for (int b = a + 1; b <= kGlyphLast; ++b) {
            const Rect rb = glyph_rect(b);
            const bool apart = ra.r <= rb.l || rb.r <= ra.l || ra.b <= rb.t || rb.b <= ra.t;
            EXPECT_TRUE(apart) << a << " and " << b;
        }
    }
}

TEST_F(SecondSheet, EveryCataloguePictureLiesInsideTheSheetAndIsNotBlank) {
    const auto pictures = catalogue();
    ASSERT_FALSE(pictures.empty());
    for (const auto& [name, p] : pictures) {
        ASSERT_TRUE(inside_sheet(p.rect)) << name;
        EXPECT_GT(drawn_texels(p.rect), 0) << name;
        EXPECT_FALSE(p.shows.empty()) << name;
    }
}

// The rectangles the instructions, the end picture and the credits scene cut from the sheet.
TEST_F(SecondSheet, CatalogueHoldsEveryPictureTheGameDraws) {
    const auto pictures = catalogue();
    struct Expect {
        const char* name;
        Rect rect;
    };
    const Expect expected[] = {
        {"page0", {0, 513, 640, 993}},        {"page1", {0, 995, 640, 1475}},
        {"end", {0, 1477, 640, 1957}},        {"prompt", {643, 1691, 717, 1716}},
        {"credit00", {735, 1477, 808, 1497}}, {"credit01", {643, 1571, 773, 1591}},
        {"credit02", {643, 1524, 838, 1545}}, {"credit03", {817, 1478, 899, 1497}},
        {"credit04", {643, 1547, 808, 1567}}, {"credit05", {687, 1477, 727, 1497}},
        {"credit06", {643, 1593, 824, 1613}}, {"credit07", {643, 1500, 704, 1520}},
        {"credit08", {643, 1643, 907, 1663}}, {"credit09", {643, 1477, 683, 1497}},
        {"credit10", {643, 1620, 889, 1639}}, {"credit11", {645, 1667, 903, 1687}},
        {"credit12", {708, 1500, 808, 1520}}, {"credit13", {813, 1503, 876, 1520}},
    };
    for (const Expect& e : expected) {
        const auto it = pictures.find(e.name);
        ASSERT_NE(it, pictures.end()) << e.name;
        const Rect& r = it->second.rect;
        EXPECT_TRUE(r.l == e.rect.l && r.t == e.rect.t && r.r == e.rect.r && r.b == e.rect.b)
            << e.name;
    }
}

// Full-screen pictures are drawn opaque: a colour-key texel in them would be a hole.
TEST_F(SecondSheet, FullScreenPicturesHaveNoTransparentTexels) {
    const auto pictures = catalogue();
    for (const char* name : {"page0", "page1", "end"}) {
        const auto it = pictures.find(name);
        ASSERT_NE(it, pictures.end()) << name;
        EXPECT_EQ(key_texels(it->second.rect), 0) << name;
    }
}

// Credit lines scroll over the end picture as words alone, without a box behind them.
TEST_F(SecondSheet, CreditLinesAreTransparentAroundTheirWords) {
    const auto pictures = catalogue();
    int credits = 0;
    for (const auto& [name, p] : pictures) {
        if (name.rfind("credit", 0) != 0) continue;
        ++credits;
        EXPECT_FALSE(p.words.empty()) << name;
        const Rect& r = p.rect;
        for (int x = r.l; x < r.r; ++x) {
            EXPECT_EQ(texel(x, r.t), kKey) << name;
            EXPECT_EQ(texel(x, r.b - 1), kKey) << name;
        }
        EXPECT_GT(key_texels(r), drawn_texels(r) / 2) << name;
    }
    EXPECT_EQ(credits, 14);
}

// Pictures that do not overlap on purpose (a page and its sections, the glyph area) keep apart.
TEST_F(SecondSheet, UnrelatedPicturesDoNotOverlap) {
    const auto pictures = catalogue();
    auto group = [](const std::string& name) {
        if (name == "white_texel") return std::string("glyphs");
        const size_t dot = name.find('.');
        return dot == std::string::npos ? name : name.substr(0, dot);
    };
    for (const auto& [a, pa] : pictures) {
        for (const auto& [b, pb] : pictures) {
            if (a >= b || group(a) == group(b)) continue;
            const Rect& ra = pa.rect;
            const Rect& rb = pb.rect;
            const bool apart = ra.r <= rb.l || rb.r <= ra.l || ra.b <= rb.t || rb.b <= ra.t;
            EXPECT_TRUE(apart) << a << " and " << b;
        }
    }
}

TEST_F(SecondSheet, GlyphAreaHoldsEveryGlyph) {
    const auto pictures = catalogue();
    const auto it = pictures.find("glyphs");
    ASSERT_NE(it, pictures.end());
    const Rect& area = it->second.rect;
    for (int n = 0; n <= kGlyphLast; ++n) {
        const Rect r = glyph_rect(n);
        EXPECT_TRUE(r.l >= area.l && r.t >= area.t && r.r <= area.r && r.b <= area.b) << n;
    }
}

}  // namespace
}  // namespace tessaly
