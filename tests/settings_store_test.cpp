#include "app/core/settings_store.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "support/scratch_directory.h"
#include "sysinfo/os_info.h"

namespace korvalend {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::WriteBytes;

class SettingsStoreTest : public ::testing::Test {
  protected:
    fs::path File() const { return dir_ / "korvalend" / "settings"; }
    SettingsStore Store() const { return SettingsStore(File()); }
    static SettingValue Value(std::uint32_t type, std::string_view bytes) {
        return {type, {bytes.begin(), bytes.end()}};
    }
    std::vector<std::string> SettingsDirectory() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(File().parent_path())) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    testing::ScratchDirectory dir_;
};

TEST_F(SettingsStoreTest, FirstRunFindsNothingAndLeavesCallerDataAlone) {
    auto store = Store();
    char text[256];
    std::memset(text, 'q', sizeof text);
    std::uint32_t value = 0xDEADBEEF;
    EXPECT_FALSE(store.ReadString("Korvalend", "UserDefinedFule", text));
    EXPECT_FALSE(store.ReadDword("Korvalend", "Width", value));
    EXPECT_EQ(text[0], 'q');
    EXPECT_EQ(text[255], 'q');
    EXPECT_EQ(value, 0xDEADBEEF);
    EXPECT_FALSE(fs::exists(File()));
}

TEST_F(SettingsStoreTest, FirstWriteCreatesTheFileAndItsDirectory) {
    auto store = Store();
    ASSERT_TRUE(store.WriteDword("Korvalend", "Width", 800));
    EXPECT_TRUE(fs::is_regular_file(File()));
    EXPECT_EQ(fs::status(File()).permissions(), fs::perms(0600));
    std::uint32_t value = 0;
    EXPECT_TRUE(store.ReadDword("Korvalend", "Width", value));
    EXPECT_EQ(value, 800u);
    // Another key of the same name with another value stays apart from it.
    EXPECT_FALSE(store.ReadDword("Other", "Width", value));
}

TEST_F(SettingsStoreTest, FileIsReadableText) {
    auto store = Store();
    ASSERT_TRUE(store.WriteDword("Korvalend", "Width", 0x320));
    ASSERT_TRUE(store.WriteString("Korvalend", "UserDefinedFule", "/home/u/media \"1\".txt"));
    const std::string text = ReadBytes(File());
    EXPECT_NE(text.find("[Korvalend]\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"Width\"=dword:00000320\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"UserDefinedFule\"=\"/home/u/media \\\"1\\\".txt\"\n"), std::string::npos)
        << text;
}

TEST_F(SettingsStoreTest, StringRoundTripsAndOverwrites) {
    auto store = Store();
    char text[256] = {};
    ASSERT_TRUE(store.WriteString("Korvalend", "UserDefinedFule", "C:\\media\\mine.txt"));
    ASSERT_TRUE(store.ReadString("Korvalend", "UserDefinedFule", text));
    EXPECT_STREQ(text, "C:\\media\\mine.txt");
    ASSERT_TRUE(store.WriteString("Korvalend", "userdefinedfule", ""));  // names ignore case
    std::memset(text, 'q', sizeof text);
    ASSERT_TRUE(store.ReadString("KORVALEND", "UserDefinedFule", text));
    EXPECT_STREQ(text, "");
    EXPECT_EQ(store.ReadValue("Korvalend", "UserDefinedFule"),
              Value(kSettingTypeString, std::string_view("\0", 1)));
}

