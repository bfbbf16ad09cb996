#include "app/core/settings_store.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <system_error>

#include "builder/ansi_text.h"
#include "builder/atomic_file.h"

namespace korvalend {

namespace {

constexpr std::uintmax_t kMaxFileSize = 1 << 20;  // far above what the program ever stores
constexpr int kMaxDamagedCopies = 100;
constexpr std::string_view kHeaderComment = "; Korvalend settings\n";
constexpr std::filesystem::perms kFilePermissions =
    std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;

constexpr std::string_view kHexDigits = "0123456789abcdef";

void AppendHexByte(std::string& out, std::uint8_t byte) {
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0F];
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Backslash, the delimiter and control characters are escaped; other bytes stand as they are.
std::string Escape(std::string_view text, char delimiter) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (c == '\\' || c == delimiter) {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            AppendHexByte(out, byte);
        } else {
            out += c;
        }
    }
    return out;
}

// Reads escaped text up to the unescaped delimiter; `text` then starts after the delimiter.
std::optional<std::string> Unescape(std::string_view& text, char delimiter) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == delimiter) {
            text.remove_prefix(i + 1);
            return out;
        }
        if (c != '\\') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 >= text.size()) return std::nullopt;
        const char next = text[i + 1];
        if (next == '\\' || next == delimiter) {
            out += next;
            i += 2;
        } else if (next == 'x' && i + 3 < text.size() && HexValue(text[i + 2]) >= 0 &&
                   HexValue(text[i + 3]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 2]) * 16 + HexValue(text[i + 3]));
            i += 4;
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt;  // no closing delimiter
}

bool IsPlainString(const SettingValue& value) {
    return value.type == kSettingTypeString && !value.data.empty() && value.data.back() == 0 &&
           std::find(value.data.begin(), value.data.end() - 1, std::uint8_t{0}) ==
               value.data.end() - 1;
}

std::string SerializeData(const SettingValue& value) {
    std::string out;
    if (IsPlainString(value)) {
        const std::string_view text(reinterpret_cast<const char*>(value.data.data()),
                                    value.data.size() - 1);
        out += '"';
        out += Escape(text, '"');
        out += '"';
    } else if (value.type == kSettingTypeDword && value.data.size() == 4) {
        out += "dword:";
        for (std::size_t i = 4; i-- > 0;) AppendHexByte(out, value.data[i]);
    } else {
        out += "hex(" + std::to_string(value.type) + "):";
        for (std::size_t i = 0; i < value.data.size(); ++i) {
            if (i > 0) out += ',';
            AppendHexByte(out, value.data[i]);
        }
    }
    return out;
}

std::optional<std::uint32_t> ParseDecimal(std::string_view text) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (value > 0xFFFFFFFFu) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

std::optional<SettingValue> ParseData(std::string_view text) {
    SettingValue value;
    if (!text.empty() && text.front() == '"') {
        text.remove_prefix(1);
        const auto unescaped = Unescape(text, '"');
        if (!unescaped || !text.empty()) return std::nullopt;
        value.type = kSettingTypeString;
        value.data.assign(unescaped->begin(), unescaped->end());
        value.data.push_back(0);
        return value;
    }
    if (text.starts_with("dword:")) {
        text.remove_prefix(6);
        if (text.size() != 8) return std::nullopt;
        value.type = kSettingTypeDword;
        value.data.resize(4);
        for (std::size_t i = 0; i < 4; ++i) {
            const int high = HexValue(text[2 * i]);
            const int low = HexValue(text[2 * i + 1]);
            if (high < 0 || low < 0) return std::nullopt;
            value.data[3 - i] = static_cast<std::uint8_t>(high * 16 + low);
        }
        return value;
    }
    if (text.starts_with("hex(")) {
        text.remove_prefix(4);
        const std::size_t close = text.find("):");
        if (close == std::string_view::npos) return std::nullopt;
        const auto type = ParseDecimal(text.substr(0, close));
        if (!type) return std::nullopt;
        value.type = *type;
        text.remove_prefix(close + 2);
        while (!text.empty()) {
            if (text.size() < 2) return std::nullopt;
            const int high = HexValue(text[0]);
            const int low = HexValue(text[1]);
            if (high < 0 || low < 0) return std::nullopt;
            value.data.push_back(static_cast<std::uint8_t>(high * 16 + low));
            text.remove_prefix(2);
            if (!text.empty()) {
                if (text.front() != ',' || text.size() == 1) return std::nullopt;
                text.remove_prefix(1);
            }
        }
        return value;
    }
    return std::nullopt;
}

template <typename T>
auto FindNamed(std::vector<T>& items, std::string_view name) {
    return std::find_if(items.begin(), items.end(),
                        [name](const T& item) { return EqualNoCase(item.name, name); });
}

bool ReadWholeFile(const std::filesystem::path& path, std::string& content) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::array<char, 8192> chunk{};
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
        content.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
        if (content.size() > kMaxFileSize) return false;
        if (in.eof()) break;
    }
    return !in.bad() && in.eof();
}

// Moves an unusable settings file aside under a name not yet taken.
bool MoveAside(const std::filesystem::path& path) {
    for (int n = 1; n <= kMaxDamagedCopies; ++n) {
        std::filesystem::path target = path;
        target += n == 1 ? std::string(".damaged") : ".damaged." + std::to_string(n);
        std::error_code error;
        if (std::filesystem::symlink_status(target, error).type() !=
            std::filesystem::file_type::not_found) {
            continue;
        }
        std::filesystem::rename(path, target, error);
        return !error;
    }
    return false;
}

}  // namespace

