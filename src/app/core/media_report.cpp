#include "app/core/media_report.h"

#include <array>
#include <cstdarg>
#include <cstdio>

#include "mediadb/media_lookup.h"
#include "mmc/atip_time.h"
#include "mmc/type_names.h"

namespace korvalend {
namespace {

constexpr std::int32_t kReportWaitSeconds = 10;

// Lines are formatted into a buffer of 256 characters; longer results are cut, never overrun.
[[gnu::format(printf, 2, 3)]] void AddFormatted(ReportSink& sink, const char* format, ...) {
    std::array<char, 256> line{};
    va_list args;
    va_start(args, format);
    std::vsnprintf(line.data(), line.size(), format, args);
    va_end(args);
    sink.AddLine(line.data());
}

void CdPath(AtapiDevice& device, const UserMediaLists* user, const ConfigurationBlockView& block,
            ReportSink& sink, ReportFacts& facts) {
    facts.leadIn = device.GetAtipTime(true);
    facts.leadOut = device.GetAtipTime(false);

    const SplitTime in = SplitAtipTime(facts.leadIn);
    if (IsRewritableCd(facts.discType)) {
        sink.AddLine("          Material = Phase Change");
    } else if (in.f % 10 < 5) {
        sink.AddLine("          Material = Cyanine");
    } else {
        sink.AddLine("          Material = Phthalocyanine");
    }
    AddFormatted(sink, "           Lead In = %.2d:%.2d:%.2d", in.m, in.s, in.f);

    const SplitTime out = SplitAtipTime(facts.leadOut);
    AddFormatted(sink, "          Lead Out = %.2d:%.2d:%.2d", out.m, out.s, out.f);
    facts.lba = MsfToLba(out.m, out.s, out.f);
    facts.capacityMb = facts.lba * 2048.0 * (1.0 / 1048576.0);
    AddFormatted(sink, "  Nominal Capacity = %.2fMB (%.2dm %.2ds %.2df/LBA:%d)", facts.capacityMb,
                 out.m, out.s, out.f, facts.lba);

    const char* maker =
        LookupMediaMaker(device, user, block, facts.discType, facts.leadIn, facts.leadOut);
    if (maker) {
        facts.maker = maker;
        AddFormatted(sink, "Manufacturer Maybe = %s", maker);
    } else {
        // Only an unknown disc type can reach here; name the drive's last word like a DVD.
        AddFormatted(sink, "Manufacturer Maybe = Unknown(%s)", device.SenseText().c_str());
    }

    device.SetCdSpeed(0, 0xFFFF, 0xFFFF, 0);
    facts.writeSpeed = device.GetCurrentWriteSpeed();
    facts.readSpeed = device.GetCurrentReadSpeed();
    facts.writeMultiple = facts.writeSpeed / kCdSpeedUnit;
    facts.readMultiple = facts.readSpeed / kCdSpeedUnit;
    AddFormatted(sink, "Korvalend Speed Limit = Wrt(%.0fX),Rd(%.0fX)", facts.writeMultiple,
                 facts.readMultiple);
}

void DvdPath(AtapiDevice& device, const UserMediaLists* user, const ConfigurationBlockView& block,
             ReportSink& sink, ReportFacts& facts) {
    std::array<char, 12> first{};
    std::array<char, 12> second{};
    if (IsDvdPlusDisc(facts.discType)) {
        device.ReadDvdPlusMakerId(std::span<char>(first.data(), 9));
        device.ReadDvdPlusMediaTypeId(std::span<char>(second.data(), 4));
        for (std::size_t i = 0; i < 8; ++i)
            facts.identifier[i] = static_cast<std::uint8_t>(first[i]);
        for (std::size_t i = 0; i < 4; ++i) {
            facts.identifier[8 + i] = static_cast<std::uint8_t>(second[i]);
        }
    } else {
        device.ReadDvdMinusMakerId(first);
        for (std::size_t i = 0; i < 12; ++i)
            facts.identifier[i] = static_cast<std::uint8_t>(first[i]);
    }
    const auto& id = facts.identifier;
    AddFormatted(
        sink, "   Manufacturer ID = %.2X %.2X %.2X %.2X %.2X %.2X %.2X %.2X %.2X %.2X %.2X %.2X",
        id[0], id[1], id[2], id[3], id[4], id[5], id[6], id[7], id[8], id[9], id[10], id[11]);

    facts.blocks = device.GetDiscCapacity();
    facts.capacityGb = facts.blocks * 2.0 * (1.0 / 1048576.0);
    AddFormatted(sink, "  Nominal Capacity = %.2fGB (LBA:%d)", facts.capacityGb,
                 static_cast<std::int32_t>(facts.blocks));

    if (const char* maker = LookupMediaMaker(device, user, block, facts.discType, 0, 0)) {
        facts.maker = maker;
        AddFormatted(sink, "Manufacturer Maybe = %s", maker);
    } else {
        AddFormatted(sink, "Manufacturer Maybe = Unknown(%s)", device.SenseText().c_str());
    }

    device.SetMaxStreaming();
    device.SetCdSpeed(0, 0xFFFF, 0xFFFF, 0);
    facts.writeSpeed = facts.driveType > 4 ? device.GetMaxWriteSpeed() : 0.0;
    facts.readSpeed = device.GetCurrentReadSpeed();
    facts.writeMultiple = facts.writeSpeed / kDvdSpeedUnit;
    facts.readMultiple = facts.readSpeed / kDvdSpeedUnit;
    AddFormatted(sink, "Korvalend Speed Limit = Wrt(%.1fX),Rd(%.1fX)", facts.writeMultiple,
                 facts.readMultiple);
}

}  // namespace

std::string PadText(const std::string& text, int width, char fill, bool left) {
    if (width <= 0 || text.size() >= static_cast<std::size_t>(width)) return text;
    const std::string run(static_cast<std::size_t>(width) - text.size(), fill);
    return left ? run + text : text + run;
}

SplitTime SplitAtipTime(std::uint32_t time) {
    std::string digits = std::to_string(time);
    digits = digits.size() < 6 ? PadText(digits, 6, '0', true) : digits.substr(0, 6);
    return SplitTime{std::stoi(digits.substr(0, 2)), std::stoi(digits.substr(2, 2)),
                     std::stoi(digits.substr(4, 2))};
}

ReportFacts RunMediaReport(AtapiDevice& device, const DriveRecord* record,
                           const UserMediaLists* user, const ConfigurationBlockView& block,
                           ReportSink& sink) {
    ReportFacts facts;
    sink.Clear();
    sink.AddLine("Please wait ...");
    sink.Flush();
    device.WaitUnitReady(kReportWaitSeconds);
    sink.Clear();

    if (!record) return facts;
    if (record->driveTypeName) {
        facts.hasDriveLine = true;
        facts.driveTypeName = device.GetDriveTypeName();
        AddFormatted(sink, "        Drive Type = %s", facts.driveTypeName.c_str());
    }
    facts.driveType = device.GetDriveType();
    facts.discType = device.GetDiscType();
    facts.discTypeName = device.GetDiscTypeName();
    AddFormatted(sink, "         Disc Type = %s", facts.discTypeName.c_str());

    facts.isCd = IsCdDisc(facts.discType);
    facts.isDvd = IsDvdDisc(facts.discType);
    if (facts.isCd) CdPath(device, user, block, sink, facts);
    if (facts.isDvd) DvdPath(device, user, block, sink, facts);

    facts.lastSenseCode = device.SenseCode();
    facts.lastSenseText = device.SenseText();
    return facts;
}

}  // namespace korvalend
