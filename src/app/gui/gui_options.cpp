#include "app/gui/gui_options.h"

#include "app/core/demo_captures.h"

namespace korvalend::gui {
namespace {

bool IsDemoName(const std::string& word) {
    for (std::string_view name : DemoNames()) {
        if (word == name) return true;
    }
    return false;
}

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
    if (o.demo && !IsDemoName(*o.demo)) {
        std::string names;
        for (std::string_view n : DemoNames())
            names += (names.empty() ? "" : ", ") + std::string(n);
        return {std::nullopt, "unknown demo '" + *o.demo + "' (there are: " + names + ")"};
    }
    if (o.demo && !o.replayFiles.empty()) {
        return {std::nullopt, "--demo and --replay cannot be used together"};
    }
    return {o, {}};
}

std::string GuiUsageText() {
    return "Usage: korvalend [--replay FILE... | --demo [NAME]]\n"
           "  --replay FILE...   use simulated drives that replay capture files\n"
           "  --demo [NAME]      use a built-in drive: cd-r (default), dvd+r, empty, cd-rw, "
           "dvd-r\n";
}

}  // namespace korvalend::gui
