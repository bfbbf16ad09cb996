#include "app/gui/skin.h"

#include <QLinearGradient>
#include <QPainter>

namespace korvalend::gui {

QColor FaceColour() {
    return QColor(232, 232, 232);
}

QColor NavyColour() {
    return QColor(0, 0, 128);
}

QFont VerdanaFont(int pixelSize, bool bold) {
    QFont font;
    font.setFamilies({"Verdana", "DejaVu Sans", "Bitstream Vera Sans", "Liberation Sans"});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QFont TahomaFont(int pixelSize, bool bold) {
    QFont font;
    font.setFamilies({"Tahoma", "DejaVu Sans", "Liberation Sans"});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QFont CourierNewFont(int pixelSize) {
    QFont font;
    font.setFamilies({"Courier New", "DejaVu Sans Mono", "Liberation Mono", "Nimbus Mono PS",
                      "FreeMono", "Monospace"});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(pixelSize);
    return font;
}

QString SkinStyleSheet() {
    return QStringLiteral(R"(
QPushButton {
    color: black;
    border: 1px solid #1b3c8c;
    border-radius: 2px;
    padding: 0px 4px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:0.5 #e9eef9, stop:1 #c9d4ee);
}
QPushButton:hover {
    border-color: #2f5cd0;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #dbe5fb);
}
QPushButton:pressed {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #c9d4ee, stop:1 #ffffff);
}
QPushButton:disabled { color: #8c8c8c; border-color: #9aa6c2; }
QPushButton#cmdShowKV { color: #ff0000; }
QPushButton#cmdAddUserFile {
    padding: 0px;
    border: 1px solid #5a6b3a;
    border-radius: 1px;
    background: qlineargradient(x1:0, y1:0, x2:1, y2:1, stop:0 #fdfdf2, stop:1 #b7c79a);
}
QPushButton#cmdAddUserFile:hover { background: #eef6d8; }
QComboBox {
    color: black;
    background: white;
    border: 1px solid #1b3c8c;
    padding: 1px 2px;
}
QComboBox:disabled { color: #6c6c6c; background: #f2f2f2; }
QComboBox QAbstractItemView {
    background: white;
    selection-background-color: #1b3c8c;
    selection-color: white;
}
QPlainTextEdit, QLineEdit {
    color: black;
    background: white;
    border: 1px solid #7f9db9;
}
QMessageBox, QDialog { background: rgb(232, 232, 232); }
QMessageBox QPushButton { min-width: 70px; min-height: 21px; }
)");
}

SkinFrame::SkinFrame(QWidget* parent, bool titleBand) : QWidget(parent), titleBand_(titleBand) {
    setObjectName("suiForm1");
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SkinFrame::SetCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void SkinFrame::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QRect all = rect();
    painter.fillRect(all, FaceColour());
    if (titleBand_) {
        const QRect band(0, 0, width(), kTitleBandHeight);
        QLinearGradient shade(band.topLeft(), band.bottomLeft());
        shade.setColorAt(0.0, QColor(74, 110, 204));
        shade.setColorAt(0.45, QColor(24, 58, 160));
        shade.setColorAt(1.0, QColor(8, 30, 110));
        painter.fillRect(band, shade);
        painter.setPen(QColor(120, 150, 230));
        painter.drawLine(band.left(), band.top() + 1, band.right(), band.top() + 1);
        painter.setPen(QColor(4, 16, 70));
        painter.drawLine(band.left(), band.bottom(), band.right(), band.bottom());
        painter.setFont(TahomaFont(12, true));
        painter.setPen(Qt::white);
        painter.drawText(
            band.adjusted(10, 0, -10, 0), Qt::AlignVCenter | Qt::AlignLeft,
            painter.fontMetrics().elidedText(caption_, Qt::ElideRight, band.width() - 20));
    }
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(all.adjusted(0, 0, -1, -1));
}

}  // namespace korvalend::gui
