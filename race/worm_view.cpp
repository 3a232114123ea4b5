#include "race/worm_view.h"

#include <array>

#include "host/byte_order.h"
#include "host/host_layout.h"

namespace tarvek {

bool readWormView(const HostMemory& memory, HostAddr worm, WormView& view) {
    namespace w = host_layout::worm;
    std::array<uint8_t, w::kState + 4> bytes;
    static_assert(bytes.size() >= w::kReadableSpan, "a read view proves the worm's leading bytes readable");
    if (!memory.read(worm, bytes.data(), bytes.size())) return false;
    view.address = worm;
    view.world = readLe32(bytes.data() + w::kWorld);
    view.x = static_cast<int32_t>(readLe32(bytes.data() + w::kPositionX));
    view.y = static_cast<int32_t>(readLe32(bytes.data() + w::kPositionY));
    view.identityA = readLe32(bytes.data() + w::kIdentityA);
    view.identityB = readLe32(bytes.data() + w::kIdentityB);
    view.active = readLe32(bytes.data() + w::kActive);
    view.state = readLe32(bytes.data() + w::kState);
    return true;
}

}  // namespace tarvek
