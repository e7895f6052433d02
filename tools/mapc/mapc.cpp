// tessaly-mapc: compiles a text board into mappack.dat.
//
//   tessaly-mapc BOARD.txt OUT.dat
//
// The text board:
//   # comment                     (lines starting with '#'; blank lines are ignored)
//   size W H                      map columns and rows (each 0..300)
//   legend C VALUE                terrain value (-128..127) of the map character C
//   map                           then H lines of W legend characters, north row first
//   square N COLUMN ROW           square number N (1..60) on a map cell
// A square must lie on a passable cell (terrain 14 or less) and no cell holds two squares.
// The pack: skip length 0, W, H, two unused words, the terrain block, the square block.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kGridSize = 300;
constexpr int kPassableMax = 14;
constexpr int kSquareFirst = 1;
constexpr int kSquareLast = 60;

struct Board {
    int width = -1;
    int height = -1;
    std::vector<int8_t> terrain;
    std::vector<int8_t> squares;
};

bool fail(const std::string& where, const std::string& what) {
    std::cerr << where << ": " << what << "\n";
    return false;
}

bool corridors_check(const std::string& path, const Board& b);

bool parse(const char* path, Board& b) {
    std::ifstream in(path);
    if (!in) return fail(path, "cannot open");
    std::map<char, int> legend;
    std::string line;
    int line_no = 0;
    int map_rows = -1;  // rows of the map still to read; -1 before "map"
    int rows_read = 0;
    while (std::getline(in, line)) {
        ++line_no;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string where = std::string(path) + ":" + std::to_string(line_no);
        if (map_rows > 0) {
            if (static_cast<int>(line.size()) != b.width)
                return fail(where, "a map row must be " + std::to_string(b.width) + " wide");
            for (int c = 0; c < b.width; ++c) {
                const auto it = legend.find(line[c]);
                if (it == legend.end())
                    return fail(where, std::string("no legend for '") + line[c] + "'");
                b.terrain[static_cast<size_t>(rows_read) * b.width + c] =
                    static_cast<int8_t>(it->second);
            }
            ++rows_read;
            --map_rows;
            continue;
        }
        if (line.empty() || line[0] == '#') continue;
        std::istringstream ls(line);
        std::string word;
        ls >> word;
        if (word == "size") {
            if (!(ls >> b.width >> b.height) || b.width < 0 || b.height < 0 ||
                b.width > kGridSize || b.height > kGridSize)
                return fail(where, "size takes a width and a height of 0..300");
            // The board is centred in the grid cell for cell: an odd size would leave the
            // players standing on cell corners.
            if (b.width % 2 != 0 || b.height % 2 != 0)
                return fail(where,
                            "width and height must be even (the board is centred in the grid)");
            b.terrain.assign(static_cast<size_t>(b.width) * b.height, 0);
            b.squares.assign(static_cast<size_t>(b.width) * b.height, 0);
        } else if (word == "legend") {
            // The character is taken from the line itself, so '#' and other marks work.
            int value = 0;
            if (line.size() < 10 || line[6] != ' ' || line[8] != ' ')
                return fail(where, "legend takes one character and a value");
            std::istringstream vs(line.substr(9));
            if (!(vs >> value) || value < -128 || value > 127)
                return fail(where, "a terrain value lies in -128..127");
            legend[line[7]] = value;
        } else if (word == "map") {
            if (b.width < 0) return fail(where, "size comes before the map");
            if (rows_read > 0) return fail(where, "only one map");
            map_rows = b.height;
            if (map_rows == 0) map_rows = -2;
        } else if (word == "square") {
            int n = 0, col = 0, row = 0;
            if (!(ls >> n >> col >> row)) return fail(where, "square takes N COLUMN ROW");
            if (rows_read != b.height || b.height < 0)
                return fail(where, "squares come after the whole map");
            if (n < kSquareFirst || n > kSquareLast) return fail(where, "squares are 1..60");
            if (col < 0 || col >= b.width || row < 0 || row >= b.height)
                return fail(where, "the square lies outside the map");
            const size_t k = static_cast<size_t>(row) * b.width + col;
            if (b.terrain[k] > kPassableMax) return fail(where, "a square must be passable");
            if (b.squares[k] != 0) return fail(where, "the cell already holds a square");
            b.squares[k] = static_cast<int8_t>(n);
        } else {
            return fail(where, "unknown line '" + word + "'");
        }
    }
    if (b.width < 0) return fail(path, "no size");
    if (map_rows > 0 || rows_read != b.height) return fail(path, "the map ends early");
    return corridors_check(path, b);
}

