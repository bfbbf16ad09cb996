#pragma once

#include <cstdint>
#include <span>

#include "device/transport.h"

namespace korvalend {

// What an SG_IO request came back with, as plain values so that the judgement below can be
// checked without a drive.
struct SgOutcome {
    int errorNumber = 0;             // errno of the failed ioctl; 0 when the ioctl returned success
    std::uint8_t status = 0;         // SCSI status byte (GOOD 0x00, CHECK CONDITION 0x02, ...)
    std::uint16_t hostStatus = 0;    // DID_* code of the host adapter; 0 is DID_OK
    std::uint16_t driverStatus = 0;  // DRIVER_* code; 0x08 only flags that sense was taken
    std::int32_t resid = 0;          // bytes asked for minus bytes moved, as the kernel says
    std::span<const std::uint8_t> sense;  // the sense bytes the kernel wrote (sb_len_wr)
    std::uint32_t requested = 0;          // length of the data phase that was asked for
};

// The command completed only when the ioctl succeeded, the SCSI status is GOOD, neither the
// host adapter nor the driver reports an error, and any sense data has sense key 0. Sense is
// handed on in fixed format whatever the outcome; transferred is requested − resid held to
// 0..requested for a completed command and 0 otherwise.
TransportResult InterpretSgOutcome(const SgOutcome& outcome);

}  // namespace korvalend
