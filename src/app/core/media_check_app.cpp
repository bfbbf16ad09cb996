#include "app/core/media_check_app.h"

#include <new>

#include "app/core/about_text.h"

namespace korvalend {

MediaCheckApp::MediaCheckApp(DevicePlatform& platform, Clock& clock, ConfigurationBlockView block,
                             bool listAllDrives)
    : platform_(&platform), clock_(&clock), block_(block), listAllDrives_(listAllDrives) {
    drives_.driveMap.fill(-1);
}

StartupStatus MediaCheckApp::Start() {
    try {
        device_ = std::make_unique<AtapiDevice>(*platform_, *clock_);
    } catch (const std::bad_alloc&) {
        return StartupStatus::NoDevice;
    }
    drives_ = BuildDriveList(*device_, listAllDrives_);
    if (device_->DriveCount() == 0) return StartupStatus::NoDrive;
    if (drives_.lines.empty()) return StartupStatus::NoListedDrive;
    SelectLine(0);
    return StartupStatus::Ready;
}

UserMediaLoad MediaCheckApp::LoadUserMediaFile() {
    return korvalend::LoadUserMediaFile(user_);
}

bool MediaCheckApp::SelectLine(int line) {
    if (!device_ || line < 0 || line >= static_cast<int>(drives_.lines.size())) return false;
    const int index = drives_.driveMap[static_cast<std::size_t>(line)];
    if (index < 0) return false;  // never select through an unused entry
    selectedLine_ = line;
    return device_->SelectDrive(static_cast<std::int16_t>(index));
}

const DriveRecord* MediaCheckApp::SelectedRecord() const {
    if (!device_ || selectedLine_ < 0) return nullptr;
    const int index = drives_.driveMap[static_cast<std::size_t>(selectedLine_)];
    return index < 0 ? nullptr : device_->GetDriveRecord(static_cast<unsigned>(index));
}

ReportFacts MediaCheckApp::Query(ReportSink& sink) {
    if (!device_) {
        sink.Clear();
        return {};
    }
    return RunMediaReport(*device_, SelectedRecord(), &user_, block_, sink);
}

std::string MediaCheckApp::Caption() const {
    return WindowCaption(block_);
}

std::string MediaCheckApp::About() const {
    return AboutText(block_);
}

}  // namespace korvalend
