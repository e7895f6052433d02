#pragma once
// data.dat: 132 entries found through an offset table, held whole in memory for the run.
#include <cstddef>
#include <cstdint>

namespace tessaly {

constexpr int kPackEntries = 132;
constexpr uint32_t kPackTableBytes = kPackEntries * 4;

constexpr int kEntryAtlas = 0;
constexpr int kEntrySecondSheet = 1;
constexpr int kEntryTextureSlots = 2;
constexpr int kEntryUnused = 26;
constexpr int kEntryMeshTextures = 27;
constexpr int kEntryMeshes = 90;
constexpr int kEntrySounds = 115;

// Reads data.dat from the working directory; 0 if it is missing, unreadable or damaged.
int pack_load();
void pack_release();
// The data of entry index (0..131) and its length.
const unsigned char* pack_entry(int index, uint32_t* length);
const unsigned char* pack_buffer();
size_t pack_size();

// Checks a whole pack image: every entry's length word and data lie inside the buffer.
bool pack_validate(const unsigned char* data, size_t size);
// Adopts an already validated buffer allocated with malloc (tests build packs in memory).
void pack_adopt(unsigned char* data, size_t size);

}  // namespace tessaly
