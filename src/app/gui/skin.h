#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

namespace korvalend::gui {

// The look of the forms: a deep blue title band with a white bold caption over a light grey
// face with a black one-pixel border, painted by the forms themselves and styled with a style
// sheet, inside the native window frame.
inline constexpr int kTitleBandHeight = 28;
QColor FaceColour();
QColor NavyColour();

// The fonts the forms name, falling back to close installed ones. Sizes are in pixels, as at
// 96 dots per inch, so the forms keep their designed geometry.
QFont VerdanaFont(int pixelSize = 11, bool bold = false);
QFont TahomaFont(int pixelSize = 12, bool bold = true);
// Fixed-pitch; stays fixed-pitch whatever stands in for Courier New.
QFont CourierNewFont(int pixelSize = 12);

// The style sheet of all forms and message boxes.
QString SkinStyleSheet();

// The skinned frame of a form: border, face and title band with the caption.
class SkinFrame final : public QWidget {
    Q_OBJECT
  public:
    explicit SkinFrame(QWidget* parent, bool titleBand = true);
    void SetCaption(const QString& caption);
    QString Caption() const { return caption_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString caption_;
    bool titleBand_;
};

}  // namespace korvalend::gui
