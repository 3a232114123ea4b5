#include "tools/tarvek-host32/scenarios.h"

#include "host/host_layout.h"

namespace tarvek::host32 {
namespace {

ModuleFile settingsFile(bool enabled) {
    std::string text = "[General]\r\nEnabled=";
    text += enabled ? "1" : "0";
    text += "\r\nLogFile=";
    text += kLogFileName;
    text += "\r\n";
    return {"wkTarvek.ini", text};
}

}  // namespace

std::vector<Scenario> offlineScenarios() {
    return {
        {"offline-ttrr", {settingsFile(true)}, {}},
        {"offline-bigrr", {settingsFile(true)}, {}},
        {"offline-chat", {settingsFile(true)}, {}},
        {"disabled", {settingsFile(false)}, {}},
        // Another build of the game: a jump where turn-timer colour A's call was. That hook and
        // the two turn-timer hooks that depend on it stay out; the others go in.
        {"changed-site", {settingsFile(true)}, {{host_layout::image::kTurnTimerColourACallSite, {0xE9}}}},
    };
}

}  // namespace tarvek::host32
