#include "catalog/code_pages.h"

#include <atomic>

#include "catalog/portable_code_pages.h"

namespace tarvek {
namespace {

std::atomic<const CodePageConverter*> boundConverter{nullptr};

}  // namespace

std::string convertCodePage(const CodePageConverter& converter, std::string_view text, uint32_t from,
                            uint32_t to) {
    if (text.empty()) return {};
    const std::optional<std::u16string> wide = converter.toWide(text, from);
    if (!wide) return std::string(text);
    std::optional<std::string> converted = converter.fromWide(*wide, to);
    if (!converted) return std::string(text);
    return std::move(*converted);
}

std::string convertCodePage(std::string_view text, uint32_t from, uint32_t to) {
    return convertCodePage(codePageConverter(), text, from, to);
}

void bindCodePageConverter(const CodePageConverter& converter) { boundConverter.store(&converter); }

const CodePageConverter& codePageConverter() {
    const CodePageConverter* bound = boundConverter.load();
    return bound ? *bound : portableCodePageConverter();
}

}  // namespace tarvek
