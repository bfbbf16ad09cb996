#pragma once

#include <array>
#include <cstdint>

namespace korvalend {

inline constexpr std::size_t kMaxDrives = 16;

// One entry of the device object's drive list.
struct DriveRecord {
    std::uint8_t driveType = 0;
    const char* driveTypeName = nullptr;  // points into the fixed name table, never owned
    std::uint32_t busType = 0;            // kBusUsb, kBus1394 or kBusOther
    std::array<char, 32> displayName{};   // vendor's 8 then product's 16 characters
    std::array<char, 9> vendor{};
    std::array<char, 17> product{};
    std::array<char, 5> revision{};
    std::array<char, 17> vendorSpecific{};
    std::array<char, 64> rootPath{};  // the drive's device path, zero-terminated
    std::int16_t adapter = 0;
    std::int16_t target = 0;
    std::int16_t lun = 0;
    std::int16_t pathId = 0;
    bool valid = false;
    bool viaAspi = false;
    bool cdrWriter = false;
};

}  // namespace korvalend
