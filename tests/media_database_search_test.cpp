#include "mediadb/media_database_search.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "builder/media_line.h"

namespace korvalend {
namespace {

namespace field = block_field;

// A configuration block to fill row by row.
class BlockBuilder {
  public:
    BlockBuilder() : bytes_(kConfigurationBlockSize, 0) {}

    BlockBuilder& Cd(std::size_t row, std::string_view line) {
        const auto record = ParseCdMediaLine(line);
        EXPECT_TRUE(record.has_value()) << line;
        const auto raw = record.value_or(CdMediaRecord{}).ToBytes();
        std::copy(raw.begin(), raw.end(),
                  bytes_.begin() + static_cast<std::ptrdiff_t>(field::kCdTable.offset +
                                                               row * kCdMediaRecordSize));
        return *this;
    }
    BlockBuilder& Dvd(std::size_t row, std::string_view line) {
        const auto parsed = ParseDvdMediaLine(line);
        EXPECT_EQ(parsed.outcome, DvdLineParse::Outcome::Accepted) << line;
        const auto raw = parsed.record.ToBytes();
        std::copy(raw.begin(), raw.end(),
                  bytes_.begin() + static_cast<std::ptrdiff_t>(field::kDvdTable.offset +
                                                               row * kDvdMediaRecordSize));
        return *this;
    }
    std::vector<std::uint8_t>& bytes() { return bytes_; }
    ConfigurationBlockView View() const {
        return ConfigurationBlockView(std::span<const std::uint8_t, kConfigurationBlockSize>(
            bytes_.data(), kConfigurationBlockSize));
    }

