#include "app/gui/frm_build_kv.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <exception>

#include "app/gui/prompts.h"
#include "app/gui/qt_text.h"
#include "app/gui/skin.h"
#include "builder/builder_core.h"

namespace korvalend::gui {

TfrmBuildKV::TfrmBuildKV(QString prototype, QString outputFolder, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      prototype_(std::move(prototype)),
      outputFolder_(std::move(outputFolder)) {
    setObjectName("frmBuildKV");
    setWindowTitle(QStringLiteral("Korvalend Builder"));
    setFixedSize(454, 123);
    setFont(VerdanaFont());

    suiForm1_ = new SkinFrame(this);
    suiForm1_->setGeometry(rect());
    suiForm1_->SetCaption(QStringLiteral("Korvalend Builder"));

    label1_ = new QLabel(QStringLiteral("Please select parameter file :"), suiForm1_);
    label1_->setObjectName("Label1");
    label1_->setFont(VerdanaFont());
    label1_->move(12, 38);
    label1_->adjustSize();

    txtFile_ = new QLineEdit(suiForm1_);
    txtFile_->setObjectName("txtFile");
    txtFile_->setFont(VerdanaFont());
    txtFile_->setGeometry(12, 56, 345, 21);

    cmdBrowse_ = new QPushButton(QStringLiteral("Browse"), suiForm1_);
    cmdBrowse_->setObjectName("cmdBrowse");
    cmdBrowse_->setFont(VerdanaFont());
    cmdBrowse_->setGeometry(364, 56, 78, 21);

    cmdBuild_ = new QPushButton(QStringLiteral("Build"), suiForm1_);
    cmdBuild_->setObjectName("cmdBuild");
    cmdBuild_->setFont(VerdanaFont());
    cmdBuild_->setGeometry(280, 92, 78, 21);

    cmdClose_ = new QPushButton(QStringLiteral("Close"), suiForm1_);
    cmdClose_->setObjectName("cmdClose");
    cmdClose_->setFont(VerdanaFont());
    cmdClose_->setGeometry(364, 92, 78, 21);

    connect(cmdBrowse_, &QPushButton::clicked, this, &TfrmBuildKV::cmdBrowseClick);
    connect(cmdBuild_, &QPushButton::clicked, this, &TfrmBuildKV::cmdBuildClick);
    connect(cmdClose_, &QPushButton::clicked, this, &TfrmBuildKV::cmdCloseClick);
}

void TfrmBuildKV::cmdBrowseClick() {
    const std::optional<QString> picked = Prompts::OpenFile(this, QString(kAnyFilesFilter));
    if (!picked) return;
    const QFileInfo file(*picked);
    txtFile_->setText(QDir::toNativeSeparators(file.absoluteFilePath()));
    outputFolder_ = file.absolutePath();
}

void TfrmBuildKV::cmdBuildClick() {
    cmdBuild_->setEnabled(false);
    const QString output =
        QDir(outputFolder_)
            .filePath(QString::fromUtf8(kBuilderOutputFileName.data(),
                                        static_cast<qsizetype>(kBuilderOutputFileName.size())));
    BuildOutcome outcome;
    try {
        outcome =
            BuildFromParameterFile(ToBytes(txtFile_->text()), ToBytes(prototype_), ToBytes(output));
    } catch (const std::exception& error) {
        // Nothing was written; say why, and let the user try again.
        outcome.status = BuildStatus::OutputNotWritable;
        outcome.message = error.what();
        outcome.caption = MessageCaption::Error;
    }
    QString text = ToQString(outcome.message);
    if (!outcome.detail.empty()) text += QStringLiteral("\n") + ToQString(outcome.detail);
    Prompts::ShowMessage(
        this, Message{ToQString(CaptionText(outcome.caption)), text,
                      outcome.Succeeded() ? MessageIcon::Information : MessageIcon::Stop});
    cmdBuild_->setEnabled(true);
}

void TfrmBuildKV::cmdCloseClick() {
    close();
}

}  // namespace korvalend::gui
