// Finding the game's data from whatever folder the program was started in.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/files.hpp"
#include "platform/window.hpp"
#include "support/scratch_dir.hpp"

namespace tessaly {
namespace {

struct DataLocate : ::testing::Test {
    // Entered, so the working directory goes back to where it was when the folder is removed.
    test::ScratchDir scratch{"locate", true};
    std::string root = scratch.path();
    void SetUp() override {
        for (const char* d : {"/start", "/prefix", "/prefix/bin", "/prefix/share",
                              "/prefix/share/tessaly", "/build"})
            ASSERT_EQ(mkdir((root + d).c_str(), 0755), 0);
        ASSERT_EQ(chdir((root + "/start").c_str()), 0);
    }
    void TearDown() override { platform::data_folder_reset(); }
    static void write(const std::string& path, const char* text) { std::ofstream(path) << text; }
    static std::string cwd() {
        char buf[4096];
        return getcwd(buf, sizeof buf) ? buf : "";
    }
    static std::string read_first(const char* name) {
        platform::File* f = platform::file_open_read(name);
        if (!f) return "";
        char buf[64] = {};
        const size_t n = platform::file_read(f, buf, sizeof buf - 1);
        platform::file_close(f);
        return std::string(buf, n);
    }
};

TEST_F(DataLocate, DataInTheWorkingFolderStaysThere) {
    write(root + "/start/data.dat", "here");
    write(root + "/build/data.dat", "beside");
    EXPECT_EQ(platform::data_locate((root + "/build").c_str(), nullptr),
              platform::DataLocation::WorkingFolder);
    EXPECT_EQ(cwd(), root + "/start");
    EXPECT_EQ(read_first("data.dat"), "here");
}

TEST_F(DataLocate, DataBesideTheProgramMovesTheWorkingFolderThere) {
    write(root + "/build/data.dat", "beside");
    write(root + "/build/epack.dat", "events");
    EXPECT_EQ(platform::data_locate((root + "/build/").c_str(), (root + "/user").c_str()),
              platform::DataLocation::BesideExecutable);
    EXPECT_EQ(cwd(), root + "/build");
    EXPECT_EQ(read_first("epack.dat"), "events");
}

TEST_F(DataLocate, InstalledDataIsReadInPlaceAndSavesGoToTheUserFolder) {
    write(root + "/prefix/share/tessaly/data.dat", "installed");
    write(root + "/prefix/share/tessaly/mappack.dat", "board");
    write(root + "/prefix/share/tessaly/save0.dat", "not a save of this user");
    chmod((root + "/prefix/bin").c_str(), 0555);
    EXPECT_EQ(platform::data_locate((root + "/prefix/bin").c_str(), (root + "/user/t").c_str()),
              platform::DataLocation::Installed);
    EXPECT_EQ(cwd(), root + "/user/t");
    EXPECT_EQ(read_first("mappack.dat"), "board");
    EXPECT_EQ(read_first("save0.dat"), "");  // saves are never read from the data folder
    EXPECT_NE(std::string(platform::error_reason_text()).find("save0.dat"), std::string::npos);
}

TEST_F(DataLocate, NoDataAnywhereSaysWhichFileAndFolder) {
    EXPECT_EQ(platform::data_locate((root + "/build").c_str(), nullptr),
              platform::DataLocation::NotFound);
    EXPECT_EQ(read_first("data.dat"), "");
    const std::string reason = platform::error_reason_text();
    EXPECT_NE(reason.find("data.dat"), std::string::npos);
    EXPECT_NE(reason.find(root + "/start"), std::string::npos);
}

}  // namespace
}  // namespace tessaly

namespace tessaly {
namespace {

// A FIFO under a data file's name is refused at once instead of blocking the game.
TEST_F(DataLocate, OnlyRegularFilesAreOpened) {
    ASSERT_EQ(mkfifo("data.dat", 0644), 0);
    EXPECT_EQ(platform::file_open_read("data.dat"), nullptr);
    EXPECT_NE(std::string(platform::error_reason_text()).find("not a regular file"),
              std::string::npos);
    ASSERT_EQ(mkdir("epack.dat", 0755), 0);
    EXPECT_EQ(platform::file_open_read("epack.dat"), nullptr);
}

}  // namespace
}  // namespace tessaly
