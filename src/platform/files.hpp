#pragma once
// File input and output: the game's data files and save files.
#include <cstddef>
#include <cstdint>

namespace tessaly::platform {

struct File;

File* file_open_read(const char* path);
// Size in bytes, or -1 if it cannot be had.
int64_t file_size(File* f);
// Reads up to n bytes; returns how many were read.
size_t file_read(File* f, void* out, size_t n);
void file_close(File* f);

// Writes the whole buffer to path through a temporary file that replaces it at once,
// so a failed write never leaves a half-written file behind.
bool file_write_atomic(const char* path, const void* data, size_t n);

bool file_exists(const char* path);

struct CalendarFields {
    int year, month, day, hour, minute, second;
};
// Last-write time in local calendar fields; false if the file cannot be had.
bool file_last_write_local(const char* path, CalendarFields& out);

}  // namespace tessaly::platform
