#include "device/linux/sg_outcome.h"

#include <algorithm>

#include "device/sense_data.h"

namespace korvalend {
namespace {

// Bits 0 and 7 of the status byte are reserved or vendor-specific; the status code proper
// sits in bits 1 to 5.
constexpr std::uint8_t kStatusCodeMask = 0x7E;
constexpr std::uint8_t kStatusGood = 0x00;
// The low three bits of the driver status carry DRIVER_BUSY ... DRIVER_HARD; DRIVER_SENSE
// (0x08) only says that sense data was fetched, and the high nibble holds mere suggestions.
constexpr std::uint16_t kDriverErrorMask = 0x07;

std::uint32_t TransferredBytes(std::uint32_t requested, std::int32_t resid) {
    const std::int64_t moved = static_cast<std::int64_t>(requested) - resid;
    return static_cast<std::uint32_t>(std::clamp<std::int64_t>(moved, 0, requested));
}

}  // namespace

TransportResult InterpretSgOutcome(const SgOutcome& outcome) {
    TransportResult result;
    if (outcome.errorNumber != 0) return result;  // the request never reached the drive

    result.sense = NormalizeSense(outcome.sense);
    const bool statusGood = (outcome.status & kStatusCodeMask) == kStatusGood;
    const bool hostGood = outcome.hostStatus == 0;
    const bool driverGood = (outcome.driverStatus & kDriverErrorMask) == 0;
    const bool senseClean = TripleOf(result.sense).senseKey == 0;
    result.completed = statusGood && hostGood && driverGood && senseClean;
    if (result.completed) result.transferred = TransferredBytes(outcome.requested, outcome.resid);
    return result;
}

}  // namespace korvalend
