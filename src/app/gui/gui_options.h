#pragma once

#include <optional>
#include <string>
#include <vector>

namespace korvalend::gui {

// The program's command line. The options are for demonstrations and tests; the program
// itself needs none.
//   --replay FILE...   simulated drives that replay capture files instead of the machine's drives
//   --demo [NAME]      a built-in simulated drive (cd-r when no name is given)
//   --screenshot DIR   for the documentation only: writes pictures of the forms to DIR and ends
struct GuiOptions {
    std::vector<std::string> replayFiles;
    std::optional<std::string> demo;
    std::optional<std::string> screenshotDir;
};

struct GuiOptionsResult {
    std::optional<GuiOptions> options;
    std::string error;
};

// Qt's own options (-platform and the like) are taken out by QApplication before this sees
// the arguments.
GuiOptionsResult ParseGuiOptions(const std::vector<std::string>& args);

std::string GuiUsageText();

}  // namespace korvalend::gui
