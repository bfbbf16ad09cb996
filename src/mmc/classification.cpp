#include "device/atapi_device.h"
#include "mmc/atip_answer.h"
#include "mmc/type_names.h"

namespace korvalend {
namespace {

constexpr std::int32_t kClassifyWaitSeconds = 120;

std::uint8_t DriveTypeOfProfileSum(unsigned sum) {
    switch (sum) {
        case 1:
            return 5;
        case 2:
            return 8;
        case 3:
            return 10;
        case 4:
            return 6;
        case 12:
            return 9;
        case 15:
            return 11;
        default:
            return 4;
    }
}

std::uint8_t DiscTypeOfProfile(std::uint16_t profile) {
    switch (profile) {
        case 0x0008:
            return 2;
        case 0x0009:
            return 5;
        case 0x000A:
            return 11;
        case 0x0010:
            return 15;
        case 0x0012:
            return 16;
        case 0x0013:
        case 0x0014:
            return 18;
        case 0x001A:
            return 19;
        case 0x001B:
            return 20;
        default:
            return 1;
    }
}

std::uint8_t DiscTypeOfBookType(unsigned bookType) {
    switch (bookType) {
        case 0:
            return 15;
        case 1:
            return 16;
        case 2:
            return 17;
        case 3:
            return 18;
        case 9:
            return 19;
        case 10:
            return 20;
        default:
            return 1;
    }
}

}  // namespace

std::uint8_t AtapiDevice::GetDriveType() {
    WaitUnitReady(kClassifyWaitSeconds);
    if (!ModeSense10(0, 0, 0x2A, 42, 0)) return 0;
    const auto page = DataInBuffer();
    const bool dvdRead = (page[10] & 0x08) != 0;
    const bool cdrWrite = (page[11] & 0x01) != 0;
    const bool cdrwWrite = (page[11] & 0x02) != 0;
    if (!cdrWrite && !dvdRead) return 1;
    if (dvdRead && !cdrwWrite) return 2;
    if (cdrwWrite && !dvdRead) return 3;

    if (!GetConfiguration(2, 0x0000, 248, 0)) return 4;
    const auto config = DataInBuffer();
    const unsigned additionalLength = config[11];
    unsigned sum = 0;
    // The profile list answer is at most 248 bytes; the drive's length byte cannot lead the
    // loop past the buffer (13 + 252 < 81920).
    for (unsigned i = 0; i < additionalLength; i += 4) {
        switch (config[13 + i]) {
            case 0x11:
                sum += 1;
                break;
            case 0x13:
                sum += 2;
                break;
            case 0x1B:
                sum += 4;
                break;
            case 0x1A:
                sum += 8;
                break;
            default:
                break;
        }
    }
    return DriveTypeOfProfileSum(sum);
}

std::uint8_t AtapiDevice::GetDiscType() {
    WaitUnitReady(kClassifyWaitSeconds);
    if (SenseIs(0x02, 0x3A)) return 0;
    const std::uint8_t driveType = GetDriveType();

    if (ReadDvdStructure(0, 0, 0x00, 16, 0, 0)) {
        if (LastCommand().transferred < 4) return 2;
        const auto dvd = DataInBuffer();
        if (dvd[9] == 0x03) return DiscTypeOfBookType((dvd[4] >> 4) & 0x0F);
    }

    if (ReadTocPmaAtip(0, 4, 0, 24, 0) && IsAtipAnswer(DataInBuffer())) {
        const auto atip = DataInBuffer();
        if (atip[1] > 4) {
            const unsigned subType = (atip[6] >> 3) & 0x07;
            if ((atip[6] & 0x40) != 0) {
                return subType <= 3 ? static_cast<std::uint8_t>(11 + subType) : 1;
            }
            return static_cast<std::uint8_t>(3 + subType);
        }
    }

    if (driveType == 1) return 2;
    if (!GetConfiguration(2, 0x0000, 204, 0)) return 1;
    return DiscTypeOfProfile(ReadBE16(6));
}

const char* AtapiDevice::GetDriveTypeName() {
    return DriveTypeName(GetDriveType());
}

const char* AtapiDevice::GetDiscTypeName() {
    return DiscTypeName(GetDiscType());
}

bool AtapiDevice::StoreDriveType(unsigned index) {
    const std::uint8_t type = GetDriveType();
    if (index >= kMaxDrives) return false;
    drives_[index].driveType = type;
    drives_[index].driveTypeName = DriveTypeName(type);
    return true;
}

bool AtapiDevice::CanWriteCdR() {
    return ModeSense10(0, 0, 0x2A, 42, 0) && (DataInBuffer()[11] & 0x01) != 0;
}

}  // namespace korvalend