TEST_F(SettingsStoreTest, EveryByteAndTypeIsKept) {
    auto store = Store();
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::vector<std::pair<std::string, SettingValue>> values{
        {"binary", Value(kSettingTypeBinary, all)},
        {"text with every byte", Value(kSettingTypeString, all.substr(1) + std::string(1, '\0'))},
        {"text, embedded zero", Value(kSettingTypeString, std::string("a\0b\0", 4))},
        {"text, no zero", Value(kSettingTypeString, "abc")},
        {"empty binary", Value(kSettingTypeBinary, "")},
        {"qword", Value(kSettingTypeQword, "12345678")},
        {"short dword", Value(kSettingTypeDword, "12")},
        {"odd type", Value(0xFFFFFFFF, "\n\r\"\\]")},
        {"name \"quoted\" \\ \x01 \xE9 ]", Value(2, std::string_view("\xE9t\xE9\0", 4))},
    };
    for (const auto& [name, value] : values)
        ASSERT_TRUE(store.WriteValue("Key ] \\ [x]", name, value));
    SettingsStore reopened(File());
    for (const auto& [name, value] : values) {
        EXPECT_EQ(reopened.ReadValue("Key ] \\ [x]", name), value) << name;
    }
}

TEST_F(SettingsStoreTest, TextWithoutTerminatingZeroReadsAsSameText) {
    auto store = Store();
    ASSERT_TRUE(store.WriteValue("Korvalend", "Path", Value(kSettingTypeString, "abc")));
    char text[256];
    std::memset(text, 'q', sizeof text);
    ASSERT_TRUE(store.ReadString("Korvalend", "Path", text));
    EXPECT_STREQ(text, "abc");
}

TEST_F(SettingsStoreTest, TextLengthLimits) {
    auto store = Store();
    char text[256] = {};
    // 255 characters and the zero fill the area exactly.
    ASSERT_TRUE(store.WriteString("Korvalend", "Path", std::string(255, 'p')));
    ASSERT_TRUE(store.ReadString("Korvalend", "Path", text));
    EXPECT_EQ(std::string(text), std::string(255, 'p'));
    // 256 characters need 257 bytes.
    ASSERT_TRUE(store.WriteString("Korvalend", "Path", std::string(256, 'p')));
    std::memset(text, 'q', sizeof text);
    EXPECT_FALSE(store.ReadString("Korvalend", "Path", text));
    EXPECT_EQ(text[0], 'q');
    // 256 bytes without a zero leave no room for one.
    ASSERT_TRUE(
        store.WriteValue("Korvalend", "Path", Value(kSettingTypeString, std::string(256, 'p'))));
    EXPECT_FALSE(store.ReadString("Korvalend", "Path", text));
    EXPECT_EQ(text[0], 'q');
}

TEST_F(SettingsStoreTest, DwordReaderTakesShortDataLittleEndian) {
    auto store = Store();
    // "800" and its zero form the number 0x00303038.
    ASSERT_TRUE(store.WriteString("Korvalend", "Width", "800"));
    std::uint32_t value = 0;
    ASSERT_TRUE(store.ReadDword("Korvalend", "Width", value));
    EXPECT_EQ(value, 0x00303038u);

    ASSERT_TRUE(store.WriteValue("Korvalend", "Height", Value(kSettingTypeBinary, "\x34\x12")));
    value = 0xAABBCCDD;
    ASSERT_TRUE(store.ReadDword("Korvalend", "Height", value));
    EXPECT_EQ(value, 0xAABB1234u) << "the caller's upper bytes stay";

    ASSERT_TRUE(store.WriteValue("Korvalend", "Height", Value(kSettingTypeBinary, "")));
    value = 7;
    EXPECT_TRUE(store.ReadDword("Korvalend", "Height", value));
    EXPECT_EQ(value, 7u);
}

TEST_F(SettingsStoreTest, EightByteDataFailDwordReader) {
    auto store = Store();
    ASSERT_TRUE(
        store.WriteValue("Korvalend", "Width",
                         Value(kSettingTypeQword, std::string_view("\x20\x03\0\0\0\0\0\0", 8))));
    std::uint32_t value = 5;
    EXPECT_FALSE(store.ReadDword("Korvalend", "Width", value));
    EXPECT_EQ(value, 5u);
}

