// The desktop program's tests, run under Qt's offscreen platform (no display needed).
#include <QApplication>

#include "app/gui/skin.h"

int RunMainWindowTests(int argc, char** argv);
int RunDialogTests(int argc, char** argv);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    application.setStyleSheet(korvalend::gui::SkinStyleSheet());
    int failures = 0;
    failures += RunMainWindowTests(argc, argv);
    failures += RunDialogTests(argc, argv);
    return failures == 0 ? 0 : 1;
}
