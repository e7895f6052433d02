#include "support/scratch_dir.hpp"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace tessaly::test {

ScratchDir::ScratchDir(const char* name, bool enter) {
    std::string pattern = std::string("/tmp/tessaly-") + name + "-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        ADD_FAILURE() << "no scratch folder " << pattern;
        return;
    }
    path_ = pattern;
    if (!enter) return;
    char buf[4096];
    if (!getcwd(buf, sizeof buf) || chdir(path_.c_str()) != 0) {
        ADD_FAILURE() << "cannot enter " << path_;
        return;
    }
    old_dir_ = buf;
}

ScratchDir::~ScratchDir() {
    if (!old_dir_.empty() && chdir(old_dir_.c_str()) != 0)
        ADD_FAILURE() << "cannot leave " << path_;
    if (path_.empty()) return;
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
    if (ec) ADD_FAILURE() << "cannot remove " << path_ << ": " << ec.message();
}

std::string ScratchDir::file(const std::string& name) const {
    return path_ + "/" + name;
}

}  // namespace tessaly::test
