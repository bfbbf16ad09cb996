#include "app/core/drive_source.h"

#include "app/core/demo_captures.h"
#include "device/sim/capture.h"
#include "device/sim/simulated_platform.h"
#include "device/system_platform.h"

namespace korvalend {

std::optional<std::string> DriveSourceOptionError(const std::optional<std::string>& demo,
                                                  const std::vector<std::string>& replayFiles) {
    if (demo && !DemoCaptures(*demo)) {
        std::string names;
        for (std::string_view n : DemoNames()) {
            names += (names.empty() ? "" : ", ") + std::string(n);
        }
        return "unknown demo '" + *demo + "' (there are: " + names + ")";
    }
    if (demo && !replayFiles.empty()) return "--demo and --replay cannot be used together";
    return std::nullopt;
}

DriveSourceResult OpenDriveSource(const std::optional<std::string>& demo,
                                  const std::vector<std::string>& replayFiles) {
    auto source = std::make_unique<DriveSource>();
    if (!demo && replayFiles.empty()) {
        source->clock = &SystemClock();
        source->platform = CreateSystemPlatform();
        return {std::move(source), {}};
    }
    source->virtualClock = std::make_unique<VirtualClock>();
    source->clock = source->virtualClock.get();
    auto platform = std::make_unique<SimulatedPlatform>(*source->virtualClock);
    if (demo) {
        std::optional<std::vector<DriveCapture>> captures = DemoCaptures(*demo);
        if (!captures) return {nullptr, "unknown demo '" + *demo + "'"};
        for (DriveCapture& capture : *captures) platform->AddDrive(std::move(capture));
    }
    for (const std::string& file : replayFiles) {
        CaptureParseResult parsed = LoadCaptureFile(file);
        if (!parsed.capture) return {nullptr, parsed.error};
        platform->AddDrive(std::move(*parsed.capture));
    }
    source->platform = std::move(platform);
    source->simulated = true;
    return {std::move(source), {}};
}

}  // namespace korvalend
