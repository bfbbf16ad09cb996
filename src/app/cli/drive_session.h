#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/cli/cli_options.h"
#include "app/cli/trace_platform.h"
#include "app/core/drive_source.h"
#include "device/clock.h"
#include "device/sim/recording_platform.h"

namespace korvalend::cli {

// The drives a command talks to: the machine's own, or simulated ones replaying captures, with
// the recorder and the tracer stacked on top as the options ask.
struct DriveSession {
    std::unique_ptr<DriveSource> source;
    Clock* clock = nullptr;
    DevicePlatform* base = nullptr;
    std::unique_ptr<RecordingPlatform> recorder;
    std::unique_ptr<TracePlatform> tracer;
    DevicePlatform* top = nullptr;
    bool simulated = false;
};

struct SessionResult {
    std::unique_ptr<DriveSession> session;
    std::string error;  // a capture that cannot be read: file, line and what is wrong
};

SessionResult OpenDriveSession(const Options& options, bool record);

}  // namespace korvalend::cli
