#pragma once

#include <string>

namespace korvalend::test {

struct ProgramResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a shell command line with its own settings folder, capturing both output streams.
ProgramResult RunProgram(const std::string& commandLine);

// A fresh empty folder under the system's temporary folder.
std::string MakeTempDir();

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);

// True when text is one well-formed JSON document.
bool IsValidJson(const std::string& text);

}  // namespace korvalend::test
