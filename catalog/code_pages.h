#pragma once
// Conversion between the ANSI code page, in which the game holds player names, and the UTF-8 of
// the server's catalogs. The platform converts (MultiByteToWideChar and WideCharToMultiByte in the
// DLL); tests and tools bind the portable converter, which gives the same observable results.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvek {

inline constexpr uint32_t kAnsiCodePage = 0;
inline constexpr uint32_t kUtf8CodePage = 65001;

class CodePageConverter {
public:
    virtual ~CodePageConverter() = default;
    // MultiByteToWideChar, refusing malformed input (MB_ERR_INVALID_CHARS) when the code page is
    // UTF-8. Empty when the call fails or its two passes disagree on the length.
    virtual std::optional<std::u16string> toWide(std::string_view text, uint32_t codePage) const = 0;
    // WideCharToMultiByte without flags: what the code page cannot hold becomes its best-fit or
    // default character. Empty when the call fails or its two passes disagree on the length.
    virtual std::optional<std::string> fromWide(std::u16string_view text, uint32_t codePage) const = 0;
};

// text from one code page in another (0 = ANSI, 65001 = UTF-8); the text as it was when either
// step fails.
std::string convertCodePage(const CodePageConverter& converter, std::string_view text, uint32_t from,
                            uint32_t to);
// The same with the module's converter.
std::string convertCodePage(std::string_view text, uint32_t from, uint32_t to);

// The module's converter, bound once where the program starts (the Platform's codePages());
// the portable one until then.
void bindCodePageConverter(const CodePageConverter& converter);
const CodePageConverter& codePageConverter();

}  // namespace tarvek
