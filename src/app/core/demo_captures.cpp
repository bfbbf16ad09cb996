#include "app/core/demo_captures.h"

#include <algorithm>

#include "device/sim/mmc_answers.h"

namespace korvalend {
namespace {

using namespace sim;
using namespace sim::commands;

// Realistic durations of the commands of a drive on a SATA host, in seconds.
double TypicalSeconds(std::uint8_t opcode) {
    switch (opcode) {
        case 0x00:
            return 0.0003;
        case 0x12:
            return 0.0008;
        case 0x5A:
            return 0.0011;
        case 0x46:
            return 0.0015;
        case 0xAD:
            return 0.0040;
        case 0x43:
            return 0.0060;
        case 0x51:
            return 0.0030;
        case 0x23:
            return 0.0020;
        case 0xAC:
            return 0.0025;
        case 0xB6:
            return 0.0100;
        case 0xBB:
            return 0.0500;
        default:
            return 0.0005;
    }
}

DriveCapture Writer(const DriveProfile& profile, std::vector<RecordedExchange> answers) {
    DriveCapture capture;
    capture.root = "/dev/sr0";
    capture.address = DriveAddress{1, 0, 0, 0};
    capture.exchanges = std::move(answers);
    AddDriveAnswers(capture, profile);
    for (RecordedExchange& ex : capture.exchanges) ex.seconds = TypicalSeconds(ex.command[0]);
    return capture;
}

DriveProfile PlusWriter() {
    DriveProfile profile;
    profile.vendor = "VARNOLD";
    profile.product = "DVD+RW DRU-510A";
    profile.revision = "1.0a";
    profile.profiles = {0x0008, 0x0009, 0x000A, 0x0010, 0x001A, 0x001B};
    return profile;
}

DriveProfile DualWriter() {
    DriveProfile profile;
    profile.vendor = "VARNOLD";
    profile.product = "DVD DUAL DDW-16A";
    profile.revision = "2.1b";
    profile.profiles = {0x0008, 0x0009, 0x000A, 0x0010, 0x0011, 0x0013, 0x0014, 0x001A, 0x001B};
    return profile;
}

RecordedExchange Refused(const CommandBlock& block, std::uint8_t direction, std::uint32_t length,
                         SenseTriple sense) {
    return Refusal(block, direction, length, sense);
}

constexpr SenseTriple kIncompatibleFormat{0x05, 0x30, 0x02};
constexpr SenseTriple kInvalidOpcode{0x05, 0x20, 0x00};

std::vector<RecordedExchange> CdAnswers(std::uint8_t atipByte6, std::uint32_t leadIn,
                                        std::uint32_t leadOut, std::uint16_t profile,
                                        std::uint16_t readSpeed, std::uint16_t writeSpeed) {
    auto atip24 = AtipData(atipByte6, leadIn, leadOut);
    atip24.resize(24);
    return {
        Refused(kDvdPhysical16, kDirectionIn, 16, kIncompatibleFormat),
        Answer(kAtip24, kDirectionIn, 24, atip24),
        Answer(kAtipMsf256, kDirectionIn, 256, AtipData(atipByte6, leadIn, leadOut)),
        Answer(kGetConfiguration204, kDirectionIn, 204,
               ProfileList(profile, {0x0008, 0x0009, 0x000A, 0x0010, 0x001A, 0x001B})),
        Answer(kSetCdSpeedMax, kDirectionNone, 0),
        Answer(kModeSense2A40, kDirectionIn, 40,
               CapabilitiesPage(true, true, true, readSpeed, writeSpeed, 40)),
        Refused(kVendorReadMediaId, kDirectionIn, 12, kInvalidOpcode),
    };
}

std::vector<DriveCapture> CdR() {
    // A CD-R of sub-type 3 with CMC's lead-in, in a DVD+R/+RW writer that selects 40x/48x.
    return {Writer(PlusWriter(), CdAnswers(0x98, 972666, 795974, 0x0009, 8467, 7056))};
}

std::vector<DriveCapture> CdRw() {
    return {Writer(PlusWriter(), CdAnswers(0xC8, 971510, 795971, 0x000A, 7040, 4224))};
}

std::vector<DriveCapture> DvdPlusR() {
    // A blank DVD+R by Ricoh; the drive has no answer to the vendor command.
    return {Writer(
        PlusWriter(),
        {
            Answer(kDvdPhysical16, kDirectionIn, 16, PhysicalFormat(10, 0x03, {}, {}, 16)),
            Answer(kDvdPhysical34, kDirectionIn, 34,
                   PhysicalFormat(10, 0x03, "RICOHJPN", "R01", 34)),
            Answer(kDvdPhysical36, kDirectionIn, 36,
                   PhysicalFormat(10, 0x03, "RICOHJPN", "R01", 36)),
            Refused(kVendorReadMediaId, kDirectionIn, 12, kInvalidOpcode),
            Answer(kFormatCapacities12, kDirectionIn, 12, FormatCapacities(2295104, 1)),
            Answer(kGetPerformance, kDirectionIn, 4096, WriteSpeedDescriptor(2295103, 11080, 5540)),
            Answer(kGetPerformance, kDirectionIn, 1024, WriteSpeedDescriptor(2295103, 11080, 5540)),
            Answer(kSetStreaming28, kDirectionOut, 28),
            Answer(kSetCdSpeedMax, kDirectionNone, 0),
            Answer(kModeSense2A40, kDirectionIn, 40,
                   CapabilitiesPage(true, true, true, 11080, 5540, 40)),
        })};
}

std::vector<DriveCapture> DvdMinusR() {
    // A DVD-R by Mitsubishi Chemical in a dual-format writer without the vendor command.
    return {
        Writer(DualWriter(),
               {
                   Answer(kDvdPhysical16, kDirectionIn, 16, PhysicalFormat(2, 0x03, {}, {}, 16)),
                   Answer(kDvdLeadIn48, kDirectionIn, 48, LeadInInformation("MCC 03RG20", 48)),
                   Answer(kDvdLeadIn50, kDirectionIn, 50, LeadInInformation("MCC 03RG20", 50)),
                   Refused(kVendorReadMediaId, kDirectionIn, 12, kInvalidOpcode),
                   Answer(kFormatCapacities12, kDirectionIn, 12, FormatCapacities(2298496, 1)),
                   Answer(kGetPerformance, kDirectionIn, 4096,
                          WriteSpeedDescriptor(2298495, 22160, 11080)),
                   Answer(kGetPerformance, kDirectionIn, 1024,
                          WriteSpeedDescriptor(2298495, 22160, 11080)),
                   Answer(kSetStreaming28, kDirectionOut, 28),
                   Answer(kSetCdSpeedMax, kDirectionNone, 0),
                   Answer(kModeSense2A40, kDirectionIn, 40,
                          CapabilitiesPage(true, true, true, 22160, 11080, 40)),
               })};
}

std::vector<DriveCapture> Empty() {
    return {Writer(PlusWriter(),
                   {Refused(kTestUnitReady, kDirectionNone, 0, SenseTriple{0x02, 0x3A, 0x01})})};
}

}  // namespace

std::vector<std::string_view> DemoNames() {
    return {"cd-r", "dvd+r", "empty", "cd-rw", "dvd-r"};
}

bool IsDemoName(std::string_view word) {
    const auto names = DemoNames();
    return std::find(names.begin(), names.end(), word) != names.end();
}

std::optional<std::vector<DriveCapture>> DemoCaptures(std::string_view name) {
    if (name == "cd-r") return CdR();
    if (name == "dvd+r") return DvdPlusR();
    if (name == "empty") return Empty();
    if (name == "cd-rw") return CdRw();
    if (name == "dvd-r") return DvdMinusR();
    return std::nullopt;
}

}  // namespace korvalend
