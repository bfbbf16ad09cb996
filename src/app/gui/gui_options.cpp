#include "app/gui/gui_options.h"

#include "app/core/demo_captures.h"
#include "app/core/drive_source.h"

namespace korvalend::gui {
namespace {

bool IsOption(const std::string& word) {
    return word.rfind("--", 0) == 0;
}

}  // namespace

GuiOptionsResult ParseGuiOptions(const std::vector<std::string>& args) {
    GuiOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--replay") {
            while (i + 1 < args.size() && !IsOption(args[i + 1]))
                o.replayFiles.push_back(args[++i]);
            if (o.replayFiles.empty())
                return {std::nullopt, "--replay needs at least one capture file"};
        } else if (a == "--demo") {
            o.demo = "cd-r";
            if (i + 1 < args.size() && !IsOption(args[i + 1])) o.demo = args[++i];
        } else if (a.rfind("--demo=", 0) == 0) {
            o.demo = a.substr(7);
        } else if (a == "--screenshot") {
            if (i + 1 >= args.size() || IsOption(args[i + 1])) {
                return {std::nullopt, "--screenshot needs a folder"};
            }
            o.screenshotDir = args[++i];
        } else {
            return {std::nullopt, "unknown option '" + a + "'"};
        }
    }
    if (auto error = DriveSourceOptionError(o.demo, o.replayFiles)) return {std::nullopt, *error};
    return {o, {}};
}

std::string GuiUsageText() {
    return "Usage: korvalend [--replay FILE... | --demo [NAME]]\n"
           "  --replay FILE...   use simulated drives that replay capture files\n"
           "  --demo [NAME]      use a built-in drive: cd-r (default), dvd+r, empty, cd-rw, "
           "dvd-r\n";
}

}  // namespace korvalend::gui
