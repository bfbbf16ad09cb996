#include "device/linux/sg_outcome.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <vector>

#include "device/sense_data.h"

namespace korvalend {
namespace {

constexpr std::uint8_t kGood = 0x00;
constexpr std::uint8_t kCheckCondition = 0x02;
constexpr std::uint16_t kDidError = 0x07;
constexpr std::uint16_t kDidTimeOut = 0x03;
constexpr std::uint16_t kDriverSense = 0x08;
constexpr std::uint16_t kDriverTimeout = 0x06;

std::vector<std::uint8_t> Fixed(std::uint8_t key, std::uint8_t asc, std::uint8_t ascq) {
    std::vector<std::uint8_t> sense(18, 0);
    sense[0] = 0x70;
    sense[2] = key;
    sense[7] = 10;
    sense[12] = asc;
    sense[13] = ascq;
    return sense;
}

std::vector<std::uint8_t> Descriptor(std::uint8_t key, std::uint8_t asc, std::uint8_t ascq) {
    return {0x72, key, asc, ascq, 0, 0, 0, 0};
}

struct OutcomeCase {
    const char* name;
    int errorNumber;
    std::uint8_t status;
    std::uint16_t hostStatus;
    std::uint16_t driverStatus;
    std::int32_t resid;
    std::vector<std::uint8_t> sense;
    std::uint32_t requested;
    bool completed;
    SenseTriple triple;
    std::uint32_t transferred;
};

void PrintTo(const OutcomeCase& c, std::ostream* os) {
    *os << c.name;
}

class SgOutcomeTable : public ::testing::TestWithParam<OutcomeCase> {};

TEST_P(SgOutcomeTable, JudgesTheRequest) {
    const OutcomeCase& c = GetParam();
    SgOutcome outcome;
    outcome.errorNumber = c.errorNumber;
    outcome.status = c.status;
    outcome.hostStatus = c.hostStatus;
    outcome.driverStatus = c.driverStatus;
    outcome.resid = c.resid;
    outcome.sense = c.sense;
    outcome.requested = c.requested;

    const TransportResult result = InterpretSgOutcome(outcome);
    EXPECT_EQ(result.completed, c.completed);
    EXPECT_EQ(TripleOf(result.sense), c.triple);
    EXPECT_EQ(result.transferred, c.transferred);
    if (c.triple == SenseTriple{} && c.sense.empty()) {
        EXPECT_EQ(result.sense, SenseBuffer{}) << "no sense must give all zeros";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SgOutcomeTable,
    ::testing::Values(
        OutcomeCase{"GoodShortAnswer", 0, kGood, 0, 0, 60, {}, 96, true, {}, 36},
        OutcomeCase{"GoodNoData", 0, kGood, 0, 0, 0, {}, 0, true, {}, 0},
        // ATAPI drives behind libata report no residue: a short answer counts as the length
        // asked for, the only count there is.
        OutcomeCase{"GoodWithoutResidueCountsTheRequest", 0, kGood, 0, 0, 0, {}, 96, true, {}, 96},
        OutcomeCase{"CheckConditionFixedSense",
                    0,
                    kCheckCondition,
                    0,
                    kDriverSense,
                    0,
                    Fixed(0x02, 0x3A, 0x01),
                    0,
                    false,
                    {0x02, 0x3A, 0x01},
                    0},
        OutcomeCase{"CheckConditionDescriptorSense",
                    0,
                    kCheckCondition,
                    0,
                    kDriverSense,
                    8,
                    Descriptor(0x05, 0x24, 0x00),
                    8,
                    false,
                    {0x05, 0x24, 0x00},
                    0},
        OutcomeCase{"CheckConditionWithoutSense", 0, kCheckCondition, 0, 0, 0, {}, 0, false, {}, 0},
        OutcomeCase{"CheckConditionWithNoSenseKey",
                    0,
                    kCheckCondition,
                    0,
                    kDriverSense,
                    0,
                    Fixed(0x00, 0x00, 0x00),
                    0,
                    false,
                    {},
                    0},
        // virtio-scsi answers like this when the command block asks for more data than the
        // data phase offers (QEMU's VIRTIO_SCSI_S_OVERRUN).
        OutcomeCase{"GoodWithHostErrorNoSense", 0, kGood, kDidError, 0, 0, {}, 28, false, {}, 0},
        OutcomeCase{"HostTimeout", 0, kGood, kDidTimeOut, 0, 0, {}, 8, false, {}, 0},
        OutcomeCase{"HostErrorKeepsSense",
                    0,
                    kCheckCondition,
                    kDidError,
                    kDriverSense,
                    0,
                    Fixed(0x04, 0x44, 0x00),
                    0,
                    false,
                    {0x04, 0x44, 0x00},
                    0},
        OutcomeCase{"DriverTimeout", 0, kGood, 0, kDriverTimeout, 0, {}, 8, false, {}, 0},
        OutcomeCase{
            "DriverSenseFlagAloneIsNoError", 0, kGood, 0, kDriverSense, 0, {}, 8, true, {}, 8},
        OutcomeCase{"GoodWithNoSenseKeyIsSuccess",
                    0,
                    kGood,
                    0,
                    kDriverSense,
                    0,
                    Fixed(0x00, 0x00, 0x00),
                    8,
                    true,
                    {},
                    8},
        OutcomeCase{"GoodWithRecoveredErrorIsFailure",
                    0,
                    kGood,
                    0,
                    kDriverSense,
                    0,
                    Fixed(0x01, 0x17, 0x01),
                    8,
                    false,
                    {0x01, 0x17, 0x01},
                    0},
        OutcomeCase{"ShortSenseStillGivesKey",
                    0,
                    kCheckCondition,
                    0,
                    kDriverSense,
                    0,
                    {0x70, 0x00, 0x05},
                    0,
                    false,
                    {0x05, 0x00, 0x00},
                    0},
        OutcomeCase{"UnknownSenseFormat",
                    0,
                    kCheckCondition,
                    0,
                    kDriverSense,
                    0,
                    {0x00, 0x00, 0x05},
                    0,
                    false,
                    {},
                    0},
        OutcomeCase{"RefusedByKernel", EPERM, kGood, 0, 0, 0, {}, 12, false, {}, 0},
        OutcomeCase{"IoctlFailedIgnoresStaleFields",
                    EIO,
                    kCheckCondition,
                    0,
                    kDriverSense,
                    0,
                    Fixed(0x05, 0x20, 0x00),
                    12,
                    false,
                    {},
                    0},
        OutcomeCase{"ResidAboveRequestedClamped", 0, kGood, 0, 0, 200, {}, 96, true, {}, 0},
        OutcomeCase{"NegativeResidClamped", 0, kGood, 0, 0, -40, {}, 96, true, {}, 96},
        OutcomeCase{"SmallestResid", 0, kGood, 0, 0, INT_MIN, {}, 81920, true, {}, 81920},
        OutcomeCase{"LargestResid", 0, kGood, 0, 0, INT_MAX, {}, 81920, true, {}, 0},
        OutcomeCase{"IdeReportsNoResid", 0, kGood, 0, 0, 0, {}, 96, true, {}, 96}),
    [](const ::testing::TestParamInfo<OutcomeCase>& param) {
        return std::string(param.param.name);
    });

TEST(SgOutcome, DescriptorSenseArrivesInFixedFormat) {
    const auto raw = Descriptor(0x03, 0x11, 0x05);
    SgOutcome outcome;
    outcome.status = kCheckCondition;
    outcome.sense = raw;
    const TransportResult result = InterpretSgOutcome(outcome);
    EXPECT_EQ(result.sense[0], 0x70);
    EXPECT_EQ(result.sense[2], 0x03);
    EXPECT_EQ(result.sense[12], 0x11);
    EXPECT_EQ(result.sense[13], 0x05);
}

}  // namespace
}  // namespace korvalend
