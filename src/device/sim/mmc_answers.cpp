#include "device/sim/mmc_answers.h"

#include <algorithm>

namespace korvalend::sim {
namespace {

void PutText(std::vector<std::uint8_t>& out, std::size_t at, std::size_t width,
             std::string_view text, char pad) {
    for (std::size_t i = 0; i < width && at + i < out.size(); ++i) {
        out[at + i] = static_cast<std::uint8_t>(i < text.size() ? text[i] : pad);
    }
}

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    out[at] = static_cast<std::uint8_t>(value >> 8);
    out[at + 1] = static_cast<std::uint8_t>(value);
}

void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    out[at] = static_cast<std::uint8_t>(value >> 24);
    out[at + 1] = static_cast<std::uint8_t>(value >> 16);
    out[at + 2] = static_cast<std::uint8_t>(value >> 8);
    out[at + 3] = static_cast<std::uint8_t>(value);
}

void PutMsf(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t time) {
    out[at] = static_cast<std::uint8_t>(time / 10000 % 256);
    out[at + 1] = static_cast<std::uint8_t>(time / 100 % 100);
    out[at + 2] = static_cast<std::uint8_t>(time % 100);
}

}  // namespace

std::vector<std::uint8_t> InquiryData(std::string_view vendor, std::string_view product,
                                      std::string_view revision, std::size_t length) {
    std::vector<std::uint8_t> out(std::max<std::size_t>(length, 36), 0);
    out[0] = 0x05;  // CD/DVD device
    out[1] = 0x80;  // removable medium
    out[2] = 0x00;
    out[3] = 0x32;
    out[4] = static_cast<std::uint8_t>(out.size() - 5);
    PutText(out, 8, 8, vendor, ' ');
    PutText(out, 16, 16, product, ' ');
    PutText(out, 32, 4, revision, ' ');
    return out;
}

std::vector<std::uint8_t> CapabilitiesPage(bool dvdRomRead, bool cdrWrite, bool cdrwWrite,
                                           std::uint16_t currentReadSpeed,
                                           std::uint16_t currentWriteSpeed, std::size_t length) {
    std::vector<std::uint8_t> out(std::max<std::size_t>(length, 40), 0);
    Put16(out, 0, static_cast<std::uint32_t>(out.size() - 2));
    out[8] = 0x2A;
    out[9] = static_cast<std::uint8_t>(out.size() - 10);
    out[10] = static_cast<std::uint8_t>(0x03 | (dvdRomRead ? 0x08 : 0));  // CD-R/RW read
    out[11] = static_cast<std::uint8_t>((cdrWrite ? 0x01 : 0) | (cdrwWrite ? 0x02 : 0));
    out[12] = 0x70;
    out[13] = 0x73;
    out[14] = 0x29;
    out[15] = 0x23;
    Put16(out, 16, currentReadSpeed);  // obsolete maximum read speed
    Put16(out, 22, currentReadSpeed);
    Put16(out, 36, currentWriteSpeed);
    return out;
}

std::vector<std::uint8_t> ProfileList(std::uint16_t currentProfile,
                                      std::span<const std::uint16_t> profiles) {
    std::vector<std::uint8_t> out(12 + 4 * profiles.size(), 0);
    Put32(out, 0, static_cast<std::uint32_t>(out.size() - 4));
    Put16(out, 6, currentProfile);
    out[10] = 0x03;  // persistent, current
    out[11] = static_cast<std::uint8_t>(4 * profiles.size());
    std::size_t at = 12;
    for (std::uint16_t profile : profiles) {
        Put16(out, at, profile);
        out[at + 2] = profile == currentProfile ? 0x01 : 0x00;
        at += 4;
    }
    return out;
}

std::vector<std::uint8_t> PhysicalFormat(std::uint8_t bookType, std::uint8_t startSectorByte,
                                         std::string_view manufacturerId,
                                         std::string_view mediaTypeId, std::size_t length) {
    std::vector<std::uint8_t> out(std::max<std::size_t>(length, 16), 0);
    Put16(out, 0, 2050);
    out[4] = static_cast<std::uint8_t>((bookType << 4) | 0x01);
    out[5] = 0x02;  // 120 mm, 10.08 Mbit/s
    out[6] = 0x01;
    out[7] = 0x10;
    out[9] = startSectorByte;
    out[13] = 0x26;
    out[14] = 0x05;
    out[15] = 0x3F;
    if (out.size() >= 34) {
        PutText(out, 23, 8, manufacturerId, '\0');
        PutText(out, 31, 3, mediaTypeId, '\0');
    }
    return out;
}

