#include "presentation/translucency_swap.h"

#include <array>

#include "host/host_context.h"
#include "host/host_layout.h"

namespace tarvek {
namespace {

namespace display = host_layout::display;

// One save buffer: swaps never nest (the caller that swapped tells the extras so).
struct SaveBuffer {
    std::array<uint8_t, display::kTranslucencyTableSize> bytes;
    bool inUse = false;
};

SaveBuffer& saveBuffer() {
    static SaveBuffer buffer;
    return buffer;
}

}  // namespace

TranslucencySwap::TranslucencySwap(HostAddr displayObject, const uint8_t* levelTable) {
    SaveBuffer& save = saveBuffer();
    if (!levelTable || save.inUse) return;
    HostMemory& memory = hostMemory();
    const HostAddr table = displayObject + display::kTranslucencyTable;
    if (!memory.isWritable(table, display::kTranslucencyTableSize) ||
        !memory.read(table, save.bytes.data(), save.bytes.size()) ||
        !memory.write(table, levelTable, display::kTranslucencyTableSize))
        return;
    save.inUse = true;
    table_ = table;
    swapped_ = true;
}

TranslucencySwap::~TranslucencySwap() {
    if (!swapped_) return;
    SaveBuffer& save = saveBuffer();
    save.inUse = false;
    try {
        hostMemory().write(table_, save.bytes.data(), save.bytes.size());
    } catch (...) {
        // The table's memory went away under the draw; there is nothing left to restore.
    }
}

}  // namespace tarvek
