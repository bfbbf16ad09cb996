#include <gtest/gtest.h>

#include <filesystem>

#include "device/linux/linux_platform.h"
#include "device/sim/recording_platform.h"
#include "support/run_program.h"
#include "support/sim_machine.h"

namespace korvalend {
namespace {

using namespace sim::commands;

// What the device object saw of one command.
struct Seen {
    bool ok;
    LastCommandRecord last;
    std::vector<std::uint8_t> buffer;
};

std::vector<Seen> Exercise(DevicePlatform& platform, Clock& clock) {
    AtapiDevice device(platform, clock);
    EXPECT_TRUE(device.SelectDrive(0));
    std::vector<Seen> seen;
    auto note = [&](bool ok) {
        const auto in = device.DataInBuffer();
        seen.push_back(
            {ok, device.LastCommand(), std::vector<std::uint8_t>(in.begin(), in.begin() + 64)});
    };
    note(device.ReadDiscInformation(256, 0));
    note(device.ReadDiscInformation(256, 0));
    note(device.ReadDiscInformation(256, 0));
    note(device.ReadDiscInformation(256, 0));
    note(device.SetMaxStreaming());
    return seen;
}

TEST(Recording, OddTransportsReplayTheSame) {
    // IDE-style short answer that claims the whole length, a host error with data, GOOD status
    // with sense data of key 0, CHECK CONDITION with key 0, and a refused data-out command.
    RecordedExchange shortIde =
        sim::Answer(kDiscInformation256, kDirectionIn, 256, sim::DiscInformation(972666, 795974));
    shortIde.transferred = 256;
    RecordedExchange hostError = shortIde;
    hostError.failure = true;
    hostError.transferred.reset();
    RecordedExchange goodWithSense = shortIde;
    goodWithSense.rawSense = {0x70, 0, 0x00, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x5D, 0x01};
    RecordedExchange checkKeyZero = shortIde;
    checkKeyZero.rawSense = {0x70, 0, 0x00, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x00, 0x11};
    checkKeyZero.failure = true;
    RecordedExchange streamingHostError = sim::Answer(kSetStreaming28, kDirectionOut, 28);
    streamingHostError.failure = true;
    const DriveCapture original = test::WriterCapture(
        {}, {shortIde, hostError, goodWithSense, checkKeyZero,
             sim::Answer(kGetPerformance, kDirectionIn, 4096, sim::WriteSpeedDescriptor(1, 2, 3)),
             streamingHostError});

    VirtualClock clock;
    SimulatedPlatform live(clock);
    live.AddDrive(original);
    RecordingPlatform recorder(live, clock);
    const std::vector<Seen> first = Exercise(recorder, clock);

    const DriveCapture* recorded = recorder.CaptureOf("/dev/sr0");
    ASSERT_NE(recorded, nullptr);
    const CaptureParseResult reparsed = ParseCapture(FormatCapture(*recorded), "recorded");
    ASSERT_TRUE(reparsed.capture) << reparsed.error;
    VirtualClock replayClock;
    SimulatedPlatform replay(replayClock);
    replay.AddDrive(*reparsed.capture);
    const std::vector<Seen> second = Exercise(replay, replayClock);

    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(first[i].ok, second[i].ok);
        EXPECT_EQ(first[i].last.senseTriple, second[i].last.senseTriple);
        EXPECT_EQ(first[i].last.transferred, second[i].last.transferred);
        EXPECT_EQ(first[i].buffer, second[i].buffer);
    }
    EXPECT_TRUE(first[0].ok);
    EXPECT_EQ(first[0].last.transferred, 256u);
    EXPECT_FALSE(first[1].ok);
    EXPECT_TRUE(first[2].ok);
    EXPECT_EQ(first[2].last.senseTriple, (SenseTriple{0, 0x5D, 0x01}));
    EXPECT_FALSE(first[3].ok);
    EXPECT_EQ(first[3].last.senseTriple, (SenseTriple{0, 0x00, 0x11}));
    EXPECT_FALSE(first[4].ok);
    EXPECT_EQ(recorded->exchanges.size(), reparsed.capture->exchanges.size());
}

TEST(Discovery, AMachineWithoutOpticalDrivesEndsAtOnce) {
    const std::string root = test::MakeTempDir();
    std::filesystem::create_directories(root + "/sys/block");
    std::filesystem::create_directories(root + "/dev");
    LinuxPlatform platform(root + "/sys", root + "/dev");
    VirtualClock clock;
    AtapiDevice device(platform, clock);
    EXPECT_EQ(device.DriveCount(), 0);
    EXPECT_EQ(clock.ElapsedSeconds(), 0.0);
    std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace korvalend
