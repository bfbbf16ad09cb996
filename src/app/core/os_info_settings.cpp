// The settings operations of OSInfo, kept by the per-user settings store.

#include "app/core/settings_store.h"
#include "sysinfo/os_info.h"

namespace korvalend {

namespace {

std::optional<SettingsStore> DefaultStore(const char* keyName, const char* valueName) {
    if (!keyName || !valueName) return std::nullopt;
    const auto path = SettingsStore::DefaultPath();
    if (!path) return std::nullopt;
    return SettingsStore(*path);
}

}  // namespace

bool OSInfo::ReadRegString(const char* keyName, const char* valueName, char (&text)[256]) {
    auto store = DefaultStore(keyName, valueName);
    return store && store->ReadString(keyName, valueName, text);
}

bool OSInfo::WriteRegString(const char* keyName, const char* valueName, const char* text) {
    auto store = DefaultStore(keyName, valueName);
    return store && text && store->WriteString(keyName, valueName, text);
}

bool OSInfo::ReadRegDword(const char* keyName, const char* valueName, std::uint32_t& value) {
    auto store = DefaultStore(keyName, valueName);
    return store && store->ReadDword(keyName, valueName, value);
}

bool OSInfo::WriteRegDword(const char* keyName, const char* valueName, std::uint32_t value) {
    auto store = DefaultStore(keyName, valueName);
    return store && store->WriteDword(keyName, valueName, value);
}

}  // namespace korvalend
