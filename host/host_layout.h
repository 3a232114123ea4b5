#pragma once
// Offsets of the host game's objects and image that the module reads. Image offsets are
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
// The display object the world draws through. The watched pointer changes exactly when the game
// replaces its display, so the same word tells the graphics which display to build for.
constexpr uint32_t kDisplay = kWatched;
constexpr uint32_t kLandscape = 0x20;
constexpr uint32_t kGameState = 0x24;
constexpr uint32_t kRenderQueue = 0x524;
constexpr uint32_t kFrameCounter = 0x5CC;
// Eleven u32 palette indices; entries 7 and 9 colour worms and ropes, 1..10 are team colours.
constexpr uint32_t kColourTable = 0x7308;
constexpr uint32_t kColourTableEntries = 11;
constexpr uint32_t kColourEntry7 = kColourTable + 7 * 4;
constexpr uint32_t kColourEntry9 = kColourTable + 9 * 4;
// Team colour index i (0..9) is coloured by entry i + 1.
constexpr uint32_t kTeamColours = kColourTable + 4;
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
// Team t's colour index byte lies at t * kTeamStride - kTeamColourBack.
constexpr uint32_t kTeamStride = 3000;
constexpr uint32_t kTeamColourBack = 1895;
}  // namespace game_state

// The worm image the drawing pass builds from the live worm and a ghost frame.
namespace worm_image {
constexpr uint32_t kSize = 1020;
constexpr uint32_t kLiveBytes = 880;  // leading bytes taken from the live worm
constexpr uint32_t kCrownAnchor = 140;
constexpr uint32_t kOnRope = 188;
constexpr uint32_t kRopeSegments = 208;
constexpr uint32_t kRopeData = 228;
constexpr uint32_t kColourIndex = 268;
constexpr uint32_t kMaxRopeSegments = 64;
constexpr uint32_t kLiveRopeData = 928;  // offset of the rope data inside the live worm
}  // namespace worm_image

// The world's render queue: commands are written downward from the end of a 64 KiB area that
// starts right after the free-space word; the free space counts the bytes still unused there.
namespace render_queue {
constexpr uint32_t kFreeSpace = 0x0;
constexpr uint32_t kCommandArea = 0x4;
constexpr uint32_t kCommandAreaSize = 0x10000;
constexpr uint32_t kCount = 0x10004;
constexpr uint32_t kCommands = 0x10008;
constexpr uint32_t kMaxCommands = 2048;
constexpr uint32_t kSize = kCommands + 4 * kMaxCommands;
// Every command starts with its type.
constexpr uint32_t kType = 0x0;
// Sprite commands (types 4 and 5): 24 bytes. The queue hands a type-5 sprite to the display with
// bit 0 of its flags set, which draws it mirrored.
constexpr uint32_t kSpriteTypeA = 4;
constexpr uint32_t kSpriteTypeB = 5;
constexpr uint32_t kSpriteX = 0x4;  // 16.16 world coordinates of the sprite's centre
constexpr uint32_t kSpriteY = 0x8;
constexpr uint32_t kSpriteId = 0xC;
constexpr uint32_t kSpriteFlags = 0x10;
constexpr uint32_t kSpriteCommandSize = 24;
// Line commands (types 8 and 9): a polyline of `count` points, 16.16 world coordinates.
// Type 8 draws thin segments through display slot 14; type 9 draws segments `width` pixels wide
// through slot 13, even segments in the first colour word and odd ones in the second.
constexpr uint32_t kLineTypeThin = 8;
constexpr uint32_t kLineTypeWide = 9;
constexpr uint32_t kLineCount = 0x8;
constexpr uint32_t kLineColour = 0xC;
constexpr uint32_t kLineSecondColour = 0x10;
constexpr uint32_t kThinLinePoints = 0x10;
constexpr uint32_t kWideLineWidth = 0x14;
constexpr uint32_t kWideLinePoints = 0x18;
}  // namespace render_queue

