#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace korvalend::gui {

// A button that is only a picture: one for rest, one while the mouse is over it, one while it
// is pressed. A disabled button shows its resting picture faded.
class ImageButton final : public QAbstractButton {
    Q_OBJECT
  public:
    ImageButton(QPixmap normal, QPixmap mouseOver, QPixmap pressed, QWidget* parent);
    QSize sizeHint() const override;
    // Which picture the button shows now (for tests and screenshots).
    const QPixmap& CurrentPicture() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    QPixmap normal_;
    QPixmap mouseOver_;
    QPixmap pressed_;
    bool hovered_ = false;
};

}  // namespace korvalend::gui
