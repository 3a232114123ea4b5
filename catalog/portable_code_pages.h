#pragma once
// Windows-1252 (the ANSI code page of the builds that are not Windows) and UTF-8, converted as
// the Windows calls convert them, including their best-fit mapping into 1252.
#include "catalog/code_pages.h"

namespace tarvek {

class PortableCodePageConverter final : public CodePageConverter {
public:
    // Code pages 0 and 1252 are Windows-1252; 65001 is UTF-8; any other fails.
    std::optional<std::u16string> toWide(std::string_view text, uint32_t codePage) const override;
    std::optional<std::string> fromWide(std::u16string_view text, uint32_t codePage) const override;
};

const CodePageConverter& portableCodePageConverter();

}  // namespace tarvek
