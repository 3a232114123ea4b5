#include "tools/support/netpbm_image.h"

#include <cctype>

namespace tarvek::tools {
namespace {

// Sides beyond this are refused before any allocation; the map hashes stop at 32768 anyway.
constexpr uint32_t kMaxSide = 1u << 16;

class HeaderReader {
public:
    explicit HeaderReader(std::string_view bytes) : bytes_(bytes) {}

    bool magic(std::string_view expected) {
        if (bytes_.substr(0, 2) != expected) return false;
        pos_ = 2;
        return true;
    }
    // A decimal field after white space and comments.
    std::optional<uint32_t> number() {
        skipSpaceAndComments();
        uint64_t value = 0;
        size_t digits = 0;
        while (pos_ < bytes_.size() && std::isdigit(static_cast<unsigned char>(bytes_[pos_]))) {
            value = value * 10 + static_cast<unsigned>(bytes_[pos_++] - '0');
            if (value > kMaxSide) return std::nullopt;
            ++digits;
        }
        if (digits == 0) return std::nullopt;
        return static_cast<uint32_t>(value);
    }
    // Exactly one white-space byte separates the header from the pixels.
    std::optional<std::string_view> pixels() {
        if (pos_ >= bytes_.size() || !std::isspace(static_cast<unsigned char>(bytes_[pos_])))
            return std::nullopt;
        return bytes_.substr(pos_ + 1);
    }

private:
    void skipSpaceAndComments() {
        while (pos_ < bytes_.size()) {
            if (std::isspace(static_cast<unsigned char>(bytes_[pos_]))) {
                ++pos_;
            } else if (bytes_[pos_] == '#') {
                while (pos_ < bytes_.size() && bytes_[pos_] != '\n' && bytes_[pos_] != '\r') ++pos_;
            } else {
                break;
            }
        }
    }

    std::string_view bytes_;
    size_t pos_ = 0;
};

std::optional<NetpbmImage> image(uint32_t width, uint32_t height, size_t rowBytes,
                                 std::optional<std::string_view> pixels) {
    if (width == 0 || height == 0 || !pixels) return std::nullopt;
    const size_t size = rowBytes * height;  // at most 2^32 on 64-bit hosts, checked below on 32-bit
    if (rowBytes != 0 && size / rowBytes != height) return std::nullopt;
    if (pixels->size() < size) return std::nullopt;
    NetpbmImage result{width, height, {}};
    result.rows.assign(pixels->begin(), pixels->begin() + static_cast<ptrdiff_t>(size));
    return result;
}

}  // namespace

std::optional<NetpbmImage> parsePbm(std::string_view bytes) {
    HeaderReader reader(bytes);
    if (!reader.magic("P4")) return std::nullopt;
    const auto width = reader.number();
    const auto height = reader.number();
    if (!width || !height) return std::nullopt;
    return image(*width, *height, (size_t{*width} + 7) / 8, reader.pixels());
}

std::optional<NetpbmImage> parsePgm(std::string_view bytes) {
    HeaderReader reader(bytes);
    if (!reader.magic("P5")) return std::nullopt;
    const auto width = reader.number();
    const auto height = reader.number();
    const auto maxValue = reader.number();
    if (!width || !height || !maxValue || *maxValue == 0 || *maxValue > 255) return std::nullopt;
    return image(*width, *height, *width, reader.pixels());
}

}  // namespace tarvek::tools
