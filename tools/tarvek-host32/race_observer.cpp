#include "tools/tarvek-host32/race_observer.h"

#include "tools/tarvek-host32/game_routines.h"

namespace tarvek::host32 {
namespace {

using scenarios::EventKind;

// The game's coloured message styles (behind, ahead, even): the texts the gap is drawn in.
bool isMessageStyle(uint32_t style) { return style == 17 || style == 19 || style == 20; }

}  // namespace

std::string siteCallText(const char* site, const SiteCall& call, const GameRegisters& routineEntry,
                         const GameRegisters& routineExit) {
    GameRegisters entered = routineEntry;
    entered.stackPopped = call.before.stackPopped;  // the routine's entry has no stack count
    const std::string in = registerDifferences(entered, call.before);
    const std::string out = registerDifferences(call.after, routineExit);
    return std::string(site) + ": routine entered with " + (in.empty() ? "the game's registers and flags" : in) +
           "; game got back " + (out.empty() ? "what the routine left" : out);
}

void RaceObserver::add(uint32_t frame, EventKind kind, const std::string& text) {
    transcript_.add(scenario_, frame, kind, text);
}

void RaceObserver::observeSite(uint32_t frame, int site, const char* name, const SiteCall& call, TimerRoutine routine) {
    const std::string text = siteCallText(name, call, timerRoutineEntry(routine), timerRoutineExit(routine));
    if (text != lastSite_[site]) add(frame, EventKind::Registers, lastSite_[site] = text);
}

void RaceObserver::observe(uint32_t frame, const HostGame& game) {
    if (const std::string marked = scenarios::markedText(game.marked()); marked != lastMarked_)
        add(frame, EventKind::Marked, lastMarked_ = marked);
    for (const TextDrawn& text : takeTextsDrawn())
        if (isMessageStyle(text.style)) add(frame, EventKind::Gap, text.text);
    if (!game.drawsTimer()) return;
    if (const std::string timer = game.timerText(); timer != lastTimer_) add(frame, EventKind::Timer, lastTimer_ = timer);
    const TimerPass& pass = game.timerPass();
    observeSite(frame, 0, "timer update", pass.update, TimerRoutine::Update);
    observeSite(frame, 1, "timer team box", pass.team, TimerRoutine::Team);
    observeSite(frame, 2, "timer digits", pass.render, TimerRoutine::Render);
}

}  // namespace tarvek::host32
