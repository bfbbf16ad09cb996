#include "app/core/stoppable_drives.h"

#include <gtest/gtest.h>

#include "app/core/demo_captures.h"
#include "app/core/media_check_app.h"
#include "device/sim/mmc_answers.h"
#include "support/sim_machine.h"

namespace korvalend {
namespace {

using namespace sim::commands;

// A sink that asks for the stop after a number of lines, as a closing window would.
class StoppingSink final : public ReportSink {
  public:
    StoppingSink(StoppableDrives& drives, std::size_t stopAfter)
        : drives_(&drives), stopAfter_(stopAfter) {}
    void Clear() override {}
    void AddLine(const std::string& line) override {
        lines.push_back(line);
        if (lines.size() == stopAfter_) drives_->Stop();
    }
    std::vector<std::string> lines;

  private:
    StoppableDrives* drives_;
    std::size_t stopAfter_;
};

TEST(StoppableClock, PassesTimeThroughUntilStoppedThenEveryWaitRunsOut) {
    VirtualClock inner;
    StoppableClock clock(inner);
    const std::int64_t start = clock.Now();
    clock.SleepMilliseconds(300);
    EXPECT_EQ(clock.Now() - start, 300'000'000);
    EXPECT_DOUBLE_EQ(inner.ElapsedSeconds() * 1000.0, 300.0);
    clock.Delay(0.002);
    EXPECT_EQ(clock.Now() - start, 302'000'000);

    clock.Stop();
    const double innerBefore = inner.ElapsedSeconds();
    clock.SleepMilliseconds(300);
    clock.Delay(1.0);
    EXPECT_EQ(inner.ElapsedSeconds(), innerBefore) << "no more real waiting";
    EXPECT_GE(clock.Now() - start, std::int64_t{3600} * 1'000'000'000) << "longer than any wait";
}

TEST(StoppableDrives, AfterStopNoCommandReachesTheDriveAndTheWaitEndsAtOnce) {
    test::SimMachine machine;
    // A drive that stays not ready: the report would wait its full limits for it.
    machine.Add(test::WriterCapture(
        {}, {sim::Refusal(kTestUnitReady, kDirectionNone, 0, {0x02, 0x04, 0x01})}));
    StoppableDrives drives(machine.Platform(), machine.Clock());
    MediaCheckApp app(drives, drives.GetClock(), RunningConfigurationBlock());
    ASSERT_EQ(app.Start(), StartupStatus::Ready);
    machine.Drive().ClearLog();

    drives.Stop();
    StoppingSink sink(drives, 0);
    const double before = machine.Clock().ElapsedSeconds();
    app.Query(sink);
    EXPECT_EQ(machine.Drive().Log().size(), 0u);
    EXPECT_EQ(machine.Clock().ElapsedSeconds(), before);
    EXPECT_TRUE(drives.EnumerateOpticalDrives().empty());
    EXPECT_EQ(drives.Open("/dev/sr0").connection, nullptr);
}

TEST(StoppableDrives, StopInTheMiddleOfAReportSendsNothingMore) {
    test::SimMachine machine;
    machine.Add(DemoCaptures("cd-r")->front());
    StoppableDrives drives(machine.Platform(), machine.Clock());
    MediaCheckApp app(drives, drives.GetClock(), RunningConfigurationBlock());
    ASSERT_EQ(app.Start(), StartupStatus::Ready);
    machine.Drive().ClearLog();

    StoppingSink sink(drives, 3);  // "Please wait ...", the drive line, the disc line
    app.Query(sink);
    const std::size_t sent = machine.Drive().Log().size();
    EXPECT_GT(sent, 0u);
    // The report ran on to its end without the drive: nothing was sent after the stop.
    for (const SentCommand& command : machine.Drive().Log()) {
        EXPECT_NE(command.command[0], 0xBB) << "SET CD SPEED comes after the stop";
    }
}

TEST(StoppableDrives, PassesEverythingThroughUntilStopped) {
    test::SimMachine machine;
    machine.Add(DemoCaptures("cd-r")->front());
    StoppableDrives drives(machine.Platform(), machine.Clock());
    MediaCheckApp app(drives, drives.GetClock(), RunningConfigurationBlock());
    ASSERT_EQ(app.Start(), StartupStatus::Ready);
    StoppingSink sink(drives, 100);
    app.Query(sink);
    ASSERT_EQ(sink.lines.size(), 9u);
    EXPECT_EQ(sink.lines.back(), "Korvalend Speed Limit = Wrt(40X),Rd(48X)");
    EXPECT_FALSE(drives.Stopped());
}

}  // namespace
}  // namespace korvalend
