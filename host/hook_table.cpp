#include "host/hook_table.h"

#include "host/host_layout.h"

uint32_t tarvekPreviousTargets[TARVEK_HOOK_COUNT] = {};

namespace tarvek::hooks {

namespace image = host_layout::image;
using namespace std::string_view_literals;

const CallSiteHook kMapSourceCapture{TARVEK_HOOK_MAP_SOURCE, image::kLoadLandDatCall, image::kLoadLandDat,
                                     ForeignTarget::ChainLogged, "Landscape LoadLandDat"};

const CallSiteHook kChat{TARVEK_HOOK_CHAT, image::kChatSendCall, image::kChatSend, ForeignTarget::ChainSilently};

const CallSiteHook kTimerColourA{TARVEK_HOOK_TIMER_COLOUR_A, image::kTimerColourACall, image::kTimerColourA,
                                 ForeignTarget::ChainSilently};

const CallSiteHook kTimerColourB{TARVEK_HOOK_TIMER_COLOUR_B,
                                 image::kTimerColourBCall,
                                 image::kTimerColourB,
                                 ForeignTarget::Refuse,
                                 {},
                                 {{{image::kTimerColourBCall - 4, "\x8B\xC1\x8B\xD7"sv},
                                   {image::kTimerColourBCall + 5, "\x8B\x54\x24\x18"sv}}}};

const CallSiteHook kTimerDrawing{
    TARVEK_HOOK_TIMER_DRAWING,
    image::kTimerDrawingCall,
    image::kTimerDrawing,
    ForeignTarget::Refuse,
    {},
    {{{image::kTimerDrawingCall - 16, "\x8B\x54\x24\x28\x8D\x4C\x24\x18\x51\x6A\x00\x6A\x00\x52\x56\x50"sv},
      {image::kTimerDrawingCall + 5, "\x8B\x4C\x24\x0C\x8B\x54\x24\x10\x6A\x00\x51\x8B\x4F\x2C\x8B\x89"sv}}},
    true};

const TableEntryHook kWormMessage{TARVEK_HOOK_WORM_MESSAGE, 1, image::kWormClassTable,
                                  image::kWormHandleMessageEntry, 0x50, image::kWormHandleMessage,
                                  ForeignTarget::ChainLogged, "worm HandleMessage"};

const TableEntryHook kDisplayLines{TARVEK_HOOK_DISPLAY_LINE6, 2, image::kDisplayClassTable,
                                   image::kDisplayLineDraw6Entry, 0x98};

const TableEntryHook kDisplaySprite{TARVEK_HOOK_DISPLAY_SPRITE, 1, image::kDisplayClassTable,
                                    image::kDisplaySpriteDrawEntry, 0x98};

const TableEntryHook kDisplayOverlay{TARVEK_HOOK_DISPLAY_OVERLAY, 1, image::kDisplayClassTable,
                                     image::kDisplayOverlayEntry, 0x6C, 0, ForeignTarget::ChainIfReadable,
                                     {}, true};

const TableEntryHook kLandscapeInitBorders{TARVEK_HOOK_INIT_BORDERS, 1, image::kLandscapeClassTable,
                                           image::kLandscapeInitBordersEntry, 0x80, image::kLandscapeInitBorders,
                                           ForeignTarget::ChainLogged, "Landscape InitBorders"};

}  // namespace tarvek::hooks
