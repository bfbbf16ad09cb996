// korvalend: the media check as a desktop program.
#include <QApplication>
#include <QStyleFactory>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/core/drive_source.h"
#include "app/gui/frm_main.h"
#include "app/gui/gui_options.h"
#include "app/gui/prompts.h"
#include "app/gui/query_button_pictures.h"
#include "app/gui/screenshots.h"
#include "app/gui/skin.h"
#include "builder/configuration_block.h"

namespace {

int Run(int argc, char** argv) {
    using namespace korvalend;
    using namespace korvalend::gui;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvalend"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    application.setStyleSheet(SkinStyleSheet());
    application.setWindowIcon(ProgramIcon());

    std::vector<std::string> args;
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) args.push_back(arguments[i].toStdString());
    const GuiOptionsResult parsed = ParseGuiOptions(args);
    if (!parsed.options) {
        std::fprintf(stderr, "korvalend: %s\n%s", parsed.error.c_str(), GuiUsageText().c_str());
        return 2;
    }
    const GuiOptions& options = *parsed.options;

    const ConfigurationBlockView block = RunningConfigurationBlock();
    std::unique_ptr<DriveSource> drives;
    if (!block.IsBuilderMode()) {
        DriveSourceResult opened = OpenDriveSource(options.demo, options.replayFiles);
        if (!opened.source) {
            std::fprintf(stderr, "korvalend: %s\n", opened.error.c_str());
            return 3;
        }
        drives = std::move(opened.source);
    }

    TfrmMain window(block, std::move(drives));
    QObject::connect(
        &window, &TfrmMain::TerminateRequested, &application, [] { QCoreApplication::exit(0); },
        Qt::QueuedConnection);
    if (options.screenshotDir) {
        // Nobody is there to answer a box: its text goes to standard error instead.
        Prompts::SetHooks(
            Prompts::Hooks{[](const Message& message) {
                               std::fprintf(stderr, "korvalend: %s: %s\n",
                                            qPrintable(message.caption), qPrintable(message.text));
                           },
                           [](const QString&) -> std::optional<QString> { return std::nullopt; }});
        const QString folder = QString::fromStdString(*options.screenshotDir);
        if (block.IsBuilderMode()) {
            TakeBuilderScreenshotWhenShown(folder);
        } else {
            TakeScreenshots(window, folder);
        }
    }
    window.FormCreate();
    if (window.Terminating()) return 0;  // builder mode: the builder has closed
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korvalend: %s\n", e.what());
    }
    return 1;
}
