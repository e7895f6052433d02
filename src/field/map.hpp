#pragma once
// The board grid: two 300 x 300 byte layers (terrain and square), the map pack that fills
// their centred block, and the conversions between cells, map coordinates and the world.
//
// Grid row r grows southwards, column c eastwards; cell index = r * 300 + c. World x grows
// east and z north; a cell is 2 x 2 units and the grid's centre is the world origin.
#include <cstddef>
#include <cstdint>

namespace tessaly {

namespace platform {
struct File;
}

constexpr const char* kMapPackFile = "mappack.dat";

// Terrain values: passable up to 14 (negative values included), blocked from 15 on.
constexpr int kTerrainPassableMax = 14;
constexpr int kTerrainFill = 15;
constexpr int kTerrainRaised = 30;
constexpr int kTerrainWater = 45;
constexpr int kTerrainDestinationFirst = 1;
constexpr int kTerrainDestinationLast = 4;
// Square numbers 1..60 name a square's event.
constexpr int kSquareFirst = 1;
constexpr int kSquareLast = 60;

// A cell is 2 x 2 world units.
constexpr float kCellSize = 2.0f;

// Neighbour steps of a cell index.
constexpr int kCellEast = 1;
constexpr int kCellWest = -1;
constexpr int kCellNorth = -300;
constexpr int kCellSouth = 300;

// Allocates the terrain layer, the square layer and the event buffer; 0 on failure,
// with whatever was allocated before freed again.
int map_alloc();
void map_clear();
void map_free();

// What reading a map pack found. Only a pack read whole with at least one square is a board
// to play on: the others leave players with nowhere to go or nowhere to stop.
enum class MapPackRead {
    Loaded,
    Missing,    // the file cannot be opened; nothing is changed
    BadHeader,  // the header ends early or its size cannot be centred; nothing is changed
    CutShort,   // the file ends inside its layers; the rest of the blocks is kept
    NoSquares,  // read whole, but no cell holds a square number 1..60
};
// A few words on what was wrong, for standard error.
const char* map_pack_read_text(MapPackRead result);

// The map size a map pack declares, without reading its layers; 0 if the file cannot be
// opened, its header ends early or the size cannot be placed in the grid.
int map_pack_size(const char* path, int& width, int& height);
// Reads a map pack into the centred block of both layers; 0 if the file cannot be
// opened or its size cannot be placed in the grid (nothing is changed then), else 1.
int map_pack_load(const char* path);
// The same, telling what it found.
MapPackRead map_pack_read(const char* path);
// One W x H block of a layer at its centred place. Reading stops where the file ends and
// leaves the rest of the block as it was; both refuse (return 0) a size that does not fit.
int map_block_read(platform::File* file, int8_t* layer, int width, int height);
// The same from memory: block holds the W x H bytes row after row; 0 (nothing changed) if it
// is shorter or the size does not fit.
int map_block_copy_in(const unsigned char* block, size_t n, int8_t* layer, int width, int height);
// Writes the block row by row into out; returns the bytes written, 0 if the size does not
// fit the grid or out is too small.
size_t map_block_write(unsigned char* out, size_t capacity, const int8_t* layer, int width,
                       int height);
// True when a W x H block can be centred in the grid.
bool map_size_fits(int width, int height);
// Cells of the square layer whose value lies in 1..60.
int map_count_squares();
// The map pack, then (only if that worked) the event pack; 1 only if both were read. map, when
// given, receives what reading the map pack found.
int field_data_load(MapPackRead* map = nullptr);

// Cell index of a world position; the result may lie outside the grid for positions
// outside it (see terrain_at).
int cell_index_at(float x, float z);
// Map column and row (in x and z) to the world position of that cell's centre.
void map_to_world(float& x, float& z);
// Moves a world position to the centre of its cell.
void snap_to_cell(float& x, float& z);

// Terrain and square values of a cell; a cell outside the grid reads as blocked fill and
// as no square, so no caller ever indexes past the layers.
int terrain_at(int cell);
int square_at(int cell);
inline bool terrain_passable(int value) {
    return value <= kTerrainPassableMax;
}

}  // namespace tessaly