TEST_F(SettingsStoreTest, DwordReadByTextReaderGivesItsBytes) {
    auto store = Store();
    ASSERT_TRUE(store.WriteDword("Korvalend", "Width", 0x00434241));
    char text[256] = {};
    ASSERT_TRUE(store.ReadString("Korvalend", "Width", text));
    EXPECT_STREQ(text, "ABC");
}

TEST_F(SettingsStoreTest, DamagedFileReadsAsMissingAndIsKeptAside) {
    fs::create_directories(File().parent_path());
    const std::string garbage = "[Korvalend]\n\"Width\"=dword:12\x01garbage\n";
    WriteBytes(File(), garbage);
    auto store = Store();
    std::uint32_t value = 9;
    EXPECT_FALSE(store.ReadDword("Korvalend", "Width", value));
    EXPECT_EQ(value, 9u);
    EXPECT_EQ(ReadBytes(File().string() + ".damaged"), garbage);
    EXPECT_FALSE(fs::exists(File()));

    ASSERT_TRUE(store.WriteDword("Korvalend", "Width", 640));
    ASSERT_TRUE(store.ReadDword("Korvalend", "Width", value));
    EXPECT_EQ(value, 640u);

    // A second damaged file does not replace the first one kept aside.
    WriteBytes(File(), "not a settings file");
    EXPECT_FALSE(store.ReadDword("Korvalend", "Width", value));
    EXPECT_EQ(ReadBytes(File().string() + ".damaged"), garbage);
    EXPECT_EQ(ReadBytes(File().string() + ".damaged.2"), "not a settings file");
}

TEST_F(SettingsStoreTest, UnreadableFileIsKeptAside) {
    fs::create_directories(File());  // a directory where the file should be
    auto store = Store();
    std::uint32_t value = 0;
    EXPECT_FALSE(store.ReadDword("Korvalend", "Width", value));
    EXPECT_TRUE(fs::is_directory(File().string() + ".damaged"));
    EXPECT_TRUE(store.WriteDword("Korvalend", "Width", 1));
}

TEST_F(SettingsStoreTest, FailedWriteKeepsEarlierSettings) {
    auto store = Store();
    ASSERT_TRUE(store.WriteDword("Korvalend", "Width", 1024));
    const std::string before = ReadBytes(File());
    {
        // The new file would be larger than the writes allowed: the write fails part-way.
        testing::FileSizeLimit limit(4096);
        EXPECT_FALSE(store.WriteValue("Korvalend", "Big",
                                      Value(kSettingTypeBinary, std::string(20000, 'b'))));
    }
    EXPECT_EQ(ReadBytes(File()), before);
    EXPECT_EQ(SettingsDirectory(), std::vector<std::string>{"settings"}) << "no temporary left";
    std::uint32_t value = 0;
    EXPECT_TRUE(store.ReadDword("Korvalend", "Width", value));
    EXPECT_EQ(value, 1024u);
}

TEST_F(SettingsStoreTest, FailedWriteInReadOnlyDirectory) {
    if (::geteuid() == 0) GTEST_SKIP() << "directory permissions do not bind the superuser";
    auto store = Store();
    ASSERT_TRUE(store.WriteDword("Korvalend", "Width", 1024));
    fs::permissions(File().parent_path(), fs::perms(0500));
    EXPECT_FALSE(store.WriteDword("Korvalend", "Width", 2048));
    fs::permissions(File().parent_path(), fs::perms(0700));
    std::uint32_t value = 0;
    EXPECT_TRUE(store.ReadDword("Korvalend", "Width", value));
    EXPECT_EQ(value, 1024u);
}

TEST_F(SettingsStoreTest, WriteFailsWhenDirectoryCannotBeCreated) {
    WriteBytes(dir_ / "korvalend", "a file where the directory should be");
    auto store = Store();
    EXPECT_FALSE(store.WriteDword("Korvalend", "Width", 1));
    EXPECT_EQ(ReadBytes(dir_ / "korvalend"), "a file where the directory should be");
}

