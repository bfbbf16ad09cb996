#include "device/sim/capture.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace korvalend {
namespace {

constexpr std::string_view kMagic = "korvalend-capture";
constexpr std::size_t kMaxDataBytes = 1u << 20;  // far above any answer the program asks for

std::vector<std::string_view> Split(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Appends the bytes of hex words ("00", "DEADBEEF"); false on an odd or non-hex word.
bool AppendHex(std::span<const std::string_view> words, std::vector<std::uint8_t>& out,
               std::string& error) {
    for (std::string_view word : words) {
        if (word.size() % 2 != 0) {
            error = "odd number of hex digits in '" + std::string(word) + "'";
            return false;
        }
        for (std::size_t i = 0; i < word.size(); i += 2) {
            const int hi = HexDigit(word[i]);
            const int lo = HexDigit(word[i + 1]);
            if (hi < 0 || lo < 0) {
                error = "'" + std::string(word) + "' is not hexadecimal";
                return false;
            }
            if (out.size() >= kMaxDataBytes) {
                error = "more than 1048576 data bytes";
                return false;
            }
            out.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
        }
    }
    return true;
}

template <typename T>
bool ParseNumber(std::string_view word, T& value, int base = 10) {
    const char* end = word.data() + word.size();
    auto [ptr, ec] = std::from_chars(word.data(), end, value, base);
    return ec == std::errc() && ptr == end;
}

bool ParseSeconds(std::string_view word, double& seconds) {
    const std::string text(word);
    char* end = nullptr;
    seconds = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && !text.empty() && std::isfinite(seconds) &&
           seconds >= 0.0 && seconds < 1e6;
}

std::optional<std::uint8_t> ParseDirection(std::string_view word) {
    if (word == "in") return kDirectionIn;
    if (word == "out") return kDirectionOut;
    if (word == "none") return kDirectionNone;
    return std::nullopt;
}

class Parser {
  public:
    explicit Parser(std::string_view sourceName) : source_(sourceName) {}

    CaptureParseResult Run(std::string_view text) {
        std::size_t pos = 0;
        while (pos <= text.size()) {
            std::size_t end = text.find('\n', pos);
            if (end == std::string_view::npos) end = text.size();
            std::string_view line = text.substr(pos, end - pos);
            ++lineNumber_;
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            if (const std::size_t hash = line.find('#'); hash != std::string_view::npos) {
                line = line.substr(0, hash);
            }
            if (!HandleLine(line)) return Failure();
            if (end == text.size()) break;
            pos = end + 1;
        }
        if (!sawMagic_) {
            error_ = "not a capture file (the first line must be 'korvalend-capture 1')";
            lineNumber_ = 1;
            return Failure();
        }
        if (!FinishExchange()) return Failure();
        return CaptureParseResult{std::move(capture_), {}};
    }

  private:
    CaptureParseResult Failure() {
        return CaptureParseResult{std::nullopt,
                                  source_ + ":" + std::to_string(lineNumber_) + ": " + error_};
    }

    bool HandleLine(std::string_view line) {
        const auto words = Split(line);
        if (words.empty()) return true;
        const std::string_view keyword = words[0];
        const std::span<const std::string_view> args(words.data() + 1, words.size() - 1);
        if (!sawMagic_) {
            if (keyword != kMagic || args.size() != 1 || args[0] != "1") {
                error_ = "not a capture file (the first line must be 'korvalend-capture 1')";
                return false;
            }
            sawMagic_ = true;
            return true;
        }
        if (keyword == "command") return StartExchange(args);
        if (!current_) return HandleHeader(keyword, args);
        return HandleAnswer(keyword, args);
    }

    bool HandleHeader(std::string_view keyword, std::span<const std::string_view> args) {
        if (keyword == "device") {
            if (args.size() != 1) return Fail("'device' takes one path");
            capture_.root = std::string(args[0]);
            return true;
        }
        if (keyword == "address") {
            if (args.size() == 1 && args[0] == "refused") {
                capture_.addressStatus = AddressStatus::Refused;
                return true;
            }
            if (args.size() == 1 && args[0] == "none") {
                capture_.addressStatus = AddressStatus::Unavailable;
                return true;
            }
            std::int16_t values[4];
            if (args.size() != 4) return Fail("'address' takes host channel target lun");
            for (std::size_t i = 0; i < 4; ++i) {
                if (!ParseNumber(args[i], values[i])) {
                    return Fail("'" + std::string(args[i]) + "' is not an address number");
                }
            }
            capture_.addressStatus = AddressStatus::Known;
            capture_.address = DriveAddress{values[0], values[1], values[2], values[3]};
            return true;
        }
        if (keyword == "bus") {
            if (args.size() != 1) return Fail("'bus' takes usb, 1394 or other");
            if (args[0] == "usb")
                capture_.busType = kBusUsb;
            else if (args[0] == "1394")
                capture_.busType = kBus1394;
            else if (args[0] == "other")
                capture_.busType = kBusOther;
            else
                return Fail("unknown bus '" + std::string(args[0]) + "'");
            return true;
        }
        if (keyword == "open") {
            if (args.size() != 1) return Fail("'open' takes ok, denied, missing or busy");
            if (args[0] == "ok")
                capture_.openError = OpenError::None;
            else if (args[0] == "denied")
                capture_.openError = OpenError::PermissionDenied;
            else if (args[0] == "missing")
                capture_.openError = OpenError::NotFound;
            else if (args[0] == "busy")
                capture_.openError = OpenError::Busy;
            else
                return Fail("unknown open state '" + std::string(args[0]) + "'");
            return true;
        }
        return Fail("unknown keyword '" + std::string(keyword) + "' before the first command");
    }

    bool StartExchange(std::span<const std::string_view> args) {
        if (!FinishExchange()) return false;
        // command <12 bytes> <in|out|none> <length>
        std::vector<std::uint8_t> bytes;
        if (args.size() < 3) return Fail("'command' takes 12 bytes, a direction and a length");
        if (!AppendHex(args.first(args.size() - 2), bytes, error_)) return false;
        if (bytes.size() != kCommandBlockSize) {
            return Fail("expected 12 command bytes, found " + std::to_string(bytes.size()));
        }
        const auto direction = ParseDirection(args[args.size() - 2]);
        if (!direction) return Fail("direction must be in, out or none");
        std::uint32_t length = 0;
        if (!ParseNumber(args.back(), length)) return Fail("bad transfer length");
        RecordedExchange exchange;
        std::copy(bytes.begin(), bytes.end(), exchange.command.begin());
        exchange.direction = *direction;
        exchange.length = length;
        exchange.line = lineNumber_;
        current_ = std::move(exchange);
        return true;
    }

    bool HandleAnswer(std::string_view keyword, std::span<const std::string_view> args) {
        RecordedExchange& ex = *current_;
        if (keyword == "data") return AppendHex(args, ex.data, error_);
        if (keyword == "sense") {
            std::uint8_t values[3];
            if (args.size() != 3) return Fail("'sense' takes key, ASC and ASCQ in hex");
            for (std::size_t i = 0; i < 3; ++i) {
                if (!ParseNumber(args[i], values[i], 16)) {
                    return Fail("'" + std::string(args[i]) + "' is not a hex byte");
                }
            }
            ex.sense = SenseTriple{values[0], values[1], values[2]};
            return true;
        }
        if (keyword == "sense-bytes") return AppendHex(args, ex.rawSense, error_);
        if (keyword == "transferred") {
            std::uint32_t n = 0;
            if (args.size() != 1 || !ParseNumber(args[0], n)) return Fail("bad byte count");
            ex.transferred = n;
            return true;
        }
        if (keyword == "time") {
            if (args.size() != 1 || !ParseSeconds(args[0], ex.seconds)) {
                return Fail("'time' takes seconds, for example 0.004");
            }
            return true;
        }
        if (keyword == "failure" && args.empty()) {
            ex.failure = true;
            return true;
        }
        if (keyword == "timeout" && args.empty()) {
            ex.timeout = true;
            return true;
        }
        return Fail("unknown keyword '" + std::string(keyword) + "' in an answer");
    }

    bool FinishExchange() {
        if (!current_) return true;
        const RecordedExchange& ex = *current_;
        if (ex.direction == kDirectionNone && ex.length != 0) {
            lineNumber_ = ex.line;
            return Fail("a command without data must have length 0");
        }
        if (ex.rawSense.size() > kSenseBufferSize) {
            lineNumber_ = ex.line;
            return Fail("more than 32 sense bytes");
        }
        capture_.exchanges.push_back(*current_);
        current_.reset();
        return true;
    }

    bool Fail(std::string message) {
        error_ = std::move(message);
        return false;
    }

    std::string source_;
    int lineNumber_ = 0;
    bool sawMagic_ = false;
    std::string error_;
    DriveCapture capture_;
    std::optional<RecordedExchange> current_;
};

void AppendHexLines(std::string& out, std::string_view keyword,
                    std::span<const std::uint8_t> bytes) {
    char hex[4];
    for (std::size_t i = 0; i < bytes.size(); i += 16) {
        out += keyword;
        for (std::size_t j = i; j < bytes.size() && j < i + 16; ++j) {
            std::snprintf(hex, sizeof hex, " %02X", bytes[j]);
            out += hex;
        }
        out += '\n';
    }
}

}  // namespace

CaptureParseResult ParseCapture(std::string_view text, std::string_view sourceName) {
    return Parser(sourceName).Run(text);
}

CaptureParseResult LoadCaptureFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {std::nullopt, path + ": cannot open the capture file"};
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) return {std::nullopt, path + ": cannot read the capture file"};
    return ParseCapture(text.str(), path);
}

