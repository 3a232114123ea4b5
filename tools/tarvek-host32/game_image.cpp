#include "tools/tarvek-host32/game_image.h"

#include <windows.h>

#include <cstdio>

extern "C" unsigned char tarvekGameImage[];
extern "C" unsigned char tarvekGameImageEnd[];

namespace tarvek::host32 {
namespace {
HostAddr addressOf(const void* p) { return static_cast<HostAddr>(reinterpret_cast<uintptr_t>(p)); }
}  // namespace

GameImage gameImage() {
    return {addressOf(GetModuleHandleW(nullptr)), addressOf(tarvekGameImage), addressOf(tarvekGameImageEnd)};
}

std::string gameImageProblem(const GameImage& image) {
    const uint64_t first = uint64_t{image.base} + 0x1000;
    const uint64_t last = uint64_t{image.base} + kGameImageSize;
    if (image.begin <= first && image.end >= last) return {};
    char text[160];
    std::snprintf(text, sizeof text, "game image block 0x%08x..0x%08x does not cover 0x%08llx..0x%08llx",
                  image.begin, image.end, static_cast<unsigned long long>(first),
                  static_cast<unsigned long long>(last));
    return text;
}

}  // namespace tarvek::host32
