#include "app/core/media_report.h"

#include <gtest/gtest.h>

#include "app/core/demo_captures.h"
#include "app/core/media_check_app.h"
#include "support/example_reports.h"
#include "support/sim_machine.h"

namespace korvalend {
namespace {

using namespace sim::commands;

class LineSink final : public ReportSink {
  public:
    void Clear() override {
        lines.clear();
        ++clears;
    }
    void AddLine(const std::string& line) override { lines.push_back(line); }
    std::vector<std::string> lines;
    int clears = 0;
};

// A block with empty media tables and the shipped texts, for reports.
ConfigurationBlockView Block() {
    return RunningConfigurationBlock();
}

std::vector<std::string> Report(std::vector<DriveCapture> captures, ReportFacts* facts = nullptr,
                                const UserMediaLists* user = nullptr) {
    VirtualClock clock;
    SimulatedPlatform platform(clock);
    for (auto& c : captures) platform.AddDrive(std::move(c));
    AtapiDevice device(platform, clock);
    EXPECT_TRUE(device.SelectDrive(0));
    LineSink sink;
    const ReportFacts f = RunMediaReport(device, device.GetDriveRecord(0), user, Block(), sink);
    if (facts) *facts = f;
    return sink.lines;
}

std::vector<std::string> DemoReport(const char* name) {
    return Report(*DemoCaptures(name));
}

TEST(MediaReport, TheExamplesLineForLine) {
    EXPECT_EQ(DemoReport("cd-r"), test::kCdRExampleLines);
    EXPECT_EQ(DemoReport("dvd+r"), test::kDvdPlusRExampleLines);
}

TEST(MediaReport, EmptyTrayGivesTwoLines) {
    const std::vector<std::string> expected{
        "        Drive Type = DVD+R/+RW",
        "         Disc Type = NO MEDIA             ",
    };
    EXPECT_EQ(DemoReport("empty"), expected);
}

TEST(MediaReport, OtherDemosReadSensibly) {
    const auto rw = DemoReport("cd-rw");
    ASSERT_GE(rw.size(), 8u);
    EXPECT_EQ(rw[1], "         Disc Type = HIGH SPEED CD-RW     ");
    EXPECT_EQ(rw[2], "          Material = Phase Change");
    const auto minus = DemoReport("dvd-r");
    ASSERT_EQ(minus.size(), 6u);
    EXPECT_EQ(minus[0], "        Drive Type = DVD DUAL ");
    EXPECT_EQ(minus[2], "   Manufacturer ID = 4D 43 43 20 30 33 52 47 32 30 00 00");
    EXPECT_EQ(minus[4], "Manufacturer Maybe = Mitsubishi Chemical Corporation");
    EXPECT_EQ(minus[5], "Korvalend Speed Limit = Wrt(8.0X),Rd(16.0X)");
}

DriveCapture CdDrive(std::vector<RecordedExchange> answers, std::uint8_t atipByte6 = 0x98) {
    answers.push_back(sim::Refusal(kDvdPhysical16, kDirectionIn, 16, {0x05, 0x30, 0x02}));
    auto atip = sim::AtipData(atipByte6, 972666, 795974);
    atip.resize(24);
    answers.push_back(sim::Answer(kAtip24, kDirectionIn, 24, atip));
    return test::WriterCapture({}, std::move(answers));
}

RecordedExchange AtipAnswer(std::uint32_t leadIn, std::uint32_t leadOut) {
    return sim::Answer(kAtipMsf256, kDirectionIn, 256, sim::AtipData(0x98, leadIn, leadOut));
}

TEST(MediaReport, CdWhoseTimesCannotBeRead) {
    const auto lines = Report({CdDrive({
        sim::Refusal(kAtipMsf256, kDirectionIn, 256, {0x05, 0x24, 0x00}),
        sim::Refusal(kDiscInformation256, kDirectionIn, 256, {0x05, 0x24, 0x00}),
    })});
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[2], "          Material = Cyanine");
    EXPECT_EQ(lines[3], "           Lead In = 00:00:00");
    EXPECT_EQ(lines[4], "          Lead Out = 00:00:00");
    EXPECT_EQ(lines[5], "  Nominal Capacity = -0.29MB (00m 00s 00f/LBA:-150)");
    EXPECT_EQ(lines[6], "Manufacturer Maybe = Unknown Manufacturer");
    EXPECT_EQ(lines[7], "Korvalend Speed Limit = Wrt(0X),Rd(0X)");
}

TEST(MediaReport, CdTimesAndDye) {
    struct Case {
        std::uint32_t leadIn, leadOut;
        const char* material;
        const char* leadInLine;
        const char* leadOutLine;
    };
    const Case cases[] = {
        {972666, 795974, "          Material = Phthalocyanine", "           Lead In = 97:26:66",
         "          Lead Out = 79:59:74"},
        {972660, 795974, "          Material = Cyanine", "           Lead In = 97:26:60",
         "          Lead Out = 79:59:74"},
        {12345, 2575755, "          Material = Phthalocyanine", "           Lead In = 01:23:45",
         "          Lead Out = 25:75:75"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.leadIn);
        std::vector<RecordedExchange> answers{AtipAnswer(c.leadIn, 0)};
        if (c.leadOut > 999999) {
            // A closed disc: FF FF FF in the disc information's lead-out field.
            auto header = sim::AtipData(0x98, 0, 0);
            header.resize(4);
            header[1] = 2;
            auto info = sim::DiscInformation(c.leadIn, 0);
            info[21] = info[22] = info[23] = 0xFF;
            answers = {sim::Answer(kAtipMsf256, kDirectionIn, 256, header),
                       sim::Answer(kDiscInformation256, kDirectionIn, 256, info)};
        } else {
            answers = {AtipAnswer(c.leadIn, c.leadOut)};
        }
        const auto lines = Report({CdDrive(answers)});
        ASSERT_GE(lines.size(), 5u);
        EXPECT_EQ(lines[2], c.material);
        EXPECT_EQ(lines[3], c.leadInLine);
        EXPECT_EQ(lines[4], c.leadOutLine);
    }
}

TEST(MediaReport, RewritableCdIsPhaseChange) {
    const auto lines = Report({CdDrive({AtipAnswer(972660, 795974)}, 0xC0)});
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[1], "         Disc Type = NORMAL CD-RW         ");
    EXPECT_EQ(lines[2], "          Material = Phase Change");
}

