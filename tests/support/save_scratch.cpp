#include "support/save_scratch.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "state/save_file.hpp"

namespace tessaly::test {

void SaveScratch::open() {
    char name[] = "/tmp/tessaly-saves-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    folder = name;
    save_folder_set(folder.c_str());
}

void SaveScratch::close() {
    save_folder_set("");
    if (folder.empty()) return;
    ::chmod(folder.c_str(), 0755);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    folder.clear();
}

void SaveScratch::make_unwritable(const std::string& path) {
    ASSERT_EQ(::mkdir((path + ".tmp").c_str(), 0755), 0);
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
}

}  // namespace tessaly::test
