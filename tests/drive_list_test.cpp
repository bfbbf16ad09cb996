#include "app/core/drive_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "support/sim_machine.h"

namespace korvalend {
namespace {

// Copies text into a zero-terminated field, cut to fit.
template <std::size_t N>
void Put(std::array<char, N>& field, std::string_view text) {
    field.fill('\0');
    std::copy_n(text.begin(), std::min(text.size(), N - 1), field.begin());
}

DriveRecord Record(const char* root, std::int16_t adapter, const char* vendor, const char* product,
                   const char* revision) {
    DriveRecord r;
    r.valid = true;
    Put(r.rootPath, root);
    r.adapter = adapter;
    std::snprintf(r.displayName.data(), r.displayName.size(), "%-8.8s%-16.16s", vendor, product);
    Put(r.revision, revision);
    return r;
}

TEST(DriveList, LineFormat) {
    struct Case {
        DriveRecord record;
        std::string line;
    };
    DriveRecord unidentified = Record("/dev/sr1", 2, "", "", "");
    unidentified.displayName.fill('\0');
    const Case cases[] = {
        {Record("/dev/sr0", 1, "VARNOLD", "DVD+RW DRU-510A", "1.0a"),
         " 1-0-0-0 sr0  VARNOLD DVD+RW DRU-510A  1.0a"},
        {Record("/dev/sr12", 16, "QEMU", "QEMU DVD-ROM", "2.5+"),
         "16-0-0-0 sr12 QEMU    QEMU DVD-ROM     2.5+"},
        // A drive that never answered INQUIRY: the identification columns stay blank.
        {unidentified, " 2-0-0-0 sr1  " + std::string(24 + 1 + 4, ' ')},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatDriveLine(c.record), c.line);
    }
}

TEST(DriveList, OnlyWritersAreListedAndTheMapPointsAtThem) {
    test::SimMachine machine;
    sim::DriveProfile reader;
    reader.dvdRomRead = true;
    reader.cdrWrite = false;
    reader.cdrwWrite = false;
    reader.product = "READER";
    sim::DriveProfile cdrOnly;  // CD-R writing alone: a COMBO-less writer of type 4
    cdrOnly.dvdRomRead = false;
    cdrOnly.cdrwWrite = false;
    cdrOnly.profiles = {};
    cdrOnly.product = "CDR ONLY";
    machine.Add(test::WriterCapture(reader));
    machine.Add(test::WriterCapture(cdrOnly));
    machine.Add(test::WriterCapture());
    AtapiDevice& device = machine.Start();
    ASSERT_EQ(device.DriveCount(), 3);

    const DriveList writers = BuildDriveList(device, false);
    ASSERT_EQ(writers.lines.size(), 2u);
    EXPECT_EQ(writers.driveMap[0], 1);
    EXPECT_EQ(writers.driveMap[1], 2);
    EXPECT_EQ(writers.driveMap[2], -1);
    EXPECT_NE(writers.lines[0].find("CDR ONLY"), std::string::npos);

    const DriveList all = BuildDriveList(device, true);
    ASSERT_EQ(all.lines.size(), 3u);
    EXPECT_EQ(all.driveMap[0], 0);
    EXPECT_NE(all.lines[0].find("READER"), std::string::npos);
}

}  // namespace
}  // namespace korvalend
