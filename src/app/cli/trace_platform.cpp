#include "app/cli/trace_platform.h"

#include <array>

#include "device/hi_timer.h"
#include "device/sense_data.h"
#include "device/sense_table.h"

namespace korvalend::cli {
namespace {

class TraceConnection final : public DriveConnection {
  public:
    TraceConnection(std::unique_ptr<DriveConnection> inner, TracePlatform& owner, std::string root)
        : inner_(std::move(inner)), owner_(&owner), root_(std::move(root)) {}

    TransportResult Execute(std::span<const std::uint8_t, kCommandBlockSize> command,
                            std::uint8_t direction, std::span<std::uint8_t> data,
                            std::uint32_t timeoutMilliseconds) override {
        HiTimer timer(owner_->GetClock());
        timer.Start(true);
        const TransportResult result =
            inner_->Execute(command, direction, data, timeoutMilliseconds);
        timer.Stop();
        const std::string line =
            TraceLine(root_, command, direction, data.size(), result, timer.TotalSeconds());
        std::fputs(line.c_str(), owner_->Stream());
        std::fflush(owner_->Stream());
        return result;
    }

  private:
    std::unique_ptr<DriveConnection> inner_;
    TracePlatform* owner_;
    std::string root_;
};

const char* DirectionName(std::uint8_t direction) {
    return direction == kDirectionIn ? "in" : direction == kDirectionOut ? "out" : "none";
}

}  // namespace

std::string TraceLine(const std::string& root, std::span<const std::uint8_t, 12> command,
                      std::uint8_t direction, std::size_t length, const TransportResult& result,
                      double seconds) {
    std::string line = "trace: " + root + ":";
    std::array<char, 160> text{};
    for (std::uint8_t b : command) {
        std::snprintf(text.data(), text.size(), " %02X", b);
        line += text.data();
    }
    std::snprintf(text.data(), text.size(), "  %s %zu -> ", DirectionName(direction), length);
    line += text.data();
    const SenseTriple t = TripleOf(result.sense);
    if (result.completed) {
        std::snprintf(text.data(), text.size(), "ok, %u bytes", result.transferred);
        line += text.data();
    } else if (t.senseKey != 0) {
        line += "sense " + SenseTextOf(t.senseKey, t.asc, t.ascq);
        if (line.back() == ' ') line.pop_back();
    } else {
        line += "transport failure, no sense";
    }
    std::snprintf(text.data(), text.size(), " (%.6f s)\n", seconds);
    line += text.data();
    return line;
}

std::vector<std::string> TracePlatform::EnumerateOpticalDrives() {
    return inner_->EnumerateOpticalDrives();
}

AddressResult TracePlatform::QueryAddress(const std::string& root) {
    return inner_->QueryAddress(root);
}

std::uint32_t TracePlatform::QueryBusType(const std::string& root) {
    return inner_->QueryBusType(root);
}

OpenResult TracePlatform::Open(const std::string& root) {
    OpenResult result = inner_->Open(root);
    if (result.connection) {
        result.connection =
            std::make_unique<TraceConnection>(std::move(result.connection), *this, root);
    } else {
        std::fprintf(out_, "trace: %s: %s\n", root.c_str(), result.message.c_str());
    }
    return result;
}

}  // namespace korvalend::cli
