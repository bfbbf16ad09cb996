#include "app/cli/trace_platform.h"

#include <array>

#include "device/sense_data.h"
#include "device/sense_table.h"

namespace korvalend::cli {

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

void CommandTracer::OnOpen(const std::string& root, const OpenResult& result) {
    if (!result.connection)
        std::fprintf(out_, "trace: %s: %s\n", root.c_str(), result.message.c_str());
}

void CommandTracer::OnCommand(const std::string& root,
                              std::span<const std::uint8_t, kCommandBlockSize> command,
                              std::uint8_t direction, std::span<const std::uint8_t> data,
                              const TransportResult& result, double seconds) {
    const std::string line = TraceLine(root, command, direction, data.size(), result, seconds);
    std::fputs(line.c_str(), out_);
    std::fflush(out_);
}

}  // namespace korvalend::cli
