#include "app/app.hpp"

// The game takes no command line.
int main() {
    return tessaly::app_main();
}
