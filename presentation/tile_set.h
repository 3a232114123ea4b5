#pragma once
// The 16 x 16-pixel screen tiles one line-batch flush touches, each recorded once: a 4096-slot
// open-addressing set stamped with a flush counter, so starting a flush never clears it.
#include <array>
#include <cstdint>

namespace tarvek {

class TileSet {
public:
    static constexpr uint32_t kSlots = 4096;

    enum class Insert { Added, Present, Full };

    // Starts a new flush: every slot stamped with an older counter reads as free. When the
    // counter wraps to 0 the stamps are cleared and counting restarts at 1.
    void beginFlush();
    Insert insert(uint32_t column, uint32_t row);

    static uint32_t slotOf(uint32_t column, uint32_t row) { return ((column ^ (row / 2)) * 0xA87u) % kSlots; }
    uint32_t flushCounter() const { return counter_; }

private:
    struct Slot {
        uint32_t column = 0;
        uint32_t row = 0;
        uint32_t stamp = 0;
    };
    std::array<Slot, kSlots> slots_{};
    uint32_t counter_ = 0;
};

}  // namespace tarvek
