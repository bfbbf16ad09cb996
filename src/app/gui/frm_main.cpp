#include "app/gui/frm_main.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <cstdint>

#include "app/core/about_text.h"
#include "app/core/media_check_app.h"
#include "app/gui/device_worker.h"
#include "app/gui/frm_build_kv.h"
#include "app/gui/frm_korvalend_msg_box.h"
#include "app/gui/frm_splash.h"
#include "app/gui/image_button.h"
#include "app/gui/prompts.h"
#include "app/gui/qt_text.h"
#include "app/gui/query_button_pictures.h"
#include "app/gui/skin.h"
#include "app/gui/url_label.h"
#include "builder/builder_core.h"
#include "sysinfo/os_info.h"

namespace korvalend::gui {
namespace {

constexpr const char* kSettingsKey = "Korvalend";
constexpr const char* kWidthValue = "Width";
constexpr const char* kHeightValue = "Height";
constexpr const char* kUserFileHint =
    "You can click this button to add/remove a user-defined media  database";

// The skinned frame's designed size; the components below are placed for it.
constexpr int kFrameDesignWidth = 475;
constexpr int kFrameDesignHeight = 365;

QLabel* StepHeading(const QString& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(VerdanaFont(11, true));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, NavyColour());
    label->setPalette(palette);
    return label;
}

QLabel* StepText(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFont(VerdanaFont());
    label->setTextFormat(Qt::PlainText);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

// A stored size value: taken when it reads and is greater than 0.
std::optional<int> StoredDimension(const char* name) {
    std::uint32_t value = 0;
    if (!OSInfo::ReadRegDword(kSettingsKey, name, value)) return std::nullopt;
    const auto signedValue = static_cast<std::int32_t>(value);
    if (signedValue <= 0) return std::nullopt;
    return signedValue;
}

}  // namespace

TfrmMain::TfrmMain(ConfigurationBlockView block, std::unique_ptr<DriveSource> drives,
                   QWidget* parent)
    : QWidget(parent), block_(block), drives_(std::move(drives)) {
    setObjectName("frmMain");
    setMinimumWidth(kMinimumWidth);
    resize(kDesignWidth, kDesignHeight);
    BuildComponents();
}

TfrmMain::~TfrmMain() {
    FormDestroy();
}

void TfrmMain::BuildComponents() {
    suiForm1_ = new SkinFrame(this);

    label1_ = StepHeading(QStringLiteral("Step1 :"), "Label1", suiForm1_);
    lblStep1_ = StepText("lblStep1", suiForm1_);

    cboDrives_ = new QComboBox(suiForm1_);
    cboDrives_->setObjectName("cboDrives");
    cboDrives_->setEditable(false);
    cboDrives_->setFont(CourierNewFont(12));
    connect(cboDrives_, &QComboBox::activated, this, &TfrmMain::cboDrivesChange);

    label3_ = StepHeading(QStringLiteral("Step2 :"), "Label3", suiForm1_);
    lblStep2_ = StepText("lblStep2", suiForm1_);
    lblStep2_->setWordWrap(true);
    lblStep2_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    cmdRefresh_ = new ImageButton(DrawQueryPicture(QueryPicture::Normal),
                                  DrawQueryPicture(QueryPicture::MouseOver),
                                  DrawQueryPicture(QueryPicture::Pressed), suiForm1_);
    cmdRefresh_->setObjectName("cmdRefresh");
    connect(cmdRefresh_, &ImageButton::clicked, this, &TfrmMain::cmdRefreshClick);

    label5_ = StepHeading(QStringLiteral("Step3 :"), "Label5", suiForm1_);
    lblStep3_ = StepText("lblStep3", suiForm1_);

    memTranslator_ = new QPlainTextEdit(suiForm1_);
    memTranslator_->setObjectName("memTranslator");
    memTranslator_->setReadOnly(true);
    memTranslator_->setFont(CourierNewFont(12));
    memTranslator_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memTranslator_->setUndoRedoEnabled(false);

    cmdShowKV_ = new QPushButton(QStringLiteral("Korvalend"), suiForm1_);
    cmdShowKV_->setObjectName("cmdShowKV");
    cmdShowKV_->setFont(VerdanaFont(11, true));
    connect(cmdShowKV_, &QPushButton::clicked, this, &TfrmMain::cmdShowKVClick);

    cmdAddUserFile_ = new QPushButton(suiForm1_);
    cmdAddUserFile_->setObjectName("cmdAddUserFile");
    cmdAddUserFile_->setToolTip(QString::fromLatin1(kUserFileHint));
    cmdAddUserFile_->setVisible(false);
    connect(cmdAddUserFile_, &QPushButton::clicked, this, &TfrmMain::cmdAddUserFileClick);

    lblCopyright_ = new UrlLabel(suiForm1_);
    lblCopyright_->setObjectName("lblCopyright");

    PlaceComponents();
}

// The designed geometry, with the report area, the drive list and the bottom row following
// the window's right and bottom edges when it is resized.
void TfrmMain::PlaceComponents() {
    suiForm1_->setGeometry(rect());
    const int dx = width() - kFrameDesignWidth;
    const int dy = height() - kFrameDesignHeight;
    label1_->move(12, 44);
    label1_->adjustSize();
    lblStep1_->move(64, 44);
    lblStep1_->adjustSize();
    cboDrives_->setGeometry(56, 64, std::max(40, 409 + dx), 23);
    label3_->move(12, 96);
    label3_->adjustSize();
    lblStep2_->setGeometry(64, 96, 325, 53);
    cmdRefresh_->setGeometry(396 + dx, 100, 73, 49);
    label5_->move(12, 160);
    label5_->adjustSize();
    lblStep3_->move(64, 160);
    lblStep3_->adjustSize();
    memTranslator_->setGeometry(12, 180, std::max(40, 453 + dx), std::max(30, 157 + dy));
    cmdShowKV_->setGeometry(376 + dx, 36, 89, 21);
    cmdAddUserFile_->setGeometry(12, 344 + dy, 13, 13);
    lblCopyright_->setGeometry(76, 344 + dy, 310, 13);
}

void TfrmMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceComponents();
}