std::optional<std::filesystem::path> SettingsStore::DefaultPath() {
    std::filesystem::path base;
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome && std::filesystem::path(configHome).is_absolute()) {
        base = configHome;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !std::filesystem::path(home).is_absolute()) return std::nullopt;
        base = std::filesystem::path(home) / ".config";
    }
    return base / "korvalend" / "settings";
}

std::string SettingsStore::Serialize(const Contents& contents) {
    std::string out(kHeaderComment);
    for (const auto& key : contents) {
        out += '[';
        out += Escape(key.name, ']');
        out += "]\n";
        for (const auto& entry : key.entries) {
            out += '"';
            out += Escape(entry.name, '"');
            out += "\"=";
            out += SerializeData(entry.value);
            out += '\n';
        }
    }
    return out;
}

std::optional<SettingsStore::Contents> SettingsStore::Parse(std::string_view text) {
    Contents contents;
    Key* current = nullptr;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;

        if (line.front() == '[') {
            line.remove_prefix(1);
            auto name = Unescape(line, ']');
            if (!name || !line.empty()) return std::nullopt;
            auto found = FindNamed(contents, *name);
            if (found == contents.end()) {
                contents.push_back({std::move(*name), {}});
                current = &contents.back();
            } else {
                current = &*found;
            }
            continue;
        }
        if (!current || line.front() != '"') return std::nullopt;
        line.remove_prefix(1);
        auto name = Unescape(line, '"');
        if (!name || line.empty() || line.front() != '=') return std::nullopt;
        line.remove_prefix(1);
        auto value = ParseData(line);
        if (!value) return std::nullopt;
        auto found = FindNamed(current->entries, *name);
        if (found == current->entries.end()) {
            current->entries.push_back({std::move(*name), std::move(*value)});
        } else {
            found->value = std::move(*value);
        }
    }
    return contents;
}

SettingsStore::LoadState SettingsStore::Load(Contents& contents) {
    contents.clear();
    std::error_code error;
    const auto status = std::filesystem::symlink_status(file_, error);
    if (status.type() == std::filesystem::file_type::not_found) return LoadState::Loaded;

    std::string text;
    if (!error && ReadWholeFile(file_, text)) {
        if (auto parsed = Parse(text)) {
            contents = std::move(*parsed);
            return LoadState::Loaded;
        }
    }
    return MoveAside(file_) ? LoadState::Loaded : LoadState::Unusable;
}

std::optional<SettingValue> SettingsStore::ReadValue(std::string_view key, std::string_view name) {
    Contents contents;
    if (Load(contents) != LoadState::Loaded) return std::nullopt;
    auto foundKey = FindNamed(contents, key);
    if (foundKey == contents.end()) return std::nullopt;
    auto foundEntry = FindNamed(foundKey->entries, name);
    if (foundEntry == foundKey->entries.end()) return std::nullopt;
    return foundEntry->value;
}

bool SettingsStore::WriteValue(std::string_view key, std::string_view name,
                               const SettingValue& value) {
    Contents contents;
    if (Load(contents) != LoadState::Loaded) return false;
    auto foundKey = FindNamed(contents, key);
    if (foundKey == contents.end()) {
        contents.push_back({std::string(key), {}});
        foundKey = contents.end() - 1;
    }
    auto foundEntry = FindNamed(foundKey->entries, name);
    if (foundEntry == foundKey->entries.end()) {
        foundKey->entries.push_back({std::string(name), value});
    } else {
        foundEntry->value = value;
    }

    std::error_code error;
    std::filesystem::create_directories(file_.parent_path(), error);
    if (error) return false;
    const std::string text = Serialize(contents);
    return WriteFileAtomically(
        file_, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
        kFilePermissions);
}

bool SettingsStore::ReadString(std::string_view key, std::string_view name,
                               char (&text)[kSettingTextArea]) {
    const auto value = ReadValue(key, name);
    if (!value || value->data.size() > kSettingTextArea) return false;
    const auto& data = value->data;
    const bool terminated = !data.empty() && data.back() == 0;
    if (!terminated && data.size() == kSettingTextArea) return false;
    std::fill(std::begin(text), std::end(text), '\0');
    std::transform(data.begin(), data.end(), std::begin(text),
                   [](std::uint8_t b) { return static_cast<char>(b); });
    return true;
}

bool SettingsStore::WriteString(std::string_view key, std::string_view name,
                                std::string_view text) {
    SettingValue value{kSettingTypeString, {text.begin(), text.end()}};
    value.data.push_back(0);
    return WriteValue(key, name, value);
}

bool SettingsStore::ReadDword(std::string_view key, std::string_view name, std::uint32_t& value) {
    const auto stored = ReadValue(key, name);
    if (!stored || stored->data.size() > 4) return false;
    for (std::size_t i = 0; i < stored->data.size(); ++i) {
        const unsigned shift = static_cast<unsigned>(8 * i);
        value = (value & ~(0xFFu << shift)) | (std::uint32_t{stored->data[i]} << shift);
    }
    return true;
}

bool SettingsStore::WriteDword(std::string_view key, std::string_view name, std::uint32_t value) {
    SettingValue stored{kSettingTypeDword, {}};
    for (unsigned i = 0; i < 4; ++i) {
        stored.data.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    return WriteValue(key, name, stored);
}

}  // namespace korvalend
