#pragma once

#include <QString>

namespace korvalend::gui {

class TfrmMain;

// For the documentation only: once start-up is done, runs a query, then writes pictures of the
// main window with its report, the about dialog and the builder to `folder`, and ends the
// program. A builder copy writes only the builder's picture.
void TakeScreenshots(TfrmMain& window, const QString& folder);

// Before a builder copy's start-up: the builder's picture, taken when its dialog is up.
void TakeBuilderScreenshotWhenShown(const QString& folder);

}  // namespace korvalend::gui
