#include "race/worm_view.h"

#include <array>
#include <cstring>

#include "host/host_layout.h"

namespace tarvek {

namespace {

uint32_t wordAt(const uint8_t* bytes, uint32_t offset) {
    uint32_t value;
    std::memcpy(&value, bytes + offset, 4);
    return value;
}

}  // namespace

bool readWormView(const HostMemory& memory, HostAddr worm, WormView& view) {
    namespace w = host_layout::worm;
    std::array<uint8_t, w::kState + 4> bytes;
    static_assert(bytes.size() >= w::kReadableSpan, "a read view proves the worm's leading bytes readable");
    if (!memory.read(worm, bytes.data(), bytes.size())) return false;
    view.address = worm;
    view.world = wordAt(bytes.data(), w::kWorld);
    view.x = static_cast<int32_t>(wordAt(bytes.data(), w::kPositionX));
    view.y = static_cast<int32_t>(wordAt(bytes.data(), w::kPositionY));
    view.identityA = wordAt(bytes.data(), w::kIdentityA);
    view.identityB = wordAt(bytes.data(), w::kIdentityB);
    view.active = wordAt(bytes.data(), w::kActive);
    view.state = wordAt(bytes.data(), w::kState);
    return true;
}

}  // namespace tarvek
