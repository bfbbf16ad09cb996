#pragma once

#include <QDialog>

#include "builder/configuration_block.h"

class QLabel;
class QPushButton;

namespace korvalend::gui {

class SkinFrame;

// The about dialog: release date, version, drive models and remark of the configuration block,
// in one block of fixed-pitch text.
class TfrmKorvalendMsgBox final : public QDialog {
    Q_OBJECT
  public:
    TfrmKorvalendMsgBox(const ConfigurationBlockView& block, QWidget* owner);
    QString Text() const;

  private slots:
    void cmdCloseClick();

  private:
    void FormCreate(const ConfigurationBlockView& block);

    SkinFrame* suiForm1_;
    QLabel* lblKorvalend_;
    QPushButton* cmdClose_;
};

}  // namespace korvalend::gui
