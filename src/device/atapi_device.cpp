#include "device/atapi_device.h"

#include <algorithm>
#include <new>

namespace korvalend {
namespace {

std::unique_ptr<std::uint8_t[]> AllocateBuffer(std::uint32_t& length) {
    // A failed allocation leaves the buffer absent; commands that need it then fail.
    std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[kTransferBufferSize]);
    length = buffer ? kTransferBufferSize : 0;
    if (buffer) std::fill_n(buffer.get(), kTransferBufferSize, std::uint8_t{0});
    return buffer;
}

}  // namespace

AtapiDevice::AtapiDevice(DevicePlatform& platform, Clock& clock, int applicationTag)
    : platform_(&platform),
      clock_(&clock),
      applicationTag_(applicationTag),
      waitTimer_(clock),
      commandTimer_(clock) {
    // No manager library exists on this platform: every drive is reached through its own
    // device file, so the probe is simply false and its messages are never shown.
    aspiPresent_ = false;
    useAspi_ = aspiPresent_;
    dataIn_ = AllocateBuffer(dataInLength_);
    dataOut_ = AllocateBuffer(dataOutLength_);
    DiscoverDrives();
}

AtapiDevice::~AtapiDevice() {
    dataIn_.reset();
    dataInLength_ = 0;
    dataOut_.reset();
    dataOutLength_ = 0;
    CloseDrive();
}

const DriveRecord* AtapiDevice::GetDriveRecord(unsigned index) const {
    if (index >= driveCount_ || index >= kMaxDrives || !drives_[index].valid) return nullptr;
    return &drives_[index];
}

void AtapiDevice::CloseDrive() {
    connection_.reset();
    adapter_ = -1;
    target_ = -1;
    lun_ = -1;
    pathId_ = -1;
}

std::span<const std::uint8_t> AtapiDevice::DataInBuffer() const {
    return {dataIn_.get(), dataInLength_};
}

std::span<std::uint8_t> AtapiDevice::DataOutBuffer() {
    return {dataOut_.get(), dataOutLength_};
}

// The big-endian helpers read zero (and write nothing) outside the buffer rather than
// trusting every caller's offset.
std::uint32_t AtapiDevice::ReadBE32(std::uint32_t offset) const {
    if (!dataIn_ || offset > dataInLength_ || dataInLength_ - offset < 4) return 0;
    const std::uint8_t* p = dataIn_.get() + offset;
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           std::uint32_t{p[3]};
}

std::uint16_t AtapiDevice::ReadBE16(std::uint32_t offset) const {
    if (!dataIn_ || offset > dataInLength_ || dataInLength_ - offset < 2) return 0;
    const std::uint8_t* p = dataIn_.get() + offset;
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

void AtapiDevice::WriteBE32(std::uint32_t offset, std::uint32_t value) {
    if (!dataOut_ || offset > dataOutLength_ || dataOutLength_ - offset < 4) return;
    std::uint8_t* p = dataOut_.get() + offset;
    p[0] = static_cast<std::uint8_t>(value >> 24);
    p[1] = static_cast<std::uint8_t>(value >> 16);
    p[2] = static_cast<std::uint8_t>(value >> 8);
    p[3] = static_cast<std::uint8_t>(value);
}

}  // namespace korvalend
