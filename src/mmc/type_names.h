#pragma once

#include <array>
#include <cstdint>

namespace korvalend {

// Drive types 0 to 11 and disc types 0 to 20 with their fixed-width names (9 and 21
// characters, padded with spaces).
inline constexpr std::uint8_t kDriveTypeCount = 12;
inline constexpr std::uint8_t kDiscTypeCount = 21;

extern const std::array<std::array<char, 10>, kDriveTypeCount> kDriveTypeNames;
extern const std::array<std::array<char, 22>, kDiscTypeCount> kDiscTypeNames;

// The name of a code; codes out of range give the name of code 0.
const char* DriveTypeName(std::uint8_t code);
const char* DiscTypeName(std::uint8_t code);

inline bool IsCdDisc(std::uint8_t discType) {
    return discType >= 1 && discType <= 14;
}
inline bool IsDvdDisc(std::uint8_t discType) {
    return discType >= 15 && discType <= 20;
}
inline bool IsRewritableCd(std::uint8_t discType) {
    return discType >= 11 && discType <= 14;
}
inline bool IsDvdPlusDisc(std::uint8_t discType) {
    return discType == 19 || discType == 20;
}

}  // namespace korvalend
