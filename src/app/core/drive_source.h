#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/clock.h"
#include "device/transport.h"

namespace korvalend {

// The drives a front end talks to: the machine's own, or simulated drives that replay captures
// (a built-in demo or capture files) in virtual time.
struct DriveSource {
    std::unique_ptr<VirtualClock> virtualClock;  // only for simulated drives
    Clock* clock = nullptr;
    std::unique_ptr<DevicePlatform> platform;
    bool simulated = false;
};

struct DriveSourceResult {
    std::unique_ptr<DriveSource> source;
    std::string error;  // a capture that cannot be read: file, line and what is wrong
};

// With a demo name or capture files, simulated drives (the demo's first, then one per file, in
// order); with neither, the machine's own drives. An unknown demo name is an error.
// Why a front end's --demo/--replay options cannot be used together or at all; nothing when
// they can.
std::optional<std::string> DriveSourceOptionError(const std::optional<std::string>& demo,
                                                  const std::vector<std::string>& replayFiles);

DriveSourceResult OpenDriveSource(const std::optional<std::string>& demo,
                                  const std::vector<std::string>& replayFiles);

}  // namespace korvalend
