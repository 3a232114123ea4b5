#include "presentation/crown_sprites.h"

#include "presentation/crown_template.h"

namespace tarvek {
namespace {

// cos(π·k/16) · 2^40 for k = 0..8, rounded to nearest. Every other sine and cosine of the 32
// steps is one of these with a sign, so the symmetries of the turn hold exactly.
constexpr int kTrigShift = 40;
constexpr int64_t kCosine[9] = {1099511627776, 1078384820155, 1015816288660, 914210506869, 777472127994,
                                610855931251,  420764883643,  214504077523,  0};

// cos(2π·step/32) · 2^40.
int64_t cosineOfStep(int step) {
    step = ((step % 32) + 32) % 32;
    if (step > 16) step = 32 - step;
    return step <= 8 ? kCosine[step] : -kCosine[16 - step];
}

int64_t sineOfStep(int step) { return cosineOfStep(step - 8); }

// numerator / denominator (denominator > 0) rounded to nearest, halves away from zero.
int64_t roundedQuotient(int64_t numerator, int64_t denominator) {
    if (numerator >= 0) return (2 * numerator + denominator) / (2 * denominator);
    return -((-2 * numerator + denominator) / (2 * denominator));
}

std::array<uint8_t, kCrownTemplateWidth * kCrownTemplateHeight> mappedTemplate(const Palette& palette) {
    std::array<uint8_t, kCrownTemplateWidth * kCrownTemplateHeight> mapped{};
    const CrownTemplate& cells = crownTemplate();
    for (size_t i = 0; i < cells.size(); ++i) {
        const uint32_t cell = cells[i];
        if (!(cell & kCrownOpaqueBit)) continue;
        mapped[i] = nearestPaletteEntry(palette, (cell >> 16) & 0xFF, (cell >> 8) & 0xFF, cell & 0xFF);
    }
    return mapped;
}

}  // namespace

void buildCrownSprites(const Palette& palette, int scalePercent, CrownSprites& sprites) {
    const auto mapped = mappedTemplate(palette);
    // Sprite pixel (x, y) shows template cell
    //   u = round((cos a·X + sin a·Y) / s + 10.5),  v = round((−sin a·X + cos a·Y) / s + 7)
    // with X = x − 15.5, Y = y − 15.5 and s = scalePercent / 100. With doubled offsets
    // (2X = 2x − 31) and the 2^40 trigonometry both become quotients of integers:
    //   u = round((100·N + 21·2^40·p) / (2^41·p)),  N = cos·2X + sin·2Y (scaled by 2^40).
    const int64_t scale = scalePercent;
    const int64_t denominator = (int64_t{1} << (kTrigShift + 1)) * scale;
    const int64_t columnCentre = 21 * (int64_t{1} << kTrigShift) * scale;  // 10.5 · 2^41 · p
    const int64_t rowCentre = 7 * (int64_t{1} << (kTrigShift + 1)) * scale;
    for (uint32_t step = 0; step < kCrownSpriteCount; ++step) {
        const int64_t cosine = cosineOfStep(static_cast<int>(step));
        const int64_t sine = sineOfStep(static_cast<int>(step));
        CrownSprite& sprite = sprites.sprite[step];
        for (uint32_t y = 0; y < kCrownSpriteSide; ++y) {
            const int64_t twiceY = 2 * static_cast<int64_t>(y) - 31;
            for (uint32_t x = 0; x < kCrownSpriteSide; ++x) {
                const int64_t twiceX = 2 * static_cast<int64_t>(x) - 31;
                const int64_t u = roundedQuotient(100 * (cosine * twiceX + sine * twiceY) + columnCentre, denominator);
                const int64_t v = roundedQuotient(100 * (cosine * twiceY - sine * twiceX) + rowCentre, denominator);
                const bool inside = u >= 0 && u < kCrownTemplateWidth && v >= 0 && v < kCrownTemplateHeight;
                sprite[y * kCrownSpriteSide + x] = inside ? mapped[v * kCrownTemplateWidth + u] : 0;
            }
        }
    }
}

}  // namespace tarvek
