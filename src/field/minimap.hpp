#pragma once
// The minimap overlay: the map block's cells, destinations and the players, 4 pixels a cell.

namespace tessaly {

void minimap_draw();

}  // namespace tessaly
