// The atlas sheet against its catalogue: every picture lies on the sheet and is drawn, the digit
// pictures are the rectangles the number drawer cuts, and the sheet has the size sprites assume.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/image.hpp"
#include "render/numbers.hpp"
#include "render/sprites.hpp"

namespace tessaly {
namespace {

constexpr uint32_t kKeyGreen = 0xFF00FF00u;

struct Picture {
    std::string name;
    int left = 0, top = 0, right = 0, bottom = 0;
    std::string words;
    std::string owner;
    std::string draw;
};

std::string content_path(const char* relative) {
    return std::string(TESSALY_SOURCE_DIR) + "/content/" + relative;
}

std::vector<std::string> split_tabs(const std::string& line) {
    std::vector<std::string> cells;
    std::string cell;
    std::istringstream in(line);
    while (std::getline(in, cell, '\t')) cells.push_back(cell);
    return cells;
}

// Reads the catalogue by its header, so a column added later does not break the reader.
std::vector<Picture> load_catalogue() {
    std::ifstream in(content_path("art/atlas.tsv"));
    std::vector<Picture> pictures;
    std::map<std::string, size_t> column;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> cells = split_tabs(line);
        if (column.empty()) {
            for (size_t i = 0; i < cells.size(); ++i) column[cells[i]] = i;
            continue;
        }
        auto cell = [&](const char* name) -> std::string {
            const auto it = column.find(name);
            return (it != column.end() && it->second < cells.size()) ? cells[it->second]
                                                                     : std::string();
        };
        Picture p;
        p.name = cell("name");
        p.left = std::stoi(cell("left"));
        p.top = std::stoi(cell("top"));
        p.right = std::stoi(cell("right"));
        p.bottom = std::stoi(cell("bottom"));
        p.words = cell("words");
        p.owner = cell("owner");
        p.draw = cell("draw");
        pictures.push_back(p);
    }
    return pictures;
}

const platform::Image& atlas_image() {
    static platform::Image image;
    static bool loaded = false;
    if (!loaded) {
        std::ifstream in(content_path("art/atlas.png"), std::ios::binary);
        const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), {});
        loaded = platform::image_decode(bytes.data(), bytes.size(), image);
    }
    return image;
}

const Picture* find_picture(const std::vector<Picture>& pictures, const std::string& name) {
    for (const Picture& p : pictures)
        if (p.name == name) return &p;
    return nullptr;
}

int key_texels(const platform::Image& image, const Picture& p) {
    int count = 0;
    for (int y = p.top; y < p.bottom; ++y)
        for (int x = p.left; x < p.right; ++x)
            if (image.argb[static_cast<size_t>(y) * image.width + x] == kKeyGreen) ++count;
    return count;
}

TEST(AtlasSheet, DecodesToTheAtlasSize) {
    const platform::Image& image = atlas_image();
    ASSERT_EQ(image.width, static_cast<int>(kAtlasWidth));
    ASSERT_EQ(image.height, static_cast<int>(kAtlasHeight));
    EXPECT_EQ(image.argb.size(), static_cast<size_t>(image.width) * image.height);
}

TEST(AtlasCatalogue, NamesAreUniqueAndOwnersExist) {
    const std::vector<Picture> pictures = load_catalogue();
    ASSERT_GT(pictures.size(), 200u);
    std::map<std::string, int> seen;
    for (const Picture& p : pictures) EXPECT_EQ(++seen[p.name], 1) << p.name;
    for (const Picture& p : pictures) {
        if (p.owner == "-") continue;
        EXPECT_NE(find_picture(pictures, p.owner), nullptr) << p.name << " owner " << p.owner;
    }
}

TEST(AtlasCatalogue, EveryPictureLiesInsideTheSheet) {
    for (const Picture& p : load_catalogue()) {
        EXPECT_GE(p.left, 0) << p.name;
        EXPECT_GE(p.top, 0) << p.name;
        EXPECT_LT(p.left, p.right) << p.name;
        EXPECT_LT(p.top, p.bottom) << p.name;
        EXPECT_LE(p.right, static_cast<int>(kAtlasWidth)) << p.name;
        EXPECT_LE(p.bottom, static_cast<int>(kAtlasHeight)) << p.name;
    }
}

TEST(AtlasCatalogue, CutsLieInsideThePictureThatPaintsThem) {
    const std::vector<Picture> pictures = load_catalogue();
    for (const Picture& p : pictures) {
        if (p.owner == "-") continue;
        const Picture* owner = find_picture(pictures, p.owner);
        ASSERT_NE(owner, nullptr) << p.name;
        EXPECT_TRUE(p.left >= owner->left && p.right <= owner->right && p.top >= owner->top &&
                    p.bottom <= owner->bottom)
            << p.name << " outside " << owner->name;
    }
}

