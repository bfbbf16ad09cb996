#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "builder/configuration_block.h"

namespace korvalend {

inline constexpr std::size_t kMediaKeyWidth = 7;
inline constexpr std::size_t kMakerTextWidth = 48;
inline constexpr std::size_t kDvdIdentifierWidth = 12;

// One CD kind, keyed by its ATIP lead-in and lead-out times as six-character texts (MMSSFF).
// Byte layout (62 bytes): lead-in key at 0, lead-out key at 7, maker text at 14.
struct CdMediaRecord {
    std::array<char, kMediaKeyWidth> leadInKey{};
    std::array<char, kMediaKeyWidth> leadOutKey{};
    std::array<char, kMakerTextWidth> makerText{};

    std::array<std::uint8_t, kCdMediaRecordSize> ToBytes() const;
    static CdMediaRecord FromBytes(std::span<const std::uint8_t, kCdMediaRecordSize> bytes);
    bool operator==(const CdMediaRecord&) const = default;
};

// One DVD kind, keyed by its recorded manufacturer identifier.
// Byte layout (60 bytes): identifier at 0 (12 raw bytes), maker text at 12.
struct DvdMediaRecord {
    std::array<std::uint8_t, kDvdIdentifierWidth> identifier{};
    std::array<char, kMakerTextWidth> makerText{};

    std::array<std::uint8_t, kDvdMediaRecordSize> ToBytes() const;
    static DvdMediaRecord FromBytes(std::span<const std::uint8_t, kDvdMediaRecordSize> bytes);
    bool operator==(const DvdMediaRecord&) const = default;
};

// Offsets inside the records' byte form.
inline constexpr std::size_t kCdLeadInKeyOffset = 0;
inline constexpr std::size_t kCdLeadOutKeyOffset = 7;
inline constexpr std::size_t kCdMakerTextOffset = 14;
inline constexpr std::size_t kDvdIdentifierOffset = 0;
inline constexpr std::size_t kDvdMakerTextOffset = 12;

}  // namespace korvalend
