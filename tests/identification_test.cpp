#include <gtest/gtest.h>

#include <array>

#include "mmc/atip_time.h"
#include "support/sim_machine.h"

namespace korvalend {
namespace {

using namespace sim::commands;
using test::SelectedDrive;
using test::SimMachine;

RecordedExchange Refused(const CommandBlock& block, std::uint32_t length) {
    return sim::Refusal(block, kDirectionIn, length, {0x05, 0x24, 0x00});
}

TEST(AtipTime, FromAtipThenDiscInformationThenZero) {
    auto atipHeaderOnly = sim::AtipData(0x98, 0, 0);
    atipHeaderOnly.resize(4);
    atipHeaderOnly[1] = 0x02;
    struct Case {
        const char* name;
        std::vector<RecordedExchange> answers;
        std::uint32_t leadIn, leadOut;
    };
    // QEMU's ATAPI CD-ROM answers the ATIP request with its table of contents in MSF: the
    // track starts at 00:02:00 and the lead-out descriptor follows; neither is an ATIP time.
    const std::vector<std::uint8_t> tocForAtip{0x00, 0x12, 0x01, 0x01, 0x00, 0x14, 0x01,
                                               0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x16,
                                               0xAA, 0x00, 0x00, 0x00, 0x1F, 0x39};
    const Case cases[] = {
        {"toc instead of atip, disc information",
         {sim::Answer(kAtipMsf256, kDirectionIn, 256, tocForAtip),
          sim::Answer(kDiscInformation256, kDirectionIn, 256,
                      sim::DiscInformation(972660, 794970))},
         972660,
         794970},
        {"atip",
         {sim::Answer(kAtipMsf256, kDirectionIn, 256, sim::AtipData(0x98, 972666, 795974))},
         972666,
         795974},
        {"header only, disc information",
         {sim::Answer(kAtipMsf256, kDirectionIn, 256, atipHeaderOnly),
          sim::Answer(kDiscInformation256, kDirectionIn, 256,
                      sim::DiscInformation(972660, 794970))},
         972660,
         794970},
        {"header only, nothing else",
         {sim::Answer(kAtipMsf256, kDirectionIn, 256, atipHeaderOnly)},
         0,
         0},
        {"atip refused, disc information",
         {Refused(kAtipMsf256, 256),
          sim::Answer(kDiscInformation256, kDirectionIn, 256, sim::DiscInformation(972666, 0))},
         972666,
         0},
        {"both refused", {Refused(kAtipMsf256, 256), Refused(kDiscInformation256, 256)}, 0, 0},
        {"closed disc: FF FF FF",
         {Refused(kAtipMsf256, 256), sim::Answer(kDiscInformation256, kDirectionIn, 256,
                                                 [] {
                                                     auto d = sim::DiscInformation(0, 0);
                                                     for (int i : {21, 22, 23})
                                                         d[static_cast<std::size_t>(i)] = 0xFF;
                                                     return d;
                                                 }())},
         0,
         2575755},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimMachine machine;
        AtapiDevice& device = SelectedDrive(machine, c.answers);
        EXPECT_EQ(device.GetAtipTime(true), c.leadIn);
        EXPECT_EQ(device.GetAtipTime(false), c.leadOut);
    }
}

TEST(AtipTime, BlockAddress) {
    EXPECT_EQ(MsfToLba(79, 59, 74), 359849);
    EXPECT_EQ(MsfToLba(0, 0, 0), -150);
    EXPECT_EQ(MsfToLba(0, 2, 0), 0);
}

TEST(Capacity, FromFormatCapacities) {
    struct Case {
        std::vector<RecordedExchange> answers;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {{sim::Answer(kFormatCapacities12, kDirectionIn, 12, sim::FormatCapacities(0x00223000, 2))},
         2240512},
        {{sim::Answer(kFormatCapacities12, kDirectionIn, 12, sim::FormatCapacities(0x00223000, 3))},
         0},
        {{sim::Answer(kFormatCapacities12, kDirectionIn, 12, sim::FormatCapacities(2295104, 1))},
         2295104},
        {{Refused(kFormatCapacities12, 12)}, 0},
    };
    for (const Case& c : cases) {
        SimMachine machine;
        EXPECT_EQ(SelectedDrive(machine, c.answers).GetDiscCapacity(), c.expected);
    }
}

TEST(Speeds, CurrentSpeedsFromTheCapabilitiesPage) {
    SimMachine machine;
    AtapiDevice& device = SelectedDrive(
        machine, {sim::Answer(kModeSense2A40, kDirectionIn, 40,
                              sim::CapabilitiesPage(true, true, true, 8467, 7056, 40))});
    EXPECT_EQ(device.GetCurrentWriteSpeed(), 7056);
    EXPECT_EQ(device.GetCurrentReadSpeed(), 8467);
    SimMachine refusing;
    AtapiDevice& other = SelectedDrive(refusing, {Refused(kModeSense2A40, 40)});
    EXPECT_EQ(other.GetCurrentWriteSpeed(), 0);
    EXPECT_EQ(other.GetCurrentReadSpeed(), 0);
}

TEST(Speeds, MaxWriteSpeedNeedsACdRWriter) {
    sim::DriveProfile reader;
    reader.cdrWrite = false;
    SimMachine machine;
    AtapiDevice& device =
        SelectedDrive(machine,
                      {sim::Answer(CommandBlock{0xAC, 0, 0, 0, 0, 0, 0, 0, 0, 50, 3}, kDirectionIn,
                                   1024, sim::WriteSpeedDescriptor(0x222FFF, 11080, 5540))},
                      reader);
    EXPECT_EQ(device.GetMaxWriteSpeed(), 0.0);
    EXPECT_EQ(machine.Drive().CountSent(0xAC), 0u);

    SimMachine writer;
    AtapiDevice& w =
        SelectedDrive(writer, {sim::Answer(kGetPerformance, kDirectionIn, 1024,
                                           sim::WriteSpeedDescriptor(0x222FFF, 11080, 5540))});
    EXPECT_EQ(w.GetMaxWriteSpeed(), 5540.0);
    SimMachine failing;
    EXPECT_EQ(SelectedDrive(failing, {Refused(kGetPerformance, 1024)}).GetMaxWriteSpeed(), 0.0);
}

TEST(Speeds, SetMaxStreamingSendsTheDescriptor) {
    SimMachine machine;
    AtapiDevice& device =
        SelectedDrive(machine, {sim::Answer(kGetPerformance, kDirectionIn, 4096,
                                            sim::WriteSpeedDescriptor(0x00222FFF, 11080, 11080)),
                                sim::Answer(kSetStreaming28, kDirectionOut, 28)});
    for (auto& b : device.DataOutBuffer().first(64)) b = 0xCC;  // stale bytes must not leak
    EXPECT_TRUE(device.SetMaxStreaming());
    const SentCommand& sent = machine.Drive().Log().back();
    EXPECT_EQ(sent.command, kSetStreaming28);
    const std::vector<std::uint8_t> expected{
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x22, 0x2F, 0xFF, 0x00, 0x00,
        0x2B, 0x48, 0x00, 0x00, 0x03, 0xE8, 0x00, 0x00, 0x2B, 0x48, 0x00, 0x00, 0x03, 0xE8};
    EXPECT_EQ(sent.dataOut, expected);

    SimMachine refusing;
    AtapiDevice& other = SelectedDrive(refusing, {Refused(kGetPerformance, 4096)});
    EXPECT_FALSE(other.SetMaxStreaming());
    EXPECT_EQ(refusing.Drive().CountSent(0xB6), 0u);
}

TEST(Speeds, StreamingRefusedByTheHostIsAFailure) {
    SimMachine machine;
    RecordedExchange hostError = sim::Answer(kSetStreaming28, kDirectionOut, 28);
    hostError.failure = true;  // GOOD status with a host adapter error and no sense
    AtapiDevice& device =
        SelectedDrive(machine, {sim::Answer(kGetPerformance, kDirectionIn, 4096,
                                            sim::WriteSpeedDescriptor(0x00222FFF, 11080, 11080)),
                                hostError});
    EXPECT_FALSE(device.SetMaxStreaming());
}

std::vector<std::uint8_t> VendorId(std::string_view text) {
    std::vector<std::uint8_t> id(12, 0);
    for (std::size_t i = 0; i < text.size() && i < 12; ++i)
        id[i] = static_cast<std::uint8_t>(text[i]);
    return id;
}

TEST(DvdIdentifiers, PlusFamilyFromTheVendorAnswer) {
    SimMachine machine;
    AtapiDevice& device = SelectedDrive(
        machine, {sim::Answer(kVendorReadMediaId, kDirectionIn, 12, VendorId("RICOHJPNR02"))});
    std::array<char, 12> maker{};
    std::array<char, 12> type{};
    EXPECT_STREQ(device.ReadDvdPlusMakerId(maker), "RICOHJPN");
    EXPECT_STREQ(device.ReadDvdPlusMediaTypeId(type), "R02");
    EXPECT_EQ(machine.Drive().CountSent(0xAD), 0u);
    EXPECT_EQ(machine.Drive().CountSent(0xDF), 2u);
}

TEST(DvdIdentifiers, PlusFamilyFromThePhysicalFormat) {
    SimMachine machine;
    AtapiDevice& device =
        SelectedDrive(machine, {sim::Answer(kDvdPhysical34, kDirectionIn, 34,
                                            sim::PhysicalFormat(10, 3, "RICOHJPN", "R01", 34))});
    std::array<char, 12> maker{};
    std::array<char, 12> type{};
    EXPECT_STREQ(device.ReadDvdPlusMakerId(maker), "RICOHJPN");
    EXPECT_STREQ(device.ReadDvdPlusMediaTypeId(type), "R01");
    EXPECT_EQ(maker[8], '\0');
    EXPECT_EQ(type[3], '\0');
}

TEST(DvdIdentifiers, MinusFamilyFromTheLeadIn) {
    SimMachine machine;
    AtapiDevice& device = SelectedDrive(
        machine,
        {sim::Answer(kDvdLeadIn48, kDirectionIn, 48, sim::LeadInInformation("CMC MA", 48))});
    std::array<char, 12> maker{};
    EXPECT_STREQ(device.ReadDvdMinusMakerId(maker), "CMC MA");
    for (std::size_t i = 6; i < maker.size(); ++i) EXPECT_EQ(maker[i], '\0');
}

TEST(DvdIdentifiers, LongMinusTextIsCutToTheCallersBuffer) {
    SimMachine machine;
    AtapiDevice& device = SelectedDrive(
        machine, {sim::Answer(kDvdLeadIn48, kDirectionIn, 48,
                              sim::LeadInInformation("ABCDEFGHIJKLMNOPQRSTUVWXYZ0", 48))});
    std::array<char, 16> guarded{};
    guarded.fill('#');
    std::span<char> maker(guarded.data(), 12);
    EXPECT_STREQ(device.ReadDvdMinusMakerId(maker), "ABCDEFGHIJK");
    EXPECT_EQ(guarded[12], '#');  // nothing written past the buffer
    EXPECT_EQ(device.ReadDvdMinusMakerId({}), nullptr);
}

TEST(DvdIdentifiers, BothRefusedLeaveAnEmptyText) {
    SimMachine machine;
    AtapiDevice& device =
        SelectedDrive(machine, {Refused(kDvdPhysical34, 34), Refused(kDvdLeadIn48, 48)});
    std::array<char, 12> id;
    id.fill('x');
    EXPECT_STREQ(device.ReadDvdPlusMakerId(id), "");
    id.fill('x');
    EXPECT_STREQ(device.ReadDvdMinusMakerId(id), "");
}

TEST(FindDiscMaker, ChoosesTheTableByDiscType) {
    SimMachine machine;
    AtapiDevice& device = SelectedDrive(
        machine, {sim::Answer(kAtipMsf256, kDirectionIn, 256, sim::AtipData(0x98, 972666, 795974)),
                  sim::Answer(kDvdLeadIn48, kDirectionIn, 48, sim::LeadInInformation("MAXELL", 48)),
                  sim::Answer(kDvdPhysical34, kDirectionIn, 34,
                              sim::PhysicalFormat(10, 3, "RICOHJPN", "R02", 34))});
    EXPECT_STREQ(device.FindDiscMaker(6), "CMC Magnetics Corporation");
    EXPECT_STREQ(device.FindDiscMaker(17), "Maxell");
    EXPECT_STREQ(device.FindDiscMaker(20), "Ricoh Company Limited");
    machine.Drive().ClearLog();
    EXPECT_EQ(device.FindDiscMaker(1), nullptr);
    EXPECT_EQ(device.FindDiscMaker(0), nullptr);
    EXPECT_EQ(machine.Drive().CountSent(0x43), 0u);
    EXPECT_EQ(machine.Drive().CountSent(0xAD), 0u);
}

TEST(FindDiscMaker, UnreadableDiscs) {
    SimMachine machine;
    AtapiDevice& device =
        SelectedDrive(machine, {Refused(kAtipMsf256, 256), Refused(kDiscInformation256, 256)});
    EXPECT_STREQ(device.FindDiscMaker(3), "Unknown Manufacturer");
    EXPECT_EQ(device.FindDiscMaker(18), nullptr);
    EXPECT_EQ(device.FindDiscMaker(19), nullptr);
}

}  // namespace
}  // namespace korvalend
