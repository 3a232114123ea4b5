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
// Player records of the current game: a name at +4 in each, indexed by the local player's index.
constexpr uint32_t kPlayerRecords = 0x4;
constexpr uint32_t kPlayerRecordSize = 0x50;
constexpr uint32_t kPlayerNameLimit = 76;
constexpr uint32_t kLocalPlayerIndex = 0xD9DC;
constexpr uint32_t kMaxLocalPlayerIndex = 5;
constexpr uint32_t kFeedbackGateByte = 0xDB48;
constexpr uint32_t kFeedbackGateWord = 0xEF3C;
}  // namespace game_state

namespace image {
constexpr uint32_t kSchemeTurnTime = 0x48DAF6;
constexpr uint32_t kNetworkNickname = 0x3C0FAC;
constexpr uint32_t kNetworkNicknameLimit = 29;
constexpr uint32_t kWormClassTable = 0x2644C8;
constexpr uint32_t kWormHandleMessageEntry = kWormClassTable + 0x8;
constexpr uint32_t kWormHandleMessage = 0x110B40;
constexpr uint32_t kDrawWorm = 0x10FCD0;
constexpr uint32_t kDrawRope = 0x100720;
// Chat: the call of the chat-send routine that the chat hook replaces, the chat print routine,
// and the pointer through which the current chat object is found.
constexpr uint32_t kChatSendSite = 0x12C1AE;
constexpr uint32_t kChatSend = 0x12B730;
constexpr uint32_t kChatPrint = 0x12ACB0;
constexpr uint32_t kChatLookup = 0x3A0884;
}  // namespace image

namespace chat_lookup {
constexpr uint32_t kChatObject = 0xA0;
constexpr uint32_t kReadableSpan = 0xA4;
}  // namespace chat_lookup

namespace chat {
constexpr uint32_t kPrintWord = 0x298;  // passed to the chat print routine
constexpr uint32_t kPrintSpan = 0x29C;  // what the print routine needs readable
constexpr uint32_t kWorld = 0x488;
constexpr uint32_t kReadableSpan = 0x48C;
}  // namespace chat

namespace message {
constexpr uint32_t kFrame = 2;
constexpr uint32_t kDraw = 3;
}  // namespace message

}  // namespace tarvek::host_layout
