#include "race/ghost_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "host/host_context.h"
#include "host/host_layout.h"
#include "race/race_callouts.h"
#include "race/worm_image.h"

namespace tarvek {
namespace {

namespace layout = host_layout;
namespace image = layout::worm_image;
namespace queue = layout::render_queue;

// On a rope the crown follows the recorded sprite's angle (record word 1460); bit 2 of record
// byte 1458 says whether the angle and the head shift keep their sign or are mirrored.
constexpr uint32_t kKeepSignBit = 1u << 2;
constexpr size_t kRecordSignByte = 1458;
constexpr size_t kRecordRopeAnchor = 1460;

CrownPlacement placeCrown(const Settings& config, const WormImage& wormImage, const GhostFrame& frame) {
    if (imageWord(wormImage, image::kOnRope) == 0)
        return {imageWord(wormImage, image::kCrownAnchor), config.crownOffsetYPixels, 0};
    const bool keepSign = frame.bytes[kRecordSignByte] & kKeepSignBit;
    const uint32_t anchor = frame.word(kRecordRopeAnchor);
    return {keepSign ? anchor : 0u - anchor, config.crownRopeOffsetPixels,
            keepSign ? config.crownRopeHeadShiftPixels : -config.crownRopeHeadShiftPixels};
}

// Colour entries 7 and 9 set to the ghost's colour while it is drawn, restored on every way out.
class ColourOverride {
public:
    ColourOverride(HostAddr world, uint32_t index) : world_(world) {
        HostMemory& memory = hostMemory();
        uint32_t table[layout::world::kColourTableEntries];
        if (!memory.read(world + layout::world::kColourTable, table, sizeof table)) return;
        saved7_ = table[7];
        saved9_ = table[9];
        const uint32_t colour = table[index];
        active_ = memory.writeIfWritable(world + layout::world::kWormColourEntry7, &colour, 4) &&
                  memory.writeIfWritable(world + layout::world::kWormColourEntry9, &colour, 4);
    }
    ~ColourOverride() {
        if (!active_) return;
        HostMemory& memory = hostMemory();
        memory.writeIfWritable(world_ + layout::world::kWormColourEntry7, &saved7_, 4);
        memory.writeIfWritable(world_ + layout::world::kWormColourEntry9, &saved9_, 4);
    }
    ColourOverride(const ColourOverride&) = delete;
    ColourOverride& operator=(const ColourOverride&) = delete;

private:
    HostAddr world_;
    uint32_t saved7_ = 0;
    uint32_t saved9_ = 0;
    bool active_ = false;
};

struct QueueState {
    int32_t freeSpace = 0;
    uint32_t count = 0;
};

std::optional<QueueState> readQueue(const HostMemory& memory, HostAddr address) {
    const auto freeSpace = memory.readI32(address + queue::kFreeSpace);
    const auto count = memory.readU32(address + queue::kCount);
    if (!freeSpace || !count) return std::nullopt;
    return QueueState{*freeSpace, *count};
}

// The recorded sprite command goes into the queue as the host would have queued it.
bool pushRecordedCommand(HostMemory& memory, HostAddr address, const GhostFrame& frame) {
    const uint32_t type = frame.word(GhostFrame::kRenderCommand);
    if ((type & ~1u) != queue::kSpriteTypeA) return false;
    const auto state = readQueue(memory, address);
    constexpr int32_t kSize = queue::kSpriteCommandSize;
    if (!state || state->count >= queue::kMaxEntries || state->freeSpace < kSize ||
        state->freeSpace > static_cast<int32_t>(queue::kCommandAreaSize))
        return false;
    const HostAddr at = address + queue::kCommandArea + static_cast<uint32_t>(state->freeSpace - kSize);
    const HostAddr slot = address + queue::kEntries + state->count * 4;
    if (!memory.writeIfWritable(at, frame.bytes.data() + GhostFrame::kRenderCommand, kSize)) return false;
    if (!memory.writeIfWritable(slot, &at, 4)) return false;
    const int32_t freeSpace = state->freeSpace - kSize;
    const uint32_t count = state->count + 1;
    return memory.writeIfWritable(address + queue::kFreeSpace, &freeSpace, 4) &&
           memory.writeIfWritable(address + queue::kCount, &count, 4);
}

uint32_t liveWord(const LiveWormBytes& live, uint32_t offset) {
    uint32_t value;
    std::memcpy(&value, live.data() + offset, 4);
    return value;
}

void drawGhostUnguarded(HostAddr worm, const GhostFrame& frame, bool isBlue) {
    HostMemory& memory = hostMemory();
    const Settings& config = settings();
    if (worm == 0) return;
    const auto world = memory.readU32(worm + layout::worm::kWorld);
    if (!world || *world == 0) return;
    const auto renderQueue = memory.readU32(*world + layout::world::kRenderQueue);
    if (!renderQueue || *renderQueue == 0) return;

    LiveWormBytes live;
    if (!memory.read(worm, live.data(), live.size())) return;
    const uint32_t level = proximityFadeLevel(config, static_cast<int32_t>(liveWord(live, layout::worm::kPositionX)),
                                              static_cast<int32_t>(liveWord(live, layout::worm::kPositionY)),
                                              frame.positionX(), frame.positionY());
    GhostDrawState& state = ghostDrawState(isBlue);
    state.fadeLevel = level;

    WormImage wormImage;  // on the stack: the drawing pass allocates nothing
    buildWormImage(live, frame, wormImage);
    state.crown = placeCrown(config, wormImage, frame);

    const int colourIndex = isBlue ? config.blueColorTableIndex : config.goldColorTableIndex;
    const bool recolour = colourIndex != 0 && (isBlue ? config.personalRecordBlue : config.worldRecordGold);
    if (recolour) setImageWord(wormImage, image::kColourIndex, static_cast<uint32_t>(colourIndex - 1));

    const uint32_t ropeSegments = imageWord(wormImage, image::kRopeSegmentCount);
    if (imageWord(wormImage, image::kOnRope) != 0 && ropeSegments >= 1 && ropeSegments <= image::kMaxRopeSegments) {
        setImageWord(wormImage, image::kRopeData, worm + image::kLiveRopeData);
    } else {
        setImageWord(wormImage, image::kOnRope, 0);
        setImageWord(wormImage, image::kRopeData, 0);
    }

    const HostAddr imageAddress = memory.addressOf(wormImage.data(), wormImage.size());
    std::optional<ColourOverride> colours;
    if (recolour) colours.emplace(*world, static_cast<uint32_t>(colourIndex));

    const auto before = readQueue(memory, *renderQueue);
    if (!before) return;
    if (!pushRecordedCommand(memory, *renderQueue, frame)) {
        if (imageAddress == 0) return;
        hostCalls().drawWorm(imageAddress);
    }
    raceCallouts().markGhostCommands(*renderQueue, before->count, isBlue, true, level);

    if (imageWord(wormImage, image::kOnRope) == 0 || imageAddress == 0) return;
    uint32_t table[layout::world::kColourTableEntries];
    const auto ropeStart = readQueue(memory, *renderQueue);
    if (!ropeStart || !memory.read(*world + layout::world::kColourTable, table, sizeof table)) return;
    hostCalls().drawRope(imageAddress, table[9], table[7]);
    raceCallouts().markGhostCommands(*renderQueue, ropeStart->count, isBlue, false, level);
}

}  // namespace

GhostDrawState& ghostDrawState(bool isBlue) {
    static GhostDrawState states[2];
    return states[isBlue ? 1 : 0];
}

uint32_t proximityFadeLevel(const Settings& config, int32_t liveX, int32_t liveY, int32_t ghostX, int32_t ghostY) {
    if (!config.proximityFadeEnabled) return 0;
    const double dx = static_cast<double>(int64_t{ghostX} - liveX) / 65536.0;
    const double dy = static_cast<double>(int64_t{ghostY} - liveY) / 65536.0;
    const double squared = dx * dx + dy * dy;  // exact: both terms are multiples of 2^-32 below 2^34
    const double start = config.proximityFadeStartPixels;
    const double full = config.proximityFadeFullPixels;
    if (squared >= start * start) return 0;
    if (squared <= full * full) return 5;
    const double level = std::ceil(5.0 * (start - std::sqrt(squared)) / (start - full));
    return static_cast<uint32_t>(std::min(level, 5.0));
}

void drawGhost(HostAddr worm, const GhostFrame& frame, bool isBlue) noexcept {
    try {
        drawGhostUnguarded(worm, frame, isBlue);
    } catch (...) {
        // A failure here only costs this frame's ghost.
    }
}

}  // namespace tarvek
