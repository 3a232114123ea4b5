#pragma once
// The crown picture the crown sprites are made from: 22 × 15 cells, each 0 (transparent) or
// 0x80000000 | 0xRRGGBB (opaque).
#include <array>
#include <cstdint>

namespace tarvek {

inline constexpr int kCrownTemplateWidth = 22;
inline constexpr int kCrownTemplateHeight = 15;
inline constexpr uint32_t kCrownOpaqueBit = 0x80000000u;

using CrownTemplate = std::array<uint32_t, kCrownTemplateWidth * kCrownTemplateHeight>;

// Row-major, row 0 at the top.
const CrownTemplate& crownTemplate();

}  // namespace tarvek
