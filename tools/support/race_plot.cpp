#include "tools/support/race_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sim/png_image.h"
#include "sim/sim_font.h"
#include "sim/sim_palette.h"
#include "sim/sim_raster.h"

namespace tarvek::tools {
namespace {

constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 360;
constexpr sim::ClipRect kArea{64, 36, kWidth - 16, kHeight - 36};  // the plotting area

// A step of 1, 2 or 5 times a power of ten giving about `count` ticks over span.
double tickStep(double span, int count) {
    const double raw = std::max(span, 1e-6) / count;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0})
        if (m * power >= raw) return m * power;
    return 10 * power;
}

std::string secondsText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, std::fabs(value) < 10 ? "%.1f" : "%.0f", value);
    return text;
}

class PlotCanvas {
public:
    PlotCanvas(const RacePlot& plot, const sim::Palette& palette) : palette_(palette), pixels_(size_t{kWidth} * kHeight) {
        canvas_ = {pixels_.data(), kWidth, {0, 0, kWidth, kHeight}};
        for (const auto& [clock, delta] : plot.points) {
            maxClock_ = std::max(maxClock_, clock);
            maxDelta_ = std::max(maxDelta_, std::fabs(delta));
        }
        maxDelta_ = std::max(maxDelta_ * 1.15, plot.evenBand * 3);
        maxClock_ = std::max(maxClock_, 1.0);
    }

    uint8_t colour(int r, int g, int b) const { return sim::nearestPaletteEntry(palette_, r, g, b); }
    int32_t x(double clock) const {
        return kArea.left + static_cast<int32_t>(std::lround(clock / maxClock_ * (kArea.right - kArea.left - 1)));
    }
    int32_t y(double delta) const {
        const int32_t middle = (kArea.top + kArea.bottom) / 2;
        return middle - static_cast<int32_t>(std::lround(delta / maxDelta_ * (kArea.bottom - kArea.top) / 2));
    }
    void text(int32_t left, int32_t top, const std::string& line, uint8_t ink) {
        sim::drawText(canvas_, left, top, line, 1, ink, colour(255, 255, 255));
    }

    void draw(const RacePlot& plot) {
        const uint8_t ink = colour(30, 30, 30), grid = colour(200, 200, 200);
        sim::fillRect(canvas_, {0, 0, kWidth, kHeight}, colour(255, 255, 255));
        sim::fillRect(canvas_, {kArea.left, y(plot.evenBand), kArea.right, y(-plot.evenBand) + 1}, colour(225, 225, 225));
        const double clockStep = tickStep(maxClock_, 8), deltaStep = tickStep(maxDelta_, 3);
        for (double c = 0; c <= maxClock_ + 1e-9; c += clockStep) {
            sim::drawLine(canvas_, x(c), kArea.top, x(c), kArea.bottom - 1, grid, 1);
            text(x(c) - 8, kArea.bottom + 4, secondsText(c), ink);
        }
        for (double d = -std::floor(maxDelta_ / deltaStep) * deltaStep; d <= maxDelta_ + 1e-9; d += deltaStep) {
            sim::drawLine(canvas_, kArea.left, y(d), kArea.right - 1, y(d), grid, 1);
            text(8, y(d) - 4, secondsText(d), ink);
        }
        for (const double start : plot.turnStarts)
            for (int32_t py = kArea.top; py < kArea.bottom; py += 6)
                sim::drawLine(canvas_, x(start), py, x(start), std::min(py + 2, kArea.bottom - 1), colour(40, 80, 230), 1);
        sim::drawLine(canvas_, kArea.left, y(0), kArea.right - 1, y(0), ink, 1);
        const uint8_t behind = colour(220, 40, 40), ahead = colour(30, 160, 60);
        for (size_t i = 1; i < plot.points.size(); ++i) {
            const double c0 = plot.points[i - 1].first, d0 = plot.points[i - 1].second;
            const double c1 = plot.points[i].first, d1 = plot.points[i].second;
            // Each turn is its own line: joining the last sample of one turn to the first of the
            // next would draw a slope the race never had.
            const bool newTurn = std::any_of(plot.turnStarts.begin(), plot.turnStarts.end(),
                                             [&](double start) { return c0 < start && start <= c1; });
            if (newTurn) continue;
            sim::drawLine(canvas_, x(c0), y(d0), x(c1), y(d1), (d0 + d1) / 2 > 0 ? behind : ahead, 2);
        }
        text(kArea.left + 4, kArea.top + 2, "BEHIND", behind);
        text(kArea.left + 4, kArea.bottom - 12, "AHEAD", ahead);
        text(kArea.left, 10, plot.title, ink);
        text(kArea.right - 150, kHeight - 14, "live race clock, s", ink);
        text(8, 22, "delta, s", ink);
    }

    const std::vector<uint8_t>& pixels() const { return pixels_; }

private:
    const sim::Palette& palette_;
    std::vector<uint8_t> pixels_;
    sim::Canvas8 canvas_;
    double maxClock_ = 0;
    double maxDelta_ = 0;
};

}  // namespace

bool writeRacePlot(const std::string& path, const RacePlot& plot, std::string& error) {
    if (plot.points.empty()) {
        error = "the run never matched the ghost's path: nothing to plot";
        return false;
    }
    const sim::Palette palette = sim::gamePalette();
    PlotCanvas canvas(plot, palette);
    canvas.draw(plot);
    return sim::writePalettePng(path, kWidth, kHeight, canvas.pixels(), palette, error);
}

}  // namespace tarvek::tools
