#include "builder/media_line.h"

#include <gtest/gtest.h>

#include <string>

namespace korvalend {
namespace {

struct CdCase {
    const char* name;
    std::string line;
    bool accepted;
    std::string_view leadIn;
    std::string_view leadOut;
    std::string makerText;
};

class CdMediaLine : public ::testing::TestWithParam<CdCase> {};

TEST_P(CdMediaLine, ParsesOrRejects) {
    const CdCase& c = GetParam();
    const auto record = ParseCdMediaLine(c.line);
    ASSERT_EQ(record.has_value(), c.accepted);
    if (!record) return;
    EXPECT_EQ(FieldText(record->leadInKey), c.leadIn);
    EXPECT_EQ(FieldText(record->leadOutKey), c.leadOut);
    EXPECT_EQ(FieldText(record->makerText), c.makerText);
    // The separators are never stored, and every field keeps its terminating zero.
    EXPECT_EQ(record->leadInKey[6], '\0');
    EXPECT_EQ(record->leadOutKey[6], '\0');
    EXPECT_EQ(record->makerText[47], '\0');
}

const std::string k80 = "972660_795974=" + std::string(47, 'a') + std::string(19, 'b');

INSTANTIATE_TEST_SUITE_P(
    Cases, CdMediaLine,
    ::testing::Values(
        CdCase{"Normal", "972660_795974=Sample Maker", true, "972660", "795974", "Sample Maker"},
        CdCase{"Exactly15", "972660_795974=X", true, "972660", "795974", "X"},
        CdCase{"Only14", "972660_795974=", false, "", "", ""},
        CdCase{"DashWithEquals", "972660-795974=Maker", true, "972660", "795974", "Maker"},
        CdCase{"UnderscoreAnyFourteenth", "972660_795974#Maker", true, "972660", "795974", "Maker"},
        CdCase{"NeitherSeparator", "972660-795974#Maker", false, "", "", ""},
        CdCase{"EarlyEqualsButUnderscoreAt7", "97=660_795974#Maker", true, "97=660", "795974",
               "Maker"},
        CdCase{"EarlyEqualsNoUnderscore", "97=660-795974=Maker", false, "", "", ""},
        CdCase{"EarlyUnderscoreEqualsAt14", "97_660-795974=Maker", true, "97_660", "795974",
               "Maker"},
        CdCase{"EarlyUnderscoreLateEquals", "97_660-7959744=Maker", false, "", "", ""},
        CdCase{"KeysNeedNoDigits", "ABCDEF_GHIJKL=Maker", true, "ABCDEF", "GHIJKL", "Maker"},
        CdCase{"EightyCharacters", k80, true, "972660", "795974", std::string(47, 'a')},
        CdCase{"Empty", "", false, "", "", ""}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(DvdMediaLine, ParsesIdentifierAndText) {
    const auto parsed = ParseDvdMediaLine("0123456789ABCDEF00FFa0b1=Maker Text");
    ASSERT_EQ(parsed.outcome, DvdLineParse::Outcome::Accepted);
    const std::array<std::uint8_t, 12> expected{0x01, 0x23, 0x45, 0x67, 0x89, 0xAB,
                                                0xCD, 0xEF, 0x00, 0xFF, 0xA0, 0xB1};
    EXPECT_EQ(parsed.record.identifier, expected);
    EXPECT_EQ(FieldText(parsed.record.makerText), "Maker Text");
}

TEST(DvdMediaLine, LowerCaseDigitsGiveTheSameBytes) {
    const auto upper = ParseDvdMediaLine("4D43432030303300ABCDEF12=M");
    const auto lower = ParseDvdMediaLine("4d43432030303300abcdef12=M");
    ASSERT_EQ(upper.outcome, DvdLineParse::Outcome::Accepted);
    ASSERT_EQ(lower.outcome, DvdLineParse::Outcome::Accepted);
    EXPECT_EQ(upper.record, lower.record);
}

TEST(DvdMediaLine, LengthAndEqualsPosition) {
    const std::string id(24, '0');
    EXPECT_EQ(ParseDvdMediaLine(id + "=").outcome, DvdLineParse::Outcome::Rejected);  // 25
    EXPECT_EQ(ParseDvdMediaLine(id + "=X").outcome, DvdLineParse::Outcome::Accepted);
    EXPECT_EQ(FieldText(ParseDvdMediaLine(id + "=X").record.makerText), "X");
    EXPECT_EQ(ParseDvdMediaLine(id + "0=X").outcome, DvdLineParse::Outcome::Rejected);
    EXPECT_EQ(ParseDvdMediaLine(id.substr(1) + "=XY").outcome, DvdLineParse::Outcome::Rejected);
    // An earlier "=" is the first one, so the line is rejected, not a conversion error.
    EXPECT_EQ(ParseDvdMediaLine("0123=" + id.substr(5) + "=Maker").outcome,
              DvdLineParse::Outcome::Rejected);
    EXPECT_EQ(ParseDvdMediaLine("").outcome, DvdLineParse::Outcome::Rejected);
}

TEST(DvdMediaLine, LongLineKeepsCharacters26To72) {
    const std::string line =
        std::string(24, 'f') + "=" + std::string(47, 'm') + std::string(28, 'x');
    ASSERT_EQ(line.size(), 100u);
    const auto parsed = ParseDvdMediaLine(line);
    ASSERT_EQ(parsed.outcome, DvdLineParse::Outcome::Accepted);
    EXPECT_EQ(FieldText(parsed.record.makerText), std::string(47, 'm'));
    EXPECT_EQ(parsed.record.makerText[47], '\0');
}

struct BadPairCase {
    std::string identifier;
    std::string message;
};

class DvdBadPair : public ::testing::TestWithParam<BadPairCase> {};

TEST_P(DvdBadPair, RaisesConversionError) {
    const auto parsed = ParseDvdMediaLine(GetParam().identifier + "=Maker");
    EXPECT_EQ(parsed.outcome, DvdLineParse::Outcome::ConversionError);
    EXPECT_EQ(parsed.errorMessage, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DvdBadPair,
    ::testing::Values(
        BadPairCase{"0G0000000000000000000000", "'0x0G' is not a valid integer value"},
        BadPairCase{"0000000000000000000000zz", "'0xzz' is not a valid integer value"},
        BadPairCase{"00 100000000000000000000", "'0x 1' is not a valid integer value"},
        BadPairCase{"00-100000000000000000000", "'0x-1' is not a valid integer value"}));

}  // namespace
}  // namespace korvalend
