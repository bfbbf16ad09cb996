// The main window on simulated machines: start-up, drive list, report, user-defined media file,
// window size, closing while drives are busy, builder mode.

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <array>
#include <memory>

#include "app/core/about_text.h"
#include "app/core/demo_captures.h"
#include "app/gui/frm_build_kv.h"
#include "app/gui/frm_korvalend_msg_box.h"
#include "app/gui/frm_main.h"
#include "app/gui/image_button.h"
#include "app/gui/skin.h"
#include "builder/configuration_block.h"
#include "device/sim/capture.h"
#include "gui_test_support.h"
#include "sysinfo/os_info.h"
#include "support/example_reports.h"

using namespace korvalend;
using namespace korvalend::gui;
using namespace korvalend::guitest;

namespace {

const QStringList kCdRReport = [] {
    QStringList lines;
    for (const std::string& line : korvalend::test::kCdRExampleLines) {
        lines << QString::fromStdString(line);
    }
    return lines;
}();

// A main window on the given drives, started; null when start-up did not finish.
std::unique_ptr<TfrmMain> StartWindow(std::unique_ptr<DriveSource> source,
                                      ConfigurationBlockView block = RunningConfigurationBlock()) {
    auto window = std::make_unique<TfrmMain>(block, std::move(source));
    QSignalSpy finished(window.get(), &TfrmMain::StartupFinished);
    window->FormCreate();
    if (!window->StartupDone() && !finished.wait(10000)) return nullptr;
    return window;
}

QComboBox* Drives(QWidget& w) {
    return w.findChild<QComboBox*>("cboDrives");
}
QWidget* QueryButton(QWidget& w) {
    return w.findChild<QWidget*>("cmdRefresh");
}

bool Query(TfrmMain& window) {
    QSignalSpy finished(&window, &TfrmMain::QueryFinished);
    QTest::mouseClick(QueryButton(window), Qt::LeftButton);
    return finished.count() > 0 || finished.wait(10000);
}

void Choose(TfrmMain& window, int line) {
    QComboBox* combo = Drives(window);
    combo->setCurrentIndex(line);
    emit combo->activated(line);
}

// The report lines korvalend-cli prints for the same capture files.
QStringList CliReport(const QStringList& captureFiles) {
    QStringList args{"report", "--replay"};
    args << captureFiles;
    int exitCode = 0;
    const std::string out = RunProgram(KORVALEND_CLI_PATH, args, exitCode);
    return exitCode == 0 ? SplitLines(out) : QStringList{"korvalend-cli failed"};
}

QString WriteCapture(const QTemporaryDir& dir, const char* name, const DriveCapture& capture) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(FormatCapture(capture).c_str());
    return path;
}

std::optional<std::uint32_t> StoredDword(const char* name) {
    std::uint32_t value = 0;
    if (!OSInfo::ReadRegDword("Korvalend", name, value)) return std::nullopt;
    return value;
}

}  // namespace