// Walkers follow corridors between squares without choosing: a corridor cell (passable, no
// square) may have at most two passable neighbours, and corridors may not close into a loop
// that holds no square, where a walker would walk forever.
bool corridors_check(const std::string& path, const Board& b) {
    const auto passable = [&](int c, int r) {
        return c >= 0 && r >= 0 && c < b.width && r < b.height &&
               b.terrain[static_cast<size_t>(r) * b.width + c] <= kPassableMax;
    };
    const auto corridor = [&](int c, int r) {
        return passable(c, r) && b.squares[static_cast<size_t>(r) * b.width + c] == 0;
    };
    const int dc[4] = {1, -1, 0, 0}, dr[4] = {0, 0, 1, -1};
    const auto where = [&](int c, int r) {
        return path + ": cell (" + std::to_string(c) + ", " + std::to_string(r) + ")";
    };
    for (int r = 0; r < b.height; ++r) {
        for (int c = 0; c < b.width; ++c) {
            if (!corridor(c, r)) continue;
            int n = 0;
            for (int k = 0; k < 4; ++k) n += passable(c + dc[k], r + dr[k]);
            if (n > 2)
                return fail(where(c, r),
                            "a corridor cell has more than two ways on; put a square at the fork");
        }
    }
    // Each group of corridor cells joined through corridor cells: a group in which every
    // cell has two corridor neighbours is a closed loop with no square on it.
    std::vector<int> group(b.terrain.size(), -1);
    for (int r = 0; r < b.height; ++r) {
        for (int c = 0; c < b.width; ++c) {
            if (!corridor(c, r) || group[static_cast<size_t>(r) * b.width + c] >= 0) continue;
            std::vector<std::pair<int, int>> todo{{c, r}};
            group[static_cast<size_t>(r) * b.width + c] = 1;
            bool closed = true;
            while (!todo.empty()) {
                const auto [x, y] = todo.back();
                todo.pop_back();
                int corridor_neighbours = 0;
                for (int k = 0; k < 4; ++k) {
                    const int nx = x + dc[k], ny = y + dr[k];
                    if (!corridor(nx, ny)) continue;
                    ++corridor_neighbours;
                    int& g = group[static_cast<size_t>(ny) * b.width + nx];
                    if (g < 0) {
                        g = 1;
                        todo.push_back({nx, ny});
                    }
                }
                if (corridor_neighbours != 2) closed = false;
            }
            if (closed) return fail(where(c, r), "a corridor loop holds no square");
        }
    }
    return true;
}

void put_i32(std::vector<unsigned char>& out, int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(u >> (8 * i)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: tessaly-mapc BOARD.txt OUT.dat\n";
        return 2;
    }
    Board b;
    if (!parse(argv[1], b)) return 1;
    std::vector<unsigned char> out;
    put_i32(out, 0);  // skip length
    put_i32(out, b.width);
    put_i32(out, b.height);
    put_i32(out, 0);
    put_i32(out, 0);
    for (int8_t v : b.terrain) out.push_back(static_cast<unsigned char>(v));
    for (int8_t v : b.squares) out.push_back(static_cast<unsigned char>(v));
    const std::string tmp = std::string(argv[2]) + ".tmp";
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) {
        std::cerr << argv[2] << ": cannot write\n";
        return 1;
    }
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    if (std::fclose(f) != 0 || !ok || std::rename(tmp.c_str(), argv[2]) != 0) {
        std::remove(tmp.c_str());
        std::cerr << argv[2] << ": cannot write\n";
        return 1;
    }
    return 0;
}
