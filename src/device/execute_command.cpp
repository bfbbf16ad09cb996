#include <algorithm>

#include "device/atapi_device.h"
#include "device/vendor_commands.h"

namespace korvalend {
bool AtapiDevice::IsPermittedCommand(std::span<const std::uint8_t, kCommandBlockSize> block) {
    switch (block[0]) {
        case 0x00:  // TEST UNIT READY
        case 0x12:  // INQUIRY
        case 0x23:  // READ FORMAT CAPACITIES
        case 0x43:  // READ TOC/PMA/ATIP
        case 0x46:  // GET CONFIGURATION
        case 0x51:  // READ DISC INFORMATION
        case 0x5A:  // MODE SENSE(10)
        case 0xAC:  // GET PERFORMANCE
        case 0xAD:  // READ DVD STRUCTURE
        case 0xB6:  // SET STREAMING
        case 0xBB:  // SET CD SPEED
            return true;
        case 0xDF:  // only as the two constant blocks the program knows
            return std::equal(block.begin(), block.end(), kVendorReadMediaIdBlock.begin()) ||
                   std::equal(block.begin(), block.end(), kVendorProbeBlock.begin());
        default:
            return false;
    }
}

bool AtapiDevice::ExecuteCommand(std::span<const std::uint8_t, kCommandBlockSize> commandBlock,
                                 std::uint8_t direction, std::uint32_t transferLength) {
    if (direction == kDirectionIn && dataIn_) {
        std::fill_n(dataIn_.get(), dataInLength_, std::uint8_t{0});
    }
    // Refused before sending: nothing reaches the drive and LastCommand keeps the outcome of
    // the previous command. Only the read and speed commands of the command set ever go out,
    // so no fault above can write, blank or format a disc.
    if (!IsPermittedCommand(commandBlock)) return false;
    if (direction > kDirectionNone) return false;
    if (direction == kDirectionNone && transferLength != 0) return false;
    if (transferLength > kTransferBufferSize) return false;
    if (!connection_) return false;

    std::span<std::uint8_t> data;
    if (direction == kDirectionIn && transferLength > 0) {
        data = std::span<std::uint8_t>(dataIn_.get(), dataIn_ ? transferLength : 0);
    } else if (direction == kDirectionOut && transferLength > 0) {
        data = std::span<std::uint8_t>(dataOut_.get(), dataOut_ ? transferLength : 0);
    }
    const bool bufferMissing = transferLength > 0 && direction != kDirectionNone && data.empty();

    TransportResult result;
    commandTimer_.Start(true);
    if (!bufferMissing) {
        result = connection_->Execute(commandBlock, direction, data, commandTimeout_);
    }
    commandTimer_.Stop();

    lastCommand_.elapsedSeconds = commandTimer_.TotalSeconds();
    lastCommand_.timedOut = lastCommand_.elapsedSeconds > commandTimeout_ / 1000;
    lastCommand_.transferred = std::min(result.transferred, transferLength);
    lastCommand_.senseTriple = TripleOf(result.sense);

    const bool success =
        result.completed && lastCommand_.senseTriple.senseKey == 0 && !lastCommand_.timedOut;
    if (!success) lastCommand_.transferred = 0;

    return success;
}

}  // namespace korvalend
