#pragma once
// File input and output: the game's data files and save files.
#include <cstddef>
#include <cstdint>

namespace tessaly::platform {

struct File;

// Opens a file for reading. A relative name not found in the working directory is looked for
// in the data folder, if one was chosen by data_locate. A failure leaves its reason (the file,
// the folder, the system's word) for the next error box.
File* file_open_read(const char* path);
// Size in bytes, or -1 if it cannot be had.
int64_t file_size(File* f);
// Reads up to n bytes; returns how many were read.
size_t file_read(File* f, void* out, size_t n);
// Moves forward by n bytes by reading them; false when the file ends first.
bool file_skip(File* f, uint32_t n);
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

// Where the game found its data files (data.dat and the packs beside it).
enum class DataLocation {
    WorkingFolder,     // in the working directory, as ./play runs it
    BesideExecutable,  // beside the program: the working directory moves there
    Installed,         // under <prefix>/share/tessaly: read from there, saves in the user folder
    NotFound,
};
// Finds data.dat: the working directory, then the program's folder (made the working directory
// when it can be written), then <program folder>/../share/tessaly (read in place, with the
// working directory moved to user_folder, made if missing, for saves and settings).
DataLocation data_locate(const char* program_folder, const char* user_folder);
// data_locate with the program's own folder and the user's data folder for the game.
DataLocation data_locate_for_game();
// The folder that file_open_read falls back to; empty if none.
const char* data_folder();
void data_folder_reset();

}  // namespace tessaly::platform
