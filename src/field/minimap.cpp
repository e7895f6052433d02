#include "field/minimap.hpp"

namespace tessaly {

void minimap_draw() {}

}  // namespace tessaly