// The display object (the game's graphics device).
namespace display {
constexpr uint32_t kClassTableOffset = 0x0;
constexpr uint32_t kScroll = 0x3560;  // two i32 (x, y) added to world pixels to reach the screen
constexpr uint32_t kPalette = 0x358D;  // 256 x (red, green, blue, flags)
constexpr uint32_t kPaletteSize = 1024;
constexpr uint32_t kSurface = 0x3D9C;  // pointer to the current drawing surface (a host bitmap)
constexpr uint32_t kTranslucency = 0x14DF4;  // [background * 256 + source] for translucent draws
constexpr uint32_t kTranslucencySize = 0x10000;
constexpr uint32_t kSize = kTranslucency + kTranslucencySize;
constexpr uint32_t kTranslucentDraw = 0x04000000;  // draw flag: blend through the table above

// Class-table slots and what each is called with after the display object:
//   7  text: (style, target bitmap, x, y, text, out width, out height) -> i32, above 0 on success;
//      x and y are the top-left pixel in the target bitmap.
//   13 wide line: (x1, y1, x2, y2, colour word, width in pixels)
//   14 thin line: (x1, y1, x2, y2, colour word)
//   19 sprite: (x, y, flags, sprite word)
//   20 bitmap: (x, y, bitmap, source x, source y, width, height, flags)
//   26 frame end: () — called once after the render queue has run, before the frame is shown.
// Coordinates of slots 13, 14, 19 and 20 are 16.16 world units (screen = world + scroll); sprites
// and bitmaps are centred on (x, y). The colour word's low byte is the palette index.
constexpr uint32_t kSlotText = 7;
constexpr uint32_t kSlotWideLine = 13;
constexpr uint32_t kSlotThinLine = 14;
constexpr uint32_t kSlotSprite = 19;
constexpr uint32_t kSlotBitmap = 20;
constexpr uint32_t kSlotFrameEnd = 26;
constexpr uint32_t kClassTableSpan = 0x98;
constexpr uint32_t slotEntry(uint32_t slot) { return slot * 4; }
}  // namespace display

// Host bitmap objects (drawing surfaces, sprites handed to the bitmap routine).
namespace bitmap {
constexpr uint32_t kClass = 0x0;
constexpr uint32_t kPixels = 0x8;
constexpr uint32_t kBitsPerPixel = 0xC;
constexpr uint32_t kStride = 0x10;
constexpr uint32_t kWidth = 0x14;
constexpr uint32_t kHeight = 0x18;
constexpr uint32_t kClip = 0x1C;  // left, top, right, bottom; right and bottom exclusive
constexpr uint32_t kSize = 0x2C;
constexpr uint32_t kMaxSide = 32768;
}  // namespace bitmap

// The turn-timer object and the object its bitmap renderer is called with.
namespace timer {
constexpr uint32_t kWorld = 0x2C;
constexpr uint32_t kTeam = 0x134;
constexpr uint32_t kRedraw = 0x2D0;
constexpr uint32_t kRendererDisplay = 0x14;
constexpr uint32_t kRendererRefresh = 0x11C;
constexpr uint32_t kMaxBitmapSide = 1024;
constexpr uint32_t kMaxBitmapStride = 4096;
}  // namespace timer

namespace image {
constexpr uint32_t kSchemeTurnTime = 0x48DAF6;
constexpr uint32_t kNetworkNickname = 0x3C0FAC;
constexpr uint32_t kNetworkNicknameLimit = 29;
constexpr uint32_t kWormClassTable = 0x2644C8;
constexpr uint32_t kWormHandleMessageEntry = kWormClassTable + 0x8;
constexpr uint32_t kWormHandleMessage = 0x110B40;
constexpr uint32_t kDrawWorm = 0x10FCD0;
constexpr uint32_t kDrawRope = 0x100720;
constexpr uint32_t kDisplayClassTable = 0x26A218;
constexpr uint32_t kTimerClassTable = 0x269F70;
constexpr uint32_t kBitmapClassTable = 0x264144;
// Turn-timer call sites (each a 5-byte E8 call) and the host routines they call: the timer
// update (timer object in ECX), one team's timer box (timer object in EAX, team number in EDX)
// and the timer bitmap renderer (six stack arguments, see TimerRender in host_calls.h).
constexpr uint32_t kTimerUpdateSite = 0x15E10F;
constexpr uint32_t kTimerUpdate = 0x15EAF0;
constexpr uint32_t kTimerTeamSite = 0x15EF2C;
constexpr uint32_t kTimerTeam = 0x15E650;
constexpr uint32_t kTimerRenderSite = 0x15F30B;
constexpr uint32_t kTimerRender = 0xFB070;
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