TEST(SettingsStoreParse, RejectsDamage) {
    const std::vector<std::string> damaged{
        "\"Width\"=dword:00000001\n",                // value before any key
        "[Korvalend\n",                              // unterminated key
        "[Korvalend]\n\"Width=dword:00000001\n",     // unterminated name
        "[Korvalend]\n\"Width\"dword:00000001\n",    // no "="
        "[Korvalend]\n\"Width\"=dword:0000001\n",    // seven digits
        "[Korvalend]\n\"Width\"=dword:0000000g\n",   // not hexadecimal
        "[Korvalend]\n\"P\"=\"abc\n",                // unterminated text
        "[Korvalend]\n\"P\"=\"a\\qb\"\n",            // unknown escape
        "[Korvalend]\n\"P\"=\"a\"b\n",               // text after the text
        "[Korvalend]\n\"P\"=hex(3):0\n",             // half a byte
        "[Korvalend]\n\"P\"=hex(3):00,\n",           // trailing comma
        "[Korvalend]\n\"P\"=hex(99999999999):00\n",  // type out of range
        "[Korvalend]\n\"P\"=word:1\n",               // unknown form
        "[Korvalend]\ngarbage\n",
    };
    for (const auto& text : damaged) EXPECT_FALSE(SettingsStore::Parse(text).has_value()) << text;
    EXPECT_TRUE(SettingsStore::Parse("").has_value());
    EXPECT_TRUE(
        SettingsStore::Parse("; comment\r\n\r\n[K]\r\n\"V\"=dword:00000001\r\n").has_value());
}

TEST(SettingsStorePath, FollowsXdgConfigHome) {
    {
        testing::ScopedEnvironment xdg("XDG_CONFIG_HOME", "/tmp/xdg-place");
        EXPECT_EQ(SettingsStore::DefaultPath(), fs::path("/tmp/xdg-place/korvalend/settings"));
    }
    {
        testing::ScopedEnvironment xdg("XDG_CONFIG_HOME", "relative/ignored");
        testing::ScopedEnvironment home("HOME", "/home/someone");
        EXPECT_EQ(SettingsStore::DefaultPath(),
                  fs::path("/home/someone/.config/korvalend/settings"));
    }
    {
        testing::ScopedEnvironment xdg("XDG_CONFIG_HOME", "");
        testing::ScopedEnvironment home("HOME", "");
        EXPECT_FALSE(SettingsStore::DefaultPath().has_value());
    }
}

TEST(OSInfoSettings, StaticOperationsUseThePerUserFile) {
    testing::ScratchDirectory dir;
    testing::ScopedEnvironment xdg("XDG_CONFIG_HOME", dir.path().string());
    char text[256] = {};
    std::uint32_t value = 0;
    EXPECT_FALSE(OSInfo::ReadRegString("Korvalend", "UserDefinedFule", text));
    EXPECT_FALSE(OSInfo::ReadRegDword("Korvalend", "Width", value));
    ASSERT_TRUE(OSInfo::WriteRegString("Korvalend", "UserDefinedFule", "/data/media.txt"));
    ASSERT_TRUE(OSInfo::WriteRegDword("Korvalend", "Width", 1024));
    ASSERT_TRUE(OSInfo::WriteRegDword("Korvalend", "Height", 768));
    EXPECT_TRUE(OSInfo::ReadRegString("Korvalend", "UserDefinedFule", text));
    EXPECT_STREQ(text, "/data/media.txt");
    EXPECT_TRUE(OSInfo::ReadRegDword("Korvalend", "Height", value));
    EXPECT_EQ(value, 768u);
    EXPECT_TRUE(fs::is_regular_file(dir / "korvalend" / "settings"));
    EXPECT_FALSE(OSInfo::WriteRegString("Korvalend", "UserDefinedFule", nullptr));
    EXPECT_FALSE(OSInfo::ReadRegDword(nullptr, "Width", value));
}

}  // namespace
}  // namespace korvalend
