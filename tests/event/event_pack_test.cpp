#include "event/event_pack.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/window.hpp"
#include "state/game_state.hpp"

namespace tessaly {
namespace {

void put_u32(std::vector<unsigned char>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

// A pack holding text, each byte complemented, behind a skip block of the given size.
// The stated length is the text's own unless one is given.
std::vector<unsigned char> pack_of(const std::string& text, uint32_t skip = 0,
                                   int64_t stated_length = -1) {
    std::vector<unsigned char> out;
    put_u32(out, skip);
    for (uint32_t i = 0; i < skip; ++i) out.push_back(static_cast<unsigned char>(i * 7));
    put_u32(out, stated_length < 0 ? static_cast<uint32_t>(text.size())
                                   : static_cast<uint32_t>(stated_length));
    for (unsigned char c : text) out.push_back(static_cast<unsigned char>(~c));
    return out;
}

// Script k's text, as many "@"-ended scripts as the table asks for.
std::string scripts_text(int count, const std::string& prefix = "#99,") {
    std::string text;
    for (int k = 0; k < count; ++k) text += prefix + std::to_string(k) + "@";
    return text;
}

// A scratch event buffer and table for each test; the game's own come back afterwards.
class EventPack : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_buffer_ = g_game.event_buffer;
        std::memcpy(saved_table_, g_game.event_script, sizeof saved_table_);
        buffer_.assign(kEventBufferBytes, 0);
        g_game.event_buffer = buffer_.data();
        platform::last_error_reset();
        path_ = ::testing::TempDir() + "/epack_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".dat";
    }
    void TearDown() override {
        g_game.event_buffer = saved_buffer_;
        std::memcpy(g_game.event_script, saved_table_, sizeof saved_table_);
        std::remove(path_.c_str());
        platform::last_error_reset();
    }
    int load(const std::vector<unsigned char>& bytes) {
        std::ofstream o(path_, std::ios::binary | std::ios::trunc);
        o.write(reinterpret_cast<const char*>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
        o.close();
        return event_pack_load(path_.c_str());
    }
    std::string script(int k) const {
        const auto* s = reinterpret_cast<const char*>(buffer_.data()) +
                        static_cast<size_t>(k) * kEventScriptBytes;
        return std::string(s, strnlen(s, kEventScriptBytes));
    }
    std::vector<unsigned char> buffer_;
    unsigned char* saved_buffer_ = nullptr;
    int32_t saved_table_[kSquareCount][kEventStages];
    std::string path_;
};

TEST_F(EventPack, InitialTableAsksForThirtyNineScripts) {
    EXPECT_EQ(event_script_count(), 39);
}

TEST_F(EventPack, SplitsScriptsPastTheSkipBlockDroppingBlanksAndComments) {
    std::string text = "#1,1,\r\n#3, 5,/ a comment: @ and # inside\n#99,@";
    text += "/lead\n@";  // script 1 is empty
    text += scripts_text(37);
    ASSERT_EQ(load(pack_of(text, 13)), 1);
    EXPECT_EQ(script(0), "#1,1,#3,5,#99,");
    EXPECT_EQ(script(1), "");
    EXPECT_EQ(script(2), "#99,0");
    EXPECT_EQ(script(38), "#99,36");
    EXPECT_EQ(event_pack_overflows(), 0);
    EXPECT_STREQ(platform::last_error_text(), "");
}

TEST_F(EventPack, CommentVanishesWithItsLineFeed) {
    ASSERT_EQ(load(pack_of("#5,1,/wait a frame\n#99,@" + scripts_text(38))), 1);
    EXPECT_EQ(script(0), "#5,1,#99,");
}

TEST_F(EventPack, TabsAreScriptText) {
    ASSERT_EQ(load(pack_of("#1,\t1,@" + scripts_text(38))), 1);
    EXPECT_EQ(script(0), "#1,\t1,");
}

TEST_F(EventPack, ScriptOf2047BytesLoadsAnd2048Overflows) {
    const std::string fits(kEventScriptTextMax, 'a');
    ASSERT_EQ(load(pack_of(fits + "@" + scripts_text(38))), 1);
    EXPECT_EQ(script(0), fits);
    EXPECT_EQ(script(1), "#99,0");
    EXPECT_EQ(event_pack_overflows(), 0);

    const std::string over(kEventScriptBytes, 'b');
    ASSERT_EQ(load(pack_of(over + "@" + scripts_text(38))), 1);
    EXPECT_EQ(event_pack_overflows(), 1);
    EXPECT_STREQ(platform::last_error_text(), kEventScriptOverflowText);
    // The overflowing script keeps what it stored and still ends in a zero byte; the next
    // script is read on from where it stopped.
    EXPECT_EQ(script(0), std::string(kEventScriptTextMax, 'b'));
    EXPECT_EQ(buffer_[kEventScriptBytes - 1], 0);
    EXPECT_EQ(script(1), "#99,0");
    EXPECT_EQ(script(38), "#99,37");
}

TEST_F(EventPack, ThirtyEightScriptsWhereThirtyNineAreNeededShowOneOverflow) {
    ASSERT_EQ(load(pack_of(scripts_text(38))), 1);
    EXPECT_EQ(event_pack_overflows(), 1);
    EXPECT_STREQ(platform::last_error_text(), kEventScriptOverflowText);
    EXPECT_EQ(script(37), "#99,37");
    // Past the text the staging area's zero bytes read as text, until the overflow.
    EXPECT_EQ(buffer_[38 * kEventScriptBytes], 0xFF);
    EXPECT_EQ(buffer_[39 * kEventScriptBytes - 1], 0);
}

// 38 scripts, then a 39th that is one long comment and its "@", the whole text n bytes long.
std::string text_ending_at(size_t n) {
    const std::string head = scripts_text(38) + "/";
    return head + std::string(n - head.size() - 2, 'c') + "\n@";
}

TEST_F(EventPack, LengthOfExactly36000IsAcceptedButItsLastByteNeverUsed) {
    const std::string text = text_ending_at(kEventStagingBytes);
    ASSERT_EQ(load(pack_of(text)), 1);
    EXPECT_EQ(script(0), "#99,0");
    // The "@" stands on the area's last byte, which is never used: the 39th overflows.
    EXPECT_EQ(event_pack_overflows(), 1);
    EXPECT_STREQ(platform::last_error_text(), kEventScriptOverflowText);

    // One byte shorter, the same script ends cleanly.
    ASSERT_EQ(load(pack_of(text_ending_at(kEventStagingBytes - 1))), 1);
    EXPECT_EQ(event_pack_overflows(), 0);
    EXPECT_EQ(script(38), "");
}

TEST_F(EventPack, LengthOfOneMoreThan36000IsRefusedAndTheScriptsStay) {
    ASSERT_EQ(load(pack_of(scripts_text(39))), 1);
    platform::last_error_reset();
    EXPECT_EQ(load(pack_of(text_ending_at(kEventStagingBytes + 1))), 0);
    EXPECT_STREQ(platform::last_error_text(), kEventStagingOverflowText);
    EXPECT_EQ(script(0), "#99,0");
    EXPECT_EQ(script(38), "#99,38");
}

TEST_F(EventPack, CommentRunningOffTheStagingAreaOverflows) {
    std::string text = scripts_text(38) + "#1,/never ends";
    ASSERT_EQ(load(pack_of(text)), 1);
    EXPECT_EQ(event_pack_overflows(), 1);
    EXPECT_EQ(script(38), "#1,");
}

TEST_F(EventPack, MissingFileChangesNothing) {
    buffer_[5] = 'x';
    EXPECT_EQ(event_pack_load((path_ + ".missing").c_str()), 0);
    EXPECT_EQ(buffer_[5], 'x');
    EXPECT_STREQ(platform::last_error_text(), "");
}

TEST_F(EventPack, HeaderEndingEarlyChangesNothing) {
    buffer_[5] = 'x';
    std::vector<unsigned char> bytes;
    put_u32(bytes, 100);  // a skip block longer than the file
    bytes.push_back(1);
    EXPECT_EQ(load(bytes), 0);
    EXPECT_EQ(buffer_[5], 'x');
}

TEST_F(EventPack, TableValueOfFiftyIsRefusedRatherThanSplitPastTheBuffer) {
    g_game.event_script[3][2] = 50;
    buffer_[5] = 'x';
    EXPECT_EQ(load(pack_of(scripts_text(51))), 0);
    EXPECT_EQ(buffer_[5], 'x');
    g_game.event_script[3][2] = 49;
    EXPECT_EQ(load(pack_of(scripts_text(50))), 1);
    EXPECT_EQ(script(49), "#99,49");
    EXPECT_EQ(event_pack_overflows(), 0);
}

TEST(ScriptReadNumber, ReadsNumbersEndedByOneSeparator) {
    unsigned char s[kEventScriptBytes] = {};
    std::memcpy(s, "12,34,", 6);
    int32_t p = 0;
    EXPECT_EQ(script_read_number(p, s), 12);
    EXPECT_EQ(p, 3);
    EXPECT_EQ(script_read_number(p, s), 34);
    EXPECT_EQ(p, 6);

    std::memcpy(s, ",5,", 3);
    p = 0;
    EXPECT_EQ(script_read_number(p, s), 0);
    EXPECT_EQ(p, 1);
    EXPECT_EQ(script_read_number(p, s), 5);
    EXPECT_EQ(p, 3);
}

TEST(ScriptReadNumber, SevenDigitsReadAsSixThenTheRest) {
    unsigned char s[kEventScriptBytes] = {};
    std::memcpy(s, "1234567,", 8);
    int32_t p = 0;
    EXPECT_EQ(script_read_number(p, s), 123456);
    EXPECT_EQ(script_read_number(p, s), 0);  // the 7 was taken as the separator
    EXPECT_EQ(p, 8);
}

TEST(ScriptReadNumber, NoSignAndAnySeparator) {
    unsigned char s[kEventScriptBytes] = {};
    std::memcpy(s, "-4x9#", 5);
    int32_t p = 0;
    EXPECT_EQ(script_read_number(p, s), 0);
    EXPECT_EQ(script_read_number(p, s), 4);
    EXPECT_EQ(script_read_number(p, s), 9);
    EXPECT_EQ(p, 5);
}

TEST(ScriptReadNumber, NeverReadsOrMovesPastTheBuffer) {
    unsigned char s[kEventScriptBytes];
    std::memset(s, '7', sizeof s);
    int32_t p = kEventScriptBytes - 3;
    EXPECT_EQ(script_read_number(p, s), 777);
    EXPECT_EQ(p, kEventScriptTextMax);
    p = kEventScriptBytes + 40;
    EXPECT_EQ(script_read_number(p, s), 0);
    EXPECT_EQ(p, kEventScriptTextMax);
}

}  // namespace
}  // namespace tessaly