void TfrmMain::FormCreate() {
    cmdAddUserFile_->setVisible(true);
    if (block_.IsBuilderMode()) {
        hide();
        ShowBuilder();
        Terminate();
        return;
    }

    splash_ = new TfrmSplash(this);
    connect(splash_, &TfrmSplash::ClosedByUser, this, [this] {
        if (!startupDone_) Terminate();
    });
    splash_->ShowCentred();
    QCoreApplication::processEvents();

    lblStep1_->setText(ToQString(block_.Text(block_field::kStep1)));
    lblStep2_->setText(ToQString(block_.Text(block_field::kStep2)));
    lblStep3_->setText(ToQString(block_.Text(block_field::kStep3)));
    lblCopyright_->setText(ToQString(block_.Text(block_field::kCopyright)));
    const QString caption = ToQString(WindowCaption(block_));
    setWindowTitle(caption);
    suiForm1_->SetCaption(caption);
    PlaceComponents();

    // The device object is made, and the drives discovered, on the worker's thread.
    worker_ = std::make_unique<DeviceWorker>(std::move(drives_), block_);
    worker_->moveToThread(&workerThread_);
    connect(worker_.get(), &DeviceWorker::Started, this, &TfrmMain::OnStarted);
    connect(worker_.get(), &DeviceWorker::ReportCleared, this, &TfrmMain::OnReportCleared);
    connect(worker_.get(), &DeviceWorker::ReportLine, this, &TfrmMain::OnReportLine);
    connect(worker_.get(), &DeviceWorker::QueryFinished, this, &TfrmMain::OnQueryFinished);
    connect(worker_.get(), &DeviceWorker::UserFileApplied, this, &TfrmMain::OnUserFileApplied);
    workerThread_.setObjectName("korvalend-drives");
    workerThread_.start();
    UpdateEnabled();
    DeviceWorker* worker = worker_.get();
    QMetaObject::invokeMethod(
        worker, [worker] { worker->Start(); }, Qt::QueuedConnection);
}

void TfrmMain::OnStarted(int status, const QStringList& lines, const QString& userFileError) {
    if (terminating_) return;
    bool fatal = false;
    switch (static_cast<StartupStatus>(status)) {
        case StartupStatus::NoDevice:
            Prompts::ShowMessage(
                this, Message{QStringLiteral("Error ..."), QString::fromLatin1(kNoDeviceMessage),
                              MessageIcon::Stop});
            fatal = true;
            break;
        case StartupStatus::NoDrive:
            Prompts::ShowMessage(
                this, Message{QStringLiteral("Error ..."), QString::fromLatin1(kNoDriveMessage),
                              MessageIcon::Stop});
            fatal = true;
            break;
        case StartupStatus::NoListedDrive: {
            // Drives exist, but none can write: say so, and offer nothing to select.
            const QString noWriter = QString::fromLatin1(kNoWriterMessage);
            cboDrives_->clear();
            cboDrives_->setPlaceholderText(noWriter);
            cboDrives_->setCurrentIndex(-1);
            memTranslator_->setPlainText(noWriter);
            break;
        }
        case StartupStatus::Ready:
            cboDrives_->clear();
            cboDrives_->addItems(lines);
            cboDrives_->setCurrentIndex(0);  // the core made line 0 current
            memTranslator_->clear();
            hasDrives_ = true;
            break;
    }

    RestoreSize();
    if (splash_) {
        splash_->CloseByProgram();
        splash_->deleteLater();
        splash_ = nullptr;
    }
    if (fatal) {
        Terminate();
        return;
    }
    startupDone_ = true;
    UpdateEnabled();
    ShowCentred();
    if (!userFileError.isEmpty()) {
        Prompts::ShowMessage(
            this, Message{QStringLiteral("Korvalend"), userFileError, MessageIcon::Stop});
    }
    emit StartupFinished();
}

