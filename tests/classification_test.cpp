#include <gtest/gtest.h>

#include "mmc/type_names.h"
#include "support/sim_machine.h"

namespace korvalend {
namespace {

using namespace sim::commands;
using test::SelectedDrive;
using test::SimMachine;

TEST(DriveType, FromCapabilitiesAndProfiles) {
    struct Case {
        const char* name;
        bool dvdRead, cdrWrite, cdrwWrite;
        std::vector<std::uint16_t> profiles;
        std::uint8_t expected;
        bool asksProfiles;
    };
    const Case cases[] = {
        {"nothing", false, false, false, {}, 1, false},
        {"cd-rw write only, no cd-r", false, false, true, {}, 1, false},
        {"dvd read, no cd-rw, cd-r set", true, true, false, {}, 2, false},
        {"dvd read only", true, false, false, {}, 2, false},
        {"cd-rw writer", false, true, true, {}, 3, false},
        {"cd-r only: profiles, sum 0", false, true, false, {0x0008, 0x0009}, 4, true},
        {"dvd-r and dvd-rw", true, true, true, {0x0011, 0x0013}, 10, true},
        {"dvd+r and dvd+rw", true, true, true, {0x001B, 0x001A}, 9, true},
        {"all four", true, true, true, {0x0011, 0x0013, 0x001B, 0x001A}, 11, true},
        {"dvd+rw alone", true, true, true, {0x001A}, 4, true},
        {"dvd-r alone", true, true, true, {0x0011}, 5, true},
        {"dvd-rw alone", true, true, true, {0x0013}, 8, true},
        {"dvd+r alone", true, true, true, {0x001B}, 6, true},
        {"dvd-r listed twice", true, true, true, {0x0011, 0x0011}, 8, true},
        {"only low byte compared", true, true, true, {0x011B}, 6, true},
        {"combo", true, true, true, {0x0008, 0x0010}, 4, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::DriveProfile profile;
        profile.dvdRomRead = c.dvdRead;
        profile.cdrWrite = c.cdrWrite;
        profile.cdrwWrite = c.cdrwWrite;
        profile.profiles = c.profiles;
        SimMachine machine;
        AtapiDevice& device = SelectedDrive(machine, {}, profile);
        EXPECT_EQ(device.GetDriveType(), c.expected);
        EXPECT_EQ(machine.Drive().CountSent(0x46), c.asksProfiles ? 1u : 0u);
    }
}

TEST(DriveType, UnreadablePagesFallBack) {
    {
        SimMachine machine;
        AtapiDevice& device = SelectedDrive(
            machine, {sim::Refusal(kModeSense2A42, kDirectionIn, 42, {0x05, 0x24, 0x00})});
        EXPECT_EQ(device.GetDriveType(), 0);
        EXPECT_STREQ(device.GetDriveTypeName(), "UNKNOWN  ");
        EXPECT_EQ(machine.Drive().CountSent(0x46), 0u);
        EXPECT_FALSE(device.CanWriteCdR());
    }
    {
        SimMachine machine;
        AtapiDevice& device = SelectedDrive(
            machine, {sim::Refusal(kGetConfiguration248, kDirectionIn, 248, {0x05, 0x20, 0x00})});
        EXPECT_EQ(device.GetDriveType(), 4);
    }
}

TEST(DriveType, ANonsenseProfileLengthStaysInsideTheBuffer) {
    std::vector<std::uint8_t> list(248, 0x1B);
    list[11] = 0xFF;  // claims 255 bytes of profiles in a 248-byte answer
    SimMachine machine;
    AtapiDevice& device =
        SelectedDrive(machine, {sim::Answer(kGetConfiguration248, kDirectionIn, 248, list)});
    EXPECT_EQ(device.GetDriveType(), 4);  // 59 DVD+R entries: an unlisted sum
}

TEST(TypeNames, FixedWidths) {
    for (std::uint8_t code = 0; code < kDriveTypeCount; ++code) {
        EXPECT_EQ(std::string(DriveTypeName(code)).size(), 9u);
    }
    for (std::uint8_t code = 0; code < kDiscTypeCount; ++code) {
        EXPECT_EQ(std::string(DiscTypeName(code)).size(), 21u);
    }
    EXPECT_STREQ(DriveTypeName(11), "DVD DUAL ");
    EXPECT_STREQ(DiscTypeName(6), "CDR (A+)             ");
    EXPECT_STREQ(DiscTypeName(20), "DVD+R                ");
    EXPECT_STREQ(DiscTypeName(99), DiscTypeName(0));
}

TEST(DiscType, EmptyTraySendsNothingMore) {
    SimMachine machine;
    AtapiDevice& device = SelectedDrive(
        machine, {sim::Refusal(kTestUnitReady, kDirectionNone, 0, {0x02, 0x3A, 0x01})});
    EXPECT_EQ(device.GetDiscType(), 0);
    ASSERT_EQ(machine.Drive().Log().size(), 2u);  // the two TEST UNIT READY of the wait
    EXPECT_STREQ(device.GetDiscTypeName(), "NO MEDIA             ");
}

struct DiscCase {
    const char* name;
    std::vector<RecordedExchange> answers;
    std::uint8_t expected;
};

RecordedExchange Physical(std::uint8_t byte4, std::uint8_t byte9) {
    auto data = sim::PhysicalFormat(0, byte9, {}, {}, 16);
    data[4] = byte4;
    return sim::Answer(kDvdPhysical16, kDirectionIn, 16, data);
}

RecordedExchange Atip(std::uint8_t byte1, std::uint8_t byte6) {
    auto data = sim::AtipData(byte6, 972666, 795974);
    data[1] = byte1;
    data.resize(24);
    return sim::Answer(kAtip24, kDirectionIn, 24, data);
}

// What QEMU's ATAPI CD-ROM answers to the ATIP request: its table of contents (one data track
// of a 4 MB image), with first and last track 1 in the reserved header bytes 2 and 3.
RecordedExchange TocForAtip() {
    const std::vector<std::uint8_t> toc{0x00, 0x12, 0x01, 0x01, 0x00, 0x14, 0x01, 0x00, 0x00, 0x00,
                                        0x00, 0x00, 0x00, 0x16, 0xAA, 0x00, 0x00, 0x00, 0x08, 0xB8};
    return sim::Answer(kAtip24, kDirectionIn, 24, toc);
}

RecordedExchange CurrentProfile(std::uint16_t profile) {
    return sim::Answer(kGetConfiguration204, kDirectionIn, 204,
                       sim::ProfileList(profile, {0x0008, 0x001B}));
}

TEST(DiscType, FromPhysicalFormatAtipOrProfile) {
    RecordedExchange shortDvd = Physical(0xA1, 0x03);
    shortDvd.transferred = 2;
    const DiscCase cases[] = {
        {"dvd answer of 2 bytes", {shortDvd}, 2},
        {"book type 0", {Physical(0x01, 0x03)}, 15},
        {"book type 1", {Physical(0x11, 0x03)}, 16},
        {"book type 2", {Physical(0x21, 0x03)}, 17},
        {"book type 3", {Physical(0x31, 0x03)}, 18},
        {"book type 9", {Physical(0x92, 0x03)}, 19},
        {"book type 10", {Physical(0xA1, 0x03)}, 20},
        {"book type 14, nothing else asked", {Physical(0xE1, 0x03), Atip(0x1A, 0x98)}, 1},
        {"start sector not 3: atip next", {Physical(0xA1, 0x00), Atip(0x1A, 0x98)}, 6},
        {"rewritable sub-type 1", {Atip(0x16, 0xC8)}, 12},
        {"rewritable sub-type 0", {Atip(0x16, 0xC0)}, 11},
        {"rewritable sub-type 3", {Atip(0x16, 0xD8)}, 14},
        {"rewritable sub-type 4", {Atip(0x16, 0xE0)}, 1},
        {"recordable sub-type 2", {Atip(0x16, 0x90)}, 5},
        {"recordable sub-type 0", {Atip(0x16, 0x80)}, 3},
        {"recordable sub-type 7", {Atip(0x16, 0xB8)}, 10},
        {"atip header only: profile", {Atip(0x02, 0x98), CurrentProfile(0x0009)}, 5},
        {"toc instead of atip: profile cd-rom", {TocForAtip(), CurrentProfile(0x0008)}, 2},
        {"dvd start sector 0, toc instead of atip: profile dvd-rom",
         {Physical(0x01, 0x00), TocForAtip(), CurrentProfile(0x0010)},
         15},
        {"profile cd-rom", {CurrentProfile(0x0008)}, 2},
        {"profile cd-rw", {CurrentProfile(0x000A)}, 11},
        {"profile dvd-rom", {CurrentProfile(0x0010)}, 15},
        {"profile dvd-ram", {CurrentProfile(0x0012)}, 16},
        {"profile dvd-r", {CurrentProfile(0x0011)}, 1},
        {"profile dvd-rw ro", {CurrentProfile(0x0013)}, 18},
        {"profile dvd-rw seq", {CurrentProfile(0x0014)}, 18},
        {"profile dvd+rw", {CurrentProfile(0x001A)}, 19},
        {"profile dvd+r", {CurrentProfile(0x001B)}, 20},
        {"profile none", {CurrentProfile(0x0000)}, 1},
        {"profile refused",
         {sim::Refusal(kGetConfiguration204, kDirectionIn, 204, {0x05, 0x24, 0x00})},
         1},
    };
    for (const DiscCase& c : cases) {
        SCOPED_TRACE(c.name);
        SimMachine machine;
        AtapiDevice& device = SelectedDrive(machine, c.answers);
        EXPECT_EQ(device.GetDiscType(), c.expected);
        if (std::string(c.name).find("nothing else") != std::string::npos) {
            EXPECT_EQ(machine.Drive().CountSent(0x43), 0u);
        }
    }
}

TEST(DiscType, ReadOnlyCdDriveWithoutAtipIsCdRom) {
    sim::DriveProfile reader;
    reader.dvdRomRead = false;
    reader.cdrWrite = false;
    reader.cdrwWrite = false;
    SimMachine machine;
    AtapiDevice& device = SelectedDrive(machine, {Atip(0x02, 0), CurrentProfile(0x0009)}, reader);
    EXPECT_EQ(device.GetDiscType(), 2);
    EXPECT_EQ(machine.Drive().CountSent(0x46), 0u);
}

}  // namespace
}  // namespace korvalend
