#pragma once
// The board grid: two 300 x 300 byte layers (terrain and square) and the event buffer.

namespace tessaly {

// Allocates the terrain layer, the square layer and the event buffer; 0 on failure,
// with whatever was allocated before freed again.
int map_alloc();
void map_clear();
void map_free();

}  // namespace tessaly
