// Fuzz target: a save file through the whole check that loading makes before it touches the
// game (for the size of the board the game ships with and for a small one), then through
// load_game itself with a board of the shipped size, and the loaded board played for a
// number of frames without keys.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "app/keys.hpp"
#include "app/task_pool.hpp"
#include "field/map.hpp"
#include "fuzz_file.hpp"
#include "state/save_file.hpp"

namespace {

constexpr int kBoardSide = 64;  // the board the game ships with
constexpr int kFramesAfterLoad = 60;

bool no_key(int) {
    return false;
}

// A private folder for the save files; the map pack stays in the working directory, where
// libFuzzer also reads its corpus and writes its findings.
bool prepare() {
    using namespace tessaly;
    const std::string folder = "/dev/shm/tessaly-fuzz-save-" + std::to_string(getpid());
    mkdir(folder.c_str(), 0700);
    save_folder_set(folder.c_str());
    keys_set_source(&no_key);
    keys_init();
    return pool_create() && map_alloc() && fuzz::ensure_map_pack(kMapPackFile);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tessaly;
    static const bool ready = prepare();
    save_image_valid(data, size, kBoardSide, kBoardSide);
    save_image_valid(data, size, 4, 2);
    if (!ready) return 0;
    char path[600];
    if (!save_file_path(0, path, sizeof path)) return 0;
    if (std::FILE* f = std::fopen(path, "wb")) {
        if (size > 0) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    if (load_game(0)) {
        for (int i = 0; i < kFramesAfterLoad; ++i) {
            keys_poll();
            task_update_pass();
        }
    }
    return 0;
}
