#pragma once
// Save files: five slots, each a headerless little-endian dump of the persistent state
// (three players, the camera, the request table, the event stage table and the two map
// layers), named "save%d.dat" after the slot.
//
// A save is built in memory, checked and written through a temporary file that replaces
// the old one at once. A load reads the whole file and checks every field the game later
// uses as an index, a count or a position before it ends a single task.
#include <cstddef>
#include <cstdint>

#include "state/game_state.hpp"

namespace tessaly {

constexpr int kSaveSlotCount = 5;
constexpr size_t kSaveSummaryBytes = 4;
constexpr size_t kSavePlayerBytes = 708;
constexpr size_t kSaveCameraBytes = 28;
constexpr size_t kSaveRequestBytes = 480;
constexpr size_t kSaveStageBytes = 240;
constexpr int kSavePlayers = 3;
// Everything but the two map-sized layer blocks: 2876 bytes.
constexpr size_t kSaveFixedBytes = kSaveSummaryBytes + kSavePlayers * kSavePlayerBytes +
                                   kSaveCameraBytes + kSaveRequestBytes + kSaveStageBytes;
constexpr size_t kSaveMaxBytes = kSaveFixedBytes + 2 * static_cast<size_t>(kGridCells);

// The length of a save file for a map of width x height.
constexpr size_t save_file_bytes(int width, int height) {
    return kSaveFixedBytes + 2 * static_cast<size_t>(width) * static_cast<size_t>(height);
}

// The folder the slot files live in; empty (the default) is the working directory.
void save_folder_set(const char* folder);
// The path of a slot's file; false for a slot outside 0..4 or a path that does not fit.
bool save_file_path(int slot, char* out, size_t capacity);

// The save image of the game on the board into out; its length, or 0 when the board is not
// whole (three players and a camera) or out is too small.
size_t save_build(unsigned char* out, size_t capacity);
// Checks a save image for a map of width x height: the exact length and every field the
// game uses as an index, a count or a position. True when the image may be loaded.
bool save_image_valid(const unsigned char* data, size_t n, int width, int height);

// Writes the slot's file; 1 on success, 0 when the slot is outside 0..4, the board cannot be
// saved or the file cannot be written (the old file then stays as it was).
int save_game(int slot);
// 1 when the slot's file can be opened for reading.
int save_slot_exists(int slot);
// Replaces the current play with the slot's game; 0 with the game untouched when the slot is
// outside 0..4, the file cannot be read, the map pack cannot be read or the file fails a check.
int load_game(int slot);
// The achievement summary stored in the first four bytes of a slot's file; 0 when the file
// is missing or shorter.
int32_t save_slot_summary(int slot);

}  // namespace tessaly
