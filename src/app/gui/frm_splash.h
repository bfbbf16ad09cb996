#pragma once

#include <QWidget>

class QLabel;

namespace korvalend::gui {

// "Querying Device ...": on the screen while the drives are discovered; no title bar, on top
// of other windows, centred.
class TfrmSplash final : public QWidget {
    Q_OBJECT
  public:
    explicit TfrmSplash(QWidget* owner);
    void ShowCentred();

  signals:
    // The window system closed the splash (not the program).
    void ClosedByUser();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QLabel* label_;
    bool closingByProgram_ = false;

    friend class TfrmMain;
    void CloseByProgram();
};

}  // namespace korvalend::gui
