#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/core/drive_list.h"
#include "app/core/media_report.h"
#include "builder/configuration_block.h"
#include "device/atapi_device.h"
#include "mediadb/user_media_file.h"

namespace korvalend {

enum class StartupStatus {
    Ready,          // drives found and at least one listed; line 0 is selected
    NoDevice,       // "Unable to create Device Object !"
    NoDrive,        // "No drive detected !"
    NoListedDrive,  // drives exist, none of them can write
};

inline constexpr const char* kNoDeviceMessage = "Unable to create Device Object !";
inline constexpr const char* kNoDriveMessage = "No drive detected !";
inline constexpr const char* kNoWriterMessage = "No CD or DVD writer found.";

// What the main window does, without any widgets: it owns the device object, the drive list
// with its drive map and the user's media records, and produces the report. The desktop
// program and the command-line tool both drive it.
class MediaCheckApp {
  public:
    MediaCheckApp(DevicePlatform& platform, Clock& clock, ConfigurationBlockView block,
                  bool listAllDrives = false);

    // Creates the device object (discovery), fills the drive list and selects its first line.
    StartupStatus Start();
    // Empties the user lists and loads them from the file the settings name.
    UserMediaLoad LoadUserMediaFile();

    const DriveList& Drives() const { return drives_; }
    // Makes the drive of a list line current; false when the line is unused or the drive
    // cannot be opened (then no drive is current).
    bool SelectLine(int line);
    int SelectedLine() const { return selectedLine_; }
    const DriveRecord* SelectedRecord() const;

    // The media report of the selected drive.
    ReportFacts Query(ReportSink& sink);

    std::string Caption() const;
    std::string About() const;
    const ConfigurationBlockView& Block() const { return block_; }
    AtapiDevice* Device() { return device_.get(); }
    UserMediaLists& UserLists() { return user_; }

  private:
    DevicePlatform* platform_;
    Clock* clock_;
    ConfigurationBlockView block_;
    bool listAllDrives_;
    std::unique_ptr<AtapiDevice> device_;
    DriveList drives_;
    int selectedLine_ = -1;
    UserMediaLists user_;
};

}  // namespace korvalend
