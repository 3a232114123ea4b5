#pragma once
// Every offset the module relies on in the host game, in one place. Image offsets are relative to
// the host base (the load address of the game's executable); object offsets are relative to the
// object's address. The simulated host lays out its image and objects from this table too.
#include <array>
#include <cstdint>

namespace tarvek::host_layout {

// The game's executable image.
namespace image {
// Call sites: a 5-byte E8 call whose target the module redirects, and the host routine the
// unpatched call reaches.
constexpr uint32_t kLoadLandDatCallSite = 0x17AD69;
constexpr uint32_t kLoadLandDat = 0x175BC0;
constexpr uint32_t kChatSendCallSite = 0x12C1AE;
constexpr uint32_t kChatSend = 0x12B730;
constexpr uint32_t kTurnTimerColourACallSite = 0x15E10F;
constexpr uint32_t kTurnTimerColourA = 0x15EAF0;
constexpr uint32_t kTurnTimerColourBCallSite = 0x15EF2C;
constexpr uint32_t kTurnTimerColourB = 0x15E650;
constexpr uint32_t kTurnTimerDrawCallSite = 0x15F30B;
constexpr uint32_t kTurnTimerDraw = 0xFB070;
constexpr uint32_t kCallSiteSize = 5;
constexpr uint8_t kCallOpcode = 0xE8;

// Host code around the turn-timer sites that must match before they are patched.
constexpr uint32_t kTurnTimerColourBCheckBefore = 0x15EF28;
constexpr std::array<uint8_t, 4> kTurnTimerColourBBytesBefore = {0x8B, 0xC1, 0x8B, 0xD7};
constexpr uint32_t kTurnTimerColourBCheckAfter = 0x15EF31;
constexpr std::array<uint8_t, 4> kTurnTimerColourBBytesAfter = {0x8B, 0x54, 0x24, 0x18};
constexpr uint32_t kTurnTimerDrawCheckBefore = 0x15F2FB;
constexpr std::array<uint8_t, 16> kTurnTimerDrawBytesBefore = {0x8B, 0x54, 0x24, 0x28, 0x8D, 0x4C, 0x24, 0x18,
                                                               0x51, 0x6A, 0x00, 0x6A, 0x00, 0x52, 0x56, 0x50};
constexpr uint32_t kTurnTimerDrawCheckAfter = 0x15F310;
constexpr std::array<uint8_t, 16> kTurnTimerDrawBytesAfter = {0x8B, 0x4C, 0x24, 0x0C, 0x8B, 0x54, 0x24, 0x10,
                                                              0x6A, 0x00, 0x51, 0x8B, 0x4F, 0x2C, 0x8B, 0x89};

// Class tables (virtual tables), the span a patch checks as readable, and their patched entries
// with the host routines those hold.
constexpr uint32_t kWormClassTable = 0x2644C8;
constexpr uint32_t kWormClassTableSpan = 0x50;
constexpr uint32_t kWormHandleMessageEntry = kWormClassTable + 0x8;
constexpr uint32_t kWormHandleMessage = 0x110B40;
constexpr uint32_t kDisplayClassTable = 0x26A218;
constexpr uint32_t kDisplayClassTableSpan = 0x98;
constexpr uint32_t kDisplayEntry4Span = 0x6C;  // what the overlay entry's patch checks
constexpr uint32_t kLandscapeClassTable = 0x26B208;
constexpr uint32_t kLandscapeClassTableSpan = 0x80;
constexpr uint32_t kLandscapeInitBordersEntry = kLandscapeClassTable + 0x18;
constexpr uint32_t kLandscapeInitBorders = 0x17D7F0;
constexpr uint32_t kBitmapClassTable = 0x264144;     // host bitmap objects
constexpr uint32_t kTurnTimerClassTable = 0x269F70;  // the turn-timer object

// Host routines the module calls.
constexpr uint32_t kChatPrint = 0x12ACB0;  // (chat object, its word +0x298, text, 0); callee cleans
constexpr uint32_t kDrawWorm = 0x10FCD0;   // worm image in EAX
constexpr uint32_t kDrawRope = 0x100720;   // (worm, colour entry 9, colour entry 7); callee cleans

// Host data.
constexpr uint32_t kSchemeTurnTime = 0x48DAF6;   // i8 turn-time byte of the active scheme
constexpr uint32_t kNetworkNickname = 0x3C0FAC;  // the local network nickname
constexpr uint32_t kNetworkNicknameLimit = 29;
constexpr uint32_t kChatLookup = 0x3A0884;  // pointer to the object that holds the chat object
}  // namespace image

// The display class table's call contracts, after the display object (thiscall):
//   slot 7  text: (style, target bitmap, x, y, text, out width, out height) -> i32, above 0 on
//           success; (x, y) is the text's top-left pixel in the target bitmap.
//   slot 13 wide line: (x1, y1, x2, y2, colour word, width in pixels) -> i32
//   slot 14 thin line: (x1, y1, x2, y2, colour word) -> i32
//   slot 19 sprite: (x, y, flags, sprite word) -> i32; flag bit 0 draws it mirrored
//   slot 20 bitmap: (x, y, bitmap, source x, source y, width, height, flags)
//   slot 26 frame end: called once after the render queue has run, before the frame is shown.
// Coordinates of slots 13, 14, 19 and 20 are 16.16 world units (screen pixel = world pixel +
// scroll offset); sprites and bitmaps are centred on (x, y). A colour word's low byte is the
// palette index; flag 0x04000000 blends through the display's translucency table
// [background * 256 + source].

// Entries of the display class table, by offset: slot n lies at 4 n.
namespace display_table {
constexpr uint32_t kSlotCount = 38;  // kDisplayClassTableSpan / 4
constexpr uint32_t kTextDraw = 0x1C;    // slot 7: draw a text into a host bitmap
constexpr uint32_t kLineDraw6 = 0x34;   // slot 13: line, six parameters, colour fifth
constexpr uint32_t kLineDraw5 = 0x38;   // slot 14: line, five parameters, colour fifth
constexpr uint32_t kSpriteDraw = 0x4C;  // slot 19: (x, y, flags, sprite)
constexpr uint32_t kBitmapDraw = 0x50;  // slot 20: (x, y, bitmap, source x, source y, width, height, flags)
constexpr uint32_t kOverlay = 0x68;     // slot 26
}  // namespace display_table

// The host's messages to a worm's HandleMessage.
namespace message {
constexpr uint32_t kFrame = 2;
constexpr uint32_t kDraw = 3;
}  // namespace message

namespace worm {
constexpr uint32_t kWorld = 0x2C;
constexpr uint32_t kPositionX = 0x84;  // i32 16.16
constexpr uint32_t kPositionY = 0x88;  // i32 16.16
constexpr uint32_t kIdentityA = 0xFC;
constexpr uint32_t kIdentityB = 0x100;
constexpr uint32_t kActive = 0x104;
constexpr uint32_t kState = 0x170;
constexpr uint32_t kStateRopeBlocked = 0x28;  // a worm in this state cannot start its race
constexpr uint32_t kReadableSpan = 260;       // the part of the worm the saved states rely on
}  // namespace worm

// The worm image built on the stack for one ghost draw: the live worm's first bytes with the
// ghost frame's three state blocks written over them.
namespace worm_image {
constexpr uint32_t kSize = 1020;
constexpr uint32_t kLiveWormBytes = 880;
constexpr uint32_t kCrownAnchor = 140;
constexpr uint32_t kOnRope = 188;
constexpr uint32_t kRopeSegmentCount = 208;
constexpr uint32_t kRopeData = 228;
constexpr uint32_t kColourIndex = 268;
constexpr uint32_t kMaxRopeSegments = 64;
constexpr uint32_t kLiveRopeData = 928;  // the rope data inside the live worm
struct StateBlock {
    uint32_t recordOffset;
    uint32_t imageOffset;
    uint32_t size;
};
constexpr std::array<StateBlock, 3> kStateBlocks = {{{4, 56, 164}, {168, 252, 620}, {788, 880, 140}}};
}  // namespace worm_image

namespace world {
constexpr uint32_t kWatched = 0x4;
// The display object the world draws on. The watched pointer names it: the one object whose
// change the driver already watches, so the graphics caches are checked against it.
constexpr uint32_t kDisplay = kWatched;
constexpr uint32_t kLandscape = 0x20;
constexpr uint32_t kGameState = 0x24;  // also called the game setup data
constexpr uint32_t kRenderQueue = 0x524;
constexpr uint32_t kFrameCounter = 0x5CC;
constexpr uint32_t kColourTable = 0x7308;  // 11 u32 entries
constexpr uint32_t kColourTableEntries = 11;
constexpr uint32_t kTeamColours = 0x730C;       // + 4 × team colour index
constexpr uint32_t kTimerColourBehind = 0x730C;
constexpr uint32_t kTimerColourAhead = 0x7314;
constexpr uint32_t kWormColourEntry7 = 0x7324;
constexpr uint32_t kWormColourEntry9 = 0x732C;
constexpr uint32_t kMapWidth = 0x77C0;
constexpr uint32_t kMapHeight = 0x77C4;
}  // namespace world

namespace landscape {
constexpr uint32_t kWorld = 0x4;
constexpr uint32_t kTerrain = 0x910;        // bitmap object, 8 bits per pixel
constexpr uint32_t kCollisionMask = 0x914;  // bitmap object, 1 bit per pixel, LSB first
}  // namespace landscape

namespace game_state {
constexpr uint32_t kPlayerRecords = 0x4;  // + index × kPlayerRecordSize: the player's name
constexpr uint32_t kPlayerRecordSize = 0x50;
constexpr uint32_t kPlayerNameLimit = 76;
constexpr uint32_t kNoBorders = 0xD94B;
constexpr uint32_t kLocalPlayerIndex = 0xD9DC;  // u8, at most 5
constexpr uint32_t kMaxLocalPlayerIndex = 5;
constexpr uint32_t kFeedbackGateByte = 0xDB48;
constexpr uint32_t kFeedbackGateWord = 0xEF3C;
// Team t's colour index (0..9) is the byte at t × kTeamRecordSize − kTeamColourBack.
constexpr uint32_t kTeamRecordSize = 3000;
constexpr uint32_t kTeamColourBack = 1895;
}  // namespace game_state

// Bitmap objects (host bitmap class) and the display's drawing surface share this header.
namespace bitmap {
constexpr uint32_t kClassTable = 0x0;  // image::kBitmapClassTable
constexpr uint32_t kPixels = 0x8;
constexpr uint32_t kBitsPerPixel = 0xC;
constexpr uint32_t kStride = 0x10;
constexpr uint32_t kWidth = 0x14;
constexpr uint32_t kHeight = 0x18;
constexpr uint32_t kClipRect = 0x1C;  // left, top, right, bottom; right and bottom exclusive
constexpr uint32_t kObjectSize = 28;
constexpr uint32_t kClippedObjectSize = 0x2C;  // with the clip rectangle (surfaces, drawn bitmaps)
}  // namespace bitmap

// The display object (the host's graphics device).
namespace display {
constexpr uint32_t kClassTable = 0x0;  // image::kDisplayClassTable
constexpr uint32_t kScroll = 0x3560;   // i32 x, y
constexpr uint32_t kPalette = 0x358D;  // 256 × (red, green, blue, flags)
constexpr uint32_t kSurface = 0x3D9C;  // pointer to the current drawing surface
constexpr uint32_t kTranslucencyTable = 0x14DF4;
constexpr uint32_t kTranslucencyTableSize = 65536;
constexpr uint32_t kMaxSurfaceSide = 32768;
constexpr uint32_t kPaletteSize = 1024;
constexpr uint32_t kObjectSize = kTranslucencyTable + kTranslucencyTableSize;
constexpr uint32_t kTranslucentDraw = 0x04000000;  // draw flag: blend through the table above
}  // namespace display

// Commands are written downward from the end of a 64 KiB area that starts right after the
// free-space word; the free space counts the bytes of that area still unused, so a command of n
// bytes goes to kCommandArea + free space - n.
namespace render_queue {
constexpr uint32_t kFreeSpace = 0x0;
constexpr uint32_t kCommandArea = 0x4;
constexpr uint32_t kCommandAreaSize = 0x10000;
constexpr uint32_t kCount = 0x10004;
constexpr uint32_t kEntries = 0x10008;
constexpr uint32_t kMaxEntries = 2048;
constexpr uint32_t kObjectSize = kEntries + 4 * kMaxEntries;
// Queued commands: a type word first.
constexpr uint32_t kEntryType = 0x0;
constexpr uint32_t kSpriteTypeA = 4;
constexpr uint32_t kSpriteTypeB = 5;
constexpr uint32_t kSpriteFlags = 16;
// Sprite commands: 24 bytes, (x, y) the 16.16 centre, then the sprite word; type 5 is drawn
// mirrored.
constexpr uint32_t kSpriteX = 4;
constexpr uint32_t kSpriteY = 8;
constexpr uint32_t kSpriteWord = 12;
constexpr uint32_t kSpriteCommandSize = 24;
constexpr uint32_t kLineTypeA = 8;
constexpr uint32_t kLineTypeB = 9;
constexpr uint32_t kLineCount = 8;
constexpr uint32_t kLineColour = 12;
constexpr uint32_t kLineColourRepeat = 16;  // type 9 only
// Line commands draw a polyline of kLineCount 16.16 points: type 8 in thin segments (display
// slot 14), type 9 in segments kWideLineWidth pixels wide (slot 13), even segments in the first
// colour word and odd ones in the repeated one.
constexpr uint32_t kThinLinePoints = 16;
constexpr uint32_t kWideLineWidth = 20;
constexpr uint32_t kWideLinePoints = 24;
}  // namespace render_queue

namespace turn_timer {
constexpr uint32_t kWorld = 0x2C;
constexpr uint32_t kTeam = 0x134;  // 1..8
constexpr uint32_t kRedraw = 0x2D0;
}  // namespace turn_timer

// The object handed to the turn-timer drawing call.
namespace turn_timer_draw {
constexpr uint32_t kDisplay = 0x14;
constexpr uint32_t kRepaint = 0x11C;  // set to kRepaintFrames to have the timer drawn again
constexpr uint32_t kRepaintFrames = 10;
// The bitmap the drawing call returns is recoloured only within these bounds.
constexpr uint32_t kMaxBitmapSide = 1024;
constexpr uint32_t kMaxBitmapStride = 4096;
}  // namespace turn_timer_draw

namespace chat {
constexpr uint32_t kPrintWord = 0x298;  // second argument of the chat print routine
constexpr uint32_t kPrintSpan = 0x29C;
constexpr uint32_t kWorld = 0x488;
constexpr uint32_t kReadableSpan = 0x48C;
// The chat object is the pointer at +kLookupChat of the object image::kChatLookup points to.
constexpr uint32_t kLookupChat = 0xA0;
constexpr uint32_t kLookupSpan = 0xA4;
}  // namespace chat

}  // namespace tarvek::host_layout
