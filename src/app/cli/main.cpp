// korvalend-cli: the media check from a terminal.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/cli/cli_options.h"
#include "app/cli/commands.h"
#include "app/core/about_text.h"
#include "builder/configuration_block.h"

namespace {

int Run(int argc, char** argv) {
    using namespace korvalend::cli;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const ParseResult parsed = ParseCommandLine(args);
    if (!parsed.options) {
        std::fprintf(stderr, "korvalend-cli: %s\n(korvalend-cli --help lists the commands)\n",
                     parsed.error.c_str());
        return kExitUsage;
    }
    const Options& options = *parsed.options;
    switch (options.command) {
        case Command::Help:
            std::fputs(UsageText().c_str(), stdout);
            return kExitOk;
        case Command::Version:
            std::printf("%s\n",
                        korvalend::WindowCaption(korvalend::RunningConfigurationBlock()).c_str());
            return kExitOk;
        case Command::List:
            return RunList(options);
        case Command::Report:
            return RunReport(options);
        case Command::Capture:
            return RunCapture(options);
        case Command::About:
            return RunAbout(options);
        case Command::Lookup:
            return RunLookup(options);
        case Command::UserFile:
            return RunUserFile(options);
        case Command::Build:
            return RunBuild(options, argc > 0 ? argv[0] : "korvalend-cli");
    }
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korvalend-cli: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "korvalend-cli: unexpected failure\n");
    }
    return korvalend::cli::kExitFailure;
}
