#include "mmc/type_names.h"

namespace korvalend {
namespace {

template <std::size_t N>
constexpr std::array<char, N> Padded(const char* text) {
    std::array<char, N> name{};
    std::size_t i = 0;
    for (; i < N - 1 && text[i] != '\0'; ++i) name[i] = text[i];
    for (; i < N - 1; ++i) name[i] = ' ';
    return name;
}

}  // namespace

const std::array<std::array<char, 10>, kDriveTypeCount> kDriveTypeNames{
    Padded<10>("UNKNOWN"), Padded<10>("CD-ROM"),    Padded<10>("DVD-ROM"),   Padded<10>("CD-RW"),
    Padded<10>("COMBO"),   Padded<10>("DVD-R"),     Padded<10>("DVD+R"),     Padded<10>("DVD+RW"),
    Padded<10>("DVD-RW"),  Padded<10>("DVD+R/+RW"), Padded<10>("DVD-R/-RW"), Padded<10>("DVD DUAL"),
};

const std::array<std::array<char, 22>, kDiscTypeCount> kDiscTypeNames{
    Padded<22>("NO MEDIA"),
    Padded<22>("UNKNOWN"),
    Padded<22>("CD-ROM"),
    Padded<22>("CDR"),
    Padded<22>("CDR"),
    Padded<22>("CDR (A-)"),
    Padded<22>("CDR (A+)"),
    Padded<22>("CDR (B-)"),
    Padded<22>("CDR (B+)"),
    Padded<22>("CDR (C-)"),
    Padded<22>("CDR (C+)"),
    Padded<22>("NORMAL CD-RW"),
    Padded<22>("HIGH SPEED CD-RW"),
    Padded<22>("ULTRA SPEED CD-RW 24X"),
    Padded<22>("ULTRA SPEED CD-RW 32X"),
    Padded<22>("DVD-ROM"),
    Padded<22>("DVD-RAM"),
    Padded<22>("DVD-R"),
    Padded<22>("DVD-RW"),
    Padded<22>("DVD+RW"),
    Padded<22>("DVD+R"),
};

const char* DriveTypeName(std::uint8_t code) {
    return kDriveTypeNames[code < kDriveTypeCount ? code : 0].data();
}

const char* DiscTypeName(std::uint8_t code) {
    return kDiscTypeNames[code < kDiscTypeCount ? code : 0].data();
}

}  // namespace korvalend
