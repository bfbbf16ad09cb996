#include "gui_test_support.h"

#include <QPlainTextEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <QWidget>
#include <thread>

#include "app/core/demo_captures.h"
#include "device/sim/mmc_answers.h"
#include "support/sim_machine.h"

namespace korvalend::guitest {
namespace {

class SlowConnection final : public DriveConnection {
  public:
    SlowConnection(std::unique_ptr<DriveConnection> inner, std::chrono::milliseconds delay,
                   std::shared_ptr<std::atomic<int>> counter)
        : inner_(std::move(inner)), delay_(delay), counter_(std::move(counter)) {}

    TransportResult Execute(std::span<const std::uint8_t, kCommandBlockSize> command,
                            std::uint8_t direction, std::span<std::uint8_t> data,
                            std::uint32_t timeoutMilliseconds) override {
        counter_->fetch_add(1);
        std::this_thread::sleep_for(delay_);
        return inner_->Execute(command, direction, data, timeoutMilliseconds);
    }

  private:
    std::unique_ptr<DriveConnection> inner_;
    std::chrono::milliseconds delay_;
    std::shared_ptr<std::atomic<int>> counter_;
};

}  // namespace

std::unique_ptr<DriveSource> SimulatedSource(std::vector<DriveCapture> captures) {
    auto source = std::make_unique<DriveSource>();
    source->virtualClock = std::make_unique<VirtualClock>();
    source->clock = source->virtualClock.get();
    auto platform = std::make_unique<SimulatedPlatform>(*source->virtualClock);
    for (DriveCapture& capture : captures) platform->AddDrive(std::move(capture));
    source->platform = std::move(platform);
    source->simulated = true;
    return source;
}

DriveCapture DemoDriveAt(const char* demo, std::int16_t host) {
    DriveCapture capture = DemoCaptures(demo)->front();
    capture.root.clear();
    capture.address = DriveAddress{host, 0, 0, 0};
    return capture;
}

DriveCapture ReaderAt(std::int16_t host) {
    sim::DriveProfile reader;
    reader.vendor = "READCO";
    reader.product = "CD-ROM CR-52";
    reader.dvdRomRead = false;
    reader.cdrWrite = false;
    reader.cdrwWrite = false;
    reader.profiles = {0x0008};
    DriveCapture capture = test::WriterCapture(reader);
    capture.address = DriveAddress{host, 0, 0, 0};
    return capture;
}

std::vector<std::string> SlowPlatform::EnumerateOpticalDrives() {
    return inner_->platform->EnumerateOpticalDrives();
}

AddressResult SlowPlatform::QueryAddress(const std::string& root) {
    return inner_->platform->QueryAddress(root);
}

std::uint32_t SlowPlatform::QueryBusType(const std::string& root) {
    return inner_->platform->QueryBusType(root);
}

OpenResult SlowPlatform::Open(const std::string& root) {
    OpenResult opened = inner_->platform->Open(root);
    if (opened.connection) {
        opened.connection =
            std::make_unique<SlowConnection>(std::move(opened.connection), delay_, commands_);
    }
    return opened;
}

std::unique_ptr<DriveSource> SlowSource(std::vector<DriveCapture> captures,
                                        std::chrono::milliseconds delay,
                                        std::shared_ptr<std::atomic<int>>& counter) {
    std::unique_ptr<DriveSource> inner = SimulatedSource(std::move(captures));
    auto source = std::make_unique<DriveSource>();
    source->clock = inner->clock;
    auto slow = std::make_unique<SlowPlatform>(std::move(inner), delay);
    counter = slow->Counter();
    source->platform = std::move(slow);
    source->simulated = true;
    return source;
}

PromptRecorder::PromptRecorder() {
    gui::Prompts::SetHooks(
        gui::Prompts::Hooks{[this](const gui::Message& message) { messages.push_back(message); },
                            [this](const QString& filter) -> std::optional<QString> {
                                filters << filter;
                                if (answers_.empty()) return std::nullopt;
                                const Answer answer = answers_.front();
                                answers_.pop_front();
                                if (!answer.picked) return std::nullopt;
                                return answer.path;
                            }});
}

PromptRecorder::~PromptRecorder() {
    gui::Prompts::SetHooks({});
}

SettingsHome::SettingsHome() {
    hadPrevious_ = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    previous_ = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir_.path().toLocal8Bit());
}

SettingsHome::~SettingsHome() {
    if (hadPrevious_) {
        qputenv("XDG_CONFIG_HOME", previous_);
    } else {
        qunsetenv("XDG_CONFIG_HOME");
    }
}

QStringList ReportLines(QWidget& window) {
    auto* memo = window.findChild<QPlainTextEdit*>("memTranslator");
    if (!memo || memo->toPlainText().isEmpty()) return {};
    return memo->toPlainText().split('\n');
}

QStringList SplitLines(const std::string& text) {
    QStringList lines = QString::fromStdString(text).split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.pop_back();
    return lines;
}

std::string RunProgram(const QString& program, const QStringList& args, int& exitCode,
                       const QStringList& extraEnvironment) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& setting : extraEnvironment) {
        const qsizetype equals = setting.indexOf('=');
        environment.insert(setting.left(equals), setting.mid(equals + 1));
    }
    process.setProcessEnvironment(environment);
    process.start(program, args);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        exitCode = -1;
        return {};
    }
    exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return process.readAllStandardOutput().toStdString();
}

}  // namespace korvalend::guitest
