#pragma once

#include <QThread>
#include <QWidget>
#include <memory>

#include "app/core/drive_source.h"
#include "builder/configuration_block.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace korvalend::gui {

class DeviceWorker;
class ImageButton;
class SkinFrame;
class TfrmSplash;
class UrlLabel;

// The main window: the three steps, the drive list, the query button, the report area, the
// about button, the user-file button and the copyright link. Drive work runs on a worker
// thread, so the window stays responsive while a drive spins up.
class TfrmMain final : public QWidget {
    Q_OBJECT
  public:
    // drives: where the drives come from (none in builder mode, where none are used).
    TfrmMain(ConfigurationBlockView block, std::unique_ptr<DriveSource> drives,
             QWidget* parent = nullptr);
    // Saves the window size and ends the drive work (waiting for the command in flight).
    ~TfrmMain() override;

    // Start-up. In builder mode shows the builder modally and returns when it closes; else
    // shows the splash and starts the discovery, and the rest follows when it is done.
    void FormCreate();

    bool StartupDone() const { return startupDone_; }
    bool QueryRunning() const { return queryRunning_; }
    bool Terminating() const { return terminating_; }

  signals:
    // Start-up is over: the window is shown, or the program is to end (then Terminating()).
    void StartupFinished();
    void QueryFinished();
    void UserFileDone();
    // The program is to end (a fatal start-up error, or the builder closed).
    void TerminateRequested();

  private slots:
    void cboDrivesChange(int line);
    void cmdRefreshClick();
    void cmdShowKVClick();
    void cmdAddUserFileClick();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void BuildComponents();
    void PlaceComponents();
    void ShowBuilder();
    void OnStarted(int status, const QStringList& lines, const QString& userFileError);
    void OnReportCleared();
    void OnReportLine(const QString& line);
    void OnQueryFinished();
    void OnUserFileApplied(const QString& message, const QString& userFileError);
    void RestoreSize();
    void SaveSize();
    void ShowCentred();
    void UpdateEnabled();
    void Terminate();
    void FormDestroy();

    ConfigurationBlockView block_;
    std::unique_ptr<DriveSource> drives_;
    QThread workerThread_;
    std::unique_ptr<DeviceWorker> worker_;
    TfrmSplash* splash_ = nullptr;
    bool hasDrives_ = false;
    bool startupDone_ = false;
    bool queryRunning_ = false;
    bool userFileRunning_ = false;
    bool terminating_ = false;

    SkinFrame* suiForm1_;
    QLabel* label1_;
    QLabel* lblStep1_;
    QComboBox* cboDrives_;
    QLabel* label3_;
    QLabel* lblStep2_;
    ImageButton* cmdRefresh_;
    QLabel* label5_;
    QLabel* lblStep3_;
    QPlainTextEdit* memTranslator_;
    QPushButton* cmdShowKV_;
    QPushButton* cmdAddUserFile_;
    UrlLabel* lblCopyright_;
};

// The window's designed size, and the narrowest it may become.
inline constexpr int kDesignWidth = 485;
inline constexpr int kDesignHeight = 393;
inline constexpr int kMinimumWidth = 130;

}  // namespace korvalend::gui
