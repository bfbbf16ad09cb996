#include "builder/parameter_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "builder/configuration_block.h"
#include "builder/line_file.h"
#include "builder/media_record.h"
#include "support/block_image.h"
#include "support/scratch_directory.h"

namespace korvalend {
namespace {

namespace field = block_field;
using testing::ImageField;

// ---- Reading the file ----

std::vector<std::string> Lines(const std::string& content) {
    testing::ScratchDirectory dir;
    testing::WriteBytes(dir / "p.txt", content);
    std::vector<std::string> lines{"left over"};
    EXPECT_TRUE(LoadParameterFile((dir / "p.txt").string(), lines));
    return lines;
}

TEST(LoadParameterFile, KeepsLineEndsAndBytes) {
    EXPECT_EQ(Lines("a\r\nb\n\nlast"), (std::vector<std::string>{"a\r\n", "b\n", "\n", "last"}));
    EXPECT_EQ(Lines(std::string("x\0y\xE9\n", 5)),
              (std::vector<std::string>{std::string("x\0y\xE9\n", 5)}));
    EXPECT_TRUE(Lines("").empty());
}

TEST(LoadParameterFile, LongLinesArriveInPiecesOf2047) {
    EXPECT_EQ(Lines(std::string(2046, 'a') + "\nb"),
              (std::vector<std::string>{std::string(2046, 'a') + "\n", "b"}));
    EXPECT_EQ(Lines(std::string(2047, 'a') + "\nb"),
              (std::vector<std::string>{std::string(2047, 'a'), "\n", "b"}));
    EXPECT_EQ(Lines(std::string(5000, 'c') + "\n"),
              (std::vector<std::string>{std::string(2047, 'c'), std::string(2047, 'c'),
                                        std::string(906, 'c') + "\n"}));
}

TEST(LoadParameterFile, UnreadableFileGivesFalseAndNoLines) {
    testing::ScratchDirectory dir;
    std::vector<std::string> lines{"old"};
    EXPECT_FALSE(LoadParameterFile((dir / "missing.txt").string(), lines));
    EXPECT_TRUE(lines.empty());
    lines = {"old"};
    EXPECT_FALSE(LoadParameterFile(dir.path().string(), lines));  // a directory
    EXPECT_TRUE(lines.empty());
}

// ---- Applying the lines ----

constexpr std::size_t kBefore = 300;

class ApplyParametersTest : public ::testing::Test {
  protected:
    ApplyParametersTest() : prototype_(testing::ImageWithBlock(kBefore, 200)), image_(prototype_) {}

    ApplyOutcome Apply(const std::string& text) {
        return ApplyParameters(SplitIntoLines(text), image_, Marker());
    }
    static std::string Marker() { return std::string(RunningConfigurationBlock().MarkerText()); }
    std::string_view Field(BlockField f) const { return ImageField(image_, kBefore, f); }
    std::string_view PrototypeField(BlockField f) const {
        return ImageField(prototype_, kBefore, f);
    }
    CdMediaRecord CdRow(std::size_t i) const {
        return CdMediaRecord::FromBytes(
            std::span(image_)
                .subspan(kBefore + field::kCdTable.offset + i * kCdMediaRecordSize)
                .first<kCdMediaRecordSize>());
    }
    DvdMediaRecord DvdRow(std::size_t i) const {
        return DvdMediaRecord::FromBytes(
            std::span(image_)
                .subspan(kBefore + field::kDvdTable.offset + i * kDvdMediaRecordSize)
                .first<kDvdMediaRecordSize>());
    }
    // Bytes of the image that differ from the prototype outside [offset, offset + width).
    std::size_t ChangesOutside(std::initializer_list<BlockField> fields) const {
        std::size_t changes = 0;
        for (std::size_t i = 0; i < image_.size(); ++i) {
            bool inside = false;
            for (const auto& f : fields) {
                inside = inside || (i >= kBefore + f.offset && i < kBefore + f.offset + f.width);
            }
            if (!inside && image_[i] != prototype_[i]) ++changes;
        }
        return changes;
    }

