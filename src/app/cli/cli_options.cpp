#include "app/cli/cli_options.h"

#include "app/core/demo_captures.h"
#include "app/core/drive_source.h"

namespace korvalend::cli {
namespace {

std::optional<Command> CommandNamed(const std::string& word) {
    if (word == "list") return Command::List;
    if (word == "report") return Command::Report;
    if (word == "capture") return Command::Capture;
    if (word == "about") return Command::About;
    if (word == "lookup") return Command::Lookup;
    if (word == "build") return Command::Build;
    if (word == "user-file") return Command::UserFile;
    if (word == "help") return Command::Help;
    return std::nullopt;
}

}  // namespace

ParseResult ParseCommandLine(const std::vector<std::string>& args) {
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* what) -> std::optional<std::string> {
            if (i + 1 >= args.size() || args[i + 1].rfind("--", 0) == 0) return std::nullopt;
            (void)what;
            return args[++i];
        };
        if (a == "--help" || a == "-h") {
            o.command = Command::Help;
            o.commandGiven = true;
        } else if (a == "--version") {
            o.command = Command::Version;
            o.commandGiven = true;
        } else if (a == "--trace") {
            o.trace = true;
        } else if (a == "--json") {
            o.json = true;
        } else if (a == "--all") {
            o.allDrives = true;
        } else if (a == "--replay") {
            // Files follow until the next option (or the command word, when none was given).
            while (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0 &&
                   (o.commandGiven || !CommandNamed(args[i + 1]))) {
                o.replayFiles.push_back(args[++i]);
            }
            if (o.replayFiles.empty())
                return {std::nullopt, "--replay needs at least one capture file"};
        } else if (a == "--demo") {
            o.demo = "cd-r";
            if (i + 1 < args.size() && IsDemoName(args[i + 1])) o.demo = args[++i];
        } else if (a.rfind("--demo=", 0) == 0) {
            o.demo = a.substr(7);
        } else if (a == "--drive") {
            o.drive = value("--drive");
            if (!o.drive)
                return {std::nullopt, "--drive needs a list line number or a device path"};
        } else if (a == "--output" || a == "-o") {
            o.output = value("--output");
            if (!o.output) return {std::nullopt, "--output needs a file name"};
        } else if (a == "--prototype") {
            o.prototype = value("--prototype");
            if (!o.prototype) return {std::nullopt, "--prototype needs an executable file"};
        } else if (a.rfind("--", 0) == 0 && a.size() > 2) {
            return {std::nullopt, "unknown option '" + a + "'"};
        } else if (!o.commandGiven) {
            const auto command = CommandNamed(a);
            if (!command) return {std::nullopt, "unknown command '" + a + "'"};
            o.command = *command;
            o.commandGiven = true;
        } else {
            o.arguments.push_back(a);
        }
    }
    if (auto error = DriveSourceOptionError(o.demo, o.replayFiles)) return {std::nullopt, *error};
    const bool takesArguments = o.command == Command::Lookup || o.command == Command::Build ||
                                o.command == Command::UserFile;
    if (!takesArguments && !o.arguments.empty()) {
        return {std::nullopt, "unexpected word '" + o.arguments.front() + "'"};
    }
    return {o, {}};
}

std::string UsageText() {
    return R"(Usage: korvalend-cli [COMMAND] [OPTIONS]

Commands:
  list                 list the CD/DVD writers (--all: every optical drive)
  report               report on the disc in the selected drive (the default command)
  capture              record the drive's answers to discovery and a report, as a capture file
  about                show the release date, version, drive models and remarks
  lookup cd LEADIN LEADOUT
  lookup dvd+ HEX | lookup dvd- HEX
                       name a disc's maker from its ATIP times (972666 or 97:26:66) or its
                       DVD identifier bytes, without a drive
  user-file add FILE | user-file remove
                       choose the user-defined media file, or remove it
  build PARAMFILE      write a new executable from a parameter file
                       (--prototype EXE, default this program; --output FILE, default Korvalend.Exe)

Options:
  --drive N|/dev/srN   the drive: a line of the list, or a device path
  --all                list every optical drive, not only writers
  --json               print the facts as one JSON document
  --trace              write every command sent to the drive to standard error
  --output FILE        where capture and build write
  --replay FILE...     use simulated drives that replay capture files instead of hardware
  --demo [NAME]        use a built-in drive: cd-r (default), dvd+r, empty, cd-rw, dvd-r
  --help, --version
)";
}

}  // namespace korvalend::cli
