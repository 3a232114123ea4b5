#pragma once
// Code pages converted by MultiByteToWideChar and WideCharToMultiByte: the converter of the DLL.
#include "catalog/code_pages.h"

namespace tarvek::win32 {

class Win32CodePageConverter final : public CodePageConverter {
public:
    std::optional<std::u16string> toWide(std::string_view text, uint32_t codePage) const override;
    std::optional<std::string> fromWide(std::u16string_view text, uint32_t codePage) const override;
};

}  // namespace tarvek::win32
