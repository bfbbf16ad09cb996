#include "app/gui/url_label.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

#include "app/gui/skin.h"

namespace korvalend::gui {

UrlLabel::UrlLabel(QWidget* parent) : QLabel(parent) {
    QFont font = VerdanaFont();
    font.setUnderline(true);
    setFont(font);
    setCursor(Qt::PointingHandCursor);
    SetColour(Qt::blue);
}

void UrlLabel::SetColour(const QColor& colour) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, colour);
    setPalette(palette);
}

void UrlLabel::enterEvent(QEnterEvent* event) {
    SetColour(Qt::red);
    QLabel::enterEvent(event);
}

void UrlLabel::leaveEvent(QEvent* event) {
    SetColour(Qt::blue);
    QLabel::leaveEvent(event);
}

void UrlLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
        if (!address_.trimmed().isEmpty()) QDesktopServices::openUrl(QUrl(address_.trimmed()));
    }
    QLabel::mouseReleaseEvent(event);
}

}  // namespace korvalend::gui