std::vector<std::uint8_t> LeadInInformation(std::string_view manufacturerId, std::size_t length) {
    std::vector<std::uint8_t> out(std::max<std::size_t>(length, 32), 0);
    Put16(out, 0, static_cast<std::uint32_t>(out.size() - 2));
    out[4] = 1;  // field 1: application code and physical data
    out[12] = 2;
    out[20] = 3;  // field 3: manufacturer identifier from byte 21
    PutText(out, 21, std::min<std::size_t>(manufacturerId.size(), out.size() - 21), manufacturerId,
            '\0');
    return out;
}

std::vector<std::uint8_t> AtipData(std::uint8_t discTypeByte, std::uint32_t leadIn,
                                   std::uint32_t leadOut) {
    std::vector<std::uint8_t> out(28, 0);
    Put16(out, 0, 26);
    out[4] = 0x04;
    out[5] = 0x00;
    out[6] = discTypeByte;
    PutMsf(out, 8, leadIn);
    PutMsf(out, 12, leadOut);
    return out;
}

std::vector<std::uint8_t> DiscInformation(std::uint32_t leadIn, std::uint32_t leadOut) {
    std::vector<std::uint8_t> out(34, 0);
    Put16(out, 0, 32);
    out[2] = 0x00;  // empty disc
    out[3] = 1;
    out[4] = 1;
    out[5] = 1;
    out[6] = 1;
    out[7] = 0x20;
    out[16] = 0x00;
    PutMsf(out, 17, leadIn);
    out[20] = 0x00;
    PutMsf(out, 21, leadOut);
    return out;
}

std::vector<std::uint8_t> FormatCapacities(std::uint32_t blocks, std::uint8_t descriptorType) {
    std::vector<std::uint8_t> out(12, 0);
    out[3] = 8;
    Put32(out, 4, blocks);
    out[8] = static_cast<std::uint8_t>(descriptorType & 0x03);
    out[10] = 0x08;  // 2048-byte blocks
    return out;
}

std::vector<std::uint8_t> WriteSpeedDescriptor(std::uint32_t endLba, std::uint32_t readSpeed,
                                               std::uint32_t writeSpeed) {
    std::vector<std::uint8_t> out(24, 0);
    Put32(out, 0, 20);
    Put32(out, 12, endLba);
    Put32(out, 16, readSpeed);
    Put32(out, 20, writeSpeed);
    return out;
}

RecordedExchange Answer(const CommandBlock& command, std::uint8_t direction, std::uint32_t length,
                        std::vector<std::uint8_t> data, double seconds) {
    RecordedExchange ex;
    ex.command = command;
    ex.direction = direction;
    ex.length = length;
    if (data.size() > length) data.resize(length);
    ex.data = std::move(data);
    ex.seconds = seconds;
    return ex;
}

RecordedExchange Refusal(const CommandBlock& command, std::uint8_t direction, std::uint32_t length,
                         SenseTriple sense, double seconds) {
    RecordedExchange ex = Answer(command, direction, length, {}, seconds);
    ex.sense = sense;
    return ex;
}

void AddDriveAnswers(DriveCapture& capture, const DriveProfile& profile) {
    using namespace commands;
    std::vector<RecordedExchange> ex;
    ex.push_back(Answer(kTestUnitReady, kDirectionNone, 0));
    ex.push_back(Answer(kInquiry96, kDirectionIn, 96,
                        InquiryData(profile.vendor, profile.product, profile.revision)));
    ex.push_back(Answer(
        kModeSense2A42, kDirectionIn, 42,
        CapabilitiesPage(profile.dvdRomRead, profile.cdrWrite, profile.cdrwWrite, 0, 0, 42)));
    const auto list = ProfileList(profile.currentProfile, profile.profiles);
    ex.push_back(Answer(kGetConfiguration248, kDirectionIn, 248, list));
    ex.push_back(Answer(kGetConfiguration204, kDirectionIn, 204, list));
    if (profile.vendorCommands) {
        std::vector<std::uint8_t> probe(128, 0);
        probe[0] = 0x01;
        ex.push_back(Answer(kVendorProbe, kDirectionIn, 128, probe));
    } else {
        ex.push_back(Refusal(kVendorProbe, kDirectionIn, 128, {0x05, 0x20, 0x00}));
    }
    // A command the capture answers already keeps only its own answers.
    for (RecordedExchange& d : ex) {
        const bool answered = std::any_of(
            capture.exchanges.begin(), capture.exchanges.end(), [&](const RecordedExchange& e) {
                return e.command == d.command && e.direction == d.direction && e.length == d.length;
            });
        if (!answered) capture.exchanges.push_back(std::move(d));
    }
}

}  // namespace korvalend::sim
