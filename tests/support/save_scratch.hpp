#pragma once
// A folder of its own for the save files of one test, removed afterwards.
#include <memory>
#include <string>

#include "support/scratch_dir.hpp"

namespace tessaly::test {

struct SaveScratch {
    std::string folder;
    std::unique_ptr<ScratchDir> dir;
    // Makes the folder and points the save files at it.
    void open();
    // Points the save files back at the working directory and removes the folder.
    void close();
    // Makes the folder refuse new files: no write permission, and (for a user that
    // permissions do not stop) a folder standing where the temporary file of path would go.
    void make_unwritable(const std::string& path);
};

}  // namespace tessaly::test
