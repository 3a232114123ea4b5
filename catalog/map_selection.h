#pragma once
// The ghosts of a map: looks the map up in the server, remote or local catalog for the current
// race type and player, loads the world record into the gold slot and the personal record into
// the blue slot, and sets the map's discipline (and race type, where the catalog decides it).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/host_memory.h"

namespace tarvek {

// What the last selection found beyond the settings fields it writes; emptied on a new world.
struct MapSelectionState {
    std::string localPlayerName;
    std::string playerAccountKey;
    bool goldFilled = false;
    bool blueFilled = false;
};

MapSelectionState& mapSelection();
void forgetMapSelection();

// The details of one selection, for the tool that shows them.
struct MapSelectionReport {
    std::string_view source;
    std::string catalogFile;
    std::string section;
    std::string playerKey;
    std::string personalRecordPath;
    std::vector<std::string> lines;  // every diagnostic line, in order
};

// True when the gold or the blue slot was filled. In first-opportunity mode nothing changes
// while either slot holds a ghost. width and height only serve the "unknown map" line; world is
// where the local player's name is looked up.
bool selectMapGhosts(std::string_view mapHash, uint32_t width, uint32_t height, HostAddr world,
                     bool firstOpportunity, MapSelectionReport* report = nullptr);

}  // namespace tarvek