  private:
    std::vector<std::uint8_t> bytes_;
};

std::string Text(const char* text) {
    return text ? std::string(text) : std::string("<null>");
}

UserCdList UserCd(std::initializer_list<std::string_view> lines) {
    UserCdList list;
    for (const auto line : lines) list.push_back(ParseCdMediaLine(line).value());
    return list;
}

UserDvdList UserDvd(std::initializer_list<std::string_view> lines) {
    UserDvdList list;
    for (const auto line : lines) list.push_back(ParseDvdMediaLine(line).record);
    return list;
}

using Identifier = std::array<std::uint8_t, kDvdCompareLength>;

// The literal's bytes, embedded NULs included, zero-filled to 11 bytes.
template <std::size_t N>
Identifier Id(const char (&text)[N]) {
    static_assert(N - 1 <= kDvdCompareLength);
    Identifier id{};
    std::memcpy(id.data(), text, N - 1);
    return id;
}

TEST(MediaKeyValue, OnlyWholeDecimalNumbers) {
    struct Case {
        std::string key;
        std::optional<std::int64_t> value;
    };
    const std::vector<Case> cases{
        {"972660", 972660},
        {"000000", 0},
        {"+12", 12},
        {"-5", -5},
        {"", std::nullopt},
        {"97a660", std::nullopt},
        {" 97266", std::nullopt},
        {"9726 0", std::nullopt},
        {"+", std::nullopt},
        {"+-1", std::nullopt},
        {"0x1F", std::nullopt},
    };
    for (const auto& c : cases) {
        std::array<char, kMediaKeyWidth> key{};
        std::copy(c.key.begin(), c.key.end(), key.begin());
        EXPECT_EQ(MediaKeyValue(key), c.value) << '"' << c.key << '"';
    }
    // A key that fills its field without a NUL is still read only within the field.
    const std::array<char, kMediaKeyWidth> full{'1', '2', '3', '4', '5', '6', '7'};
    EXPECT_EQ(MediaKeyValue(full), 1234567);
}

TEST(FindCdMaker, BothTimesBeforeLeadInAlone) {
    BlockBuilder block;
    block.Cd(0, "972660_795000=A").Cd(1, "972660_794970=B");
    EXPECT_EQ(Text(FindCdMakerInDatabase(nullptr, block.View(), 972660, 794970)), "B");

    BlockBuilder onlyFirst;
    onlyFirst.Cd(0, "972660_795000=A");
    EXPECT_EQ(Text(FindCdMakerInDatabase(nullptr, onlyFirst.View(), 972660, 794970)), "A");
    EXPECT_EQ(FindCdMakerInDatabase(nullptr, onlyFirst.View(), 972661, 794970), nullptr);
}

TEST(FindCdMaker, UserEntryNeedsBothTimesAndComesFirst) {
    BlockBuilder block;
    block.Cd(0, "972660_795000=A").Cd(1, "972660_794970=B");
    const UserCdList user = UserCd({"972660_000000=V", "972660_794970=U"});
    EXPECT_EQ(Text(FindCdMakerInDatabase(&user, block.View(), 972660, 794970)), "U");

    // A user entry with the lead-in alone equal is never taken; the embedded row is.
    const UserCdList leadInOnly = UserCd({"972660_000000=V"});
    BlockBuilder embedded;
    embedded.Cd(0, "972660_000000=E");
    EXPECT_EQ(Text(FindCdMakerInDatabase(&leadInOnly, embedded.View(), 972660, 794970)), "E");
    EXPECT_EQ(FindCdMakerInDatabase(&leadInOnly, BlockBuilder().View(), 972660, 794970), nullptr);
}

TEST(FindCdMaker, ReturnedTextIsOwnedByItsListOrBlock) {
    BlockBuilder block;
    block.Cd(2, "111111_222222=Row Two").Cd(0, "000001_000001=x").Cd(1, "000002_000002=y");
    const UserCdList user = UserCd({"333333_444444=User"});
    EXPECT_EQ(FindCdMakerInDatabase(&user, block.View(), 333333, 444444), user[0].makerText.data());
    EXPECT_EQ(static_cast<const void*>(FindCdMakerInDatabase(&user, block.View(), 111111, 222222)),
              static_cast<const void*>(block.bytes().data() + field::kCdTable.offset +
                                       2 * kCdMediaRecordSize + kCdMakerTextOffset));
}

TEST(FindCdMaker, KeysThatAreNotNumbersSkipTheirRecord) {
    BlockBuilder block;
    block.Cd(0, "97266A_794970=Bad").Cd(1, "972660_79497x=BadOut").Cd(2, "972660_794970=Good");
    EXPECT_EQ(Text(FindCdMakerInDatabase(nullptr, block.View(), 972660, 794970)), "Good");
    const UserCdList user = UserCd({"97 660_794970=Bad", "972660_794970=UserGood"});
    EXPECT_EQ(Text(FindCdMakerInDatabase(&user, block.View(), 972660, 794970)), "UserGood");
    // Pass 3 skips the bad lead-in key too, but takes row 1 whose lead-out key is bad.
    EXPECT_EQ(Text(FindCdMakerInDatabase(nullptr, block.View(), 972660, 1)), "BadOut");
}

TEST(FindCdMaker, EmptyLeadInKeyHidesTheRowsAfterIt) {
    BlockBuilder block;
    block.Cd(0, "000001_000001=a").Cd(1, "000002_000002=b").Cd(2, "000003_000003=c");
    block.Cd(4, "972660_794970=Hidden");
    EXPECT_EQ(FindCdMakerInDatabase(nullptr, block.View(), 972660, 794970), nullptr);
    EXPECT_EQ(FindCdMakerInDatabase(nullptr, block.View(), 972660, 0), nullptr);
}

TEST(FindCdMaker, ShippedTablesFindNothing) {
    EXPECT_EQ(FindCdMakerInDatabase(nullptr, RunningConfigurationBlock(), 972660, 794970), nullptr);
    EXPECT_EQ(FindCdMakerInDatabase(nullptr, RunningConfigurationBlock(), 0, 0), nullptr);
    const UserCdList empty;
    EXPECT_EQ(FindCdMakerInDatabase(&empty, RunningConfigurationBlock(), 0, 0), nullptr);
}

TEST(FindCdMaker, LastRowOfAFullTableIsSearched) {
    BlockBuilder block;
    for (std::size_t row = 0; row < kMediaTableRecords; ++row) {
        block.Cd(row, std::to_string(100000 + row) + "_000000=R" + std::to_string(row));
    }
    EXPECT_EQ(Text(FindCdMakerInDatabase(nullptr, block.View(), 100499, 0)), "R499");
    EXPECT_EQ(FindCdMakerInDatabase(nullptr, block.View(), 100500, 0), nullptr);
}

TEST(FindCdMaker, MakerTextWithoutTerminatorIsSkipped) {
    BlockBuilder block;
    block.Cd(0, "972660_794970=x").Cd(1, "972660_794970=Good");
    auto& bytes = block.bytes();
    std::fill_n(
        bytes.begin() + static_cast<std::ptrdiff_t>(field::kCdTable.offset + kCdMakerTextOffset),
        kMakerTextWidth, 'z');
    EXPECT_EQ(Text(FindCdMakerInDatabase(nullptr, block.View(), 972660, 794970)), "Good");
}

TEST(FindDvdMaker, UserThenEmbeddedIgnoringLetterCase) {
    BlockBuilder block;
    block.Dvd(3, "4D43432030303300ABCDEF12=Embedded");
    const Identifier id = Id("MCC 003\0\xAB\xCD\xEF");
    EXPECT_EQ(Text(FindDvdMakerInDatabase(nullptr, block.View(), id)), "Embedded");
    const UserDvdList user = UserDvd({"6D63632030303300ABCDEF00=User lower"});  // "mcc 003"
    EXPECT_EQ(Text(FindDvdMakerInDatabase(&user, block.View(), id)), "User lower");
    EXPECT_EQ(FindDvdMakerInDatabase(&user, block.View(), id), user[0].makerText.data());
}

TEST(FindDvdMaker, TwelfthByteIsNotCompared) {
    const UserDvdList user = UserDvd({"4D43432030303300ABCDEFFF=Match"});
    EXPECT_EQ(
        Text(FindDvdMakerInDatabase(&user, BlockBuilder().View(), Id("MCC 003\0\xAB\xCD\xEF"))),
        "Match");
}

TEST(FindDvdMaker, AllElevenBytesCountEvenAfterAZero) {
    const UserDvdList user = UserDvd({"414200000000000000000000=AB"});
    BlockBuilder block;
    block.Dvd(0, "000000000000000000000001=not a zero row");
    EXPECT_EQ(FindDvdMakerInDatabase(&user, block.View(), Id("AB\0\0\0\0\0\0\0\0\x01")), nullptr);
    EXPECT_EQ(Text(FindDvdMakerInDatabase(&user, block.View(), Id("ab"))), "AB");
}

TEST(FindDvdMaker, EmptyRowsDoNotEndTheSearch) {
    BlockBuilder block;
    block.Dvd(499, "5249434F4A50524E4430324A=Last Row");  // "RICOJPRND02J"
    EXPECT_EQ(Text(FindDvdMakerInDatabase(nullptr, block.View(), Id("RICOJPRND02"))), "Last Row");
}

TEST(FindDvdMaker, ZeroIdentifierMatchesFirstEmptyRow) {
    const Identifier zero{};
    const char* text = FindDvdMakerInDatabase(nullptr, RunningConfigurationBlock(), zero);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(static_cast<const void*>(text),
              static_cast<const void*>(RunningConfigurationBlock().DvdRow(0).data() +
                                       kDvdMakerTextOffset));
    EXPECT_EQ(FindDvdMakerInDatabase(nullptr, RunningConfigurationBlock(), Id("MCC 003")), nullptr);
}

TEST(FindDvdMaker, MakerTextWithoutTerminatorIsSkippedEvenInTheLastRow) {
    BlockBuilder block;
    block.Dvd(499, "414141414141414141414141=x");
    auto& bytes = block.bytes();
    std::fill_n(bytes.end() - static_cast<std::ptrdiff_t>(kMakerTextWidth), kMakerTextWidth, 'z');
    EXPECT_EQ(FindDvdMakerInDatabase(nullptr, block.View(), Id("AAAAAAAAAAA")), nullptr);
}

}  // namespace
}  // namespace korvalend
