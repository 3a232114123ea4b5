#pragma once
// A ghost's level table in place of the host's translucency table for the length of one draw.
#include <cstdint>

#include "host/host_memory.h"

namespace tarvek {

class TranslucencySwap {
public:
    // Swaps when a table is given and the host's 65,536 bytes are readable and writable; the
    // host's table is saved first and written back when this goes out of scope.
    TranslucencySwap(HostAddr display, const uint8_t* levelTable);
    ~TranslucencySwap();
    TranslucencySwap(const TranslucencySwap&) = delete;
    TranslucencySwap& operator=(const TranslucencySwap&) = delete;

    bool swapped() const { return swapped_; }

private:
    HostAddr table_ = 0;
    bool swapped_ = false;
};

}  // namespace tarvek
