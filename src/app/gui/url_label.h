#pragma once

#include <QLabel>
#include <QString>

namespace korvalend::gui {

// A text that looks and acts like a link: underlined, blue, red while the mouse is over it,
// with a hand cursor; a click opens its web address, when it has one that is not blank.
class UrlLabel final : public QLabel {
    Q_OBJECT
  public:
    explicit UrlLabel(QWidget* parent);
    void SetAddress(const QString& address) { address_ = address; }
    const QString& Address() const { return address_; }

  signals:
    void clicked();

  protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void SetColour(const QColor& colour);
    QString address_;
};

}  // namespace korvalend::gui
