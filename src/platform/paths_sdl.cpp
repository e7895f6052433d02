#include <SDL.h>

#include <string>

#include "platform/files.hpp"

namespace tessaly::platform {

DataLocation data_locate_for_game() {
    if (file_exists("data.dat")) return data_locate(nullptr, nullptr);
    std::string program, user;
    if (char* p = SDL_GetBasePath()) {
        program = p;
        SDL_free(p);
    }
    // The user's folder for saves when the game is installed read-only
    // (~/.local/share/tessaly/ on Linux); SDL makes it if missing.
    if (char* p = SDL_GetPrefPath("", "tessaly")) {
        user = p;
        SDL_free(p);
    }
    return data_locate(program.c_str(), user.c_str());
}

}  // namespace tessaly::platform
