#pragma once

namespace tessaly {

// Creates the title scene task (slot 901); 0 if it cannot be created.
int title_create();

}  // namespace tessaly
