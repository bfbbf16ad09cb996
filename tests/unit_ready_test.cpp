#include <gtest/gtest.h>

#include "support/sim_machine.h"

namespace korvalend {
namespace {

using namespace sim::commands;
using test::SimMachine;

RecordedExchange Tur(SenseTriple sense) {
    return sense == SenseTriple{} ? sim::Answer(kTestUnitReady, kDirectionNone, 0)
                                  : sim::Refusal(kTestUnitReady, kDirectionNone, 0, sense);
}

std::size_t TurCount(SimulatedDrive& drive) {
    return drive.CountSent(0x00);
}

class UnitReady : public ::testing::Test {
  protected:
    // The drive answers TEST UNIT READY from script once the device object has been made.
    AtapiDevice& Start(const std::vector<SenseTriple>& script) {
        std::vector<RecordedExchange> extra;
        for (SenseTriple s : script) extra.push_back(Tur(s));
        // Ready while the device object discovers drives, then the script.
        std::vector<RecordedExchange> all;
        for (int i = 0; i < kDiscoveryTurs; ++i) all.push_back(Tur({}));
        all.insert(all.end(), extra.begin(), extra.end());
        machine.Add(test::WriterCapture({}, all));
        auto& device = machine.Start();
        EXPECT_EQ(TurCount(machine.Drive()), static_cast<std::size_t>(kDiscoveryTurs));
        machine.Drive().ClearLog();
        start = machine.Clock().ElapsedSeconds();
        sleepsBefore = machine.Clock().SleepCount();
        return device;
    }
    // Discovery of one ready drive sends this many TEST UNIT READY commands: two in each of
    // the three waits (selection, discovery, drive type).
    static constexpr int kDiscoveryTurs = 6;
    SimMachine machine;
    double start = 0;
    std::uint64_t sleepsBefore = 0;
};

TEST_F(UnitReady, ReadyDriveNeedsTwoCommandsAndNoSleep) {
    auto& device = Start({});
    device.SelectDrive(0);
    machine.Drive().ClearLog();
    const auto sleeps = machine.Clock().SleepCount();
    EXPECT_TRUE(device.WaitUnitReady(10));
    EXPECT_EQ(TurCount(machine.Drive()), 2u);
    EXPECT_EQ(machine.Clock().SleepCount(), sleeps);
}

TEST_F(UnitReady, DriveBecomingReadyInThreeSeconds) {
    std::vector<SenseTriple> script(10, SenseTriple{0x02, 0x04, 0x01});
    script.push_back({});
    auto& device = Start(script);
    // SelectDrive itself waits for readiness (through the drive type): count from here.
    EXPECT_TRUE(device.SelectDrive(0));
    const double waited = machine.Clock().ElapsedSeconds() - start;
    EXPECT_NEAR(waited, 3.0, 1e-6);
    EXPECT_EQ(device.SenseCode(), "000000");
    EXPECT_TRUE(device.WaitUnitReady(10));
}

TEST_F(UnitReady, NeverReadyDriveGivesUpAfterTheLimit) {
    auto& device = Start({{0x02, 0x04, 0x01}});
    machine.Drive().ClearLog();
    device.SelectDrive(0);  // waits 120 s for the drive type
    const double afterSelect = machine.Clock().ElapsedSeconds();
    EXPECT_GE(afterSelect - start, 120.0);
    EXPECT_FALSE(device.WaitUnitReady(10));
    const double waited = machine.Clock().ElapsedSeconds() - afterSelect;
    EXPECT_GE(waited, 10.0);
    EXPECT_LE(waited, 10.3 + 1e-6);
    EXPECT_EQ(device.SenseCode(), "020401");
}

TEST_F(UnitReady, UnitAttentionOnceCostsOnePoll) {
    auto& device = Start({{0x06, 0x28, 0x00}, {}});
    EXPECT_TRUE(device.SelectDrive(0));
    // Inside SelectDrive the drive-type wait saw the attention, slept once and went on.
    EXPECT_EQ(machine.Clock().SleepCount() - sleepsBefore, 1u);
    EXPECT_NEAR(machine.Clock().ElapsedSeconds() - start, 0.3, 1e-6);
}

TEST_F(UnitReady, EmptyTrayEndsTheWaitAtOnce) {
    auto& device = Start({{0x02, 0x3A, 0x02}});
    device.SelectDrive(0);
    machine.Drive().ClearLog();
    const auto sleeps = machine.Clock().SleepCount();
    EXPECT_TRUE(device.WaitUnitReady(10));
    EXPECT_EQ(TurCount(machine.Drive()), 2u);
    EXPECT_EQ(machine.Clock().SleepCount(), sleeps);
    EXPECT_TRUE(device.SenseIs(0x02, 0x3A));
    EXPECT_EQ(device.SenseText(), "023A02 MEDIUM NOT PRESENT - TRAY OPEN");
}

TEST_F(UnitReady, NoLimitWaitsAsLongAsTheDriveSaysSo) {
    std::vector<SenseTriple> script(1000, SenseTriple{0x02, 0x04, 0x01});
    script.push_back({});
    auto& device = Start(script);
    device.SelectDrive(0);  // its 120-second wait gives up part-way through the script
    const std::size_t used = TurCount(machine.Drive());
    EXPECT_EQ(used, 402u);
    machine.Drive().ClearLog();
    EXPECT_TRUE(device.WaitUnitReady(0));
    EXPECT_EQ(TurCount(machine.Drive()), 1000u - used + 2u);
}

TEST(UnitReadyWithoutCounter, LimitStillEndsTheWait) {
    VirtualClock clock(0);  // a platform without a high-resolution counter
    SimulatedPlatform platform(clock);
    platform.AddDrive(test::WriterCapture({}, {Tur({0x02, 0x04, 0x00})}));
    AtapiDevice device(platform, clock);
    ASSERT_EQ(device.DriveCount(), 1);
    device.SelectDrive(0);
    platform.Drive(0).ClearLog();
    EXPECT_FALSE(device.WaitUnitReady(3));
    EXPECT_EQ(TurCount(platform.Drive(0)), 12u);  // ten polls 300 ms apart, then one more
}

}  // namespace
}  // namespace korvalend
