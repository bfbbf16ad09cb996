#include "mediadb/user_media_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "builder/configuration_block.h"
#include "support/scratch_directory.h"
#include "sysinfo/os_info.h"

namespace korvalend {
namespace {

namespace fs = std::filesystem;
using testing::WriteBytes;

constexpr const char* kDvdLine = "4D43432030303300ABCDEF12=Dvd Maker";

std::string CdLines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += std::to_string(100000 + i) + "_795974=C" + std::to_string(i) + "\n";
    return text;
}

// Every test has its own settings file through XDG_CONFIG_HOME.
class UserMediaFileTest : public ::testing::Test {
  protected:
    UserMediaFileTest() : xdg_("XDG_CONFIG_HOME", (dir_ / "config").string()) {}

    std::string MediaFile(const std::string& text, const std::string& name = "media.txt") const {
        WriteBytes(dir_ / name, text);
        return (dir_ / name).string();
    }
    static std::string StoredPath() {
        char text[256] = {};
        if (!OSInfo::ReadRegString(kSettingsKeyName, kUserFileValueName, text)) return "<missing>";
        return text;
    }

    testing::ScratchDirectory dir_;
    testing::ScopedEnvironment xdg_;
    UserMediaLists lists_;
};

TEST_F(UserMediaFileTest, SectionsInAnyOrderAndCase) {
    const auto load = LoadUserMediaFileFrom(
        MediaFile(std::string("[dvd]\n") + kDvdLine + "\n[Cd]\n972660_795974=Cd Maker\n"), lists_);
    EXPECT_FALSE(load.conversionError.has_value());
    ASSERT_EQ(lists_.cdList.size(), 1u);
    ASSERT_EQ(lists_.dvdList.size(), 1u);
    EXPECT_EQ(FieldText(lists_.cdList[0].makerText), "Cd Maker");
    EXPECT_EQ(FieldText(lists_.dvdList[0].makerText), "Dvd Maker");
}

TEST_F(UserMediaFileTest, NothingBeforeAHeaderAndNoHeaderEndsASection) {
    LoadUserMediaFileFrom(MediaFile("972660_795974=Before\n"), lists_);
    EXPECT_TRUE(lists_.cdList.empty());

    LoadUserMediaFileFrom(
        MediaFile("  [CD]  \r\n111111_111111=A\r\n[PROPERTY]\r\nNAME=x\r\n222222_222222=B\r\n"),
        lists_);
    ASSERT_EQ(lists_.cdList.size(), 2u);
    EXPECT_EQ(FieldText(lists_.cdList[1].makerText), "B");
}

TEST_F(UserMediaFileTest, NoLimitOnTheNumberOfRecords) {
    LoadUserMediaFileFrom(MediaFile("[CD]\n" + CdLines(2000)), lists_);
    ASSERT_EQ(lists_.cdList.size(), 2000u);
    EXPECT_EQ(FieldText(lists_.cdList[1999].makerText), "C1999");
}

TEST_F(UserMediaFileTest, BadHexadecimalPairStopsTheLoadKeepingEarlierRecords) {
    std::string text = "[CD]\n" + CdLines(3) + "[DVD]\n";
    for (int i = 0; i < 9; ++i) text += std::string(kDvdLine) + "\n";
    text += "4D4343203030330XABCDEF12=Bad\n";
    text += std::string(kDvdLine) + "\n[CD]\n" + CdLines(5);
    const auto load = LoadUserMediaFileFrom(MediaFile(text), lists_);
    ASSERT_TRUE(load.conversionError.has_value());
    EXPECT_EQ(*load.conversionError, "'0x0X' is not a valid integer value");
    EXPECT_EQ(lists_.cdList.size(), 3u);
    EXPECT_EQ(lists_.dvdList.size(), 9u);
}

TEST_F(UserMediaFileTest, MissingFileGivesEmptyLists) {
    lists_.cdList.resize(3);
    LoadUserMediaFileFrom((dir_ / "none.txt").string(), lists_);
    EXPECT_TRUE(lists_.cdList.empty());
    lists_.dvdList.resize(3);
    LoadUserMediaFileFrom(dir_.path().string(), lists_);  // a directory
    EXPECT_TRUE(lists_.dvdList.empty());
    LoadUserMediaFileFrom("", lists_);
    EXPECT_TRUE(lists_.cdList.empty());
}

TEST_F(UserMediaFileTest, LoadFollowsTheSetting) {
    lists_.cdList.resize(2);
    EXPECT_FALSE(LoadUserMediaFile(lists_).conversionError.has_value());  // no setting yet
    EXPECT_TRUE(lists_.cdList.empty());

    const std::string path = MediaFile("[CD]\n" + CdLines(4));
    ASSERT_TRUE(OSInfo::WriteRegString(kSettingsKeyName, kUserFileValueName, path.c_str()));
    LoadUserMediaFile(lists_);
    EXPECT_EQ(lists_.cdList.size(), 4u);

    fs::remove(path);  // the setting outlives its file
    LoadUserMediaFile(lists_);
    EXPECT_TRUE(lists_.cdList.empty());
    EXPECT_EQ(StoredPath(), path);
}

TEST_F(UserMediaFileTest, PickingAFileStoresAndLoadsIt) {
    const std::string path = MediaFile("[CD]\n" + CdLines(2));
    auto outcome = ApplyUserFileChoice(path, lists_);
    EXPECT_EQ(outcome.message, "User-defined file added !");
    EXPECT_TRUE(outcome.settingStored);
    EXPECT_EQ(StoredPath(), path);
    EXPECT_EQ(lists_.cdList.size(), 2u);

    // Picking the same file again reloads its edits.
    MediaFile("[CD]\n" + CdLines(5));
    outcome = ApplyUserFileChoice(path, lists_);
    EXPECT_EQ(outcome.message, "User-defined file added !");
    EXPECT_EQ(lists_.cdList.size(), 5u);
}

TEST_F(UserMediaFileTest, CancellingRemovesTheFile) {
    ApplyUserFileChoice(MediaFile("[CD]\n" + CdLines(2)), lists_);
    for (const auto& cancelled : {std::optional<std::string>{}, std::optional<std::string>{""}}) {
        const auto outcome = ApplyUserFileChoice(cancelled, lists_);
        EXPECT_EQ(outcome.message, "User-defined file removed !");
        EXPECT_TRUE(outcome.settingStored);
        EXPECT_EQ(StoredPath(), "");
        EXPECT_TRUE(lists_.cdList.empty());
        LoadUserMediaFile(lists_);
        EXPECT_TRUE(lists_.cdList.empty());
    }
}

TEST_F(UserMediaFileTest, AddedFileWithBadLineReportsTheError) {
    const auto outcome = ApplyUserFileChoice(
        MediaFile(std::string("[DVD]\n") + kDvdLine + "\nZZ=\n" + "ZZ43432030303300ABCDEF12=Bad\n"),
        lists_);
    EXPECT_EQ(outcome.message, "User-defined file added !");
    ASSERT_TRUE(outcome.load.conversionError.has_value());
    EXPECT_EQ(*outcome.load.conversionError, "'0xZZ' is not a valid integer value");
    EXPECT_EQ(lists_.dvdList.size(), 1u);
}

TEST_F(UserMediaFileTest, ChoiceThatCannotBeSavedStillWorksAndSaysSo) {
    // A path too long for the 256-byte setting area cannot be read back.
    const std::string longName(200, 'n');
    fs::create_directories(dir_ / longName);
    const std::string path = MediaFile("[CD]\n" + CdLines(3), longName + "/" + longName);
    auto outcome = ApplyUserFileChoice(path, lists_);
    EXPECT_FALSE(outcome.settingStored);
    EXPECT_NE(outcome.message, "User-defined file added !");
    EXPECT_EQ(lists_.cdList.size(), 3u);

    // The settings directory cannot be created: neither choice can be remembered.
    WriteBytes(dir_ / "blocked", "");
    testing::ScopedEnvironment blocked("XDG_CONFIG_HOME", (dir_ / "blocked").string());
    outcome = ApplyUserFileChoice(MediaFile("[CD]\n" + CdLines(1)), lists_);
    EXPECT_FALSE(outcome.settingStored);
    EXPECT_EQ(lists_.cdList.size(), 1u);
    outcome = ApplyUserFileChoice(std::nullopt, lists_);
    EXPECT_FALSE(outcome.settingStored);
    EXPECT_NE(outcome.message, "User-defined file removed !");
    EXPECT_TRUE(lists_.cdList.empty());
}

}  // namespace
}  // namespace korvalend
