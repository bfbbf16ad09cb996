#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvalend {

// Value types, numbered as the Windows registry numbers them so that stored data mean the same
// on every platform.
inline constexpr std::uint32_t kSettingTypeString = 1;  // REG_SZ: text and its terminating zero
inline constexpr std::uint32_t kSettingTypeBinary = 3;  // REG_BINARY
inline constexpr std::uint32_t kSettingTypeDword = 4;   // REG_DWORD: 4 bytes, little-endian
inline constexpr std::uint32_t kSettingTypeQword = 11;  // REG_QWORD: 8 bytes, little-endian

// Text values are read into an area of this many bytes, terminating zero included.
inline constexpr std::size_t kSettingTextArea = 256;

// One stored value: its type and its bytes exactly as written.
struct SettingValue {
    std::uint32_t type = kSettingTypeBinary;
    std::vector<std::uint8_t> data;
    bool operator==(const SettingValue&) const = default;
};

// The program's settings: named values under named keys, kept in one small per-user text file.
// Every write replaces the file atomically (temporary file, flush, rename), so a failed write
// leaves the earlier settings as they were. A file that cannot be read or understood counts as
// holding no values and is moved aside (to "<name>.damaged", or "<name>.damaged.N" when that is
// taken) before a new one is written, never overwritten. Key and value names are compared
// without regard to ASCII letter case, as in the registry.
//
// File form (one value per line, bytes other than control characters kept as they stand):
//   [Korvalend]
//   "Width"=dword:00000320
//   "UserDefinedFule"="/home/user/media.txt"
//   "Other"=hex(3):01,02,ff
class SettingsStore {
  public:
    explicit SettingsStore(std::filesystem::path file) : file_(std::move(file)) {}

    // $XDG_CONFIG_HOME/korvalend/settings, with ~/.config when XDG_CONFIG_HOME is unset or not
    // an absolute path; nothing when no home directory is known.
    static std::optional<std::filesystem::path> DefaultPath();

    const std::filesystem::path& Path() const { return file_; }

    // The whole value; nothing when the key or the value does not exist.
    std::optional<SettingValue> ReadValue(std::string_view key, std::string_view name);
    // Stores the value, creating the key, the file and its directory as needed.
    bool WriteValue(std::string_view key, std::string_view name, const SettingValue& value);

    // Reads a value of at most 256 bytes into `text`, zero-terminated; a value of 256 bytes
    // without a terminating zero leaves no room for one and fails. The type is not checked.
    // On failure `text` is left untouched.
    bool ReadString(std::string_view key, std::string_view name, char (&text)[kSettingTextArea]);
    // Stores `text` and its terminating zero as a string value.
    bool WriteString(std::string_view key, std::string_view name, std::string_view text);
    // Reads a value of at most 4 bytes into the low-order bytes of `value` (little-endian); the
    // other bytes keep what the caller put there. The type is not checked. Longer data fail.
    bool ReadDword(std::string_view key, std::string_view name, std::uint32_t& value);
    bool WriteDword(std::string_view key, std::string_view name, std::uint32_t value);

    struct Entry {
        std::string name;
        SettingValue value;
    };
    struct Key {
        std::string name;
        std::vector<Entry> entries;
    };
    using Contents = std::vector<Key>;

    // The file's text form; used by the store and by its tests.
    static std::string Serialize(const Contents& contents);
    static std::optional<Contents> Parse(std::string_view text);

  private:
    enum class LoadState { Loaded, Unusable };
    // Reads the file; moves a damaged or unreadable one aside. Unusable when such a file could
    // not be moved aside (then it must not be replaced either).
    LoadState Load(Contents& contents);

    std::filesystem::path file_;
};

}  // namespace korvalend