DriveCapture DvdDrive(sim::DriveProfile profile, std::vector<RecordedExchange> answers,
                      std::uint8_t bookType = 10) {
    answers.push_back(sim::Answer(kDvdPhysical16, kDirectionIn, 16,
                                  sim::PhysicalFormat(bookType, 3, {}, {}, 16)));
    return test::WriterCapture(profile, std::move(answers));
}

TEST(MediaReport, DvdOnAReaderHasNoWriteSpeed) {
    sim::DriveProfile combo;  // CD-RW writer with DVD-ROM reading and no DVD profiles
    combo.profiles = {0x0008, 0x0010};
    ReportFacts facts;
    const auto lines = Report(
        {DvdDrive(combo, {sim::Answer(kDvdPhysical34, kDirectionIn, 34,
                                      sim::PhysicalFormat(10, 3, "RICOHJPN", "R01", 34)),
                          sim::Answer(kGetPerformance, kDirectionIn, 1024,
                                      sim::WriteSpeedDescriptor(1, 11080, 11080)),
                          sim::Answer(kModeSense2A40, kDirectionIn, 40,
                                      sim::CapabilitiesPage(true, true, true, 5540, 0, 40))})},
        &facts);
    EXPECT_EQ(lines.front(), "        Drive Type = COMBO    ");
    EXPECT_EQ(lines.back(), "Korvalend Speed Limit = Wrt(0.0X),Rd(4.0X)");
    EXPECT_EQ(facts.writeSpeed, 0.0);
}

TEST(MediaReport, HighIdentifierBytesPrintAsTwoDigits) {
    std::vector<std::uint8_t> vendor(12, 0);
    vendor = {0x9C, 0xFF, 0x80, 0x41, 0x42, 0x43, 0x44, 0x45, 0xF0, 0xE1, 0xD2, 0xC3};
    sim::DriveProfile profile;
    profile.vendorCommands = true;
    const auto lines =
        Report({DvdDrive(profile, {sim::Answer(kVendorReadMediaId, kDirectionIn, 12, vendor)}, 2)});
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[2], "   Manufacturer ID = 9C FF 80 41 42 43 44 45 F0 E1 D2 00");
}

TEST(MediaReport, PlusFamilyTwelfthByteIsAlwaysZero) {
    std::vector<std::uint8_t> vendor{'M', 'C', 'C', ' ', 'X', 'Y', 'Z', 'W', '0', '0', '2', 'Q'};
    sim::DriveProfile profile;
    profile.vendorCommands = true;
    const auto lines = Report(
        {DvdDrive(profile, {sim::Answer(kVendorReadMediaId, kDirectionIn, 12, vendor)}, 10)});
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[2], "   Manufacturer ID = 4D 43 43 20 58 59 5A 57 30 30 32 00");
}

TEST(MediaReport, UnknownDvdMakerShowsTheLastSense) {
    const auto lines =
        Report({DvdDrive({}, {sim::Answer(kDvdPhysical34, kDirectionIn, 34,
                                          sim::PhysicalFormat(10, 3, "NOBODY", "X01", 34)),
                              sim::Answer(kDvdPhysical36, kDirectionIn, 36,
                                          sim::PhysicalFormat(10, 3, "NOBODY", "X01", 36))})});
    ASSERT_GE(lines.size(), 5u);
    // The last command of the lookup was the disc structure read, which succeeded.
    EXPECT_EQ(lines[4], "Manufacturer Maybe = Unknown(000000 NO ADDITIONAL SENSE INFORMATION)");
}

TEST(MediaReport, NoSelectedDriveReportsNothing) {
    VirtualClock clock;
    SimulatedPlatform platform(clock);
    platform.AddDrive(test::WriterCapture());
    AtapiDevice device(platform, clock);
    LineSink sink;
    RunMediaReport(device, nullptr, nullptr, Block(), sink);
    EXPECT_TRUE(sink.lines.empty());
    EXPECT_EQ(sink.clears, 2);
}

TEST(MediaReport, PadTextAndTimeSplitting) {
    EXPECT_EQ(PadText("12345", 6, '0', true), "012345");
    EXPECT_EQ(PadText("ab", 4, '.', false), "ab..");
    EXPECT_EQ(PadText("abcdef", 3, '0', true), "abcdef");
    const SplitTime t = SplitAtipTime(2575755);
    EXPECT_EQ(t.m, 25);
    EXPECT_EQ(t.s, 75);
    EXPECT_EQ(t.f, 75);
}

TEST(MediaReport, UserRecordsComeFirst) {
    UserMediaLists user;
    CdMediaRecord record{};
    const std::string in = "972666", out = "795974", maker = "Our Own Label";
    std::copy(in.begin(), in.end(), record.leadInKey.begin());
    std::copy(out.begin(), out.end(), record.leadOutKey.begin());
    std::copy(maker.begin(), maker.end(), record.makerText.begin());
    user.cdList.push_back(record);
    const auto lines = Report(*DemoCaptures("cd-r"), nullptr, &user);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[6], "Manufacturer Maybe = Our Own Label");
}

}  // namespace
}  // namespace korvalend
