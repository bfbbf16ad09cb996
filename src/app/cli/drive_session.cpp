#include "app/cli/drive_session.h"

#include <cstdio>

namespace korvalend::cli {

SessionResult OpenDriveSession(const Options& options, bool record) {
    DriveSourceResult opened = OpenDriveSource(options.demo, options.replayFiles);
    if (!opened.source) return {nullptr, opened.error};
    auto session = std::make_unique<DriveSession>();
    session->source = std::move(opened.source);
    session->clock = session->source->clock;
    session->base = session->source->platform.get();
    session->simulated = session->source->simulated;
    session->top = session->base;
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
