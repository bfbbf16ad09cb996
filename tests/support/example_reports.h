#pragma once

#include <string>
#include <vector>

namespace korvalend::test {

// The two example reports: a CD-R and a DVD+R in a DVD+R/+RW writer (the built-in demos).
inline const std::vector<std::string> kCdRExampleLines{
    "        Drive Type = DVD+R/+RW",
    "         Disc Type = CDR (A+)             ",
    "          Material = Phthalocyanine",
    "           Lead In = 97:26:66",
    "          Lead Out = 79:59:74",
    "  Nominal Capacity = 702.83MB (79m 59s 74f/LBA:359849)",
    "Manufacturer Maybe = CMC Magnetics Corporation",
    "Korvalend Speed Limit = Wrt(40X),Rd(48X)",
};

inline const std::vector<std::string> kDvdPlusRExampleLines{
    "        Drive Type = DVD+R/+RW",
    "         Disc Type = DVD+R                ",
    "   Manufacturer ID = 52 49 43 4F 48 4A 50 4E 52 30 31 00",
    "  Nominal Capacity = 4.38GB (LBA:2295104)",
    "Manufacturer Maybe = Ricoh Company Limited",
    "Korvalend Speed Limit = Wrt(4.0X),Rd(8.0X)",
};

// Lines as a program prints them, each ended by a line feed.
inline std::string AsOutput(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

}  // namespace korvalend::test
