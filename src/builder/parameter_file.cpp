#include "builder/parameter_file.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>

#include "builder/ansi_text.h"
#include "builder/configuration_block.h"
#include "builder/line_file.h"
#include "builder/media_line.h"

namespace korvalend {

namespace {

enum class Section { None, Property, Step1, Step2, Step3, Copyright, Remark, Cd, Dvd };

struct SectionHeader {
    std::string_view text;
    Section section;
};

constexpr std::array<SectionHeader, 8> kSectionHeaders{{
    {"[PROPERTY]", Section::Property},
    {"[STEP1]", Section::Step1},
    {"[STEP2]", Section::Step2},
    {"[STEP3]", Section::Step3},
    {"[COPYRIGHT]", Section::Copyright},
    {"[REMARK]", Section::Remark},
    {"[CD]", Section::Cd},
    {"[DVD]", Section::Dvd},
}};

struct KeyField {
    Section section;
    std::string_view key;
    BlockField field;
};

constexpr std::array<KeyField, 10> kKeyFields{{
    {Section::Property, "NAME=", block_field::kName},
    {Section::Property, "MAJOR=", block_field::kMajor},
    {Section::Property, "MINOR=", block_field::kMinor},
    {Section::Property, "REV=", block_field::kRev},
    {Section::Property, "DATE=", block_field::kDate},
    {Section::Property, "MODEL=", block_field::kModel},
    {Section::Step1, "STEP1=", block_field::kStep1},
    {Section::Step2, "STEP2=", block_field::kStep2},
    {Section::Step3, "STEP3=", block_field::kStep3},
    {Section::Copyright, "COPYRIGHT=", block_field::kCopyright},
}};

constexpr std::string_view kRemarkKey = "REMARK=";
constexpr std::string_view kNormalBuildMode = "BUILDMODE=0";

using BlockBytes = std::array<std::uint8_t, kConfigurationBlockSize>;

std::optional<Section> HeaderSection(std::string_view trimmedLine) {
    const std::string upper = UpperCaseAscii(trimmedLine);
    for (const auto& header : kSectionHeaders) {
        if (upper == header.text) return header.section;
    }
    return std::nullopt;
}

void ZeroField(BlockBytes& block, BlockField field) {
    std::fill_n(block.begin() + static_cast<std::ptrdiff_t>(field.offset), field.width,
                std::uint8_t{0});
}

// Zero-fills the field and stores the value, cut to leave room for the terminating NUL.
void WriteField(BlockBytes& block, BlockField field, std::string_view value) {
    ZeroField(block, field);
    const std::size_t count = std::min(value.size(), field.width - 1);
    std::transform(value.begin(), value.begin() + static_cast<std::ptrdiff_t>(count),
                   block.begin() + static_cast<std::ptrdiff_t>(field.offset),
                   [](char c) { return static_cast<std::uint8_t>(c); });
}

template <std::size_t N>
void WriteRecord(BlockBytes& block, std::size_t offset, const std::array<std::uint8_t, N>& bytes) {
    std::copy(bytes.begin(), bytes.end(), block.begin() + static_cast<std::ptrdiff_t>(offset));
}

class ParameterInterpreter {
  public:
    explicit ParameterInterpreter(BlockBytes& block) : block_(block) {}

    // Gives false when a conversion error ends the interpretation.
    bool HandleLine(std::string_view rawLine) {
        const std::string_view line = TrimText(rawLine);
        if (const auto header = HeaderSection(line)) {
            EnterSection(*header);
            return true;
        }
        switch (section_) {
            case Section::None:
                return true;
            case Section::Remark:
                if (StartsWithNoCase(line, kRemarkKey)) {
                    remark_ += line.substr(kRemarkKey.size());
                    remark_ += '\n';
                }
                return true;
            case Section::Cd:
                return HandleCdLine(line);
            case Section::Dvd:
                return HandleDvdLine(line);
            default:
                HandleKeyLine(line);
                return true;
        }
    }

    void Finish() {
        if (section_ == Section::Remark) WriteRemark();
        std::transform(kNormalBuildMode.begin(), kNormalBuildMode.end(),
                       block_.begin() + static_cast<std::ptrdiff_t>(block_field::kBuildMode.offset),
                       [](char c) { return static_cast<std::uint8_t>(c); });
    }

