#include "mmc/maker_tables.h"

#include <string_view>

namespace korvalend {
namespace {

constexpr std::uint32_t AtipTime(std::uint32_t minutes, std::uint32_t seconds,
                                 std::uint32_t frames) {
    return minutes * 10000 + seconds * 100 + frames;
}

}  // namespace

// Company texts reach the report as they stand here, spellings included.
constexpr std::array<DvdMakerRow, 40> kDvdMakerTable = {
    DvdMakerRow{"BEALL", "P40", "BeAll"},
    DvdMakerRow{"BEALL000", "P40", "BeAll"},
    DvdMakerRow{"CMC", "R01", "CMC Magnetics Corporation"},
    DvdMakerRow{"CMC MAG", "R01", "CMC Magnetics Corporation"},
    DvdMakerRow{"CMC MAG", "W01", "CMC Magnetics Corporation"},
    DvdMakerRow{"DAXON", "AZ1", "Daxon Inc."},
    DvdMakerRow{"FORNEX", "", "Fornet International Pte. Ltd."},
    DvdMakerRow{"DVSN", "", "Digital Storage Technology Co., Ltd."},
    DvdMakerRow{"GSC", "", "Gigastorage Corporation"},
    DvdMakerRow{"INFODISC", "A01", "Infodisc Technology Co., Ltd."},
    DvdMakerRow{"LD", "001", "Lead Data Inc."},
    DvdMakerRow{"LEADDATA", "", "Lead Data Inc."},
    DvdMakerRow{"LONGTEN", "", "LONGTEN"},
    DvdMakerRow{"MAX", {'R', 'G', '0', '1'}, "Maxell"},
    DvdMakerRow{"MAXELL", "001", "Maxell"},
    DvdMakerRow{"MBI", "", "Moser Baer India Limited"},
    DvdMakerRow{"MCC", "002", "Mitsubishi Chemical Corporation"},
    DvdMakerRow{"MCC", "A01", "Mitsubishi Chemical Corporation"},
    DvdMakerRow{"MKM", "A02", "Mitsubishi Chemical Corporation"},
    DvdMakerRow{"MPOMEDIA", "001", "MPO"},
    DvdMakerRow{"NANYA", "DR", "Nan Ya Plastics Corporation"},
    DvdMakerRow{"OPTODISC", "OP1", "Opto Disc"},
    DvdMakerRow{"PHILIPS", "041", "Philips Electronics"},
    DvdMakerRow{"PRINCO", "W01", "Princo Corporation"},
    DvdMakerRow{"PRODISC", "R01", "Prodisc Technology Inc."},
    DvdMakerRow{"PRODISC", "W01", "Prodisc Technology Inc."},
    DvdMakerRow{"RICOHJPN", "R00", "Ricoh Company Limited"},
    DvdMakerRow{"RICOHJPN", "R01", "Ricoh Company Limited"},
    DvdMakerRow{"RICOHJPN", "W01", "Ricoh Company Limited"},
    DvdMakerRow{"RITEK", "R01", "RiTEK Corporation"},
    DvdMakerRow{"RITEK", "R02", "RiTEK Corporation"},
    DvdMakerRow{"RITEK", "001", "RiTEK Corporation"},
    DvdMakerRow{"SENTINEL", "W01", "Sentinel Technologies"},
    DvdMakerRow{"SKC", "", "SKC Co., Ltd."},
    DvdMakerRow{"SKYMEDIA", "R01", "Sky Media Manufacturing SA"},
    DvdMakerRow{"SONY", "D01", "Sony Corporation"},
    DvdMakerRow{"TDK", "001", "TDK Corporation"},
    DvdMakerRow{"TAROKO", "", "Taroko International Co., Ltd."},
    DvdMakerRow{"TYG01", "", "Taiyo Yuden Company Limited"},
    DvdMakerRow{"YUDEN000", "T01", "Taiyo Yuden Company Limited"},
};

constexpr std::array<AtipMakerRow, 129> kAtipMakerTable = {
    AtipMakerRow{AtipTime(96, 43, 10), "CMC Magnetics Corporation"},
    AtipMakerRow{AtipTime(96, 43, 20), "Prodisc Technology Inc."},
    AtipMakerRow{AtipTime(96, 43, 30), "RiTEK Corporation"},
    AtipMakerRow{AtipTime(97, 0, 0), "Moser Baer India Limited"},
    AtipMakerRow{AtipTime(97, 0, 10), "TDK Corporation"},
    AtipMakerRow{AtipTime(97, 3, 10), "Sony Corporation"},
    AtipMakerRow{AtipTime(97, 10, 0), "RiTEK Corporation"},
    AtipMakerRow{AtipTime(97, 15, 0), "TDK Corporation"},
    AtipMakerRow{AtipTime(97, 15, 10), "RiTEK Corporation"},
    AtipMakerRow{AtipTime(97, 15, 20), "Mitsubishi Chemical Corporation"},
    AtipMakerRow{AtipTime(97, 15, 30), "Nan Ya Plastics Corporation"},
    AtipMakerRow{AtipTime(97, 16, 0), "RiTEK,PNY,MB India,Gigastorage"},
    AtipMakerRow{AtipTime(97, 16, 20), "SHENZHEN SG&SAST DIGITAL OPTICAL DISCS CO.,LTD."},
    AtipMakerRow{AtipTime(97, 16, 30), "Grand Advance Technology Ltd."},
    AtipMakerRow{AtipTime(97, 17, 0), "Moser Baer India Limited"},
    AtipMakerRow{AtipTime(97, 17, 10), "Sky Media Manufacturing SA"},
    AtipMakerRow{AtipTime(97, 18, 0), "RiTEK,PNY,MB India,Gigastorage"},
    AtipMakerRow{AtipTime(97, 18, 10), "Wealth Fair Investment Limited"},
    AtipMakerRow{AtipTime(97, 18, 60), "Taroko International Co., Ltd."},
    AtipMakerRow{AtipTime(97, 21, 0), "Intersonic SA"},
    AtipMakerRow{AtipTime(97, 21, 10), "CONDOR CD"},
    AtipMakerRow{AtipTime(97, 21, 20), "E-Top Navigator Techonolgy Inc."},
    AtipMakerRow{AtipTime(97, 21, 30), "Bestdisc Technology Corporation"},
    AtipMakerRow{AtipTime(97, 21, 40), "Optical Disc Manufacturing Equipment"},
    AtipMakerRow{AtipTime(97, 21, 50), "Sound Sound Multi-Media Development Limited"},
    AtipMakerRow{AtipTime(97, 22, 0), "Woongjin Media corp."},
    AtipMakerRow{AtipTime(97, 22, 10), "Seantram Technology Inc."},
    AtipMakerRow{AtipTime(97, 22, 20), "Advanced Digital Media S.r.l."},
    AtipMakerRow{AtipTime(97, 22, 30), "Eximpo"},
    AtipMakerRow{AtipTime(97, 22, 40), "CIS Technology Inc."},
    AtipMakerRow{AtipTime(97, 22, 50), "Hong Kong Digital Technology Co., Ltd."},
    AtipMakerRow{AtipTime(97, 22, 60), "Daxon Inc."},
    AtipMakerRow{AtipTime(97, 23, 0), "Matsushita Electric Industrial Co., Ltd."},
    AtipMakerRow{AtipTime(97, 23, 10), "Doremi Media Co.,Ltd."},
    AtipMakerRow{AtipTime(97, 23, 20), "Nacar Media srl"},
    AtipMakerRow{AtipTime(97, 23, 30), "Audio Distributors Co., Ltd."},
    AtipMakerRow{AtipTime(97, 23, 40), "Victor Company of Japan, Limited"},
    AtipMakerRow{AtipTime(97, 23, 50), "OPTROM.INC."},
    AtipMakerRow{AtipTime(97, 23, 60), "Customer Pressing Oosterhout"},
    AtipMakerRow{AtipTime(97, 24, 0), "Taiyo Yuden Company Limited"},
    AtipMakerRow{AtipTime(97, 24, 10), "SONY Corporation"},
    AtipMakerRow{AtipTime(97, 24, 20), "Computer Support Italcard s.r.l."},
    AtipMakerRow{AtipTime(97, 24, 30), "Unitech Japan Inc."},
    AtipMakerRow{AtipTime(97, 24, 39), "Ramedia"},
    AtipMakerRow{AtipTime(97, 24, 40), "kdg mediatech AG"},
    AtipMakerRow{AtipTime(97, 24, 50), "Guann Yinn Co.,Ltd."},
    AtipMakerRow{AtipTime(97, 24, 60), "Harmonic Hall Optical Disc Ltd."},
    AtipMakerRow{AtipTime(97, 25, 0), "TDK Corporation"},
    AtipMakerRow{AtipTime(97, 25, 1), "MPO"},
    AtipMakerRow{AtipTime(97, 25, 20), "Hitachi Maxell, Ltd."},
    AtipMakerRow{AtipTime(97, 25, 30), "Infodisc Technology Co., Ltd."},
    AtipMakerRow{AtipTime(97, 25, 40), "Vivastar AG."},
    AtipMakerRow{AtipTime(97, 25, 50), "AMS Technology Inc."},
    AtipMakerRow{AtipTime(97, 25, 60), "Xcitek Inc."},
    AtipMakerRow{AtipTime(97, 26, 0), "Fornet International Pte. Ltd."},
    AtipMakerRow{AtipTime(97, 26, 10), "Postech Corporation"},
    AtipMakerRow{AtipTime(97, 26, 20), "SKC Co., Ltd."},
    AtipMakerRow{AtipTime(97, 26, 30), "Optical Disc Corporation"},
    AtipMakerRow{AtipTime(97, 26, 40), "FUJI Photo Film Co., Ltd."},
    AtipMakerRow{AtipTime(97, 26, 50), "Lead Data Inc."},
    AtipMakerRow{AtipTime(97, 26, 60), "CMC Magnetics Corporation"},
    AtipMakerRow{AtipTime(97, 27, 0), "Ricoh Company Limited"},
    AtipMakerRow{AtipTime(97, 27, 1), "Digital Storage Technology Co., Ltd."},
    AtipMakerRow{AtipTime(97, 27, 10), "Plasmon Data Systems Ltd."},
    AtipMakerRow{AtipTime(97, 27, 20), "Princo Corporation"},
    AtipMakerRow{AtipTime(97, 27, 30), "Pioneer Video Corporation"},
    AtipMakerRow{AtipTime(97, 27, 40), "Eastman Kodak Company"},
    AtipMakerRow{AtipTime(97, 27, 50), "Mitsui Chemicals, Inc."},
    AtipMakerRow{AtipTime(97, 27, 60), "Ricoh Company Limited"},
    AtipMakerRow{AtipTime(97, 28, 0), "Opti.Me.S. S.p.A."},
    AtipMakerRow{AtipTime(97, 28, 10), "Gigastorage Corporation"},
    AtipMakerRow{AtipTime(97, 28, 20), "Multi Media Masters & Machinary SA"},
    AtipMakerRow{AtipTime(97, 28, 30), "Auvistar Industry Co.,Ltd."},
    AtipMakerRow{AtipTime(97, 28, 40), "King Pro Mediatek Inc."},
    AtipMakerRow{AtipTime(97, 28, 50), "DELPHI TECHNOLOGY INC."},
    AtipMakerRow{AtipTime(97, 28, 60), "Friendly CD-Tek Co."},
    AtipMakerRow{AtipTime(97, 29, 0), "Taeil Media Co.,Ltd."},
    AtipMakerRow{AtipTime(97, 29, 10), "Vanguard Disc Inc."},
    AtipMakerRow{AtipTime(97, 29, 20), "Unidisc Technology Co., Ltd."},
    AtipMakerRow{AtipTime(97, 29, 30), "Hile Optical Disc Technology Corp."},
    AtipMakerRow{AtipTime(97, 29, 40), "Viva Magnetics Limited"},
    AtipMakerRow{AtipTime(97, 29, 50), "General Magnetics Ld"},
    AtipMakerRow{AtipTime(97, 30, 10), "CDA Datentrager Albrechts GmbH"},
    AtipMakerRow{AtipTime(97, 31, 0), "RiTEK Corporation"},
    AtipMakerRow{AtipTime(97, 31, 30), "Grand Advance Technology Ltd."},
    AtipMakerRow{AtipTime(97, 32, 0), "TDK Corporation"},
    AtipMakerRow{AtipTime(97, 32, 10), "Prodisc Technology Inc."},
    AtipMakerRow{AtipTime(97, 34, 20), "Mitsubishi Chemicals Corporation"},
    AtipMakerRow{AtipTime(97, 42, 20), "Advanced Digital Media S.r.l."},
    AtipMakerRow{AtipTime(97, 45, 0), "Fornet International Pte. Ltd."},
    AtipMakerRow{AtipTime(97, 45, 10), "Unitech Japan Inc."},
    AtipMakerRow{AtipTime(97, 45, 20), "Daxon Technology, Inc."},
    AtipMakerRow{AtipTime(97, 45, 40), "CIS Technology Inc."},
    AtipMakerRow{AtipTime(97, 45, 50), "Guann Yinn Co.,Ltd."},
    AtipMakerRow{AtipTime(97, 45, 60), "Xcitek Inc."},
    AtipMakerRow{AtipTime(97, 46, 0), "Taiyo Yuden Company Limited"},
    AtipMakerRow{AtipTime(97, 46, 10), "Hong Kong Digital Technology Co., Ltd."},
    AtipMakerRow{AtipTime(97, 46, 20), "Multi Media Masters & Machinary SA"},
    AtipMakerRow{AtipTime(97, 46, 30), "Computer Support Italcard s.r.l."},
    AtipMakerRow{AtipTime(97, 46, 40), "FUJI Photo Film Co., Ltd."},
    AtipMakerRow{AtipTime(97, 46, 50), "Auvistar Industry Co.,Ltd."},
    AtipMakerRow{AtipTime(97, 46, 60), "CMC Magnetics Corporation"},
    AtipMakerRow{AtipTime(97, 47, 10), "Hitachi Maxell, Ltd."},
    AtipMakerRow{AtipTime(97, 47, 20), "Princo Corporation"},
    AtipMakerRow{AtipTime(97, 47, 40), "Postech Corporation"},
    AtipMakerRow{AtipTime(97, 47, 50), "RiTEK Corporation"},
    AtipMakerRow{AtipTime(97, 47, 60), "Prodisc Technology Inc."},
    AtipMakerRow{AtipTime(97, 48, 0), "Ricoh Company Limited"},
    AtipMakerRow{AtipTime(97, 48, 10), "Eastman Kodak Company"},
    AtipMakerRow{AtipTime(97, 48, 20), "Plasmon Data Systems Ltd."},
    AtipMakerRow{AtipTime(97, 48, 30), "Pioneer Video Corporation"},
    AtipMakerRow{AtipTime(97, 48, 40), "Digital Storage Technology Co., Ltd."},
    AtipMakerRow{AtipTime(97, 48, 50), "Mitsubishi Chemicals Corporation"},
    AtipMakerRow{AtipTime(97, 48, 60), "Lead Data Inc."},
    AtipMakerRow{AtipTime(97, 49, 0), "TDK Corporation"},
    AtipMakerRow{AtipTime(97, 49, 10), "Gigastorage Corporation"},
    AtipMakerRow{AtipTime(97, 49, 20), "King Pro Mediatek Inc."},
    AtipMakerRow{AtipTime(97, 49, 30), "Opti.Me.S. S.p.A."},
    AtipMakerRow{AtipTime(97, 49, 40), "Victor Company of Japan, Limited"},
    AtipMakerRow{AtipTime(97, 49, 50), "Sky Media Manufacturing SA"},
    AtipMakerRow{AtipTime(97, 49, 60), "Matsushita Electric Industrial Co., Ltd."},
    AtipMakerRow{AtipTime(97, 50, 0), "CONDOR CD"},
    AtipMakerRow{AtipTime(97, 50, 10), "Vanguard Disc Inc."},
    AtipMakerRow{AtipTime(97, 50, 20), "Mitsubishi Chemicals Corporation"},
    AtipMakerRow{AtipTime(97, 50, 30), "CDA Datentrager Albrechts GmbH"},
    AtipMakerRow{AtipTime(97, 51, 10), "Grand Advance Technology Ltd."},
    AtipMakerRow{AtipTime(97, 51, 20), "Infodisc Technology Co., Ltd."},
    AtipMakerRow{AtipTime(97, 51, 50), "Hile Optical Disc Technology Corp."},
    AtipMakerRow{AtipTime(99, 59, 74), "Unknown Manufacturer"},
};

namespace {

constexpr bool BoundsStrictlyAscend() {
    for (std::size_t k = 1; k < kAtipMakerTable.size(); ++k) {
        if (kAtipMakerTable[k - 1].lowerBound >= kAtipMakerTable[k].lowerBound) return false;
    }
    return true;
}
// The ranges are only disjoint while this holds; an edit that breaks the order must not build.
static_assert(BoundsStrictlyAscend());

constexpr std::size_t kUnknownAtipRow = kAtipMakerTable.size() - 1;

}  // namespace

const char* FindAtipMaker(std::uint32_t leadIn) {
    for (std::size_t k = 0; k < kUnknownAtipRow; ++k) {
        if (kAtipMakerTable[k].lowerBound <= leadIn && leadIn < kAtipMakerTable[k + 1].lowerBound) {
            return kAtipMakerTable[k].company;
        }
    }
    return kAtipMakerTable[kUnknownAtipRow].company;
}

const char* FindDvdMinusMaker(const char* identifierText) {
    if (identifierText == nullptr) return nullptr;
    const std::string_view text(identifierText);
    if (text.empty()) return nullptr;
    for (const DvdMakerRow& row : kDvdMakerTable) {
        if (text.find(row.identifier) != std::string_view::npos) return row.company;
    }
    return nullptr;
}

const char* FindDvdPlusMaker(const char* manufacturerId) {
    if (manufacturerId == nullptr) return nullptr;
    const std::string_view id(manufacturerId);
    for (const DvdMakerRow& row : kDvdMakerTable) {
        if (id == row.identifier) return row.company;
    }
    return nullptr;
}

}  // namespace korvalend
