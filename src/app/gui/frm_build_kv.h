#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace korvalend::gui {

class SkinFrame;

// The builder: reads a parameter file and writes "Korvalend.Exe", a copy of the prototype (the
// running executable) with the file's texts and media tables, in normal mode.
class TfrmBuildKV final : public QDialog {
    Q_OBJECT
  public:
    // prototype: the executable the copy starts from; outputFolder: where "Korvalend.Exe" is
    // written until Browse picks a file (then the picked file's folder, as on the system this
    // program comes from, where the open-file dialog moves the current folder there).
    TfrmBuildKV(QString prototype, QString outputFolder, QWidget* owner);
    QString OutputFolder() const { return outputFolder_; }

  private slots:
    void cmdBrowseClick();
    void cmdBuildClick();
    void cmdCloseClick();

  private:
    QString prototype_;
    QString outputFolder_;
    SkinFrame* suiForm1_;
    QLabel* label1_;
    QLineEdit* txtFile_;
    QPushButton* cmdBrowse_;
    QPushButton* cmdBuild_;
    QPushButton* cmdClose_;
};

}  // namespace korvalend::gui
