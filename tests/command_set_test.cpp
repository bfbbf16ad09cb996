#include <gtest/gtest.h>

#include <functional>

#include "support/sim_machine.h"

namespace korvalend {
namespace {

using test::SimMachine;

struct BlockCase {
    const char* name;
    std::function<bool(AtapiDevice&)> send;
    CommandBlock block;
    std::uint8_t direction;
    std::uint32_t length;
};

class CommandSet : public ::testing::Test {
  protected:
    void SetUp() override {
        machine.Add(test::WriterCapture());
        machine.StartSelected();
    }
    SimMachine machine;
};

TEST_F(CommandSet, BuildsEachBlockByteForByte) {
    const BlockCase cases[] = {
        {"inquiry",
         [](AtapiDevice& d) { return d.Inquiry(0, 0, 0, 96, 0); },
         {0x12, 0, 0, 0, 0x60},
         kDirectionIn,
         96},
        {"get configuration",
         [](AtapiDevice& d) { return d.GetConfiguration(2, 0, 248, 0); },
         {0x46, 0x02, 0, 0, 0, 0, 0, 0, 0xF8},
         kDirectionIn,
         248},
        {"atip msf",
         [](AtapiDevice& d) { return d.ReadTocPmaAtip(1, 4, 0, 256, 0); },
         {0x43, 0x02, 0x04, 0, 0, 0, 0, 0x01, 0x00},
         kDirectionIn,
         256},
        {"dvd lead-in",
         [](AtapiDevice& d) { return d.ReadDvdStructure(0, 0, 0x0E, 48, 0, 0); },
         {0xAD, 0, 0, 0, 0, 0, 0, 0x0E, 0x00, 0x30},
         kDirectionIn,
         48},
        {"get performance",
         [](AtapiDevice& d) { return d.GetPerformance(0, 0, 50, 3, 0, 4096); },
         {0xAC, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x32, 0x03, 0x00},
         kDirectionIn,
         4096},
        {"set cd speed",
         [](AtapiDevice& d) { return d.SetCdSpeed(0, 0xFFFF, 0xFFFF, 0); },
         {0xBB, 0, 0xFF, 0xFF, 0xFF, 0xFF},
         kDirectionNone,
         0},
        {"set streaming",
         [](AtapiDevice& d) { return d.SetStreaming(28, 0); },
         {0xB6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x1C, 0},
         kDirectionOut,
         28},
        {"mode sense",
         [](AtapiDevice& d) { return d.ModeSense10(0, 0, 0x2A, 42, 0); },
         {0x5A, 0, 0x2A, 0, 0, 0, 0, 0, 0x2A},
         kDirectionIn,
         42},
        {"format capacities",
         [](AtapiDevice& d) { return d.ReadFormatCapacities(12, 0); },
         {0x23, 0, 0, 0, 0, 0, 0, 0, 0x0C},
         kDirectionIn,
         12},
        {"disc information",
         [](AtapiDevice& d) { return d.ReadDiscInformation(256, 0); },
         {0x51, 0, 0, 0, 0, 0, 0, 0x01, 0x00},
         kDirectionIn,
         256},
        {"test unit ready",
         [](AtapiDevice& d) { return d.TestUnitReady(); },
         {0x00},
         kDirectionNone,
         0},
        {"vendor media id",
         [](AtapiDevice& d) { return d.VendorReadMediaId(); },
         {0xDF, 0x00, 0x03, 0x01},
         kDirectionIn,
         12},
        {"vendor probe",
         [](AtapiDevice& d) { return d.VendorProbe(); },
         {0xDF, 0x11},
         kDirectionIn,
         128},
        // Arguments wider than their fields are masked without touching their neighbours.
        {"masked page code",
         [](AtapiDevice& d) { return d.ModeSense10(1, 7, 0x6A, 40, 0x1FF); },
         {0x5A, 0x08, 0xEA, 0, 0, 0, 0, 0, 0x28, 0xFF},
         kDirectionIn,
         40},
        {"masked request type",
         [](AtapiDevice& d) { return d.GetConfiguration(7, 0x1234, 8, 0); },
         {0x46, 0x03, 0x12, 0x34, 0, 0, 0, 0, 0x08},
         kDirectionIn,
         8},
        {"masked atip format",
         [](AtapiDevice& d) { return d.ReadTocPmaAtip(3, 0x14, 1, 24, 0); },
         {0x43, 0x02, 0x04, 0, 0, 0, 0x01, 0, 0x18},
         kDirectionIn,
         24},
        {"masked agid",
         [](AtapiDevice& d) { return d.ReadDvdStructure(0x01020304, 1, 0, 16, 5, 0); },
         {0xAD, 0, 0x01, 0x02, 0x03, 0x04, 0x01, 0, 0, 0x10, 0x40},
         kDirectionIn,
         16},
        {"masked rotation",
         [](AtapiDevice& d) { return d.SetCdSpeed(6, 0x10000 + 0x1B9, 0x2C2, 0); },
         {0xBB, 0x02, 0x01, 0xB9, 0x02, 0xC2},
         kDirectionNone,
         0},
        {"inquiry bits",
         [](AtapiDevice& d) { return d.Inquiry(3, 3, 0x80, 0x1FF, 0); },
         {0x12, 0x03, 0x80, 0, 0xFF},
         kDirectionIn,
         0x1FF},
        {"performance type",
         [](AtapiDevice& d) { return d.GetPerformance(0x3F, 7, 0x10032, 3, 0, 1024); },
         {0xAC, 0x1F, 0, 0, 0, 7, 0, 0, 0x00, 0x32, 0x03},
         kDirectionIn,
         1024},
    };
    for (const BlockCase& c : cases) {
        SCOPED_TRACE(c.name);
        machine.Drive().ClearLog();
        c.send(machine.Device());
        ASSERT_EQ(machine.Drive().Log().size(), 1u);
        const SentCommand& sent = machine.Drive().Log()[0];
        EXPECT_EQ(sent.command, c.block);
        EXPECT_EQ(sent.direction, c.direction);
        EXPECT_EQ(sent.length, c.length);
    }
}

TEST_F(CommandSet, SetStreamingSendsTheFirstBytesOfTheOutputBuffer) {
    AtapiDevice& device = machine.Device();
    for (std::uint32_t i = 0; i < 32; ++i) device.DataOutBuffer()[i] = static_cast<std::uint8_t>(i);
    device.SetStreaming(28, 0);
    const SentCommand& sent = machine.Drive().Log().at(0);
    ASSERT_EQ(sent.dataOut.size(), 28u);
    EXPECT_EQ(sent.dataOut[0], 0);
    EXPECT_EQ(sent.dataOut[27], 27);
}

TEST(VendorProbe, TrueOnlyForANonZeroAnswer) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> answer;
        bool refused;
        bool expected;
    };
    std::vector<std::uint8_t> lastByte(128, 0);
    lastByte[127] = 0x40;
    const Case cases[] = {
        {"all zero", std::vector<std::uint8_t>(128, 0), false, false},
        {"last byte set", lastByte, false, true},
        {"first byte set", {0x01}, false, true},
        {"refused", {}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimMachine machine;
        std::vector<RecordedExchange> extra;
        if (c.refused) {
            extra.push_back(
                sim::Refusal(sim::commands::kVendorProbe, kDirectionIn, 128, {0x05, 0x20, 0x00}));
        } else {
            extra.push_back(sim::Answer(sim::commands::kVendorProbe, kDirectionIn, 128, c.answer));
        }
        machine.Add(test::WriterCapture({}, extra));
        EXPECT_EQ(machine.StartSelected().VendorProbe(), c.expected);
        EXPECT_EQ(machine.Device().LastCommand().transferred, c.refused ? 0u : c.answer.size());
    }
}

}  // namespace
}  // namespace korvalend
