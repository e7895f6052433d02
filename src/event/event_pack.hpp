#pragma once
// The event pack: the script text of every square's events.

namespace tessaly {

// Reads the event pack; 1 if the file was read, 0 if it is missing.
int event_pack_load(const char* path);

}  // namespace tessaly
