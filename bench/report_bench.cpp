// Prints the figures that tell whether the media check is fast and small:
//  - the report's own processing time against a simulated drive whose commands take the time
//    real drives take (wall time of a report / sum of the drive's command times);
//  - the number of commands a CD and a DVD report send;
//  - time and peak memory of `korvalend-cli report --demo`;
//  - loading a user media file of 100000 records and looking a disc up in it.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/core/demo_captures.h"
#include "app/core/media_report.h"
#include "builder/configuration_block.h"
#include "device/atapi_device.h"
#include "device/sim/simulated_platform.h"
#include "mediadb/media_database_search.h"
#include "mediadb/user_media_file.h"

namespace {

using namespace korvalend;
using Seconds = std::chrono::duration<double>;

class NullSink final : public ReportSink {
  public:
    void Clear() override {}
    void AddLine(const std::string&) override {}
};

double Now() {
    return Seconds(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void ReportOverhead(const char* demo, int rounds) {
    // Real time: every command of the simulated drive really takes its recorded time.
    SimulatedPlatform platform(SystemClock());
    std::vector<DriveCapture> captures = DemoCaptures(demo).value();
    for (DriveCapture& capture : captures) platform.AddDrive(std::move(capture));
    AtapiDevice device(platform, SystemClock());
    device.SelectDrive(0);
    const DriveRecord* record = device.GetDriveRecord(0);
    NullSink sink;
    double worst = 0.0;
    double total = 0.0;
    std::size_t commands = 0;
    for (int i = 0; i < rounds; ++i) {
        SimulatedDrive& drive = platform.Drive(0);
        drive.ClearLog();
        const double busyBefore = drive.BusySeconds();
        const double start = Now();
        RunMediaReport(device, record, nullptr, RunningConfigurationBlock(), sink);
        const double wall = Now() - start;
        const double busy = drive.BusySeconds() - busyBefore;
        const double ratio = wall / busy;
        total += ratio;
        worst = std::max(worst, ratio);
        commands = drive.Log().size();
    }
    std::printf(
        "report %-6s  %3zu commands  wall/drive time: mean %.4f  worst %.4f  (%d reports)\n", demo,
        commands, total / rounds, worst, rounds);
}

void CliRun(const std::string& cli) {
    const double start = Now();
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        execl(cli.c_str(), cli.c_str(), "report", "--demo", static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const double wall = Now() - start;
    std::printf("korvalend-cli report --demo: %.1f ms wall, peak memory %ld KiB, exit %d\n",
                wall * 1000.0, usage.ru_maxrss, WIFEXITED(status) ? WEXITSTATUS(status) : -1);
}

void UserFile(std::size_t records) {
    const auto path = std::filesystem::temp_directory_path() / "korvalend-bench-media.txt";
    {
        std::ofstream out(path);
        out << "[CD]\n";
        for (std::size_t i = 0; i < records; ++i) {
            char line[64];
            std::snprintf(line, sizeof line, "%06zu_%06zu=Maker number %zu\n", 970000 + i % 30000,
                          790000 + i / 30000, i);
            out << line;
        }
    }
    UserMediaLists lists;
    const double start = Now();
    LoadUserMediaFileFrom(path.string(), lists);
    const double loaded = Now() - start;
    // The last record's keys: the whole list is walked.
    const std::size_t last = records - 1;
    const std::uint32_t leadIn = static_cast<std::uint32_t>(970000 + last % 30000);
    const std::uint32_t leadOut = static_cast<std::uint32_t>(790000 + last / 30000);
    const double lookupStart = Now();
    const char* maker =
        FindCdMakerInDatabase(&lists.cdList, RunningConfigurationBlock(), leadIn, leadOut);
    const double looked = Now() - lookupStart;
    std::printf("user file of %zu records: load %.1f ms, worst-case lookup %.2f ms (%s)\n",
                lists.cdList.size(), loaded * 1000.0, looked * 1000.0, maker ? maker : "none");
    std::filesystem::remove(path);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string cli = argc > 1 ? argv[1] : "build/bin/korvalend-cli";
    ReportOverhead("cd-r", 20);
    ReportOverhead("dvd+r", 20);
    ReportOverhead("dvd-r", 20);
    ReportOverhead("empty", 20);
    CliRun(cli);
    UserFile(100000);
    return 0;
}
