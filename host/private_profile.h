#pragma once
// Reads INI files with the observable rules of the Windows private-profile functions
// (GetPrivateProfileStringA / IntA / SectionA), portably, so every build reads catalogs and
// settings the same way.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarvek {

constexpr size_t kProfileValueBuffer = 1024;
constexpr size_t kProfileSectionBuffer = 4096;

// The value of key in section (both case-insensitive), cut to fit a buffer of bufferSize bytes
// (including its NUL); fallback when the file, section or key is missing.
std::string readProfileString(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view fallback, size_t bufferSize = kProfileValueBuffer);

// The key's value read as GetPrivateProfileIntA reads it: an optional sign and a number ("0x" hex,
// "0o" octal, "0b" binary, else decimal) taken as far as it goes, wrapping modulo 2^32; 0 for a text
// that is no number; fallback when the key is missing or its value is empty.
int readProfileInt(const std::string& path, std::string_view section, std::string_view key, int fallback);

// The "key=value" lines of a section as GetPrivateProfileSectionA returns them, limited to what a
// buffer of bufferSize bytes holds.
std::vector<std::string> readProfileSection(const std::string& path, std::string_view section,
                                            size_t bufferSize = kProfileSectionBuffer);

// An INI file read once for several reads; a missing file reads as an empty one.
class ProfileText {
public:
    explicit ProfileText(const std::string& path);
    std::string string(std::string_view section, std::string_view key, std::string_view fallback = {}) const;
    int integer(std::string_view section, std::string_view key, int fallback = 0) const;
    // True when the section lists at least one entry.
    bool hasEntries(std::string_view section) const;

private:
    std::string text_;
};

// The same reads over INI text already in memory (fuzzing and tests).
std::string profileStringFromText(std::string_view text, std::string_view section, std::string_view key,
                                  std::string_view fallback, size_t bufferSize = kProfileValueBuffer);
int profileIntFromText(std::string_view text, std::string_view section, std::string_view key, int fallback);
std::vector<std::string> profileSectionFromText(std::string_view text, std::string_view section,
                                                size_t bufferSize = kProfileSectionBuffer);

}  // namespace tarvek
