// The thirteen commands the program sends. Each one copies its template, places its masked
// arguments big-endian into their bytes and hands the block to ExecuteCommand.
#include <algorithm>

#include "device/atapi_device.h"
#include "device/vendor_commands.h"

namespace korvalend {
namespace {

constexpr CommandBlock Template(std::uint8_t opcode) {
    return CommandBlock{opcode};
}

void Put16(CommandBlock& block, std::size_t at, std::uint32_t value) {
    block[at] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    block[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

void Put32(CommandBlock& block, std::size_t at, std::uint32_t value) {
    block[at] = static_cast<std::uint8_t>(value >> 24);
    block[at + 1] = static_cast<std::uint8_t>(value >> 16);
    block[at + 2] = static_cast<std::uint8_t>(value >> 8);
    block[at + 3] = static_cast<std::uint8_t>(value);
}

std::uint8_t Byte(unsigned value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

}  // namespace

bool AtapiDevice::Send(const CommandBlock& block, std::uint8_t direction, std::uint32_t length) {
    return ExecuteCommand(std::span<const std::uint8_t, kCommandBlockSize>(block), direction,
                          length);
}

bool AtapiDevice::TestUnitReady() {
    return Send(Template(0x00), kDirectionNone, 0);
}

bool AtapiDevice::Inquiry(unsigned cmdDt, unsigned evpd, unsigned pageCode,
                          unsigned allocationLength, unsigned control) {
    CommandBlock block = Template(0x12);
    block[1] = static_cast<std::uint8_t>(((cmdDt & 1) << 1) | (evpd & 1));
    block[2] = Byte(pageCode);
    block[4] = Byte(allocationLength);
    block[5] = Byte(control);
    return Send(block, kDirectionIn, allocationLength);
}

bool AtapiDevice::ReadFormatCapacities(std::uint32_t allocationLength, unsigned control) {
    CommandBlock block = Template(0x23);
    Put16(block, 7, allocationLength);
    block[9] = Byte(control);
    return Send(block, kDirectionIn, allocationLength);
}

bool AtapiDevice::ReadTocPmaAtip(unsigned msf, unsigned format, unsigned trackSessionNumber,
                                 std::uint32_t allocationLength, unsigned control) {
    CommandBlock block = Template(0x43);
    block[1] = static_cast<std::uint8_t>((msf & 1) << 1);
    block[2] = static_cast<std::uint8_t>(format & 0x0F);
    block[6] = Byte(trackSessionNumber);
    Put16(block, 7, allocationLength);
    block[9] = Byte(control);
    return Send(block, kDirectionIn, allocationLength);
}

bool AtapiDevice::GetConfiguration(unsigned requestType, unsigned startingFeature,
                                   std::uint32_t allocationLength, unsigned control) {
    CommandBlock block = Template(0x46);
    block[1] = static_cast<std::uint8_t>(requestType & 0x03);
    Put16(block, 2, startingFeature);
    Put16(block, 7, allocationLength);
    block[9] = Byte(control);
    return Send(block, kDirectionIn, allocationLength);
}

bool AtapiDevice::ReadDiscInformation(std::uint32_t allocationLength, unsigned control) {
    CommandBlock block = Template(0x51);
    Put16(block, 7, allocationLength);
    block[9] = Byte(control);
    return Send(block, kDirectionIn, allocationLength);
}

bool AtapiDevice::ModeSense10(unsigned dbd, unsigned pageControl, unsigned pageCode,
                              std::uint32_t allocationLength, unsigned control) {
    CommandBlock block = Template(0x5A);
    block[1] = static_cast<std::uint8_t>((dbd & 1) << 3);
    block[2] = static_cast<std::uint8_t>(((pageControl & 0x03) << 6) | (pageCode & 0x3F));
    Put16(block, 7, allocationLength);
    block[9] = Byte(control);
    return Send(block, kDirectionIn, allocationLength);
}

bool AtapiDevice::GetPerformance(unsigned dataType, std::uint32_t startingLba,
                                 unsigned maxDescriptors, unsigned type, unsigned control,
                                 std::uint32_t transferLength) {
    CommandBlock block = Template(0xAC);
    block[1] = static_cast<std::uint8_t>(dataType & 0x1F);
    Put32(block, 2, startingLba);
    Put16(block, 8, maxDescriptors);
    block[10] = Byte(type);
    block[11] = Byte(control);
    return Send(block, kDirectionIn, transferLength);
}

bool AtapiDevice::ReadDvdStructure(std::uint32_t address, unsigned layer, unsigned format,
                                   std::uint32_t allocationLength, unsigned agid,
                                   unsigned control) {
    CommandBlock block = Template(0xAD);
    Put32(block, 2, address);
    block[6] = Byte(layer);
    block[7] = Byte(format);
    Put16(block, 8, allocationLength);
    block[10] = static_cast<std::uint8_t>((agid & 0x03) << 6);
    block[11] = Byte(control);
    return Send(block, kDirectionIn, allocationLength);
}

bool AtapiDevice::SetStreaming(std::uint32_t parameterListLength, unsigned control) {
    CommandBlock block = Template(0xB6);
    Put16(block, 9, parameterListLength);
    block[11] = Byte(control);
    return Send(block, kDirectionOut, parameterListLength);
}

bool AtapiDevice::SetCdSpeed(unsigned rotationControl, unsigned readSpeed, unsigned writeSpeed,
                             unsigned control) {
    CommandBlock block = Template(0xBB);
    block[1] = static_cast<std::uint8_t>(rotationControl & 0x03);
    Put16(block, 2, readSpeed);
    Put16(block, 4, writeSpeed);
    block[11] = Byte(control);
    return Send(block, kDirectionNone, 0);
}

bool AtapiDevice::VendorReadMediaId() {
    return Send(kVendorReadMediaIdBlock, kDirectionIn, 12);
}

bool AtapiDevice::VendorProbe() {
    if (!Send(kVendorProbeBlock, kDirectionIn, 128)) return false;
    const auto answer = DataInBuffer().first(128);
    return std::any_of(answer.begin(), answer.end(), [](std::uint8_t b) { return b != 0; });
}

}  // namespace korvalend