void TfrmMain::Terminate() {
    terminating_ = true;
    startupDone_ = true;
    emit StartupFinished();
    emit TerminateRequested();
}

void TfrmMain::RestoreSize() {
    QSize size = this->size();
    if (const auto width = StoredDimension(kWidthValue)) size.setWidth(*width);
    if (const auto height = StoredDimension(kHeightValue)) size.setHeight(*height);
    // A damaged setting must not make a window larger than the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableGeometry().size());
    }
    resize(size.expandedTo(minimumSize()));
}

void TfrmMain::SaveSize() {
    OSInfo::WriteRegDword(kSettingsKey, kWidthValue, static_cast<std::uint32_t>(width()));
    OSInfo::WriteRegDword(kSettingsKey, kHeightValue, static_cast<std::uint32_t>(height()));
}

void TfrmMain::ShowCentred() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    show();
}

void TfrmMain::UpdateEnabled() {
    const bool idle = !queryRunning_ && !userFileRunning_ && startupDone_;
    cboDrives_->setEnabled(idle && hasDrives_);
    cmdRefresh_->setEnabled(idle && hasDrives_);
    cmdAddUserFile_->setEnabled(idle);
}

void TfrmMain::cboDrivesChange(int line) {
    if (!worker_ || queryRunning_) return;
    DeviceWorker* worker = worker_.get();
    QMetaObject::invokeMethod(
        worker, [worker, line] { worker->SelectLine(line); }, Qt::QueuedConnection);
    memTranslator_->clear();
}

void TfrmMain::cmdRefreshClick() {
    if (!worker_ || queryRunning_ || !hasDrives_) return;
    queryRunning_ = true;
    UpdateEnabled();
    DeviceWorker* worker = worker_.get();
    QMetaObject::invokeMethod(
        worker, [worker] { worker->Query(); }, Qt::QueuedConnection);
}

void TfrmMain::OnReportCleared() {
    memTranslator_->clear();
}

void TfrmMain::OnReportLine(const QString& line) {
    memTranslator_->appendPlainText(line);
}

void TfrmMain::OnQueryFinished() {
    queryRunning_ = false;
    UpdateEnabled();
    emit QueryFinished();
}

void TfrmMain::cmdShowKVClick() {
    TfrmKorvalendMsgBox dialog(block_, this);
    dialog.exec();
}

void TfrmMain::cmdAddUserFileClick() {
    if (!worker_ || userFileRunning_) return;
    const std::optional<QString> picked = Prompts::OpenFile(this, QString(kAnyFilesFilter));
    userFileRunning_ = true;
    UpdateEnabled();
    DeviceWorker* worker = worker_.get();
    QMetaObject::invokeMethod(
        worker, [worker, picked] { worker->ApplyUserFileChoice(picked); }, Qt::QueuedConnection);
}

void TfrmMain::OnUserFileApplied(const QString& message, const QString& userFileError) {
    Prompts::ShowMessage(this,
                         Message{QStringLiteral("Information"), message, MessageIcon::Information});
    if (!userFileError.isEmpty()) {
        Prompts::ShowMessage(
            this, Message{QStringLiteral("Korvalend"), userFileError, MessageIcon::Stop});
    }
    userFileRunning_ = false;
    UpdateEnabled();
    emit UserFileDone();
}

void TfrmMain::ShowBuilder() {
    TfrmBuildKV builder(ToQString(RunningExecutablePath().string()), QDir::currentPath(), this);
    builder.exec();
}

void TfrmMain::FormDestroy() {
    SaveSize();
    if (worker_) {
        worker_->RequestStop();
        if (workerThread_.isRunning()) {
            DeviceWorker* worker = worker_.get();
            QMetaObject::invokeMethod(
                worker, [worker] { worker->Shutdown(); }, Qt::QueuedConnection);
            workerThread_.wait();
        }
        worker_.reset();
    }
}

}  // namespace korvalend::gui