    const std::string& ErrorMessage() const { return errorMessage_; }

  private:
    void EnterSection(Section next) {
        if (section_ == Section::Remark) WriteRemark();
        section_ = next;
        switch (next) {
            case Section::Remark:
                remark_.clear();
                ZeroField(block_, block_field::kRemark);
                break;
            case Section::Cd:
                ZeroField(block_, block_field::kCdTable);
                recordIndex_ = 0;
                break;
            case Section::Dvd:
                ZeroField(block_, block_field::kDvdTable);
                recordIndex_ = 0;
                break;
            default:
                break;
        }
    }

    void WriteRemark() { WriteField(block_, block_field::kRemark, remark_); }

    void HandleKeyLine(std::string_view line) {
        for (const auto& keyField : kKeyFields) {
            if (keyField.section == section_ && StartsWithNoCase(line, keyField.key)) {
                WriteField(block_, keyField.field, line.substr(keyField.key.size()));
            }
        }
    }

    bool HandleCdLine(std::string_view line) {
        if (recordIndex_ >= kMediaTableRecords) return true;
        if (const auto record = ParseCdMediaLine(line)) {
            WriteRecord(block_, block_field::kCdTable.offset + recordIndex_ * kCdMediaRecordSize,
                        record->ToBytes());
            ++recordIndex_;
        }
        return true;
    }

    bool HandleDvdLine(std::string_view line) {
        if (recordIndex_ >= kMediaTableRecords) return true;
        const DvdLineParse parsed = ParseDvdMediaLine(line);
        switch (parsed.outcome) {
            case DvdLineParse::Outcome::Accepted:
                WriteRecord(block_,
                            block_field::kDvdTable.offset + recordIndex_ * kDvdMediaRecordSize,
                            parsed.record.ToBytes());
                ++recordIndex_;
                return true;
            case DvdLineParse::Outcome::Rejected:
                return true;
            case DvdLineParse::Outcome::ConversionError:
                errorMessage_ = parsed.errorMessage;
                return false;
        }
        return true;
    }

    BlockBytes& block_;
    Section section_ = Section::None;
    std::string remark_;
    std::size_t recordIndex_ = 0;
    std::string errorMessage_;
};

}  // namespace

bool LoadParameterFile(const std::string& path, std::vector<std::string>& lines) {
    return ReadFileLines(path, lines);
}

ApplyOutcome ApplyParameters(const std::vector<std::string>& lines, std::span<std::uint8_t> image,
                             std::string_view marker) {
    ApplyOutcome outcome;
    const auto markerOffset = FindConfigurationBlock(image, marker);
    if (!markerOffset || *markerOffset < kMarkerTextOffset ||
        image.size() - (*markerOffset - kMarkerTextOffset) < kConfigurationBlockSize) {
        outcome.status = ApplyOutcome::Status::BlockNotFound;
        return outcome;
    }
    const std::size_t blockOffset = *markerOffset - kMarkerTextOffset;
    const auto imageBlock = image.subspan(blockOffset, kConfigurationBlockSize);

    // Work on a copy so that an error part-way leaves the image as it was.
    auto block = std::make_unique<BlockBytes>();
    std::copy(imageBlock.begin(), imageBlock.end(), block->begin());
    ParameterInterpreter interpreter(*block);
    std::size_t fileLine = 1;
    for (const auto& line : lines) {
        if (!interpreter.HandleLine(line)) {
            outcome.status = ApplyOutcome::Status::ConversionError;
            outcome.errorMessage = interpreter.ErrorMessage();
            outcome.errorLine = fileLine;
            return outcome;
        }
        // A line longer than a read arrives in pieces; only a piece with its line end ends it.
        if (!line.empty() && line.back() == '\n') ++fileLine;
    }
    interpreter.Finish();
    std::copy(block->begin(), block->end(), imageBlock.begin());
    outcome.status = ApplyOutcome::Status::Applied;
    outcome.blockOffset = blockOffset;
    return outcome;
}

}  // namespace korvalend
