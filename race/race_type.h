#pragma once
// The race type of the current world (BigRR or TTRR, with the turn time), read once per world
// from the active scheme's turn-time byte, plus the two disciplines of the current map.
#include <cstdint>
#include <string>

#include "host/host_memory.h"

namespace tarvek {

struct RaceType {
    bool isBigRR = false;
    uint32_t turnTime = 0;  // seconds; 0 for TTRR
    HostAddr detectionWorld = 0;
    bool detected = false;
    // Set by the map selection from the catalog's discipline.
    bool isTrickRace = false;
    bool isBungeeRace = false;
};

RaceType& raceType();

// Called on every per-frame message; detects at most once per world and retries while the
// world's first frame has not run or the scheme byte is unreadable.
void detectRaceType(HostAddr world);

// Makes the next detectRaceType call start over (a new match epoch).
void forgetRaceTypeDetection();

// The text after "(turn time " in the detection log line for a raw scheme byte.
std::string describeSchemeTurnTime(int8_t rawByte);

// BigRR without TrickRace or BungeeRace: the mode in which each turn is one ghost segment.
bool isBigRRSegmentMode();

// Emptied slots carry no map discipline: TrickRace off, BungeeRace back to its settings default.
void resetDisciplineFlags();

// Turn length in game frames (turnTime × 50) in BigRR, else 0.
uint64_t turnLengthFrames();

}  // namespace tarvek
