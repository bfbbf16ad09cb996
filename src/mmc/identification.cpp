#include <algorithm>

#include "device/atapi_device.h"
#include "mmc/atip_answer.h"

namespace korvalend {
namespace {

std::uint32_t TimeOf(std::span<const std::uint8_t> answer, std::size_t at) {
    return 10000u * answer[at] + 100u * answer[at + 1] + answer[at + 2];
}

// Copies count bytes of the answer into out from its start and ends them with a zero, never
// writing past out: a buffer smaller than the identifier receives the leading part.
void CopyIdentifier(std::span<const std::uint8_t> answer, std::size_t from, std::size_t count,
                    std::span<char> out) {
    const std::size_t n = std::min(count, out.size() - 1);
    for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<char>(answer[from + i]);
    out[n] = '\0';
}

}  // namespace

std::uint32_t AtapiDevice::GetAtipTime(bool leadIn) {
    std::uint32_t leadInTime = 0;
    std::uint32_t leadOutTime = 0;
    const bool atip = ReadTocPmaAtip(1, 4, 0, 256, 0) && IsAtipAnswer(DataInBuffer());
    if (atip && ReadBE16(0) != 0x0002) {
        leadInTime = TimeOf(DataInBuffer(), 8);
        leadOutTime = TimeOf(DataInBuffer(), 12);
    } else if (ReadDiscInformation(256, 0)) {
        leadInTime = TimeOf(DataInBuffer(), 17);
        leadOutTime = TimeOf(DataInBuffer(), 21);
    }
    return leadIn ? leadInTime : leadOutTime;
}

char* AtapiDevice::ReadDvdPlusMakerId(std::span<char> out) {
    if (out.empty()) return nullptr;
    out[0] = '\0';
    if (VendorReadMediaId()) {
        CopyIdentifier(DataInBuffer(), 0, 8, out);
    } else if (ReadDvdStructure(0, 0, 0x00, 34, 0, 0)) {
        CopyIdentifier(DataInBuffer(), 23, 8, out);
    }
    return out.data();
}

char* AtapiDevice::ReadDvdPlusMediaTypeId(std::span<char> out) {
    if (out.empty()) return nullptr;
    out[0] = '\0';
    if (VendorReadMediaId()) {
        CopyIdentifier(DataInBuffer(), 8, 3, out);
    } else if (ReadDvdStructure(0, 0, 0x00, 34, 0, 0)) {
        CopyIdentifier(DataInBuffer(), 31, 3, out);
    }
    return out.data();
}

char* AtapiDevice::ReadDvdMinusMakerId(std::span<char> out) {
    if (out.empty()) return nullptr;
    out[0] = '\0';
    if (VendorReadMediaId()) {
        CopyIdentifier(DataInBuffer(), 0, 11, out);
    } else if (ReadDvdStructure(0, 0, 0x0E, 48, 0, 0)) {
        // The text from byte 21 ends at its first zero within the 48 bytes asked for; a
        // longer text than the caller's buffer holds keeps its leading characters.
        const auto answer = DataInBuffer().subspan(21, 48 - 21);
        const auto end = std::find(answer.begin(), answer.end(), std::uint8_t{0});
        CopyIdentifier(answer, 0, static_cast<std::size_t>(end - answer.begin()), out);
    }
    return out.data();
}

std::uint32_t AtapiDevice::GetDiscCapacity() {
    if (!ReadFormatCapacities(12, 0)) return 0;
    if ((DataInBuffer()[8] & 0x03) == 3) return 0;
    return ReadBE32(4);
}

std::uint16_t AtapiDevice::GetCurrentWriteSpeed() {
    return ModeSense10(0, 0, 0x2A, 40, 0) ? ReadBE16(36) : 0;
}

std::uint16_t AtapiDevice::GetCurrentReadSpeed() {
    return ModeSense10(0, 0, 0x2A, 40, 0) ? ReadBE16(22) : 0;
}

double AtapiDevice::GetMaxWriteSpeed() {
    if (!CanWriteCdR()) return 0.0;
    if (!GetPerformance(0, 0, 50, 3, 0, 1024)) return 0.0;
    return static_cast<double>(ReadBE32(20));
}

bool AtapiDevice::SetMaxStreaming() {
    if (!GetPerformance(0, 0, 50, 3, 0, 4096)) return false;
    const auto answer = DataInBuffer();
    const auto out = DataOutBuffer();
    if (out.size() < 28) return false;
    std::fill_n(out.begin(), 28, std::uint8_t{0});
    std::copy_n(answer.begin() + 12, 4, out.begin() + 8);   // end LBA
    std::copy_n(answer.begin() + 16, 4, out.begin() + 12);  // read size, kB
    std::copy_n(answer.begin() + 20, 4, out.begin() + 20);  // write size, kB
    WriteBE32(16, 1000);                                    // read time, ms
    WriteBE32(24, 1000);                                    // write time, ms
    return SetStreaming(28, 0);
}

}  // namespace korvalend
