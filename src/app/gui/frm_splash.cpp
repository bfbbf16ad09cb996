#include "app/gui/frm_splash.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "app/gui/skin.h"

namespace korvalend::gui {

TfrmSplash::TfrmSplash(QWidget* owner)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("frmSplash");
    setFixedSize(248, 87);
    auto* frame = new SkinFrame(this, false);
    frame->setGeometry(rect());
    label_ = new QLabel(QStringLiteral("Querying Device ..."), frame);
    label_->setObjectName("Label1");
    label_->setFont(VerdanaFont(11, true));
    label_->move(64, 36);
    label_->adjustSize();
}

void TfrmSplash::ShowCentred() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    show();
}

void TfrmSplash::CloseByProgram() {
    closingByProgram_ = true;
    close();
}

void TfrmSplash::closeEvent(QCloseEvent* event) {
    if (!closingByProgram_) emit ClosedByUser();
    event->accept();
}

}  // namespace korvalend::gui
