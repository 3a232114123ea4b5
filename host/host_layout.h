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

namespace image {
constexpr uint32_t kSchemeTurnTime = 0x48DAF6;
constexpr uint32_t kWormClassTable = 0x2644C8;
constexpr uint32_t kWormHandleMessageEntry = kWormClassTable + 0x8;
constexpr uint32_t kWormHandleMessage = 0x110B40;
constexpr uint32_t kDrawWorm = 0x10FCD0;
constexpr uint32_t kDrawRope = 0x100720;
constexpr uint32_t kChatPrint = 0x12ACB0;

// Call sites the module redirects (each a 5-byte E8 call) and the host routines they call.
constexpr uint32_t kLoadLandDatCall = 0x17AD69;
constexpr uint32_t kLoadLandDat = 0x175BC0;
constexpr uint32_t kChatSendCall = 0x12C1AE;
constexpr uint32_t kChatSend = 0x12B730;
constexpr uint32_t kTimerColourACall = 0x15E10F;
constexpr uint32_t kTimerColourA = 0x15EAF0;
constexpr uint32_t kTimerColourBCall = 0x15EF2C;
constexpr uint32_t kTimerColourB = 0x15E650;
constexpr uint32_t kTimerDrawingCall = 0x15F30B;
constexpr uint32_t kTimerDrawing = 0xFB070;

// Class tables whose entries the module replaces.
constexpr uint32_t kDisplayClassTable = 0x26A218;
constexpr uint32_t kDisplayLineDraw6Entry = kDisplayClassTable + 0x34;  // slot 13
constexpr uint32_t kDisplayLineDraw5Entry = kDisplayClassTable + 0x38;  // slot 14
constexpr uint32_t kDisplaySpriteDrawEntry = kDisplayClassTable + 0x4C;  // slot 19
constexpr uint32_t kDisplayBitmapDrawEntry = kDisplayClassTable + 0x50;  // slot 20, called only
constexpr uint32_t kDisplayOverlayEntry = kDisplayClassTable + 0x68;     // slot 26
constexpr uint32_t kLandscapeClassTable = 0x26B208;
constexpr uint32_t kLandscapeInitBordersEntry = kLandscapeClassTable + 0x18;
constexpr uint32_t kLandscapeInitBorders = 0x17D7F0;
}  // namespace image

namespace message {
constexpr uint32_t kFrame = 2;
constexpr uint32_t kDraw = 3;
}  // namespace message

}  // namespace tarvek::host_layout
