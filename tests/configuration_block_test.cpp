#include "builder/configuration_block.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "builder/ansi_text.h"
#include "support/block_image.h"
#include "support/scratch_directory.h"

namespace korvalend {
namespace {

namespace field = block_field;

// FNV-1a of the marker text; the test must not hold the text itself, which may occur only once
// in an executable that carries the block.
constexpr std::uint64_t kMarkerHash = 0xd746cf1126e45219;

std::uint64_t Fnv1a(std::string_view text) {
    std::uint64_t hash = 0xcbf29ce484222325;
    for (const char c : text) {
        hash ^= static_cast<std::uint8_t>(c);
        hash *= 0x100000001b3;
    }
    return hash;
}

std::size_t CountMarker(const std::string& fileBytes) {
    const std::string marker(RunningConfigurationBlock().MarkerText());
    const std::string upperFile = UpperCaseAscii(fileBytes);
    std::size_t count = 0;
    for (auto at = upperFile.find(marker); at != std::string::npos;
         at = upperFile.find(marker, at + 1)) {
        ++count;
    }
    return count;
}

TEST(ConfigurationBlock, ShippedMarkerAndMode) {
    const auto block = RunningConfigurationBlock();
    const auto bytes = block.Bytes();
    EXPECT_EQ(bytes[0], '=');
    EXPECT_EQ(bytes[1], '@');
    EXPECT_EQ(bytes[13], 0);
    EXPECT_EQ(block.MarkerText().size(), 11u);
    EXPECT_EQ(Fnv1a(block.MarkerText()), kMarkerHash);
    EXPECT_EQ(block.Text(field::kBuildMode), "BUILDMODE=0");
    EXPECT_EQ(block.ModeCharacter(), '0');
    EXPECT_FALSE(block.IsBuilderMode());
}

TEST(ConfigurationBlock, ShippedTexts) {
    const auto block = RunningConfigurationBlock();
    EXPECT_EQ(block.Text(field::kName), "Korvalend Media Check");
    EXPECT_EQ(block.Text(field::kDate), "2003/09/28");
    EXPECT_EQ(block.Text(field::kMajor), "3");
    EXPECT_EQ(block.Text(field::kMinor), "1");
    EXPECT_EQ(block.Text(field::kRev), "4");
    EXPECT_EQ(block.Text(field::kModel), "for Varnold CD-RW, COMBO, DVD Writer");
    EXPECT_EQ(block.Text(field::kStep1), "Select a target CD-RW/COMBO/DVD Writer");
    EXPECT_EQ(block.Text(field::kStep2),
              "Insert your CD-R/RW or DVD+R/+RW/-R/-RW media into target drive, then click "
              "\"?\" button to see information about this media and what is the maximum "
              "burning speed that KORVALEND set base on the information");
    EXPECT_EQ(block.Text(field::kStep3), "The information of this media as :");
    EXPECT_FALSE(block.Text(field::kCopyright).empty());
    EXPECT_EQ(block.Text(field::kCopyright).find('\n'), std::string_view::npos);
}

TEST(ConfigurationBlock, ShippedRemarkHasSixteenLines) {
    const std::string_view remark = RunningConfigurationBlock().Text(field::kRemark);
    std::vector<std::string_view> lines;
    for (std::string_view rest = remark; !rest.empty();) {
        const auto end = rest.find('\n');
        ASSERT_NE(end, std::string_view::npos) << "every line ends with a line feed";
        lines.push_back(rest.substr(0, end));
        rest.remove_prefix(end + 1);
    }
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[0], "    Since Varnold CD-RW/COMBO/DVD Writer drive, Buffer Underrun");
    EXPECT_EQ(lines[4], "will be limited by the \"KORVALEND Speed Limit\" shown on PC");
    EXPECT_EQ(lines[5], "screen.");
    EXPECT_EQ(lines[6], "");
    EXPECT_EQ(lines[7], "    Once the Media Manufacturer is identified by the program,");
    EXPECT_EQ(lines[11], "");
    EXPECT_EQ(lines[12], "    All the Brand Name property that the program identified is");
    EXPECT_EQ(lines[15], "this.");
    EXPECT_EQ(remark.size(), 701u);
}

TEST(ConfigurationBlock, ShippedFieldsAreZeroFilledAndTablesEmpty) {
    const auto bytes = RunningConfigurationBlock().Bytes();
    for (const BlockField f :
         {field::kName, field::kDate, field::kMajor, field::kMinor, field::kRev, field::kModel,
          field::kRemark, field::kStep1, field::kStep2, field::kStep3, field::kCopyright}) {
        const auto text = RunningConfigurationBlock().Text(f);
        ASSERT_LT(text.size(), f.width);
        const auto tail = bytes.subspan(f.offset + text.size(), f.width - text.size());
        EXPECT_TRUE(std::all_of(tail.begin(), tail.end(), [](std::uint8_t b) { return b == 0; }))
            << "field at " << f.offset;
    }
    const auto tables = bytes.subspan(field::kCdTable.offset);
    EXPECT_EQ(tables.size(), field::kCdTable.width + field::kDvdTable.width);
    EXPECT_TRUE(std::all_of(tables.begin(), tables.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST(ConfigurationBlock, MarkerOccursOnceInExecutables) {
    // In the test program itself and in the small program the builder tests copy.
    EXPECT_EQ(CountMarker(testing::ReadBytes("/proc/self/exe")), 1u);
    EXPECT_EQ(CountMarker(testing::ReadBytes(KORVALEND_BLOCK_PRINTER)), 1u);
}

TEST(ConfigurationBlock, RunningBlockIsTheOneInTheFile) {
    const std::string file = testing::ReadBytes("/proc/self/exe");
    const std::vector<std::uint8_t> bytes(file.begin(), file.end());
    const auto found = FindConfigurationBlock(bytes, RunningConfigurationBlock().MarkerText());
    ASSERT_TRUE(found.has_value());
    ASSERT_GE(*found, kMarkerTextOffset);
    const std::size_t start = *found - kMarkerTextOffset;
    ASSERT_LE(start + kConfigurationBlockSize, bytes.size()) << "block stored whole in the file";
    const auto running = RunningConfigurationBlock().Bytes();
    EXPECT_TRUE(std::equal(running.begin(), running.end(), bytes.begin() + start));
}

TEST(FindConfigurationBlock, FindsFirstMarkerIgnoringCase) {
    const std::string marker(RunningConfigurationBlock().MarkerText());
    auto image = testing::ImageWithBlock(100, 50);
    EXPECT_EQ(FindConfigurationBlock(image, marker), 102u);

    // A lower-case copy placed before it is found first.
    std::string lower = marker;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
    std::copy(lower.begin(), lower.end(), image.begin() + 10);
    EXPECT_EQ(FindConfigurationBlock(image, marker), 10u);
    EXPECT_EQ(FindConfigurationBlock(image, lower), 10u);
}

TEST(FindConfigurationBlock, MissingOrEmptyMarker) {
    const std::string marker(RunningConfigurationBlock().MarkerText());
    std::vector<std::uint8_t> image(200, 0x41);
    EXPECT_FALSE(FindConfigurationBlock(image, marker).has_value());
    EXPECT_FALSE(FindConfigurationBlock({}, marker).has_value());
    EXPECT_FALSE(FindConfigurationBlock(image, "").has_value());
    // Marker cut off by the end of the bytes.
    image.assign(marker.begin(), marker.end() - 1);
    EXPECT_FALSE(FindConfigurationBlock(image, marker).has_value());
    image.assign(marker.begin(), marker.end());
    EXPECT_EQ(FindConfigurationBlock(image, marker), 0u);
}

TEST(ConfigurationBlockView, TextsStayInsideTheirField) {
    std::vector<std::uint8_t> bytes(kConfigurationBlockSize, 'x');
    const ConfigurationBlockView view(std::span<const std::uint8_t, kConfigurationBlockSize>(
        bytes.data(), kConfigurationBlockSize));
    EXPECT_EQ(view.Text(field::kMajor), "xxxx");
    EXPECT_EQ(view.MarkerText().size(), 12u);
    EXPECT_EQ(view.Text(field::kName).size(), 64u);
}

TEST(ConfigurationBlockView, OnlyTheCharacterOneMeansBuilder) {
    std::vector<std::uint8_t> bytes(RunningConfigurationBlock().Bytes().begin(),
                                    RunningConfigurationBlock().Bytes().end());
    const ConfigurationBlockView view(std::span<const std::uint8_t, kConfigurationBlockSize>(
        bytes.data(), kConfigurationBlockSize));
    for (const int c : {int{'0'}, int{'1'}, int{'2'}, int{'A'}, 0, 0xFF}) {
        bytes[kModeCharacterOffset] = static_cast<std::uint8_t>(c);
        EXPECT_EQ(view.IsBuilderMode(), c == '1') << c;
    }
}

}  // namespace
}  // namespace korvalend
