#pragma once
// A folder of one test's own under /tmp, removed with all it holds when the test ends; as the
// working directory, files the game reads from there (data.dat) are exactly what the test put.
#include <string>

namespace tessaly::test {

class ScratchDir {
  public:
    // Makes /tmp/tessaly-<name>-XXXXXX; enter makes it the working directory until the end.
    explicit ScratchDir(const char* name, bool enter = false);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return path_; }
    // path() + "/" + file.
    std::string file(const std::string& name) const;

  private:
    std::string path_;
    std::string old_dir_;
};

}  // namespace tessaly::test
