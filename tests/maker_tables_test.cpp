#include "mmc/maker_tables.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <ostream>
#include <string>

namespace korvalend {
namespace {

constexpr std::uint32_t Msf(std::uint32_t m, std::uint32_t s, std::uint32_t f) {
    return m * 10000 + s * 100 + f;
}

std::string OrNull(const char* text) {
    return text == nullptr ? std::string("(null)") : text;
}

TEST(MakerTables, SizesAndBounds) {
    EXPECT_EQ(kDvdMakerTable.size(), 40u);
    ASSERT_EQ(kAtipMakerTable.size(), 129u);
    for (std::size_t k = 1; k < kAtipMakerTable.size(); ++k) {
        EXPECT_LT(kAtipMakerTable[k - 1].lowerBound, kAtipMakerTable[k].lowerBound) << "row " << k;
    }
    EXPECT_EQ(kAtipMakerTable.front().lowerBound, Msf(96, 43, 10));
    EXPECT_EQ(kAtipMakerTable.back().lowerBound, Msf(99, 59, 74));
}

TEST(MakerTables, EveryTextFieldFitsItsWidth) {
    for (const DvdMakerRow& row : kDvdMakerTable) {
        EXPECT_NE(std::memchr(row.identifier, '\0', sizeof row.identifier), nullptr);
        EXPECT_NE(std::memchr(row.company, '\0', sizeof row.company), nullptr);
        EXPECT_GT(std::strlen(row.identifier), 0u);  // an empty identifier would match any text
    }
    for (const AtipMakerRow& row : kAtipMakerTable) {
        EXPECT_NE(std::memchr(row.company, '\0', sizeof row.company), nullptr);
    }
}

struct AtipRowCase {
    std::size_t row;
    std::uint32_t bound;
    const char* company;
};

void PrintTo(const AtipRowCase& c, std::ostream* os) {
    *os << "row " << c.row;
}

class AtipRows : public ::testing::TestWithParam<AtipRowCase> {};

TEST_P(AtipRows, MatchTheTable) {
    const AtipRowCase& c = GetParam();
    EXPECT_EQ(kAtipMakerTable[c.row].lowerBound, c.bound);
    EXPECT_STREQ(kAtipMakerTable[c.row].company, c.company);
}

INSTANTIATE_TEST_SUITE_P(
    SpotChecks, AtipRows,
    ::testing::Values(AtipRowCase{0, Msf(96, 43, 10), "CMC Magnetics Corporation"},
                      AtipRowCase{11, Msf(97, 16, 0), "RiTEK,PNY,MB India,Gigastorage"},
                      AtipRowCase{12, Msf(97, 16, 20),
                                  "SHENZHEN SG&SAST DIGITAL OPTICAL DISCS CO.,LTD."},
                      AtipRowCase{21, Msf(97, 21, 20), "E-Top Navigator Techonolgy Inc."},
                      AtipRowCase{43, Msf(97, 24, 39), "Ramedia"},
                      AtipRowCase{48, Msf(97, 25, 1), "MPO"},
                      AtipRowCase{71, Msf(97, 28, 20), "Multi Media Masters & Machinary SA"},
                      AtipRowCase{82, Msf(97, 30, 10), "CDA Datentrager Albrechts GmbH"},
                      AtipRowCase{97, Msf(97, 46, 20), "Multi Media Masters & Machinary SA"},
                      AtipRowCase{124, Msf(97, 50, 30), "CDA Datentrager Albrechts GmbH"},
                      AtipRowCase{127, Msf(97, 51, 50), "Hile Optical Disc Technology Corp."},
                      AtipRowCase{128, Msf(99, 59, 74), "Unknown Manufacturer"}));

TEST(MakerTables, LongestCompanyUsesTheFieldToItsLastTextByte) {
    EXPECT_EQ(std::strlen(kAtipMakerTable[12].company), 47u);
}

struct DvdRowCase {
    std::size_t row;
    const char* identifier;
    const char* mediaType;  // compared over the field's full four bytes
    const char* company;
};

void PrintTo(const DvdRowCase& c, std::ostream* os) {
    *os << "row " << c.row;
}

class DvdRows : public ::testing::TestWithParam<DvdRowCase> {};

TEST_P(DvdRows, MatchTheTable) {
    const DvdRowCase& c = GetParam();
    const DvdMakerRow& row = kDvdMakerTable[c.row];
    EXPECT_STREQ(row.identifier, c.identifier);
    char expectedType[4] = {};
    std::memcpy(expectedType, c.mediaType, std::strlen(c.mediaType));
    EXPECT_EQ(std::memcmp(row.mediaType, expectedType, sizeof expectedType), 0);
    EXPECT_STREQ(row.company, c.company);
}

INSTANTIATE_TEST_SUITE_P(
    SpotChecks, DvdRows,
    ::testing::Values(DvdRowCase{0, "BEALL", "P40", "BeAll"},
                      DvdRowCase{6, "FORNEX", "", "Fornet International Pte. Ltd."},
                      DvdRowCase{13, "MAX", "RG01", "Maxell"},
                      DvdRowCase{20, "NANYA", "DR", "Nan Ya Plastics Corporation"},
                      DvdRowCase{26, "RICOHJPN", "R00", "Ricoh Company Limited"},
                      DvdRowCase{39, "YUDEN000", "T01", "Taiyo Yuden Company Limited"}));

struct AtipLookupCase {
    std::uint32_t leadIn;
    const char* company;
};

void PrintTo(const AtipLookupCase& c, std::ostream* os) {
    *os << c.leadIn;
}

class AtipLookup : public ::testing::TestWithParam<AtipLookupCase> {};

TEST_P(AtipLookup, FindsTheRowHoldingTheTime) {
    EXPECT_STREQ(FindAtipMaker(GetParam().leadIn), GetParam().company) << GetParam().leadIn;
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, AtipLookup,
    ::testing::Values(
        AtipLookupCase{972666, "CMC Magnetics Corporation"},  // 97:26:66 inside row 60
        AtipLookupCase{972660, "CMC Magnetics Corporation"},  // row 60's own bound
        AtipLookupCase{972659, "Lead Data Inc."},             // last time of row 59
        AtipLookupCase{972700, "Ricoh Company Limited"},      // row 61 starts where 60 ends
        AtipLookupCase{964310, "CMC Magnetics Corporation"},  // smallest bound
        AtipLookupCase{964309, "Unknown Manufacturer"},
        AtipLookupCase{0, "Unknown Manufacturer"},  // a CD whose time could not be read
        AtipLookupCase{975150, "Hile Optical Disc Technology Corp."},
        AtipLookupCase{995973, "Hile Optical Disc Technology Corp."},
        AtipLookupCase{995974, "Unknown Manufacturer"},
        AtipLookupCase{995975, "Unknown Manufacturer"},
        AtipLookupCase{1000000, "Unknown Manufacturer"},
        AtipLookupCase{std::numeric_limits<std::uint32_t>::max(), "Unknown Manufacturer"},
        // Bounds compare as plain numbers, not as times: "97:18:99" still lies in row 18.
        AtipLookupCase{971899, "Taroko International Co., Ltd."},
        AtipLookupCase{972099, "Taroko International Co., Ltd."},
        AtipLookupCase{972100, "Intersonic SA"}));

TEST(AtipLookup, EveryRowAnswersForItsWholeRange) {
    for (std::size_t k = 0; k + 1 < kAtipMakerTable.size(); ++k) {
        const std::uint32_t first = kAtipMakerTable[k].lowerBound;
        const std::uint32_t last = kAtipMakerTable[k + 1].lowerBound - 1;
        EXPECT_EQ(FindAtipMaker(first), kAtipMakerTable[k].company) << "row " << k;
        EXPECT_EQ(FindAtipMaker(last), kAtipMakerTable[k].company) << "row " << k;
    }
}

TEST(AtipLookup, WideRangeOfRowTwo) {
    for (std::uint32_t leadIn = 964330; leadIn <= 969999; ++leadIn) {
        ASSERT_EQ(FindAtipMaker(leadIn), kAtipMakerTable[2].company) << leadIn;
    }
    EXPECT_STREQ(FindAtipMaker(969999), "RiTEK Corporation");
    EXPECT_STREQ(FindAtipMaker(970000), "Moser Baer India Limited");
}

struct DvdLookupCase {
    const char* name;
    const char* (*find)(const char*);
    const char* text;
    const char* expected;  // null: no row
    std::size_t expectedRow = 0;
};

void PrintTo(const DvdLookupCase& c, std::ostream* os) {
    *os << c.name;
}

class DvdLookup : public ::testing::TestWithParam<DvdLookupCase> {};

TEST_P(DvdLookup, FindsTheFirstMatchingRow) {
    const DvdLookupCase& c = GetParam();
    const char* found = c.find(c.text);
    if (c.expected == nullptr) {
        EXPECT_EQ(found, nullptr) << OrNull(found);
        return;
    }
    ASSERT_NE(found, nullptr);
    EXPECT_STREQ(found, c.expected);
    // The first row in table order wins, which the returned text's address tells apart.
    EXPECT_EQ(found, kDvdMakerTable[c.expectedRow].company);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DvdLookup,
    ::testing::Values(
        DvdLookupCase{"MinusCmcMaMatchesShortRowFirst", FindDvdMinusMaker, "CMC MA",
                      "CMC Magnetics Corporation", 2},
        DvdLookupCase{"MinusMaxellMatchesMaxRow", FindDvdMinusMaker, "MAXELL", "Maxell", 13},
        DvdLookupCase{"MinusIdentifierInsideLongerText", FindDvdMinusMaker, "XXRITEKG04",
                      "RiTEK Corporation", 29},
        DvdLookupCase{"MinusLowerCase", FindDvdMinusMaker, "cmc ma", nullptr},
        DvdLookupCase{"MinusEmpty", FindDvdMinusMaker, "", nullptr},
        DvdLookupCase{"MinusNull", FindDvdMinusMaker, nullptr, nullptr},
        DvdLookupCase{"MinusUnknown", FindDvdMinusMaker, "ZZZZZZ", nullptr},
        DvdLookupCase{"PlusRicoh", FindDvdPlusMaker, "RICOHJPN", "Ricoh Company Limited", 26},
        DvdLookupCase{"PlusCmcMagExact", FindDvdPlusMaker, "CMC MAG", "CMC Magnetics Corporation",
                      3},
        DvdLookupCase{"PlusCmcAlone", FindDvdPlusMaker, "CMC", "CMC Magnetics Corporation", 2},
        DvdLookupCase{"PlusTrailingSpace", FindDvdPlusMaker, "TYG01 ", nullptr},
        DvdLookupCase{"PlusPrefixOnly", FindDvdPlusMaker, "RICOH", nullptr},
        DvdLookupCase{"PlusLowerCase", FindDvdPlusMaker, "ricohjpn", nullptr},
        DvdLookupCase{"PlusEmpty", FindDvdPlusMaker, "", nullptr},
        DvdLookupCase{"PlusNull", FindDvdPlusMaker, nullptr, nullptr}),
    [](const ::testing::TestParamInfo<DvdLookupCase>& param) { return param.param.name; });

}  // namespace
}  // namespace korvalend
