#include "race/race_type.h"

#include "host/host_context.h"
#include "host/host_layout.h"
#include "host/log.h"
#include "host/settings.h"
#include "host/text.h"

namespace tarvek {

namespace layout = host_layout;

RaceType& raceType() {
    static RaceType type;
    return type;
}

void forgetRaceTypeDetection() { raceType().detectionWorld = 0; }

std::string describeSchemeTurnTime(int8_t rawByte) {
    if (rawByte > 0) return "finite countdown, " + std::to_string(rawByte) + " s";
    if (rawByte == 0) return "unlimited";
    const auto raw = static_cast<uint8_t>(rawByte);
    return "count-up/unlimited, raw 0x" + hexBytes(&raw, 1, HexCase::Upper);
}

void detectRaceType(HostAddr world) {
    RaceType& type = raceType();
    if (world != type.detectionWorld) {
        type.detectionWorld = world;
        type.detected = false;
        type.turnTime = 0;
        type.isBigRR = settings().isBigRRAtWorldStart;
    }
    if (type.detected) return;

    const HostMemory& memory = hostMemory();
    const auto frame = memory.readI32(world, layout::world::kFrameCounter);
    if (!frame || *frame <= 0) return;
    const auto raw = memory.readI8(hostBase(), layout::image::kSchemeTurnTime);
    if (!raw) return;

    type.isBigRR = *raw > 0;
    type.turnTime = *raw > 0 ? static_cast<uint32_t>(*raw) : 0;
    type.detected = true;
    logLine(std::string("automatic race type from scheme: ") + (type.isBigRR ? "BigRR" : "TTRR") +
            " (turn time " + describeSchemeTurnTime(*raw) + ")");
}

void resetDisciplineFlags() {
    raceType().isTrickRace = false;
    raceType().isBungeeRace = settings().isBungeeRaceDefault;
}

bool isBigRRSegmentMode() {
    const RaceType& type = raceType();
    return type.isBigRR && !type.isTrickRace && !type.isBungeeRace;
}

uint64_t turnLengthFrames() {
    const RaceType& type = raceType();
    return type.isBigRR ? uint64_t{type.turnTime} * 50 : 0;
}

}  // namespace tarvek
