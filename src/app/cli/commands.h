#pragma once

#include "app/cli/cli_options.h"

namespace korvalend::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // no drive, a drive that cannot be used, a failed build
inline constexpr int kExitUsage = 2;    // the command line was not understood
inline constexpr int kExitBadFile = 3;  // a capture or parameter file that cannot be used

int RunList(const Options& options);
int RunReport(const Options& options);
int RunCapture(const Options& options);
int RunAbout(const Options& options);
int RunLookup(const Options& options);
int RunBuild(const Options& options, const char* argv0);
int RunUserFile(const Options& options);

}  // namespace korvalend::cli
