#include "presentation/render_tags.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "host/host_context.h"
#include "host/host_layout.h"
#include "race/race_type.h"

namespace tarvek {
namespace {

namespace queue = host_layout::render_queue;

constexpr uint32_t kEntryBytes = queue::kLineColourRepeat + 4;  // what marking reads of a command

uint32_t wordAt(const uint8_t* bytes, uint32_t offset) {
    uint32_t value;
    std::memcpy(&value, bytes + offset, 4);
    return value;
}

uint32_t spriteMarks(const Settings& settings, bool isBlue, bool isWormBody, bool translucent) {
    uint32_t marks = 0;
    if (translucent) marks |= sprite_flags::kTranslucent | (isBlue ? sprite_flags::kBlueGhost : sprite_flags::kGoldGhost);
    if (isWormBody && !isBlue &&
        ((settings.worldRecordCrown && !raceType().isBungeeRace) || settings.worldRecordNameTag)) {
        marks |= sprite_flags::kGoldExtras;
    }
    if (isWormBody && isBlue && settings.personalRecordNameTag) marks |= sprite_flags::kPersonalNameTag;
    return marks;
}

void orWord(HostMemory& memory, HostAddr at, uint32_t word, uint32_t marks) {
    const uint32_t marked = word | marks;
    if (marked != word) memory.writeIfWritable(at, &marked, 4);
}

}  // namespace

uint32_t encodeLineTag(const LineTag& tag) {
    const uint32_t segments = std::clamp<uint32_t>(tag.segments, 1, 64) - 1;
    return kLineTagMark << 24 | (tag.polyline / 4 % 16) << 20 | (std::min<uint32_t>(tag.level, 7)) << 17 |
           uint32_t{tag.isBlue} << 16 | (tag.polyline % 4) << 14 | segments << 8 | tag.colour;
}

LineTag decodeLineTag(uint32_t word) {
    LineTag tag;
    tag.colour = static_cast<uint8_t>(word);
    tag.segments = ((word >> 8) & 0x3F) + 1;
    tag.polyline = ((word >> 14) & 0x3) | ((word >> 20) & 0xF) << 2;
    tag.isBlue = (word >> 16) & 1;
    tag.level = (word >> 17) & 0x7;
    return tag;
}

bool ghostIsTranslucent(const Settings& settings, bool isBlue) {
    const int opacity = isBlue ? settings.blueOpacityPercent : settings.goldOpacityPercent;
    const bool colourSwitch = isBlue ? settings.personalRecordBlue : settings.worldRecordGold;
    return opacity < 100 || colourSwitch ||
           (settings.proximityFadeEnabled && settings.proximityFadeMinimumOpacityPercent < opacity);
}

void markGhostCommands(HostAddr queueAddress, uint32_t firstNewIndex, bool isBlue, bool isWormBody, uint32_t fadeLevel) {
    HostMemory& memory = hostMemory();
    const auto count = memory.readU32(queueAddress + queue::kCount);
    if (!count) return;
    const uint32_t end = std::min(*count, queue::kMaxEntries);
    if (firstNewIndex >= end) return;
    std::array<HostAddr, queue::kMaxEntries> commands;
    if (!memory.read(queueAddress + queue::kEntries + firstNewIndex * 4, commands.data(), (end - firstNewIndex) * 4))
        return;

    const Settings& config = settings();
    const bool translucent = ghostIsTranslucent(config, isBlue);
    const uint32_t marks = spriteMarks(config, isBlue, isWormBody, translucent);
    uint32_t polyline = 0;
    for (uint32_t i = 0; i < end - firstNewIndex; ++i) {
        const HostAddr command = commands[i];
        uint8_t bytes[kEntryBytes];
        if (!memory.read(command, bytes, sizeof bytes)) continue;
        const uint32_t type = wordAt(bytes, queue::kEntryType);
        if (type == queue::kSpriteTypeA || type == queue::kSpriteTypeB) {
            orWord(memory, command + queue::kSpriteFlags, wordAt(bytes, queue::kSpriteFlags), marks);
        } else if ((type == queue::kLineTypeA || type == queue::kLineTypeB) && translucent) {
            const uint32_t points = wordAt(bytes, queue::kLineCount);
            if (points < 2) continue;
            LineTag tag{0, std::min<uint32_t>(fadeLevel, 5), isBlue, std::min<uint32_t>(points - 1, 64), polyline++};
            tag.colour = static_cast<uint8_t>(wordAt(bytes, queue::kLineColour));
            const uint32_t first = encodeLineTag(tag);
            memory.writeIfWritable(command + queue::kLineColour, &first, 4);
            if (type == queue::kLineTypeB) {
                tag.colour = static_cast<uint8_t>(wordAt(bytes, queue::kLineColourRepeat));
                const uint32_t second = encodeLineTag(tag);
                memory.writeIfWritable(command + queue::kLineColourRepeat, &second, 4);
            }
        }
    }
}

}  // namespace tarvek
