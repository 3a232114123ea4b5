#include "presentation/tile_set.h"

namespace tarvek {

void TileSet::beginFlush() {
    if (++counter_ == 0) {
        for (Slot& slot : slots_) slot.stamp = 0;
        counter_ = 1;
    }
}

TileSet::Insert TileSet::insert(uint32_t column, uint32_t row) {
    const uint32_t home = slotOf(column, row);
    // Two neighbouring slots per probe.
    for (uint32_t probe = 0; probe < kSlots; probe += 2) {
        for (uint32_t k = 0; k < 2; ++k) {
            Slot& slot = slots_[(home + probe + k) % kSlots];
            if (slot.stamp != counter_) {
                slot = Slot{column, row, counter_};
                return Insert::Added;
            }
            if (slot.column == column && slot.row == row) return Insert::Present;
        }
    }
    return Insert::Full;
}

}  // namespace tarvek
