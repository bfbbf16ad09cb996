#include "device/sim/capture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/sim_machine.h"

namespace korvalend {
namespace {

std::string DocumentedExample() {
    std::ifstream in(std::string(KORVALEND_SOURCE_DIR) + "/docs/capture-format.md");
    std::stringstream text;
    text << in.rdbuf();
    const std::string doc = text.str();
    const std::string marker = "## A complete example";
    const auto section = doc.find(marker);
    const auto open = doc.find("```\n", section);
    const auto close = doc.find("```", open + 4);
    if (section == std::string::npos || open == std::string::npos || close == std::string::npos)
        return {};
    return doc.substr(open + 4, close - open - 4);
}

TEST(CaptureFormat, TheDocumentedExampleParsesAndReplays) {
    const std::string example = DocumentedExample();
    ASSERT_FALSE(example.empty());
    const CaptureParseResult parsed = ParseCapture(example, "example");
    ASSERT_TRUE(parsed.capture) << parsed.error;
    const DriveCapture& capture = *parsed.capture;
    EXPECT_EQ(capture.root, "/dev/sr0");
    EXPECT_EQ(capture.address.adapter, 1);
    ASSERT_EQ(capture.exchanges.size(), 5u);
    EXPECT_EQ(capture.exchanges[1].data.size(), 36u);
    EXPECT_EQ(capture.exchanges[0].sense, (SenseTriple{0x02, 0x3A, 0x01}));

    test::SimMachine machine;
    machine.Add(capture);
    AtapiDevice& device = machine.Start();
    ASSERT_EQ(device.DriveCount(), 1);
    const DriveRecord* record = device.GetDriveRecord(0);
    EXPECT_STREQ(record->vendor.data(), "VARNOLD ");
    EXPECT_STREQ(record->driveTypeName, "DVD+R/+RW");
    EXPECT_TRUE(record->cdrWriter);
}

TEST(CaptureFormat, FormatAndParseRoundTrip) {
    DriveCapture capture;
    capture.root = "/dev/sr3";
    capture.addressStatus = AddressStatus::Refused;
    capture.busType = kBusUsb;
    capture.openError = OpenError::PermissionDenied;
    RecordedExchange a = sim::Answer(sim::commands::kInquiry96, kDirectionIn, 96,
                                     sim::InquiryData("A", "B", "C", 40), 0.25);
    a.transferred = 40;
    RecordedExchange b =
        sim::Refusal(sim::commands::kTestUnitReady, kDirectionNone, 0, {0x06, 0x29, 0x00});
    RecordedExchange c = sim::Answer(sim::commands::kSetStreaming28, kDirectionOut, 28);
    c.failure = true;
    RecordedExchange d = sim::Answer(sim::commands::kDiscInformation256, kDirectionIn, 256);
    d.timeout = true;
    d.rawSense = {0x72, 0x05, 0x24, 0x00};
    capture.exchanges = {a, b, c, d};

    const std::string text = FormatCapture(capture);
    const CaptureParseResult parsed = ParseCapture(text, "round-trip");
    ASSERT_TRUE(parsed.capture) << parsed.error;
    EXPECT_EQ(FormatCapture(*parsed.capture), text);
    EXPECT_EQ(parsed.capture->addressStatus, AddressStatus::Refused);
    EXPECT_EQ(parsed.capture->busType, kBusUsb);
    EXPECT_EQ(parsed.capture->openError, OpenError::PermissionDenied);
    EXPECT_EQ(parsed.capture->exchanges[0].data, a.data);
    EXPECT_DOUBLE_EQ(parsed.capture->exchanges[0].seconds, 0.25);
}

TEST(CaptureFormat, MalformedFilesNameTheLine) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"", "bad.cap:1: not a capture file"},
        {"korvalend-capture 2\n", "bad.cap:1: not a capture file"},
        {"# comment\nkorvalend-capture 1\ncommand 00 00  none 0\n",
         "bad.cap:3: expected 12 command bytes, found 2"},
        {"korvalend-capture 1\ncommand 00 00 00 00 00 00 00 00 00 00 00 00 sideways 0\n",
         "bad.cap:2: direction must be in, out or none"},
        {"korvalend-capture 1\ncommand 00 00 00 00 00 00 00 00 00 00 00 00 none 5\n",
         "bad.cap:2: a command without data must have length 0"},
        {"korvalend-capture 1\ncommand 12 00 00 00 60 00 00 00 00 00 00 00 in 96\ndata 0G\n",
         "bad.cap:3: '0G' is not hexadecimal"},
        {"korvalend-capture 1\ncommand 12 00 00 00 60 00 00 00 00 00 00 00 in 96\ndata 123\n",
         "bad.cap:3: odd number of hex digits in '123'"},
        {"korvalend-capture 1\ncommand 12 00 00 00 60 00 00 00 00 00 00 00 in -1\n",
         "bad.cap:2: bad transfer length"},
        {"korvalend-capture 1\ncommand 12 00 00 00 60 00 00 00 00 00 00 00 in 96\nsense 2 3A\n",
         "bad.cap:3: 'sense' takes key, ASC and ASCQ in hex"},
        {"korvalend-capture 1\ncommand 12 00 00 00 60 00 00 00 00 00 00 00 in 96\ntime -4\n",
         "bad.cap:3: 'time' takes seconds"},
        {"korvalend-capture 1\ncommand 12 00 00 00 60 00 00 00 00 00 00 00 in 96\ntime nan\n",
         "bad.cap:3: 'time' takes seconds"},
        {"korvalend-capture 1\ncommand 12 00 00 00 60 00 00 00 00 00 00 00 in 96\nwobble\n",
         "bad.cap:3: unknown keyword 'wobble' in an answer"},
        {"korvalend-capture 1\naddress 1 2 x 4\n", "bad.cap:2: 'x' is not an address number"},
        {"korvalend-capture 1\naddress 99999 0 0 0\n", "bad.cap:2: '99999' is not an address"},
        {"korvalend-capture 1\nbus pci\n", "bad.cap:2: unknown bus 'pci'"},
        {"korvalend-capture 1\ndata 00\n", "bad.cap:2: unknown keyword 'data' before the first"},
        {"korvalend-capture 1\r\ncommand 12 00 00 00 60 00 00 00 00 00 00 00 in 96\r\n"
         "transferred many\r\n",
         "bad.cap:3: bad byte count"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const CaptureParseResult parsed = ParseCapture(c.text, "bad.cap");
        EXPECT_FALSE(parsed.capture);
        EXPECT_EQ(parsed.error.rfind(c.error, 0), 0u) << parsed.error;
    }
}

