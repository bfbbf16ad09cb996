#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

#include "device/sim/capture.h"
#include "device/vendor_commands.h"

namespace korvalend::sim {

// The command blocks the program sends, for building drive conversations.
namespace commands {
inline constexpr CommandBlock kTestUnitReady{0x00};
inline constexpr CommandBlock kInquiry96{0x12, 0, 0, 0, 96};
inline constexpr CommandBlock kModeSense2A42{0x5A, 0, 0x2A, 0, 0, 0, 0, 0, 42};
inline constexpr CommandBlock kModeSense2A40{0x5A, 0, 0x2A, 0, 0, 0, 0, 0, 40};
inline constexpr CommandBlock kGetConfiguration248{0x46, 2, 0, 0, 0, 0, 0, 0, 248};
inline constexpr CommandBlock kGetConfiguration204{0x46, 2, 0, 0, 0, 0, 0, 0, 204};
inline constexpr CommandBlock kDvdPhysical16{0xAD, 0, 0, 0, 0, 0, 0, 0x00, 0, 16};
inline constexpr CommandBlock kDvdPhysical34{0xAD, 0, 0, 0, 0, 0, 0, 0x00, 0, 34};
inline constexpr CommandBlock kDvdPhysical36{0xAD, 0, 0, 0, 0, 0, 0, 0x00, 0, 36};
inline constexpr CommandBlock kDvdLeadIn48{0xAD, 0, 0, 0, 0, 0, 0, 0x0E, 0, 48};
inline constexpr CommandBlock kDvdLeadIn50{0xAD, 0, 0, 0, 0, 0, 0, 0x0E, 0, 50};
inline constexpr CommandBlock kAtip24{0x43, 0, 4, 0, 0, 0, 0, 0, 24};
inline constexpr CommandBlock kAtipMsf256{0x43, 2, 4, 0, 0, 0, 0, 1, 0};
inline constexpr CommandBlock kDiscInformation256{0x51, 0, 0, 0, 0, 0, 0, 1, 0};
inline constexpr CommandBlock kFormatCapacities12{0x23, 0, 0, 0, 0, 0, 0, 0, 12};
inline constexpr CommandBlock kGetPerformance{0xAC, 0, 0, 0, 0, 0, 0, 0, 0, 50, 3};
inline constexpr CommandBlock kSetStreaming28{0xB6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 28};
inline constexpr CommandBlock kSetCdSpeedMax{0xBB, 0, 0xFF, 0xFF, 0xFF, 0xFF};
inline constexpr CommandBlock kVendorReadMediaId = kVendorReadMediaIdBlock;
inline constexpr CommandBlock kVendorProbe = kVendorProbeBlock;
}  // namespace commands

// Answers in the byte layout drives send.
std::vector<std::uint8_t> InquiryData(std::string_view vendor, std::string_view product,
                                      std::string_view revision, std::size_t length = 96);
// Mode parameter header and capabilities page 2A.
std::vector<std::uint8_t> CapabilitiesPage(bool dvdRomRead, bool cdrWrite, bool cdrwWrite,
                                           std::uint16_t currentReadSpeed,
                                           std::uint16_t currentWriteSpeed,
                                           std::size_t length = 42);
// Feature header and the profile list feature.
std::vector<std::uint8_t> ProfileList(std::uint16_t currentProfile,
                                      std::span<const std::uint16_t> profiles);
inline std::vector<std::uint8_t> ProfileList(std::uint16_t currentProfile,
                                             std::initializer_list<std::uint16_t> profiles) {
    return ProfileList(currentProfile,
                       std::span<const std::uint16_t>(profiles.begin(), profiles.size()));
}
// DVD structure format 0: header and physical format information.
std::vector<std::uint8_t> PhysicalFormat(std::uint8_t bookType, std::uint8_t startSectorByte,
                                         std::string_view manufacturerId = {},
                                         std::string_view mediaTypeId = {},
                                         std::size_t length = 36);
// DVD structure format 0x0E: pre-recorded lead-in information with its manufacturer text.
std::vector<std::uint8_t> LeadInInformation(std::string_view manufacturerId,
                                            std::size_t length = 50);
// READ TOC/PMA/ATIP format 4 with the time fields in MSF.
std::vector<std::uint8_t> AtipData(std::uint8_t discTypeByte, std::uint32_t leadIn,
                                   std::uint32_t leadOut);
std::vector<std::uint8_t> DiscInformation(std::uint32_t leadIn, std::uint32_t leadOut);
std::vector<std::uint8_t> FormatCapacities(std::uint32_t blocks, std::uint8_t descriptorType);
// GET PERFORMANCE type 3 with one write speed descriptor.
std::vector<std::uint8_t> WriteSpeedDescriptor(std::uint32_t endLba, std::uint32_t readSpeed,
                                               std::uint32_t writeSpeed);

RecordedExchange Answer(const CommandBlock& command, std::uint8_t direction, std::uint32_t length,
                        std::vector<std::uint8_t> data = {}, double seconds = 0.0);
RecordedExchange Refusal(const CommandBlock& command, std::uint8_t direction, std::uint32_t length,
                         SenseTriple sense, double seconds = 0.0);

struct DriveProfile {
    std::string_view vendor = "VARNOLD";
    std::string_view product = "DVD+RW DRU-510A";
    std::string_view revision = "1.0a";
    bool dvdRomRead = true;
    bool cdrWrite = true;
    bool cdrwWrite = true;
    std::vector<std::uint16_t> profiles{0x0008, 0x0009, 0x000A, 0x0010, 0x001A, 0x001B};
    std::uint16_t currentProfile = 0x0000;
    bool vendorCommands = false;
};

// Adds the answers to the commands every drive gets during discovery and classification, for
// each command the capture does not answer already.
void AddDriveAnswers(DriveCapture& capture, const DriveProfile& profile);

}  // namespace korvalend::sim
