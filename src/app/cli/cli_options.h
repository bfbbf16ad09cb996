#pragma once

#include <optional>
#include <string>
#include <vector>

namespace korvalend::cli {

enum class Command { List, Report, Capture, About, Lookup, Build, UserFile, Help, Version };

struct Options {
    Command command = Command::Report;
    bool commandGiven = false;
    std::vector<std::string> replayFiles;
    std::optional<std::string> demo;
    bool trace = false;
    bool json = false;
    bool allDrives = false;
    std::optional<std::string> drive;  // a list line number or a device path
    std::optional<std::string> output;
    std::optional<std::string> prototype;
    std::vector<std::string> arguments;  // the command's own words
};

struct ParseResult {
    std::optional<Options> options;
    std::string error;  // why the command line was not understood
};

ParseResult ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();

}  // namespace korvalend::cli