class MainWindowTest final : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        settings_ = std::make_unique<SettingsHome>();
        prompts_ = std::make_unique<PromptRecorder>();
    }
    void cleanup() {
        prompts_.reset();
        settings_.reset();
    }

    void captionStepsAndComponents() {
        auto window = StartWindow(SimulatedSource({DemoDriveAt("cd-r", 0)}));
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QString("Korvalend Media Check v3.1.4"));
        QCOMPARE(window->findChild<SkinFrame*>("suiForm1")->Caption(), window->windowTitle());
        QCOMPARE(window->findChild<QLabel*>("Label1")->text(), QString("Step1 :"));
        QCOMPARE(window->findChild<QLabel*>("Label3")->text(), QString("Step2 :"));
        QCOMPARE(window->findChild<QLabel*>("Label5")->text(), QString("Step3 :"));
        const auto block = RunningConfigurationBlock();
        QCOMPARE(window->findChild<QLabel*>("lblStep1")->text(),
                 QString::fromStdString(std::string(block.Text(block_field::kStep1))));
        QCOMPARE(window->findChild<QLabel*>("lblCopyright")->text(),
                 QString::fromStdString(std::string(block.Text(block_field::kCopyright))));
        QCOMPARE(window->findChild<QPushButton*>("cmdShowKV")->text(), QString("Korvalend"));
        auto* userFile = window->findChild<QPushButton*>("cmdAddUserFile");
        QVERIFY(userFile->isVisible());
        QCOMPARE(userFile->size(), QSize(13, 13));
        QCOMPARE(userFile->toolTip(),
                 QString("You can click this button to add/remove a user-defined media  database"));
        QCOMPARE(window->size(), QSize(kDesignWidth, kDesignHeight));
        QCOMPARE(window->minimumWidth(), kMinimumWidth);
        QVERIFY(QFontInfo(Drives(*window)->font()).fixedPitch());
        QVERIFY(
            QFontInfo(window->findChild<QPlainTextEdit*>("memTranslator")->font()).fixedPitch());
        QVERIFY(window->findChild<QPlainTextEdit*>("memTranslator")->isReadOnly());
        QVERIFY(window->isVisible());
        QVERIFY(prompts_->messages.empty());
    }

    void noDriveEndsWithItsMessage() {
        auto window = std::make_unique<TfrmMain>(RunningConfigurationBlock(), SimulatedSource({}));
        QSignalSpy terminate(window.get(), &TfrmMain::TerminateRequested);
        window->FormCreate();
        QVERIFY(terminate.wait(10000));
        QVERIFY(window->Terminating());
        QVERIFY(!window->isVisible());
        QCOMPARE(prompts_->messages.size(), std::size_t{1});
        QCOMPARE(prompts_->messages[0].caption, QString("Error ..."));
        QCOMPARE(prompts_->messages[0].text, QString("No drive detected !"));
        QVERIFY(prompts_->messages[0].icon == MessageIcon::Stop);
    }

    void readerAndWriterListOnlyTheWriter() {
        QTemporaryDir dir;
        const DriveCapture reader = ReaderAt(0);
        const DriveCapture writer = DemoDriveAt("cd-r", 1);
        auto window = StartWindow(SimulatedSource({writer, reader}));
        QVERIFY(window);
        QComboBox* combo = Drives(*window);
        QCOMPARE(combo->count(), 1);
        QCOMPARE(combo->currentIndex(), 0);
        QVERIFY(combo->itemText(0).startsWith(" 1-0-0-0 "));
        QVERIFY(combo->itemText(0).contains("VARNOLD DVD+RW DRU-510A"));
        QVERIFY(combo->isEnabled());
        QVERIFY(ReportLines(*window).isEmpty());

        // Line 0's drive-map entry is the writer (drive 1): the report is the writer's.
        QVERIFY(Query(*window));
        QCOMPARE(ReportLines(*window), kCdRReport);
        const QStringList cli = CliReport(
            {WriteCapture(dir, "writer.cap", writer), WriteCapture(dir, "reader.cap", reader)});
        QCOMPARE(ReportLines(*window), cli);
    }

    void addressRefusedDriveIsListedWithAnInventedAddress() {
        DriveCapture refused = DemoDriveAt("cd-r", 0);
        refused.addressStatus = AddressStatus::Refused;
        auto window = StartWindow(SimulatedSource({refused}));
        QVERIFY(window);
        QCOMPARE(Drives(*window)->count(), 1);
        QVERIFY(Drives(*window)->itemText(0).startsWith(" 2-0-0-0 "));
        QVERIFY(Query(*window));
        QCOMPARE(ReportLines(*window), kCdRReport);
    }

    void onlyReadersSayNoWriterAndOfferNothing() {
        auto window = StartWindow(SimulatedSource({ReaderAt(0)}));
        QVERIFY(window);
        QVERIFY(!window->Terminating());
        QComboBox* combo = Drives(*window);
        QCOMPARE(combo->count(), 0);
        QCOMPARE(combo->currentIndex(), -1);
        QVERIFY(!combo->isEnabled());
        QCOMPARE(combo->placeholderText(), QString("No CD or DVD writer found."));
        QCOMPARE(ReportLines(*window), QStringList{"No CD or DVD writer found."});
        QVERIFY(!QueryButton(*window)->isEnabled());
        QTest::mouseClick(QueryButton(*window), Qt::LeftButton);
        QVERIFY(!window->QueryRunning());
        QVERIFY(prompts_->messages.empty());
    }

    void reportLinesArriveInOrderWithPleaseWaitFirst() {
        std::shared_ptr<std::atomic<int>> counter;
        auto window = StartWindow(
            SlowSource({DemoDriveAt("cd-r", 0)}, std::chrono::milliseconds(2), counter));
        QVERIFY(window);
        auto* memo = window->findChild<QPlainTextEdit*>("memTranslator");
        QStringList seen;
        connect(memo, &QPlainTextEdit::textChanged, this,
                [memo, &seen] { seen << memo->toPlainText(); });
        QSignalSpy finished(window.get(), &TfrmMain::QueryFinished);
        QTest::mouseClick(QueryButton(*window), Qt::LeftButton);
        // While the query runs the drive list and the query button are disabled.
        QVERIFY(window->QueryRunning());
        QVERIFY(!Drives(*window)->isEnabled());
        QVERIFY(!QueryButton(*window)->isEnabled());
        QVERIFY(finished.wait(10000));
        QVERIFY(Drives(*window)->isEnabled());
        QVERIFY(QueryButton(*window)->isEnabled());

        seen.removeAll(QString());
        QVERIFY(!seen.isEmpty());
        QCOMPARE(seen.front(), QString("Please wait ..."));
        seen.pop_front();
        // Then one line more at each step, up to the whole report.
        QCOMPARE(seen.size(), kCdRReport.size());
        for (qsizetype i = 0; i < seen.size(); ++i) {
            QCOMPARE(seen[i], kCdRReport.mid(0, i + 1).join('\n'));
        }
    }

    void choosingAnotherDriveClearsTheReport() {
        auto window =
            StartWindow(SimulatedSource({DemoDriveAt("cd-r", 0), DemoDriveAt("dvd+r", 1)}));
        QVERIFY(window);
        QCOMPARE(Drives(*window)->count(), 2);
        QVERIFY(Query(*window));
        QCOMPARE(ReportLines(*window), kCdRReport);
        Choose(*window, 1);
        QVERIFY(ReportLines(*window).isEmpty());
        QVERIFY(Query(*window));
        QCOMPARE(ReportLines(*window).value(1),
                 QString("         Disc Type = DVD+R                "));
        QCOMPARE(ReportLines(*window).value(4),
                 QString("Manufacturer Maybe = Ricoh Company Limited"));
        Choose(*window, 0);
        QVERIFY(ReportLines(*window).isEmpty());
        QVERIFY(Query(*window));
        QCOMPARE(ReportLines(*window), kCdRReport);
    }

    void aboutButtonShowsTheAboutTextModally() {
        auto window = StartWindow(SimulatedSource({DemoDriveAt("cd-r", 0)}));
        QVERIFY(window);
        QString shown;
        bool wasModal = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<TfrmKorvalendMsgBox*>(QApplication::activeModalWidget());
            if (!dialog) return;
            wasModal = true;
            shown = dialog->Text();
            QTest::mouseClick(dialog->findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
        });
        QTest::mouseClick(window->findChild<QPushButton*>("cmdShowKV"), Qt::LeftButton);
        QVERIFY(wasModal);
        QCOMPARE(shown, QString::fromStdString(AboutText(RunningConfigurationBlock())));
        QVERIFY(shown.startsWith("Release Date : 2003/09/28\n     Version : 3.1.4\n"));
    }

    void userFileButtonAddsReloadsAndRemoves() {
        QTemporaryDir dir;
        const QString path = dir.filePath("media.txt");
        auto writeFile = [&](const QByteArray& maker) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write("[CD]\r\n972666_795974=" + maker + "\r\n");
        };
        writeFile("My Own Maker");
        auto window = StartWindow(SimulatedSource({DemoDriveAt("cd-r", 0)}));
        QVERIFY(window);
        auto* button = window->findChild<QPushButton*>("cmdAddUserFile");
        auto click = [&] {
            QSignalSpy done(window.get(), &TfrmMain::UserFileDone);
            QTest::mouseClick(button, Qt::LeftButton);
            return done.count() > 0 || done.wait(10000);
        };

        prompts_->AnswerNextOpenFile(path);
        QVERIFY(click());
        QCOMPARE(prompts_->filters.value(0), QString("Any Files (*)"));
        QCOMPARE(prompts_->messages.size(), std::size_t{1});
        QCOMPARE(prompts_->messages[0].caption, QString("Information"));
        QCOMPARE(prompts_->messages[0].text, QString("User-defined file added !"));
        QVERIFY(prompts_->messages[0].icon == MessageIcon::Information);
        QVERIFY(Query(*window));
        QCOMPARE(ReportLines(*window).value(6), QString("Manufacturer Maybe = My Own Maker"));

        // Picking the file again reloads it; a Windows-1252 text shows its accents.
        writeFile("Soci\xE9t\xE9 G\xE9n\xE9rale du Disque");
        prompts_->AnswerNextOpenFile(path);
        QVERIFY(click());
        QVERIFY(Query(*window));
        QCOMPARE(ReportLines(*window).value(6),
                 QString::fromUtf8("Manufacturer Maybe = Soci\u00e9t\u00e9 G\u00e9n\u00e9rale du "
                                   "Disque"));

        // Cancelling the dialog removes it.
        prompts_->AnswerNextOpenFile(std::nullopt);
        QVERIFY(click());
        QCOMPARE(prompts_->messages.back().caption, QString("Information"));
        QCOMPARE(prompts_->messages.back().text, QString("User-defined file removed !"));
        QVERIFY(Query(*window));
        QCOMPARE(ReportLines(*window), kCdRReport);
        char stored[256] = "not read";
        QVERIFY(OSInfo::ReadRegString("Korvalend", "UserDefinedFule", stored));
        QCOMPARE(QString(stored), QString());
    }

    void userFileChosenEarlierIsLoadedAtStartUp() {
        QTemporaryDir dir;
        const QString path = dir.filePath("media.txt");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            "[CD]\n972666_795974=Remembered Maker\n[DVD]\nZZ43432030303300000000AB=Bad Pair\n");
        file.close();
        QVERIFY(OSInfo::WriteRegString("Korvalend", "UserDefinedFule", path.toUtf8().constData()));
        auto window = StartWindow(SimulatedSource({DemoDriveAt("cd-r", 0)}));
        QVERIFY(window);
        // The bad pair is reported; the records before it stay loaded.
        QCOMPARE(prompts_->messages.size(), std::size_t{1});
        QVERIFY(prompts_->messages[0].text.contains("is not a valid integer value"));
        QVERIFY(Query(*window));
        QCOMPARE(ReportLines(*window).value(6), QString("Manufacturer Maybe = Remembered Maker"));
    }

    void sizeIsRestoredAndSavedAtExit() {
        QVERIFY(OSInfo::WriteRegDword("Korvalend", "Width", 600));
        QVERIFY(OSInfo::WriteRegDword("Korvalend", "Height", 450));
        {
            auto window = StartWindow(SimulatedSource({DemoDriveAt("cd-r", 0)}));
            QVERIFY(window);
            QCOMPARE(window->size(), QSize(600, 450));
            window->resize(520, 410);
        }
        QCOMPARE(StoredDword("Width"), std::optional<std::uint32_t>(520));
        QCOMPARE(StoredDword("Height"), std::optional<std::uint32_t>(410));
    }

    void storedSizeLimits() {
        struct Case {
            std::uint32_t width, height;
            QSize expected;
        };
        const Case cases[] = {
            {100, 300, QSize(kMinimumWidth, 300)},       // below the minimum width
            {0, 0, QSize(kDesignWidth, kDesignHeight)},  // 0 is ignored
            {0xFFFFFFF0u, 0x80000000u, QSize(kDesignWidth, kDesignHeight)},  // negative
        };
        for (const Case& c : cases) {
            QVERIFY(OSInfo::WriteRegDword("Korvalend", "Width", c.width));
            QVERIFY(OSInfo::WriteRegDword("Korvalend", "Height", c.height));
            auto window = StartWindow(SimulatedSource({DemoDriveAt("cd-r", 0)}));
            QVERIFY(window);
            QCOMPARE(window->size(), c.expected);
        }
    }

    void sizeIsSavedAfterAFatalStart() {
        {
            auto window =
                std::make_unique<TfrmMain>(RunningConfigurationBlock(), SimulatedSource({}));
            QSignalSpy terminate(window.get(), &TfrmMain::TerminateRequested);
            window->FormCreate();
            QVERIFY(terminate.wait(10000));
        }
        QCOMPARE(StoredDword("Width"), std::optional<std::uint32_t>(kDesignWidth));
    }

    void closingDuringAQueryEndsAfterTheCommandInFlight() {
        std::shared_ptr<std::atomic<int>> counter;
        auto window = StartWindow(
            SlowSource({DemoDriveAt("cd-r", 0)}, std::chrono::milliseconds(40), counter));
        QVERIFY(window);
        const int beforeQuery = counter->load();
        QTest::mouseClick(QueryButton(*window), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(counter->load() >= beforeQuery + 3, 10000);
        const int atClose = counter->load();
        window.reset();  // waits for the command in flight, sends nothing more
        QVERIFY(counter->load() <= atClose + 1);
    }

    void closingDuringDiscoveryEndsAfterTheCommandInFlight() {
        std::shared_ptr<std::atomic<int>> counter;
        auto window =
            std::make_unique<TfrmMain>(RunningConfigurationBlock(),
                                       SlowSource({DemoDriveAt("cd-r", 0), DemoDriveAt("dvd+r", 1)},
                                                  std::chrono::milliseconds(40), counter));
        window->FormCreate();
        QTRY_VERIFY_WITH_TIMEOUT(counter->load() >= 2, 10000);
        QVERIFY(!window->StartupDone());
        const int atClose = counter->load();
        window.reset();
        QVERIFY(counter->load() <= atClose + 1);
        QVERIFY(prompts_->messages.empty());
    }

    void builderModeShowsOnlyTheBuilder() {
        std::vector<std::uint8_t> bytes(RunningConfigurationBlock().Bytes().begin(),
                                        RunningConfigurationBlock().Bytes().end());
        bytes[kModeCharacterOffset] = '1';
        const ConfigurationBlockView block(
            std::span<const std::uint8_t, kConfigurationBlockSize>(bytes.data(), bytes.size()));
        {
            TfrmMain window(block, nullptr);
            QString shownTitle;
            QTimer::singleShot(0, this, [&] {
                auto* builder = qobject_cast<TfrmBuildKV*>(QApplication::activeModalWidget());
                if (!builder) return;
                shownTitle = builder->windowTitle();
                QTest::mouseClick(builder->findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
            });
            QSignalSpy terminate(&window, &TfrmMain::TerminateRequested);
            window.FormCreate();
            QCOMPARE(shownTitle, QString("Korvalend Builder"));
            QCOMPARE(terminate.count(), 1);
            QVERIFY(!window.isVisible());
            QVERIFY(window.findChildren<QWidget*>("frmSplash").isEmpty());
        }
        QCOMPARE(StoredDword("Width"), std::optional<std::uint32_t>(kDesignWidth));
        QCOMPARE(StoredDword("Height"), std::optional<std::uint32_t>(kDesignHeight));
    }

    void builderCopyStartsAsTheBuilder() {
        QTemporaryDir shots;
        int exitCode = -1;
        RunProgram(KORVALEND_BUILDER_COPY, {"--screenshot", shots.path()}, exitCode,
                   {"QT_QPA_PLATFORM=offscreen", "XDG_CONFIG_HOME=" + settings_->Path()});
        QCOMPARE(exitCode, 0);
        QCOMPARE(QDir(shots.path()).entryList(QDir::Files), QStringList{"builder.png"});
        QCOMPARE(StoredDword("Width"), std::optional<std::uint32_t>(kDesignWidth));

        // The program itself, from the same build, starts as the media check.
        QTemporaryDir mainShots;
        RunProgram(KORVALEND_GUI_PATH, {"--demo", "--screenshot", mainShots.path()}, exitCode,
                   {"QT_QPA_PLATFORM=offscreen", "XDG_CONFIG_HOME=" + settings_->Path()});
        QCOMPARE(exitCode, 0);
        QCOMPARE(QDir(mainShots.path()).entryList(QDir::Files),
                 (QStringList{"about.png", "builder.png", "main-window.png"}));
    }

  private:
    std::unique_ptr<SettingsHome> settings_;
    std::unique_ptr<PromptRecorder> prompts_;
};

int RunMainWindowTests(int argc, char** argv) {
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_window_test.moc"
