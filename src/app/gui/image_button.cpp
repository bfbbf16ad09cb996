#include "app/gui/image_button.h"

#include <QPainter>

namespace korvalend::gui {

ImageButton::ImageButton(QPixmap normal, QPixmap mouseOver, QPixmap pressed, QWidget* parent)
    : QAbstractButton(parent),
      normal_(std::move(normal)),
      mouseOver_(std::move(mouseOver)),
      pressed_(std::move(pressed)) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

QSize ImageButton::sizeHint() const {
    return normal_.size();
}

const QPixmap& ImageButton::CurrentPicture() const {
    if (!isEnabled()) return normal_;
    if (isDown()) return pressed_;
    return hovered_ ? mouseOver_ : normal_;
}

void ImageButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (!isEnabled()) painter.setOpacity(0.4);
    const QPixmap& picture = CurrentPicture();
    const QPoint at((width() - picture.width()) / 2, (height() - picture.height()) / 2);
    painter.drawPixmap(at, picture);
    if (hasFocus()) {
        painter.setOpacity(1.0);
        painter.setPen(QPen(QColor(27, 60, 140), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void ImageButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void ImageButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

}  // namespace korvalend::gui
