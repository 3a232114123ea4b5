#pragma once
// Map hashes of image files without the game: the image is laid out in simulated host memory as
// the host keeps it and hashed by the module's own routines.
#include <optional>
#include <string>

#include "tools/support/netpbm_image.h"

namespace tarvek::tools {

// P4 rows become an LSB-first collision mask with a wider stride and junk in its padding.
std::optional<std::string> geometryHashOfImage(const NetpbmImage& mask);
// P5 rows become an 8-bit terrain image with a wider stride and junk in its padding.
std::optional<std::string> terrainHashOfImage(const NetpbmImage& terrain);

}  // namespace tarvek::tools
