#include "app/cli/drive_session.h"

#include <cstdio>

#include "app/core/demo_captures.h"
#include "device/system_platform.h"

namespace korvalend::cli {

SessionResult OpenDriveSession(const Options& options, bool record) {
    auto session = std::make_unique<DriveSession>();
    if (options.demo || !options.replayFiles.empty()) {
        session->virtualClock = std::make_unique<VirtualClock>();
        session->clock = session->virtualClock.get();
        auto platform = std::make_unique<SimulatedPlatform>(*session->virtualClock);
        if (options.demo) {
            std::optional<std::vector<DriveCapture>> demo = DemoCaptures(*options.demo);
            for (DriveCapture& capture : *demo) platform->AddDrive(std::move(capture));
        }
        for (const std::string& file : options.replayFiles) {
            CaptureParseResult parsed = LoadCaptureFile(file);
            if (!parsed.capture) return {nullptr, parsed.error};
            platform->AddDrive(std::move(*parsed.capture));
        }
        session->base = std::move(platform);
        session->simulated = true;
    } else {
        session->clock = &SystemClock();
        session->base = CreateSystemPlatform();
    }
    session->top = session->base.get();
    if (record) {
        session->recorder = std::make_unique<RecordingPlatform>(*session->top, *session->clock);
        session->top = session->recorder.get();
    }
    if (options.trace) {
        session->tracer = std::make_unique<TracePlatform>(*session->top, *session->clock, stderr);
        session->top = session->tracer.get();
    }
    return {std::move(session), {}};
}

}  // namespace korvalend::cli
