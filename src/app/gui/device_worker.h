#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "app/core/drive_source.h"
#include "app/core/media_check_app.h"
#include "app/core/stoppable_drives.h"
#include "builder/configuration_block.h"

namespace korvalend::gui {

// Does all drive work off the GUI thread: discovery, drive selection, the report and the
// user-defined media file. It owns the application logic (and so the device object, which is
// not thread-safe); only the worker's own thread touches it. Jobs are queued to that thread
// one at a time, and results come back as queued signals, report lines one by one.
class DeviceWorker final : public QObject {
    Q_OBJECT
  public:
    DeviceWorker(std::unique_ptr<DriveSource> source, ConfigurationBlockView block);
    ~DeviceWorker() override;

    // From any thread: ends the work on hand as soon as the command in flight has come back;
    // later jobs find no drives.
    void RequestStop();

    // Jobs: run on the worker's thread.
    void Start();
    void SelectLine(int line);
    void Query();
    void ApplyUserFileChoice(const std::optional<QString>& picked);
    // Destroys the device object and ends the thread's event loop.
    void Shutdown();

  signals:
    // status is a StartupStatus; lines are the drive list's lines.
    void Started(int status, const QStringList& lines, const QString& userFileError);
    void ReportCleared();
    void ReportLine(const QString& line);
    void QueryFinished();
    void UserFileApplied(const QString& message, const QString& userFileError);

  private:
    std::unique_ptr<DriveSource> source_;
    std::unique_ptr<StoppableDrives> drives_;
    ConfigurationBlockView block_;
    std::unique_ptr<MediaCheckApp> app_;
};

}  // namespace korvalend::gui
