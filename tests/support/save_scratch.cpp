#include "support/save_scratch.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "state/save_file.hpp"

namespace tessaly::test {

void SaveScratch::open() {
    dir = std::make_unique<ScratchDir>("saves");
    folder = dir->path();
    save_folder_set(folder.c_str());
}

void SaveScratch::close() {
    save_folder_set("");
    if (!dir) return;
    // An unwritable folder is made writable again so that it can be removed.
    ::chmod(folder.c_str(), 0755);
    dir.reset();
    folder.clear();
}

void SaveScratch::make_unwritable(const std::string& path) {
    ASSERT_EQ(::mkdir((path + ".tmp").c_str(), 0755), 0);
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
}

}  // namespace tessaly::test