TEST(CaptureFormat, MissingFileIsAClearError) {
    const CaptureParseResult parsed = LoadCaptureFile("/nonexistent/drive.cap");
    EXPECT_FALSE(parsed.capture);
    EXPECT_EQ(parsed.error, "/nonexistent/drive.cap: cannot open the capture file");
}

TEST(CaptureFormat, ArbitraryBytesNeverCrashTheParser) {
    // Every prefix of a valid file, and the file with each byte replaced by odd characters.
    const std::string example = DocumentedExample();
    for (std::size_t n = 0; n < example.size(); n += 7) {
        ParseCapture(example.substr(0, n), "prefix");
    }
    for (std::size_t i = 0; i < example.size(); i += 3) {
        for (char c : {'\0', '\xFF', ' ', '#', 'Z', '\n'}) {
            std::string mutated = example;
            mutated[i] = c;
            const CaptureParseResult parsed = ParseCapture(mutated, "mutated");
            EXPECT_TRUE(parsed.capture || !parsed.error.empty());
        }
    }
}

TEST(SimulatedDrive, ReplaysAnswersInOrderAndRepeatsTheLast) {
    using namespace sim::commands;
    VirtualClock clock;
    DriveCapture capture;
    capture.exchanges = {sim::Refusal(kTestUnitReady, kDirectionNone, 0, {0x02, 0x04, 0x01}),
                         sim::Refusal(kTestUnitReady, kDirectionNone, 0, {0x06, 0x28, 0x00}),
                         sim::Answer(kTestUnitReady, kDirectionNone, 0, {}, 0.5)};
    SimulatedDrive drive(capture, clock);
    auto tur = [&] {
        return TripleOf(drive.Execute(kTestUnitReady, kDirectionNone, {}, 1000).sense);
    };
    EXPECT_EQ(tur(), (SenseTriple{0x02, 0x04, 0x01}));
    EXPECT_EQ(tur(), (SenseTriple{0x06, 0x28, 0x00}));
    EXPECT_EQ(tur(), SenseTriple{});
    EXPECT_EQ(tur(), SenseTriple{});
    EXPECT_DOUBLE_EQ(clock.ElapsedSeconds(), 1.0);
    // Same bytes, different length: not the recorded command.
    std::array<std::uint8_t, 8> buffer{};
    const TransportResult other = drive.Execute(kInquiry96, kDirectionIn, buffer, 1000);
    EXPECT_FALSE(other.completed);
    EXPECT_EQ(TripleOf(other.sense), (SenseTriple{0x05, 0x20, 0x00}));
    EXPECT_EQ(drive.Log().size(), 5u);
}

}  // namespace
}  // namespace korvalend
