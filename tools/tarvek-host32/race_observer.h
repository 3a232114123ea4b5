#pragma once
// What the player of one scenario sees of the race, as the game's side of the calls shows it,
// written to the transcript when it changes: the render commands the module marked, the gap
// messages it had the display's text routine draw, the turn timer's colours, and how each
// turn-timer call site passed the game's registers and flags through.
#include <string>

#include "tools/scenarios/transcript.h"
#include "tools/tarvek-host32/game_routines.h"
#include "tools/tarvek-host32/host_game.h"

namespace tarvek::host32 {

class RaceObserver {
public:
    RaceObserver(scenarios::Transcript& transcript, std::string scenario)
        : transcript_(transcript), scenario_(std::move(scenario)) {}

    // After each frame the game ran.
    void observe(uint32_t frame, const HostGame& game);

private:
    void add(uint32_t frame, scenarios::EventKind kind, const std::string& text);
    void observeSite(uint32_t frame, int site, const char* name, const SiteCall& call, TimerRoutine routine);

    scenarios::Transcript& transcript_;
    std::string scenario_;
    std::string lastMarked_ = scenarios::markedText({});
    std::string lastTimer_;
    std::string lastSite_[3];
};

// The register line of one call through a turn-timer call site: whether the game's routine was
// entered with what the game set and the game got back what the routine left.
std::string siteCallText(const char* site, const SiteCall& call, const GameRegisters& routineEntry,
                         const GameRegisters& routineExit);

}  // namespace tarvek::host32
