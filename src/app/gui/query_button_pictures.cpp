#include "app/gui/query_button_pictures.h"

#include <QConicalGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "app/gui/skin.h"

namespace korvalend::gui {
namespace {

// An optical disc of the given outer radius around centre: a silvery face with rainbow glints,
// the clear inner ring and the hole.
void DrawDisc(QPainter& painter, QPointF centre, double radius) {
    QConicalGradient face(centre, 35);
    face.setColorAt(0.00, QColor(236, 238, 244));
    face.setColorAt(0.10, QColor(190, 214, 246));
    face.setColorAt(0.18, QColor(246, 226, 190));
    face.setColorAt(0.26, QColor(214, 240, 208));
    face.setColorAt(0.40, QColor(176, 182, 198));
    face.setColorAt(0.50, QColor(238, 240, 246));
    face.setColorAt(0.60, QColor(200, 206, 246));
    face.setColorAt(0.68, QColor(246, 208, 228));
    face.setColorAt(0.76, QColor(230, 244, 206));
    face.setColorAt(0.90, QColor(170, 176, 192));
    face.setColorAt(1.00, QColor(236, 238, 244));
    painter.setPen(QPen(QColor(96, 104, 124), 1.0));
    painter.setBrush(face);
    painter.drawEllipse(centre, radius, radius);

    painter.setPen(QPen(QColor(150, 156, 172), 1.0));
    painter.setBrush(QColor(226, 230, 238, 220));
    painter.drawEllipse(centre, radius * 0.36, radius * 0.36);
    painter.setPen(QPen(QColor(120, 126, 142), 1.0));
    painter.setBrush(FaceColour());
    painter.drawEllipse(centre, radius * 0.15, radius * 0.15);
}

// A bold question mark with a white rim, its glyph box's top left at origin.
void DrawQuestionMark(QPainter& painter, QRectF box, const QColor& colour) {
    QFont font = VerdanaFont(static_cast<int>(box.height()), true);
    QPainterPath path;
    path.addText(0, 0, font, QStringLiteral("?"));
    const QRectF bounds = path.boundingRect();
    path.translate(box.center() - bounds.center());
    painter.setPen(QPen(Qt::white, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.setPen(QPen(colour.darker(160), 1.0));
    painter.setBrush(colour);
    painter.drawPath(path);
}

}  // namespace

QPixmap DrawQueryPicture(QueryPicture which) {
    QPixmap picture(kQueryPictureWidth, kQueryPictureHeight);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF shift = which == QueryPicture::Pressed ? QPointF(2, 2) : QPointF(0, 0);
    DrawDisc(painter, QPointF(46, 22) + shift, 20.5);
    const QColor mark = which == QueryPicture::Normal ? QColor(16, 56, 210) : QColor(220, 16, 16);
    DrawQuestionMark(painter, QRectF(QPointF(4, 3) + shift, QSizeF(30, 38)), mark);
    return picture;
}

QIcon ProgramIcon() {
    QPixmap icon(64, 64);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawDisc(painter, QPointF(38, 34), 25);
    DrawQuestionMark(painter, QRectF(2, 8, 30, 48), QColor(16, 56, 210));
    painter.end();
    return QIcon(icon);
}

}  // namespace korvalend::gui
