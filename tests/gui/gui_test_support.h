#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/core/drive_source.h"
#include "app/gui/prompts.h"
#include "device/sim/capture.h"
#include "device/sim/simulated_platform.h"

class QComboBox;
class QPlainTextEdit;
class QWidget;

namespace korvalend::guitest {

// Simulated drives in virtual time, as --replay would give them.
std::unique_ptr<DriveSource> SimulatedSource(std::vector<DriveCapture> captures);

// A demo drive's capture at a chosen address.
DriveCapture DemoDriveAt(const char* demo, std::int16_t host);
// A CD-ROM reader that writes nothing.
DriveCapture ReaderAt(std::int16_t host);

// Counts the commands that reach the drives, and makes each take `delay` of real time, so that
// a test can close a window while drive work is going on.
class SlowPlatform final : public DevicePlatform {
  public:
    SlowPlatform(std::unique_ptr<DriveSource> inner, std::chrono::milliseconds delay)
        : inner_(std::move(inner)), delay_(delay) {}

    std::vector<std::string> EnumerateOpticalDrives() override;
    AddressResult QueryAddress(const std::string& root) override;
    std::uint32_t QueryBusType(const std::string& root) override;
    OpenResult Open(const std::string& root) override;

    int CommandsSent() const { return commands_->load(); }
    std::shared_ptr<std::atomic<int>> Counter() const { return commands_; }

  private:
    std::unique_ptr<DriveSource> inner_;
    std::chrono::milliseconds delay_;
    std::shared_ptr<std::atomic<int>> commands_ = std::make_shared<std::atomic<int>>(0);
};

// A drive source over a SlowPlatform; `counter` lets the test watch it after the window took
// the source.
std::unique_ptr<DriveSource> SlowSource(std::vector<DriveCapture> captures,
                                        std::chrono::milliseconds delay,
                                        std::shared_ptr<std::atomic<int>>& counter);

// Answers the program's message boxes and open-file dialogs instead of a person, and keeps
// what the boxes said.
class PromptRecorder {
  public:
    PromptRecorder();
    ~PromptRecorder();
    PromptRecorder(const PromptRecorder&) = delete;
    PromptRecorder& operator=(const PromptRecorder&) = delete;

    // The next open-file dialog picks this file, or is cancelled (nothing).
    void AnswerNextOpenFile(const std::optional<QString>& answer) {
        answers_.push_back(Answer{answer.has_value(), answer.value_or(QString())});
    }

    std::vector<gui::Message> messages;
    QStringList filters;

  private:
    struct Answer {
        bool picked = false;
        QString path;
    };
    std::deque<Answer> answers_;
};

// A settings home of its own (XDG_CONFIG_HOME) for the lifetime of the object.
class SettingsHome {
  public:
    SettingsHome();
    ~SettingsHome();
    SettingsHome(const SettingsHome&) = delete;
    SettingsHome& operator=(const SettingsHome&) = delete;
    QString Path() const { return dir_.path(); }

  private:
    QTemporaryDir dir_;
    QByteArray previous_;
    bool hadPrevious_ = false;
};

// The lines of the report area.
QStringList ReportLines(QWidget& window);
QStringList SplitLines(const std::string& text);

// Runs a program and gives its standard output; exit code in `exitCode`.
std::string RunProgram(const QString& program, const QStringList& args, int& exitCode,
                       const QStringList& extraEnvironment = {});

}  // namespace korvalend::guitest
