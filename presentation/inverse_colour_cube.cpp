#include "presentation/inverse_colour_cube.h"

#include <algorithm>
#include <cstdlib>

namespace tarvek {
namespace {

// The cube is split into boxes, each searched only for the entries that can be nearest to some
// cell in it: an entry whose smallest possible distance to the box exceeds the largest distance
// of the best-placed entry cannot win there. Entries tied at the nearest distance always pass
// that test, so searching the survivors in index order gives exactly the cube of a search over
// all entries. Boxes with many survivors are split further, which keeps palettes whose colours
// crowd together (where far from them every entry survives a large box) fast too.
constexpr int32_t kColourStep = 4;      // 6-bit cell to 8-bit colour
constexpr uint32_t kLargestLeaf = 8;    // boxes of this side or smaller may be filled directly
constexpr uint32_t kSmallestLeaf = 4;
constexpr uint32_t kFewCandidates = 32;  // below this a box is filled rather than split

struct Candidates {
    uint32_t count = 0;
    uint8_t index[kPaletteEntries];
    int32_t red[kPaletteEntries];
    int32_t green[kPaletteEntries];
    int32_t blue[kPaletteEntries];

    void add(uint8_t entry, int32_t r, int32_t g, int32_t b) {
        index[count] = entry;
        red[count] = r;
        green[count] = g;
        blue[count] = b;
        ++count;
    }
};

// Entries 1..255 in index order. An entry whose colour a lower entry already has can never win,
// so it is left out: palettes full of unused black entries stay as fast as any other.
void distinctEntries(const Palette& palette, Candidates& entries) {
    entries.count = 0;
    for (size_t entry = 1; entry < kPaletteEntries; ++entry) {
        const int32_t r = palette.red(entry), g = palette.green(entry), b = palette.blue(entry);
        bool seen = false;
        for (uint32_t k = 0; k < entries.count && !seen; ++k) {
            seen = entries.red[k] == r && entries.green[k] == g && entries.blue[k] == b;
        }
        if (!seen) entries.add(static_cast<uint8_t>(entry), r, g, b);
    }
}

struct Box {
    uint32_t cell[3];  // first cell on each axis
    uint32_t side;     // cells per axis
};

// An axis's share of the distance from colour c to the nearest and the farthest colour of
// [low, high].
void axisRange(int32_t c, int32_t low, int32_t high, int32_t weight, int32_t& nearest, int32_t& farthest) {
    const int32_t outside = c < low ? low - c : (c > high ? c - high : 0);
    const int32_t far = std::max(std::abs(c - low), std::abs(c - high));
    nearest += weight * outside * outside;
    farthest += weight * far * far;
}

// An axis's share of the smallest value over [low, high] of d(e, x) − d(f, x), which is linear
// in x: w·(e² − f²) − 2·w·x·(e − f).
int32_t axisAdvantage(int32_t e, int32_t f, int32_t low, int32_t high, int32_t weight) {
    const int32_t x = e > f ? high : low;
    return weight * ((e * e - f * f) - 2 * x * (e - f));
}

void keepPossibleWinners(const Candidates& from, const Box& box, Candidates& out) {
    int32_t low[3], high[3];
    for (int axis = 0; axis < 3; ++axis) {
        low[axis] = static_cast<int32_t>(box.cell[axis]) * kColourStep;
        high[axis] = static_cast<int32_t>(box.cell[axis] + box.side - 1) * kColourStep;
    }
    int32_t nearest[kPaletteEntries];
    int32_t bound = INT32_MAX;
    uint32_t central = 0;
    int32_t centralDistance = INT32_MAX;
    for (uint32_t k = 0; k < from.count; ++k) {
        int32_t near = 0, far = 0;
        axisRange(from.red[k], low[0], high[0], 3, near, far);
        axisRange(from.green[k], low[1], high[1], 4, near, far);
        axisRange(from.blue[k], low[2], high[2], 1, near, far);
        nearest[k] = near;
        bound = std::min(bound, far);
        const int32_t toCentre = colourDistance(from.red[k] - (low[0] + high[0]) / 2, from.green[k] - (low[1] + high[1]) / 2,
                                                from.blue[k] - (low[2] + high[2]) / 2);
        if (toCentre < centralDistance) {
            centralDistance = toCentre;
            central = k;
        }
    }
    // Besides, an entry that is farther than the entry nearest the box's centre at every point of
    // the box (the box lies wholly on that entry's side of the plane between them) cannot win.
    const int32_t fr = from.red[central], fg = from.green[central], fb = from.blue[central];
    out.count = 0;
    for (uint32_t k = 0; k < from.count; ++k) {
        if (nearest[k] > bound) continue;
        const int32_t advantage = axisAdvantage(from.red[k], fr, low[0], high[0], 3) +
                                  axisAdvantage(from.green[k], fg, low[1], high[1], 4) +
                                  axisAdvantage(from.blue[k], fb, low[2], high[2], 1);
        if (advantage <= 0) out.add(from.index[k], from.red[k], from.green[k], from.blue[k]);
    }
}

// Candidate by candidate in index order, each against every cell of the box: a cell takes a
// candidate only when it is strictly nearer, so the lowest index keeps a tie.
void fillBox(const Candidates& candidates, const Box& box, InverseColourCube& cube) {
    constexpr uint32_t kMaxCells = kLargestLeaf * kLargestLeaf * kLargestLeaf;
    const uint32_t side = box.side;
    int32_t bestDistance[kMaxCells];
    int32_t best[kMaxCells];
    std::fill(bestDistance, bestDistance + side * side * side, INT32_MAX);
    std::fill(best, best + side * side * side, 0);
    for (uint32_t k = 0; k < candidates.count; ++k) {
        int32_t redTerm[kLargestLeaf], greenTerm[kLargestLeaf], blueTerm[kLargestLeaf];
        for (uint32_t i = 0; i < side; ++i) {
            redTerm[i] = colourDistance(candidates.red[k] - static_cast<int32_t>(box.cell[0] + i) * kColourStep, 0, 0);
            greenTerm[i] = colourDistance(0, candidates.green[k] - static_cast<int32_t>(box.cell[1] + i) * kColourStep, 0);
            blueTerm[i] = colourDistance(0, 0, candidates.blue[k] - static_cast<int32_t>(box.cell[2] + i) * kColourStep);
        }
        const int32_t index = candidates.index[k];
        for (uint32_t i = 0; i < side; ++i) {
            for (uint32_t j = 0; j < side; ++j) {
                const int32_t redGreen = redTerm[i] + greenTerm[j];
                int32_t* rowDistance = bestDistance + (i * side + j) * side;
                int32_t* rowBest = best + (i * side + j) * side;
                for (uint32_t l = 0; l < side; ++l) {
                    const int32_t distance = redGreen + blueTerm[l];
                    const bool nearer = distance < rowDistance[l];
                    rowDistance[l] = nearer ? distance : rowDistance[l];
                    rowBest[l] = nearer ? index : rowBest[l];
                }
            }
        }
    }
    for (uint32_t i = 0; i < side; ++i) {
        for (uint32_t j = 0; j < side; ++j) {
            const int32_t* rowBest = best + (i * side + j) * side;
            uint8_t* out = &cube[cubeIndex(box.cell[0] + i, box.cell[1] + j, box.cell[2])];
            for (uint32_t l = 0; l < side; ++l) out[l] = static_cast<uint8_t>(rowBest[l]);
        }
    }
}

void fillOrSplit(const Candidates& parent, const Box& box, InverseColourCube& cube) {
    Candidates candidates;
    keepPossibleWinners(parent, box, candidates);
    const bool fillable = box.side <= kLargestLeaf;
    if (fillable && (candidates.count <= kFewCandidates || box.side <= kSmallestLeaf)) {
        fillBox(candidates, box, cube);
        return;
    }
    const uint32_t half = box.side / 2;
    for (uint32_t octant = 0; octant < 8; ++octant) {
        const Box child = {{box.cell[0] + (octant & 4 ? half : 0), box.cell[1] + (octant & 2 ? half : 0),
                            box.cell[2] + (octant & 1 ? half : 0)},
                           half};
        fillOrSplit(candidates, child, cube);
    }
}

}  // namespace

void buildInverseColourCube(const Palette& palette, InverseColourCube& cube) {
    Candidates entries;
    distinctEntries(palette, entries);
    fillOrSplit(entries, Box{{0, 0, 0}, kCubeSide}, cube);
}

}  // namespace tarvek