    std::vector<std::uint8_t> prototype_;
    std::vector<std::uint8_t> image_;
};

TEST_F(ApplyParametersTest, PropertyKeysIgnoreCaseAndCutToWidth) {
    const auto outcome = Apply(
        "[property]\n"
        "name=Test Name\n"
        "  Major=12345  \n"
        "MINOR=7\n"
        "REV=\n"
        "DATE=2026/01/31 and more text\n"
        "MODEL=  for Some Writer\n");
    ASSERT_EQ(outcome.status, ApplyOutcome::Status::Applied);
    EXPECT_EQ(outcome.blockOffset, kBefore);
    EXPECT_EQ(Field(field::kName), "Test Name");
    EXPECT_EQ(Field(field::kMajor), "123");
    EXPECT_EQ(Field(field::kMinor), "7");
    EXPECT_EQ(Field(field::kRev), "");
    EXPECT_EQ(Field(field::kDate), "2026/01/31 and ");
    EXPECT_EQ(Field(field::kModel), "  for Some Writer");  // leading spaces of the value kept
    // A shorter value leaves no trace of the longer prototype text.
    const auto name = std::span(image_).subspan(kBefore + field::kName.offset, field::kName.width);
    EXPECT_TRUE(std::all_of(name.begin() + 9, name.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST_F(ApplyParametersTest, KeyWithSpaceBeforeEqualsIsIgnored) {
    Apply("[PROPERTY]\nNAME =Test\n");
    EXPECT_EQ(Field(field::kName), PrototypeField(field::kName));
    Apply("[PROPERTY]\nNAME=\n");
    EXPECT_EQ(Field(field::kName), "");
}

TEST_F(ApplyParametersTest, KeysOnlyInTheirOwnSection) {
    Apply(
        "NAME=Before any section\n"
        "[STEP1]\n"
        "STEP2=wrong section\n"
        "NAME=wrong section\n"
        "[OTHER]\n"
        "STEP1=x\n"
        "[STEP2]\nSTEP2=two\n"
        "[STEP3]\nstep3=three\n"
        "[COPYRIGHT]\nCOPYRIGHT=(C) Someone\n");
    EXPECT_EQ(Field(field::kName), PrototypeField(field::kName));
    EXPECT_EQ(Field(field::kStep1), "x");
    EXPECT_EQ(Field(field::kStep2), "two");
    EXPECT_EQ(Field(field::kStep3), "three");
    EXPECT_EQ(Field(field::kCopyright), "(C) Someone");
    EXPECT_EQ(ChangesOutside({field::kBuildMode, field::kStep1, field::kStep2, field::kStep3,
                              field::kCopyright}),
              0u);
}

TEST_F(ApplyParametersTest, LongStepTwoIsCutTo255) {
    Apply("[STEP2]\nSTEP2=" + std::string(300, 's') + "\n");
    EXPECT_EQ(Field(field::kStep2), std::string(255, 's'));
}

TEST_F(ApplyParametersTest, RemarkCollectsLinesWithLineFeeds) {
    Apply("[REMARK]\nREMARK=a\nnot a remark line\nREMARK=\nremark=b\n");
    EXPECT_EQ(Field(field::kRemark), "a\n\nb\n");
}

TEST_F(ApplyParametersTest, RemarkEndsAtNextHeader) {
    Apply("[REMARK]\nREMARK=a\n[PROPERTY]\nREMARK=ignored\nNAME=n\n");
    EXPECT_EQ(Field(field::kRemark), "a\n");
    EXPECT_EQ(Field(field::kName), "n");
}

TEST_F(ApplyParametersTest, SecondRemarkSectionReplacesTheFirst) {
    Apply("[REMARK]\nREMARK=first one\nREMARK=more\n[REMARK]\nREMARK=second\n");
    EXPECT_EQ(Field(field::kRemark), "second\n");
    Apply("[REMARK]\n");
    EXPECT_EQ(Field(field::kRemark), "");
}

TEST_F(ApplyParametersTest, RemarkIsCutTo1023) {
    std::string text = "[REMARK]\n";
    for (int i = 0; i < 20; ++i) text += "REMARK=" + std::string(99, 'r') + "\n";
    Apply(text);
    EXPECT_EQ(Field(field::kRemark).size(), 1023u);
}

TEST_F(ApplyParametersTest, CdSectionFillsTableInOrder) {
    Apply("[cd]\n972660_795974=First\nnot a media line\n972660_794970=Second\n");
    EXPECT_EQ(FieldText(CdRow(0).makerText), "First");
    EXPECT_EQ(FieldText(CdRow(1).leadOutKey), "794970");
    EXPECT_EQ(CdRow(2), CdMediaRecord{});
    EXPECT_EQ(ChangesOutside({field::kBuildMode, field::kCdTable}), 0u);
}

TEST_F(ApplyParametersTest, SecondCdSectionStartsAgainFromRecordZero) {
    Apply(
        "[CD]\n111111_111111=A\n222222_222222=B\n333333_333333=C\n"
        "[PROPERTY]\nNAME=n\n"
        "[CD]\n444444_444444=D\n");
    EXPECT_EQ(FieldText(CdRow(0).makerText), "D");
    EXPECT_EQ(CdRow(1), CdMediaRecord{});
    EXPECT_EQ(CdRow(2), CdMediaRecord{});
}

TEST_F(ApplyParametersTest, SixHundredCdLinesFill500Records) {
    std::string text = "[CD]\n";
    for (int i = 0; i < 600; ++i)
        text += std::to_string(100000 + i) + "_795974=M" + std::to_string(i) + "\n";
    EXPECT_EQ(Apply(text).status, ApplyOutcome::Status::Applied);
    EXPECT_EQ(FieldText(CdRow(0).makerText), "M0");
    EXPECT_EQ(FieldText(CdRow(499).makerText), "M499");
    EXPECT_EQ(ChangesOutside({field::kBuildMode, field::kCdTable}), 0u);
}

TEST_F(ApplyParametersTest, MalformedDvdLineAfter500RecordsIsNotExamined) {
    std::string text = "[DVD]\n";
    for (int i = 0; i < 500; ++i) text += "000000000000000000000001=D" + std::to_string(i) + "\n";
    text += "ZZ0000000000000000000000=bad\n";
    EXPECT_EQ(Apply(text).status, ApplyOutcome::Status::Applied);
    EXPECT_EQ(FieldText(DvdRow(499).makerText), "D499");
}

TEST_F(ApplyParametersTest, OnlyDvdSectionChangesOnlyTheDvdTable) {
    prototype_[kBefore + kModeCharacterOffset] = '1';  // a builder copy
    image_ = prototype_;
    Apply("[DVD]\n4D43432030303300ABCDEF12=Maker\n");
    const std::array<std::uint8_t, 12> id{0x4D, 0x43, 0x43, 0x20, 0x30, 0x30,
                                          0x33, 0x00, 0xAB, 0xCD, 0xEF, 0x12};
    EXPECT_EQ(DvdRow(0).identifier, id);
    EXPECT_EQ(FieldText(DvdRow(0).makerText), "Maker");
    EXPECT_EQ(image_[kBefore + kModeCharacterOffset], '0');
    EXPECT_EQ(ChangesOutside({field::kDvdTable}), 1u);  // the mode character
}

TEST_F(ApplyParametersTest, BadHexadecimalPairLeavesImageUntouched) {
    const auto outcome = Apply(
        "[PROPERTY]\nNAME=changed\n[DVD]\n000000000000000000000001=ok\n00000000000000000000000X="
        "bad\n"
        "[STEP1]\nSTEP1=later\n");
    EXPECT_EQ(outcome.status, ApplyOutcome::Status::ConversionError);
    EXPECT_EQ(outcome.errorMessage, "'0x0X' is not a valid integer value");
    EXPECT_EQ(image_, prototype_);
}

TEST_F(ApplyParametersTest, EmptyFileOnlySetsModeCharacter) {
    prototype_[kBefore + kModeCharacterOffset] = '1';
    image_ = prototype_;
    EXPECT_EQ(Apply("").status, ApplyOutcome::Status::Applied);
    EXPECT_EQ(Field(field::kBuildMode), "BUILDMODE=0");
    EXPECT_EQ(ChangesOutside({}), 1u);
}

TEST(ApplyParameters, BlockMissingOrIncompleteWritesNothing) {
    const std::string marker(RunningConfigurationBlock().MarkerText());
    const std::vector<std::string> lines{"[PROPERTY]\n", "NAME=x\n"};

    std::vector<std::uint8_t> noMarker(70000, 0x20);
    const auto before = noMarker;
    EXPECT_EQ(ApplyParameters(lines, noMarker, marker).status, ApplyOutcome::Status::BlockNotFound);
    EXPECT_EQ(noMarker, before);

    // The marker is there but the file ends before the block does.
    auto cut = testing::ImageWithBlock(10, 0);
    cut.resize(cut.size() - 1);
    const auto cutBefore = cut;
    EXPECT_EQ(ApplyParameters(lines, cut, marker).status, ApplyOutcome::Status::BlockNotFound);
    EXPECT_EQ(cut, cutBefore);

    // The marker stands at the very start, leaving no room for the "=@" before it.
    auto early = testing::ImageWithBlock(0, 10);
    std::vector<std::uint8_t> shifted(early.begin() + 2, early.end());
    const auto shiftedBefore = shifted;
    EXPECT_EQ(ApplyParameters(lines, shifted, marker).status, ApplyOutcome::Status::BlockNotFound);
    EXPECT_EQ(shifted, shiftedBefore);
}

TEST(ApplyParameters, MarkerInOtherLetterCaseIsFound) {
    auto image = testing::ImageWithBlock(40, 40);
    for (std::size_t i = 40 + 2; i < 40 + 13; ++i) {
        if (image[i] >= 'A' && image[i] <= 'Z') image[i] = static_cast<std::uint8_t>(image[i] + 32);
    }
    const std::string marker(RunningConfigurationBlock().MarkerText());
    const auto outcome = ApplyParameters({"[PROPERTY]\n", "NAME=found\n"}, image, marker);
    ASSERT_EQ(outcome.status, ApplyOutcome::Status::Applied);
    EXPECT_EQ(outcome.blockOffset, 40u);
    EXPECT_EQ(ImageField(image, 40, field::kName), "found");
}

}  // namespace
}  // namespace korvalend
