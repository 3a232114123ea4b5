#include "sim/sim_hook_entries.h"

namespace tarvek::sim {

HookAddresses simHookAddresses(SimHost& host, const HookRoutines& r) {
    std::array<HostAddr, kHookCount> entries{};
    // The slots are the module's own: filled by the patch, read at each call.
    const HookAddresses slots = withPreviousTargetSlots(entries);
    auto previous = [slots](int id) { return *slots.previous[id]; };
    auto code = [&](int id, bool present, SimHost::CodeRoutine entry) {
        if (present) entries[id] = host.registerCodeRoutine(std::move(entry));
    };

    // LoadLandDat returns first; the module hashes the mask it built.
    code(TARVEK_HOOK_MAP_SOURCE, r.mapSourceLoaded, [&host, r, previous](SimCall& call) {
        const uint32_t result = host.callCode(previous(TARVEK_HOOK_MAP_SOURCE), call);
        r.mapSourceLoaded(call.ecx);
        return result;
    });
    // A consumed line returns 1 to the game; any other goes on to the game's chat send.
    code(TARVEK_HOOK_CHAT, r.chatCommand, [&host, r, previous](SimCall& call) -> uint32_t {
        if (r.chatCommand(call.ecx, call.eax) != 0) return 1;
        return host.callCode(previous(TARVEK_HOOK_CHAT), call);
    });
    code(TARVEK_HOOK_INIT_BORDERS, r.initBordersEntered, [&host, r, previous](SimCall& call) {
        int32_t borders[4]{};
        for (size_t i = 0; i < 4 && i < call.stackArguments.size(); ++i)
            borders[i] = static_cast<int32_t>(call.stackArguments[i]);
        r.initBordersEntered(call.ecx, borders);
        return host.callCode(previous(TARVEK_HOOK_INIT_BORDERS), call);
    });
    // The frame driver chains to the previous handler itself.
    if (r.wormMessage) entries[TARVEK_HOOK_WORM_MESSAGE] = host.registerWormRoutine(r.wormMessage);

    return withPreviousTargetSlots(entries);
}

}  // namespace tarvek::sim
