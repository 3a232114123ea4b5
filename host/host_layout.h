#pragma once
// Offsets of the host game's objects and image that the race engine reads. Image offsets are
// relative to the host base (the load address of the game's executable).
#include <cstdint>

namespace tarvek::host_layout {

namespace worm {
constexpr uint32_t kWorld = 0x2C;
constexpr uint32_t kPositionX = 0x84;
constexpr uint32_t kPositionY = 0x88;
constexpr uint32_t kIdentityA = 0xFC;
constexpr uint32_t kIdentityB = 0x100;
constexpr uint32_t kActive = 0x104;
constexpr uint32_t kState = 0x170;
constexpr uint32_t kStateRopeBlocked = 0x28;  // a worm in this state cannot start its race
constexpr uint32_t kReadableSpan = 260;       // the part of the worm the saved states rely on
}  // namespace worm

namespace world {
constexpr uint32_t kWatched = 0x4;
// The watched pointer names the display object the world draws on: the one object whose
// change the driver already watches, so caches are checked against it.
constexpr uint32_t kDisplay = kWatched;
constexpr uint32_t kLandscape = 0x20;
constexpr uint32_t kGameState = 0x24;
constexpr uint32_t kFrameCounter = 0x5CC;
constexpr uint32_t kMapWidth = 0x77C0;
constexpr uint32_t kMapHeight = 0x77C4;
}  // namespace world

namespace game_state {
constexpr uint32_t kFeedbackGateByte = 0xDB48;
constexpr uint32_t kFeedbackGateWord = 0xEF3C;
}  // namespace game_state

namespace display {
constexpr uint32_t kPalette = 0x358D;  // 256 entries of red, green, blue, flags
}  // namespace display

namespace image {
constexpr uint32_t kSchemeTurnTime = 0x48DAF6;
constexpr uint32_t kWormClassTable = 0x2644C8;
constexpr uint32_t kWormHandleMessageEntry = kWormClassTable + 0x8;
constexpr uint32_t kWormHandleMessage = 0x110B40;
constexpr uint32_t kDrawWorm = 0x10FCD0;
constexpr uint32_t kDrawRope = 0x100720;
}  // namespace image

namespace message {
constexpr uint32_t kFrame = 2;
constexpr uint32_t kDraw = 3;
}  // namespace message

}  // namespace tarvek::host_layout
