#pragma once
// The block of this program's image that stands for the game's image: the module finds the game
// at the process's main module, so the game's offsets must be addresses inside this program.
#include <string>

#include "host/host_memory.h"

namespace tarvek::host32 {

// The game's image reaches up to this offset from the module base.
constexpr uint32_t kGameImageSize = 0x4A0000;

struct GameImage {
    HostAddr base = 0;   // the process's main module, where the module looks for the game
    HostAddr begin = 0;  // the zero-filled block the game is laid out in
    HostAddr end = 0;
};

GameImage gameImage();

// Empty when every offset from one page above the base up to kGameImageSize lies in the block.
std::string gameImageProblem(const GameImage& image);

}  // namespace tarvek::host32