TEST(AtlasCatalogue, PicturesThatPaintTheirOwnTexelsOverlapOnlyWhenOneHoldsTheOther) {
    const std::vector<Picture> pictures = load_catalogue();
    for (size_t i = 0; i < pictures.size(); ++i) {
        const Picture& a = pictures[i];
        if (a.owner != "-") continue;
        for (size_t j = i + 1; j < pictures.size(); ++j) {
            const Picture& b = pictures[j];
            if (b.owner != "-") continue;
            const bool overlap =
                a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
            if (!overlap) continue;
            const bool a_holds_b =
                b.left >= a.left && b.right <= a.right && b.top >= a.top && b.bottom <= a.bottom;
            const bool b_holds_a =
                a.left >= b.left && a.right <= b.right && a.top >= b.top && a.bottom <= b.bottom;
            EXPECT_TRUE(a_holds_b || b_holds_a) << a.name << " and " << b.name << " overlap";
        }
    }
}

TEST(AtlasSheet, EveryPictureIsDrawnAndEveryWindowIsKeyGreen) {
    const platform::Image& image = atlas_image();
    ASSERT_EQ(image.width, static_cast<int>(kAtlasWidth));
    for (const Picture& p : load_catalogue()) {
        const int area = (p.right - p.left) * (p.bottom - p.top);
        const int key = key_texels(image, p);
        if (p.draw == "window")
            EXPECT_EQ(key, area) << p.name << " should be see-through";
        else
            EXPECT_LT(key, area) << p.name << " is blank";
    }
}

TEST(AtlasSheet, BattleFrameIsOpaqueAroundItsCardWindows) {
    const platform::Image& image = atlas_image();
    ASSERT_EQ(image.width, static_cast<int>(kAtlasWidth));
    const std::vector<Picture> pictures = load_catalogue();
    const Picture* frame = find_picture(pictures, "battle_frame");
    ASSERT_NE(frame, nullptr);
    int windows = 0;
    int window_area = 0;
    for (const Picture& p : pictures) {
        if (p.draw != "window" || p.owner != frame->name) continue;
        ++windows;
        window_area += (p.right - p.left) * (p.bottom - p.top);
        EXPECT_EQ(p.right - p.left, 200) << p.name;
        EXPECT_EQ(p.bottom - p.top, 260) << p.name;
    }
    EXPECT_EQ(windows, 2);
    // Outside its windows the frame hides the reels completely.
    EXPECT_EQ(key_texels(image, *frame), window_area);
}

TEST(AtlasCatalogue, DigitPicturesAreTheNumberDrawersRectangles) {
    const std::vector<Picture> pictures = load_catalogue();
    const struct {
        DigitFont font;
        const char* prefix;
    } fonts[] = {{DigitFont::Large, "digit_large_"}, {DigitFont::Small, "digit_small_"}};
    for (const auto& font : fonts) {
        const Rect* rects = digit_font_rects(font.font);
        for (int d = 0; d < 10; ++d) {
            const Picture* p = find_picture(pictures, font.prefix + std::to_string(d));
            ASSERT_NE(p, nullptr) << font.prefix << d;
            EXPECT_EQ(p->words, std::to_string(d));
            EXPECT_EQ(p->left, static_cast<int>(rects[d].left)) << p->name;
            EXPECT_EQ(p->top, static_cast<int>(rects[d].top)) << p->name;
            EXPECT_EQ(p->right, static_cast<int>(rects[d].right)) << p->name;
            EXPECT_EQ(p->bottom, static_cast<int>(rects[d].bottom)) << p->name;
        }
    }
}

TEST(AtlasCatalogue, DigitWidthsGiveTheNumberAdvances) {
    const std::vector<Picture> pictures = load_catalogue();
    auto advance = [&](const std::string& name) {
        const Picture* p = find_picture(pictures, name);
        return p ? p->right - p->left + 1 : -1;
    };
    EXPECT_EQ(advance("digit_large_0"), 18);
    EXPECT_EQ(advance("digit_small_1"), 6);
    for (int d = 0; d < 10; ++d)
        if (d != 1) {
            EXPECT_EQ(advance("digit_small_" + std::to_string(d)), 11) << d;
        }
}

TEST(AtlasSheet, DigitInkReachesTheEdgesOfItsRectangle) {
    // A digit that does not fill its rectangle would stand apart from its neighbours.
    const platform::Image& image = atlas_image();
    ASSERT_EQ(image.width, static_cast<int>(kAtlasWidth));
    for (const Picture& p : load_catalogue()) {
        if (p.draw.rfind("digit:", 0) != 0) continue;
        int min_x = p.right, max_x = p.left - 1;
        for (int y = p.top; y < p.bottom; ++y)
            for (int x = p.left; x < p.right; ++x)
                if (image.argb[static_cast<size_t>(y) * image.width + x] != kKeyGreen) {
                    min_x = std::min(min_x, x);
                    max_x = std::max(max_x, x);
                }
        EXPECT_LE(min_x - p.left, 2) << p.name;
        EXPECT_LE(p.right - 1 - max_x, 2) << p.name;
    }
}

}  // namespace
}  // namespace tessaly
