#include "app/app.hpp"
#include "platform/files.hpp"

// The game takes no command line. Its data is looked for in the working directory, then
// beside the program, so that it starts from any folder.
int main() {
    tessaly::platform::data_locate_for_game();
    return tessaly::app_main();
}