std::string FormatExchange(const RecordedExchange& ex) {
    std::string out = "command";
    char buffer[64];
    for (std::uint8_t b : ex.command) {
        std::snprintf(buffer, sizeof buffer, " %02X", b);
        out += buffer;
    }
    std::snprintf(buffer, sizeof buffer, "  %s %u\n", DirectionName(ex.direction),
                  static_cast<unsigned>(ex.length));
    out += buffer;
    AppendHexLines(out, "data", ex.data);
    if (ex.sense) {
        std::snprintf(buffer, sizeof buffer, "sense %02X %02X %02X\n", ex.sense->senseKey,
                      ex.sense->asc, ex.sense->ascq);
        out += buffer;
    }
    AppendHexLines(out, "sense-bytes", ex.rawSense);
    if (ex.transferred) out += "transferred " + std::to_string(*ex.transferred) + "\n";
    if (ex.failure) out += "failure\n";
    if (ex.timeout) out += "timeout\n";
    if (ex.seconds > 0.0) {
        std::snprintf(buffer, sizeof buffer, "time %.6f\n", ex.seconds);
        out += buffer;
    }
    return out;
}

std::string FormatCapture(const DriveCapture& capture) {
    std::string out = "korvalend-capture 1\n";
    if (!capture.root.empty()) out += "device " + capture.root + "\n";
    switch (capture.addressStatus) {
        case AddressStatus::Known:
            out += "address " + std::to_string(capture.address.adapter) + " " +
                   std::to_string(capture.address.pathId) + " " +
                   std::to_string(capture.address.target) + " " +
                   std::to_string(capture.address.lun) + "\n";
            break;
        case AddressStatus::Refused:
            out += "address refused\n";
            break;
        case AddressStatus::Unavailable:
            out += "address none\n";
            break;
    }
    out += capture.busType == kBusUsb    ? "bus usb\n"
           : capture.busType == kBus1394 ? "bus 1394\n"
                                         : "bus other\n";
    switch (capture.openError) {
        case OpenError::PermissionDenied:
            out += "open denied\n";
            break;
        case OpenError::NotFound:
            out += "open missing\n";
            break;
        case OpenError::Busy:
            out += "open busy\n";
            break;
        default:
            break;
    }
    for (const RecordedExchange& ex : capture.exchanges) {
        out += "\n";
        out += FormatExchange(ex);
    }
    return out;
}

}  // namespace korvalend
