#include "builder/mode_character_patch.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "builder/configuration_block.h"
#include "support/block_image.h"
#include "support/scratch_directory.h"

namespace korvalend {
namespace {

namespace fs = std::filesystem;

TEST(ModeCharacterPatch, SetsOnlyTheModeCharacter) {
    auto image = testing::ImageWithBlock(300, 200);
    const auto original = image;
    ASSERT_TRUE(SetModeCharacter(image, RunningConfigurationBlock().MarkerText(), '1'));
    EXPECT_EQ(image[300 + kModeCharacterOffset], '1');
    std::size_t differences = 0;
    for (std::size_t i = 0; i < image.size(); ++i) differences += image[i] != original[i];
    EXPECT_EQ(differences, 1u);
}

TEST(ModeCharacterPatch, NoBlockOrACutBlockChangesNothing) {
    const std::string marker(RunningConfigurationBlock().MarkerText());
    std::vector<std::uint8_t> none(1000, 0x20);
    EXPECT_FALSE(SetModeCharacter(none, marker, '1'));
    EXPECT_EQ(none, std::vector<std::uint8_t>(1000, 0x20));

    // The marker at the very start (no room for the "=@" before it) or a block cut short.
    std::vector<std::uint8_t> early(marker.begin(), marker.end());
    early.resize(kConfigurationBlockSize, 0);
    const auto earlyCopy = early;
    EXPECT_FALSE(SetModeCharacter(early, marker, '1'));
    EXPECT_EQ(early, earlyCopy);
    auto cut = testing::ImageWithBlock(10, 0);
    cut.resize(cut.size() - 1);
    const auto cutCopy = cut;
    EXPECT_FALSE(SetModeCharacter(cut, marker, '1'));
    EXPECT_EQ(cut, cutCopy);
}

TEST(ModeCharacterPatch, WritesACopyWithThePermissionsAndLeavesTheInput) {
    testing::ScratchDirectory dir;
    const auto image = testing::ImageWithBlock(64, 64);
    testing::WriteBytes(dir / "in", std::string(image.begin(), image.end()));
    fs::permissions(dir / "in", fs::perms(0755));
    std::string error;
    ASSERT_TRUE(WriteCopyWithModeCharacter(dir / "in", dir / "out", '1', error)) << error;
    const std::string out = testing::ReadBytes(dir / "out");
    ASSERT_EQ(out.size(), image.size());
    EXPECT_EQ(out[64 + kModeCharacterOffset], '1');
    EXPECT_EQ(testing::ReadBytes(dir / "in"), std::string(image.begin(), image.end()));
    EXPECT_EQ(fs::status(dir / "out").permissions(), fs::perms(0755));

    EXPECT_FALSE(WriteCopyWithModeCharacter(dir / "missing", dir / "out2", '1', error));
    EXPECT_NE(error.find("cannot read"), std::string::npos);
    testing::WriteBytes(dir / "plain", "no block here");
    EXPECT_FALSE(WriteCopyWithModeCharacter(dir / "plain", dir / "out3", '1', error));
    EXPECT_NE(error.find("no configuration block"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "out3"));
}

}  // namespace
}  // namespace korvalend
