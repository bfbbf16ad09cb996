#include "app/gui/frm_korvalend_msg_box.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "app/core/about_text.h"
#include "app/gui/qt_text.h"
#include "app/gui/skin.h"

namespace korvalend::gui {

TfrmKorvalendMsgBox::TfrmKorvalendMsgBox(const ConfigurationBlockView& block, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName("frmKorvalendMsgBox");
    setWindowTitle(QStringLiteral("Korvalend"));
    setFixedSize(486, 420);

    suiForm1_ = new SkinFrame(this);
    suiForm1_->setGeometry(1, 0, 484, 419);
    suiForm1_->SetCaption(QStringLiteral("Korvalend"));

    auto* bevel = new QFrame(suiForm1_);
    bevel->setObjectName("Bevel1");
    bevel->setFrameShape(QFrame::Box);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(12, 36, 461, 349);

    lblKorvalend_ = new QLabel(suiForm1_);
    lblKorvalend_->setObjectName("lblKorvalend");
    lblKorvalend_->setGeometry(20, 40, 445, 341);
    lblKorvalend_->setFont(CourierNewFont(12));
    lblKorvalend_->setTextFormat(Qt::PlainText);
    lblKorvalend_->setWordWrap(true);
    lblKorvalend_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = lblKorvalend_->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    lblKorvalend_->setPalette(palette);

    cmdClose_ = new QPushButton(QStringLiteral("Close"), suiForm1_);
    cmdClose_->setObjectName("cmdClose");
    cmdClose_->setFont(VerdanaFont(11, true));
    cmdClose_->setGeometry(208, 392, 81, 21);
    connect(cmdClose_, &QPushButton::clicked, this, &TfrmKorvalendMsgBox::cmdCloseClick);

    FormCreate(block);
}

void TfrmKorvalendMsgBox::FormCreate(const ConfigurationBlockView& block) {
    lblKorvalend_->setText(ToQString(AboutText(block)));
}

QString TfrmKorvalendMsgBox::Text() const {
    return lblKorvalend_->text();
}

void TfrmKorvalendMsgBox::cmdCloseClick() {
    close();
}

}  // namespace korvalend::gui
