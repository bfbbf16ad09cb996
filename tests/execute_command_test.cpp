#include <gtest/gtest.h>

#include <algorithm>

#include "support/sim_machine.h"

namespace korvalend {
namespace {

using namespace sim::commands;
using test::SimMachine;

std::vector<std::uint8_t> Filled(std::size_t n, std::uint8_t value) {
    return std::vector<std::uint8_t>(n, value);
}

bool AllZeroFrom(std::span<const std::uint8_t> buffer, std::size_t from) {
    return std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(from), buffer.end(),
                       [](std::uint8_t b) { return b == 0; });
}

// Starts a machine whose one drive answers READ DISC INFORMATION with the given exchange.
AtapiDevice& StartWith(SimMachine& machine, RecordedExchange answer) {
    machine.Add(test::WriterCapture({}, {std::move(answer)}));
    return machine.StartSelected();
}

TEST(ExecuteCommand, SuccessDeliversTheAnswerAndItsLength) {
    SimMachine machine;
    auto& device = StartWith(
        machine, sim::Answer(kDiscInformation256, kDirectionIn, 256, Filled(34, 0xAB), 0.004));
    ASSERT_TRUE(device.ReadDiscInformation(256, 0));
    EXPECT_EQ(device.LastCommand().transferred, 34u);
    EXPECT_EQ(device.LastCommand().senseTriple, SenseTriple{});
    EXPECT_FALSE(device.LastCommand().timedOut);
    EXPECT_NEAR(device.LastCommand().elapsedSeconds, 0.004, 1e-9);
    EXPECT_EQ(device.DataInBuffer()[33], 0xAB);
    EXPECT_TRUE(AllZeroFrom(device.DataInBuffer(), 34));
}

TEST(ExecuteCommand, ShortInquiryLeavesTheRestOfTheBufferZero) {
    SimMachine machine;
    machine.Add(test::WriterCapture(
        {}, {sim::Answer(kInquiry96, kDirectionIn, 96, sim::InquiryData("ACME", "X", "1", 36))}));
    auto& device = machine.StartSelected();
    device.Inquiry(0, 0, 0, 96, 0);  // an earlier answer must not survive into this one
    ASSERT_TRUE(device.ReadDiscInformation(256, 0) || true);
    ASSERT_TRUE(device.Inquiry(0, 0, 0, 96, 0));
    EXPECT_EQ(device.LastCommand().transferred, 36u);
    EXPECT_TRUE(AllZeroFrom(device.DataInBuffer(), 36));
}

TEST(ExecuteCommand, SenseDataMakesTheCommandFailWithItsTriple) {
    SimMachine machine;
    auto& device = StartWith(
        machine, sim::Refusal(kDiscInformation256, kDirectionIn, 256, {0x02, 0x3A, 0x01}));
    EXPECT_FALSE(device.ReadDiscInformation(256, 0));
    EXPECT_EQ(device.LastCommand().senseTriple, (SenseTriple{0x02, 0x3A, 0x01}));
    EXPECT_EQ(device.LastCommand().transferred, 0u);
    EXPECT_EQ(device.SenseCode(), "023A01");
    EXPECT_TRUE(device.SenseIs(0x02, 0x3A));
}

TEST(ExecuteCommand, OnlyTheLowFourBitsOfByteTwoAreTheSenseKey) {
    SimMachine machine;
    RecordedExchange ex = sim::Answer(kDiscInformation256, kDirectionIn, 256);
    ex.rawSense = {0x70, 0x00, 0x25, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x24, 0x00};
    auto& device = StartWith(machine, ex);
    EXPECT_FALSE(device.ReadDiscInformation(256, 0));
    EXPECT_EQ(device.SenseCode(), "052400");
}

TEST(ExecuteCommand, DescriptorSenseReadsLikeFixedSense) {
    SimMachine machine;
    RecordedExchange ex = sim::Answer(kDiscInformation256, kDirectionIn, 256);
    ex.rawSense = {0x72, 0x05, 0x30, 0x02, 0, 0, 0, 0};
    auto& device = StartWith(machine, ex);
    EXPECT_FALSE(device.ReadDiscInformation(256, 0));
    EXPECT_EQ(device.SenseCode(), "053002");
}

TEST(ExecuteCommand, TransportFailureHasNoSense) {
    SimMachine machine;
    RecordedExchange ex = sim::Answer(kDiscInformation256, kDirectionIn, 256, Filled(34, 1));
    ex.failure = true;
    auto& device = StartWith(machine, ex);
    EXPECT_FALSE(device.ReadDiscInformation(256, 0));
    EXPECT_EQ(device.LastCommand().senseTriple, SenseTriple{});
    EXPECT_EQ(device.LastCommand().transferred, 0u);
    EXPECT_EQ(device.SenseCode(), "000000");
}

TEST(ExecuteCommand, SuccessAfterTheTimeLimitIsAFailure) {
    SimMachine machine;
    auto& device = StartWith(
        machine, sim::Answer(kDiscInformation256, kDirectionIn, 256, Filled(34, 1), 109.0));
    EXPECT_FALSE(device.ReadDiscInformation(256, 0));
    EXPECT_TRUE(device.LastCommand().timedOut);
    EXPECT_EQ(device.LastCommand().transferred, 0u);
    EXPECT_NEAR(device.LastCommand().elapsedSeconds, 109.0, 1e-6);
}

TEST(ExecuteCommand, TransportTimeOutEndsAtTheLimit) {
    SimMachine machine;
    RecordedExchange ex = sim::Answer(kDiscInformation256, kDirectionIn, 256);
    ex.timeout = true;
    auto& device = StartWith(machine, ex);
    const double before = machine.Clock().ElapsedSeconds();
    EXPECT_FALSE(device.ReadDiscInformation(256, 0));
    EXPECT_NEAR(machine.Clock().ElapsedSeconds() - before, 108.0, 1e-6);
    EXPECT_EQ(device.LastCommand().transferred, 0u);
}

TEST(ExecuteCommand, AfterCloseDriveNothingIsSentAndTheLastSenseStays) {
    SimMachine machine;
    auto& device = StartWith(
        machine, sim::Refusal(kDiscInformation256, kDirectionIn, 256, {0x02, 0x3A, 0x00}));
    device.ReadDiscInformation(256, 0);
    device.CloseDrive();
    machine.Drive().ClearLog();
    EXPECT_FALSE(device.TestUnitReady());
    EXPECT_TRUE(machine.Drive().Log().empty());
    EXPECT_EQ(device.SenseCode(), "023A00");
}

TEST(ExecuteCommand, RefusesEveryCommandOutsideTheCommandSet) {
    SimMachine machine;
    auto& device =
        StartWith(machine, sim::Answer(kDiscInformation256, kDirectionIn, 256, Filled(34, 0x5A)));
    ASSERT_TRUE(device.ReadDiscInformation(256, 0));
    const LastCommandRecord before = device.LastCommand();
    const CommandBlock dangerous[] = {
        {0x2A, 0, 0, 0, 0, 0, 0, 0, 1},     // WRITE(10)
        {0x04},                             // FORMAT UNIT
        {0xA1, 0x01},                       // BLANK
        {0x5B, 0x02},                       // CLOSE TRACK/SESSION
        {0x35},                             // SYNCHRONIZE CACHE
        {0x1B, 0, 0, 0, 0x02},              // START STOP UNIT (eject)
        {0x55, 0x10, 0, 0, 0, 0, 0, 0, 8},  // MODE SELECT(10)
        {0xAA},                             // WRITE(12)
        {0xDF, 0x00, 0x03, 0x02},           // vendor command other than the two known ones
        {0xDF, 0x11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1},
        {0x12, 0, 0, 0, 96},  // fine opcode ...
    };
    for (std::size_t i = 0; i + 1 < std::size(dangerous); ++i) {
        SCOPED_TRACE(i);
        machine.Drive().ClearLog();
        EXPECT_FALSE(device.ExecuteCommand(dangerous[i], kDirectionOut, 8));
        EXPECT_FALSE(device.ExecuteCommand(dangerous[i], kDirectionNone, 0));
        EXPECT_TRUE(machine.Drive().Log().empty());
        EXPECT_EQ(device.LastCommand().transferred, before.transferred);
    }
    // A data-in command is zeroed first, also when it is then refused.
    EXPECT_FALSE(device.ExecuteCommand(dangerous[0], kDirectionIn, 8));
    EXPECT_TRUE(AllZeroFrom(device.DataInBuffer(), 0));
}

TEST(ExecuteCommand, RefusesLengthsTheBuffersCannotHold) {
    SimMachine machine;
    auto& device = StartWith(machine, sim::Answer(kDiscInformation256, kDirectionIn, 256));
    machine.Drive().ClearLog();
    EXPECT_FALSE(device.ExecuteCommand(kInquiry96, kDirectionIn, kTransferBufferSize + 1));
    EXPECT_FALSE(device.ExecuteCommand(kTestUnitReady, kDirectionNone, 12));
    EXPECT_FALSE(device.ExecuteCommand(kTestUnitReady, 3, 0));
    EXPECT_TRUE(machine.Drive().Log().empty());
}

TEST(ExecuteCommand, AnswersLongerThanAskedNeverLeaveTheBuffer) {
    SimMachine machine;
    RecordedExchange ex = sim::Answer(kDiscInformation256, kDirectionIn, 256);
    ex.data = Filled(4096, 0xEE);  // a drive that sends more than it was asked for
    ex.transferred = 1u << 30;     // and claims even more
    auto& device = StartWith(machine, ex);
    ASSERT_TRUE(device.ReadDiscInformation(256, 0));
    EXPECT_EQ(device.LastCommand().transferred, 256u);
    EXPECT_EQ(device.DataInBuffer()[255], 0xEE);
    EXPECT_TRUE(AllZeroFrom(device.DataInBuffer(), 256));
}

TEST(ExecuteCommand, DataInWithLengthZeroStillZeroesTheBuffer) {
    SimMachine machine;
    auto& device =
        StartWith(machine, sim::Answer(kDiscInformation256, kDirectionIn, 256, Filled(256, 0x77)));
    ASSERT_TRUE(device.ReadDiscInformation(256, 0));
    device.ReadDiscInformation(0, 0);
    EXPECT_TRUE(AllZeroFrom(device.DataInBuffer(), 0));
}

TEST(DeviceObject, BigEndianHelpers) {
    SimMachine machine;
    std::vector<std::uint8_t> answer(8, 0);
    answer[4] = 0x00;
    answer[5] = 0x22;
    answer[6] = 0x30;
    answer[7] = 0x00;
    auto& device = StartWith(machine, sim::Answer(kDiscInformation256, kDirectionIn, 256, answer));
    ASSERT_TRUE(device.ReadDiscInformation(256, 0));
    EXPECT_EQ(device.ReadBE32(4), 2240512u);
    EXPECT_EQ(device.ReadBE16(5), 0x2230u);
    device.WriteBE32(16, 1000);
    const auto out = device.DataOutBuffer();
    EXPECT_EQ((std::vector<std::uint8_t>(out.begin() + 16, out.begin() + 20)),
              (std::vector<std::uint8_t>{0x00, 0x00, 0x03, 0xE8}));
    // Offsets at the end of the buffer read nothing outside it.
    EXPECT_EQ(device.ReadBE32(kTransferBufferSize - 2), 0u);
    device.WriteBE32(kTransferBufferSize - 1, 0xFFFFFFFF);
}

TEST(DeviceObject, DriveRecordAccessAndCloseDrive) {
    SimMachine machine;
    machine.Add(test::WriterCapture());
    auto& device = machine.Start();
    ASSERT_EQ(device.DriveCount(), 1);
    EXPECT_NE(device.GetDriveRecord(0), nullptr);
    EXPECT_EQ(device.GetDriveRecord(1), nullptr);
    EXPECT_EQ(device.GetDriveRecord(16), nullptr);
    EXPECT_FALSE(device.HasOpenDrive());
    device.CloseDrive();  // nothing to close: harmless
    EXPECT_FALSE(device.TestUnitReady());
    EXPECT_TRUE(device.SelectDrive(0));
    EXPECT_TRUE(device.HasOpenDrive());
    EXPECT_TRUE(device.TestUnitReady());
}

}  // namespace
}  // namespace korvalend
