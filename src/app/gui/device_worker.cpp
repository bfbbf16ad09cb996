#include "app/gui/device_worker.h"

#include <QThread>
#include <exception>

#include "app/gui/qt_text.h"

namespace korvalend::gui {
namespace {

// Thrown out of the report when the window is closing; the report ends silently.
struct ReportStopped {};

// Hands each report line to the GUI thread as it is made.
class QueuedReportSink final : public ReportSink {
  public:
    QueuedReportSink(DeviceWorker& worker, const StoppableDrives& drives)
        : worker_(&worker), drives_(&drives) {}

    void Clear() override {
        if (drives_->Stopped()) throw ReportStopped{};
        emit worker_->ReportCleared();
    }
    void AddLine(const std::string& line) override {
        if (drives_->Stopped()) throw ReportStopped{};
        emit worker_->ReportLine(ToQString(line));
    }

  private:
    DeviceWorker* worker_;
    const StoppableDrives* drives_;
};

QString ErrorText(const UserMediaLoad& load) {
    return load.conversionError ? ToQString(*load.conversionError) : QString();
}

}  // namespace

DeviceWorker::DeviceWorker(std::unique_ptr<DriveSource> source, ConfigurationBlockView block)
    : source_(std::move(source)), block_(block) {
    if (source_) drives_ = std::make_unique<StoppableDrives>(*source_->platform, *source_->clock);
}

DeviceWorker::~DeviceWorker() = default;

void DeviceWorker::RequestStop() {
    if (drives_) drives_->Stop();
}

void DeviceWorker::Start() {
    StartupStatus status = StartupStatus::NoDevice;
    QStringList lines;
    QString userFileError;
    if (drives_) {
        app_ = std::make_unique<MediaCheckApp>(*drives_, drives_->GetClock(), block_);
        status = app_->Start();
        for (const std::string& line : app_->Drives().lines) lines << ToQString(line);
        userFileError = ErrorText(app_->LoadUserMediaFile());
    }
    emit Started(static_cast<int>(status), lines, userFileError);
}

void DeviceWorker::SelectLine(int line) {
    if (app_) app_->SelectLine(line);
}

void DeviceWorker::Query() {
    if (app_ && drives_) {
        QueuedReportSink sink(*this, *drives_);
        try {
            app_->Query(sink);
        } catch (const ReportStopped&) {
            // The window is closing.
        } catch (const std::exception&) {
            // Whatever goes wrong while the report is made ends it; its lines so far stay.
        }
    }
    emit QueryFinished();
}

void DeviceWorker::ApplyUserFileChoice(const std::optional<QString>& picked) {
    std::optional<std::string> path;
    if (picked) path = ToBytes(*picked);
    UserMediaLists scratch;
    UserMediaLists& lists = app_ ? app_->UserLists() : scratch;
    const UserFileChoiceOutcome outcome = korvalend::ApplyUserFileChoice(path, lists);
    emit UserFileApplied(ToQString(outcome.message), ErrorText(outcome.load));
}

void DeviceWorker::Shutdown() {
    // The drives and their platform stay until the worker itself goes, so that a late
    // RequestStop() from another thread still finds them.
    app_.reset();
    QThread::currentThread()->quit();
}

}  // namespace korvalend::gui
