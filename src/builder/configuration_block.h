#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace korvalend {

// The fixed-layout block inside the executable that holds the program's visible texts, its
// start-up mode character and the embedded media database. The layout is a file format: the
// builder finds the block in an executable's bytes and overwrites its fields.
inline constexpr std::size_t kConfigurationBlockSize = 62718;

// One field of the block: its offset from the block's first byte and its width in bytes.
struct BlockField {
    std::size_t offset;
    std::size_t width;
};

namespace block_field {
inline constexpr BlockField kMarker{0, 14};
inline constexpr BlockField kBuildMode{14, 12};
inline constexpr BlockField kName{26, 64};
inline constexpr BlockField kDate{90, 16};
inline constexpr BlockField kMajor{106, 4};
inline constexpr BlockField kMinor{110, 4};
inline constexpr BlockField kRev{114, 4};
inline constexpr BlockField kModel{118, 128};
inline constexpr BlockField kRemark{246, 1024};
inline constexpr BlockField kStep1{1270, 64};
inline constexpr BlockField kStep2{1334, 256};
inline constexpr BlockField kStep3{1590, 64};
inline constexpr BlockField kCopyright{1654, 64};
inline constexpr BlockField kCdTable{1718, 31000};
inline constexpr BlockField kDvdTable{32718, 30000};
}  // namespace block_field

// The marker text proper starts after the "=@" that opens the block.
inline constexpr std::size_t kMarkerTextOffset = 2;
// "1" starts a builder copy; anything else starts the media-check program.
inline constexpr std::size_t kModeCharacterOffset = 24;
inline constexpr char kBuilderModeCharacter = '1';

inline constexpr std::size_t kMediaTableRecords = 500;
inline constexpr std::size_t kCdMediaRecordSize = 62;
inline constexpr std::size_t kDvdMediaRecordSize = 60;

static_assert(block_field::kCdTable.width == kMediaTableRecords * kCdMediaRecordSize);
static_assert(block_field::kDvdTable.width == kMediaTableRecords * kDvdMediaRecordSize);
static_assert(block_field::kDvdTable.offset + block_field::kDvdTable.width ==
              kConfigurationBlockSize);

// Read-only view of the bytes of one configuration block (the running program's own, or one
// found in an executable file). Texts end at their first NUL and never run past their field.
class ConfigurationBlockView {
  public:
    explicit ConfigurationBlockView(std::span<const std::uint8_t, kConfigurationBlockSize> bytes)
        : bytes_(bytes) {}

    std::span<const std::uint8_t, kConfigurationBlockSize> Bytes() const { return bytes_; }
    std::string_view Text(BlockField field) const;
    // The marker text without its leading "=@", as the builder searches for it.
    std::string_view MarkerText() const;
    char ModeCharacter() const { return static_cast<char>(bytes_[kModeCharacterOffset]); }
    bool IsBuilderMode() const { return ModeCharacter() == kBuilderModeCharacter; }

    std::span<const std::uint8_t, kCdMediaRecordSize> CdRow(std::size_t index) const;
    std::span<const std::uint8_t, kDvdMediaRecordSize> DvdRow(std::size_t index) const;

  private:
    std::span<const std::uint8_t, kConfigurationBlockSize> bytes_;
};

// The running program's own block, as it stands in the executable file.
ConfigurationBlockView RunningConfigurationBlock();

// Scans an executable file's bytes from the start and gives the offset of the first place where
// `marker` stands, letter case ignored; the block starts kMarkerTextOffset bytes before it.
// An empty marker is never found.
std::optional<std::size_t> FindConfigurationBlock(std::span<const std::uint8_t> fileBytes,
                                                  std::string_view marker);

// Text of a zero-terminated field: its bytes up to the first NUL, or all of them.
std::string_view FieldText(std::span<const std::uint8_t> field);
std::string_view FieldText(std::span<const char> field);

}  // namespace korvalend
