#pragma once

#include <cstdint>

namespace korvalend {

// Tells which family of systems the program runs on. The answer decides whether drives are
// reached through pass-through on their device files (true) or through a manager library.
// On POSIX systems drives are always reached through their device files.
class OSInfo {
  public:
    OSInfo();
    bool IsNT() const { return nt_; }

    // Settings store operations (key name "Korvalend"); they use no state of an instance.
    static bool ReadRegString(const char* keyName, const char* valueName, char (&text)[256]);
    static bool WriteRegString(const char* keyName, const char* valueName, const char* text);
    static bool ReadRegDword(const char* keyName, const char* valueName, std::uint32_t& value);
    static bool WriteRegDword(const char* keyName, const char* valueName, std::uint32_t value);

  private:
    bool nt_ = false;
};

}  // namespace korvalend
