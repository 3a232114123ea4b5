#pragma once
// What the module did to the game's hook points: each call site's target and each class-table
// entry is read before the module loads and again after its start-up, and every point is
// reported as patched (with the old and the new target) or skipped.
#include <optional>
#include <string>
#include <vector>

#include "host/host_memory.h"
#include "tools/scenarios/transcript.h"

namespace tarvek::scenarios {

struct HookPoint {
    uint32_t offset = 0;    // from the game's base
    bool callSite = false;  // an E8 call whose target is patched; otherwise a table entry
};

// Every place where the module's start-up may patch the game, in installation order.
std::vector<HookPoint> gameHookPoints();

// Where the point leads now: the call's target or the entry's value; nothing when the bytes are
// unreadable or the site holds no E8 call.
std::optional<HostAddr> hookTarget(const HostMemory& memory, HostAddr gameBase, const HookPoint& point);

class HookSurvey {
public:
    // Records every point's target as the game laid it out.
    HookSurvey(const HostMemory& memory, HostAddr gameBase, std::vector<HookPoint> points);

    // One text per point, in the order given: "+0x17ad69 patched +0x175bc0 -> module" or
    // "+0x17ad69 skipped"; "none" stands for a target that cannot be read.
    std::vector<std::string> report(const AddressNames& names) const;

private:
    const HostMemory& memory_;
    HostAddr gameBase_;
    std::vector<HookPoint> points_;
    std::vector<std::optional<HostAddr>> before_;
};

}  // namespace tarvek::scenarios
