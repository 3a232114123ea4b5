#include "sim/png_image.h"

namespace tarvek::sim {

// Cross builds have no libpng for their target; frames are still drawn and checked there.
bool writePalettePng(const std::string&, uint32_t, uint32_t, const std::vector<uint8_t>&, const Palette&,
                     std::string& error) {
    error = "PNG output is not available in this build";
    return false;
}

}  // namespace tarvek::sim
