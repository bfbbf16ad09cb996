#include "device/linux/sysfs_names.h"

#include <array>
#include <charconv>
#include <limits>
#include <string>

namespace korvalend {
namespace {

// A run of decimal digits and nothing else, as a number that fits unsigned.
std::optional<unsigned> DecimalNumber(std::string_view text) {
    if (text.empty()) return std::nullopt;
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<unsigned> NumberAfter(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix)) return std::nullopt;
    return DecimalNumber(name.substr(prefix.size()));
}

bool IsUsbBus(std::string_view component) {
    return NumberAfter(component, "usb").has_value();
}

bool StartsWithDigitAfter(std::string_view component, std::string_view prefix) {
    return component.size() > prefix.size() && component.starts_with(prefix) &&
           component[prefix.size()] >= '0' && component[prefix.size()] <= '9';
}

// The firewire stack names its nodes "fwN" and "fwN.M"; the old ieee1394 stack used
// "fw-hostN", an "ieee1394" bus and the "sbp2" driver.
bool Is1394Component(std::string_view component) {
    return StartsWithDigitAfter(component, "fw") || component.starts_with("fw-host") ||
           component.find("firewire") != std::string_view::npos ||
           component.find("ieee1394") != std::string_view::npos || component.starts_with("sbp");
}

}  // namespace

std::optional<unsigned> OpticalDriveNumber(std::string_view name) {
    return NumberAfter(name, "sr");
}

std::optional<unsigned> GenericNodeNumber(std::string_view name) {
    if (name.starts_with("scsi_generic:"))
        name.remove_prefix(std::string_view("scsi_generic:").size());
    return NumberAfter(name, "sg");
}

std::optional<DriveAddress> ParseScsiAddress(std::string_view name) {
    std::array<std::int16_t, 4> fields{};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::size_t colon = name.find(':');
        const bool last = i + 1 == fields.size();
        if (last != (colon == std::string_view::npos)) return std::nullopt;
        const auto value = DecimalNumber(name.substr(0, colon));
        if (!value || *value > static_cast<unsigned>(std::numeric_limits<std::int16_t>::max())) {
            return std::nullopt;
        }
        fields[i] = static_cast<std::int16_t>(*value);
        if (!last) name.remove_prefix(colon + 1);
    }
    return DriveAddress{
        .adapter = fields[0], .pathId = fields[1], .target = fields[2], .lun = fields[3]};
}

std::uint32_t BusKindOfDevicePath(const std::filesystem::path& devicePath) {
    std::uint32_t kind = kBusOther;
    for (const auto& part : devicePath) {
        const std::string component = part.string();
        if (IsUsbBus(component)) {
            kind = kBusUsb;
        } else if (Is1394Component(component)) {
            kind = kBus1394;
        }
    }
    return kind;
}

}  // namespace korvalend
