// Builds and patches copies of a real executable that carries the configuration block, and
// runs them: the running program must see the bytes that stand in its file.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "builder/builder_core.h"
#include "builder/configuration_block.h"
#include "builder/media_line.h"
#include "builder/media_record.h"
#include "support/scratch_directory.h"

namespace korvalend {
namespace {

namespace fs = std::filesystem;
namespace field = block_field;

std::string RunAndCapture(const fs::path& program) {
    const std::string command = "'" + program.string() + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe) return {};
    std::string output;
    std::array<char, 4096> chunk{};
    while (const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), pipe.get())) {
        output.append(chunk.data(), n);
    }
    return output;
}

std::vector<std::uint8_t> AsBytes(const std::string& s) {
    return {s.begin(), s.end()};
}

// Offset of the block in a file's bytes.
std::size_t BlockOffset(const std::vector<std::uint8_t>& file) {
    const auto found = FindConfigurationBlock(file, RunningConfigurationBlock().MarkerText());
    EXPECT_TRUE(found.has_value());
    return found.value_or(kMarkerTextOffset) - kMarkerTextOffset;
}

void PutText(std::vector<std::uint8_t>& file, std::size_t block, BlockField f,
             std::string_view text) {
    std::fill_n(file.begin() + static_cast<std::ptrdiff_t>(block + f.offset), f.width, 0);
    std::copy(text.begin(), text.end(),
              file.begin() + static_cast<std::ptrdiff_t>(block + f.offset));
}

template <std::size_t N>
void PutRecord(std::vector<std::uint8_t>& file, std::size_t offset,
               const std::array<std::uint8_t, N>& bytes) {
    std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(offset));
}

TEST(BuilderEndToEnd, BuiltCopyHoldsParametersAndRuns) {
    testing::ScratchDirectory dir;
    const fs::path prototypePath = KORVALEND_BLOCK_PRINTER;
    const auto prototype = AsBytes(testing::ReadBytes(prototypePath));
    const std::string parameters =
        "; any text before the first section is ignored\r\n"
        "[PROPERTY]\r\n"
        "NAME=Korvalend Test Edition\r\n"
        "MAJOR=4\r\n"
        "MINOR=02\r\n"
        "REV=7\r\n"
        "DATE=2026/02/01\r\n"
        "MODEL=for Test Writers\r\n"
        "[STEP1]\r\nSTEP1=Pick a writer\r\n"
        "[STEP2]\r\nSTEP2=Insert a disc\r\n"
        "[STEP3]\r\nSTEP3=This disc :\r\n"
        "[COPYRIGHT]\r\nCOPYRIGHT=Copyright (C) Test\r\n"
        "[REMARK]\r\nREMARK=first line\r\nREMARK=\r\nREMARK=  third line\r\n"
        "[CD]\r\n972660_795974=Sample Maker\r\n972660_794970=Other Maker\r\n"
        "[DVD]\r\n4d43432030303300ABCDEF12=Disc Maker\r\n";
    testing::WriteBytes(dir / "params.txt", parameters);

    const fs::path output = dir / "Korvalend.Exe";
    const auto outcome = BuildFromParameterFile((dir / "params.txt").string(),
                                                prototypePath.string(), output.string());
    ASSERT_EQ(outcome.status, BuildStatus::Created) << outcome.message << outcome.detail;

    // The copy equals the prototype except in the fields the file sets.
    auto expected = prototype;
    const std::size_t block = BlockOffset(prototype);
    PutText(expected, block, field::kName, "Korvalend Test Edition");
    PutText(expected, block, field::kMajor, "4");
    PutText(expected, block, field::kMinor, "02");
    PutText(expected, block, field::kRev, "7");
    PutText(expected, block, field::kDate, "2026/02/01");
    PutText(expected, block, field::kModel, "for Test Writers");
    PutText(expected, block, field::kStep1, "Pick a writer");
    PutText(expected, block, field::kStep2, "Insert a disc");
    PutText(expected, block, field::kStep3, "This disc :");
    PutText(expected, block, field::kCopyright, "Copyright (C) Test");
    PutText(expected, block, field::kRemark, "first line\n\n  third line\n");
    PutRecord(expected, block + field::kCdTable.offset,
              ParseCdMediaLine("972660_795974=Sample Maker")->ToBytes());
    PutRecord(expected, block + field::kCdTable.offset + kCdMediaRecordSize,
              ParseCdMediaLine("972660_794970=Other Maker")->ToBytes());
    PutRecord(expected, block + field::kDvdTable.offset,
              ParseDvdMediaLine("4D43432030303300ABCDEF12=Disc Maker").record.ToBytes());
    const auto copy = AsBytes(testing::ReadBytes(output));
    ASSERT_EQ(copy.size(), prototype.size());
    EXPECT_EQ(copy[block + kModeCharacterOffset], '0');
    std::size_t differences = 0;
    for (std::size_t i = 0; i < copy.size(); ++i) differences += copy[i] != expected[i];
    EXPECT_EQ(differences, 0u);

    const std::string printed = RunAndCapture(output);
    EXPECT_NE(printed.find("MODE=0\n"), std::string::npos) << printed;
    EXPECT_NE(printed.find("NAME=Korvalend Test Edition\n"), std::string::npos) << printed;
    EXPECT_NE(printed.find("MINOR=02\n"), std::string::npos);
    EXPECT_NE(printed.find("STEP2=Insert a disc\n"), std::string::npos);
    EXPECT_NE(printed.find("COPYRIGHT=Copyright (C) Test\n"), std::string::npos);
    EXPECT_NE(printed.find("REMARK=first line\nREMARK=\nREMARK=  third line\n"), std::string::npos);
    EXPECT_NE(printed.find("CD[0]=972660_795974=Sample Maker\nCD[1]=972660_794970=Other Maker\n"),
              std::string::npos);
    EXPECT_NE(printed.find("DVD[0]=4D43432030303300ABCDEF12=Disc Maker\n"), std::string::npos);
}

TEST(BuilderEndToEnd, PatchedCopyPrintsThePatchedBytes) {
    testing::ScratchDirectory dir;
    auto file = AsBytes(testing::ReadBytes(KORVALEND_BLOCK_PRINTER));
    const std::size_t block = BlockOffset(file);
    ASSERT_EQ(file[block + kModeCharacterOffset], '0');
    file[block + kModeCharacterOffset] = '1';
    PutText(file, block, field::kName, "Patched In The File");

    const fs::path copy = dir / "patched";
    testing::WriteBytes(copy, std::string(file.begin(), file.end()));
    fs::permissions(copy, fs::perms::owner_all);
    const std::string printed = RunAndCapture(copy);
    EXPECT_NE(printed.find("MODE=1\n"), std::string::npos) << printed;
    EXPECT_NE(printed.find("NAME=Patched In The File\n"), std::string::npos) << printed;

    // The original, run the same way, still prints its own bytes.
    const std::string original = RunAndCapture(KORVALEND_BLOCK_PRINTER);
    EXPECT_NE(original.find("MODE=0\nMARKER="), std::string::npos) << original;
    EXPECT_NE(original.find("NAME=Korvalend Media Check\n"), std::string::npos) << original;
}

}  // namespace
}  // namespace korvalend
