#include "sim/png_image.h"

#include <png.h>

#include <cstdio>
#include <memory>

namespace tarvek::sim {

bool writePalettePng(const std::string& path, uint32_t width, uint32_t height, const std::vector<uint8_t>& pixels,
                     const Palette& palette, std::string& error) {
    if (width == 0 || height == 0 || pixels.size() != size_t{width} * height) {
        error = "no pixels to write";
        return false;
    }
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file) {
        error = "cannot create " + path;
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        error = "libpng could not start";
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        error = "libpng failed writing " + path;
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_color colours[256];
    for (size_t i = 0; i < 256; ++i) colours[i] = {palette[i * 4], palette[i * 4 + 1], palette[i * 4 + 2]};
    png_set_PLTE(png, info, colours, 256);
    png_write_info(png, info);
    for (uint32_t y = 0; y < height; ++y) png_write_row(png, pixels.data() + size_t{y} * width);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace tarvek::sim
