#include "host/hook_table.h"

#include "host/host_layout.h"

uint32_t tarvekPreviousTargets[TARVEK_HOOK_COUNT] = {};

namespace tarvek::hooks {

namespace image = host_layout::image;
namespace slot = host_layout::display_table;

const CallSiteHook kMapSourceCapture{TARVEK_HOOK_MAP_SOURCE, image::kLoadLandDatCallSite, image::kLoadLandDat,
                                     ForeignTarget::ChainLogged, "Landscape LoadLandDat"};

const CallSiteHook kChat{TARVEK_HOOK_CHAT, image::kChatSendCallSite, image::kChatSend, ForeignTarget::ChainSilently};

const CallSiteHook kTimerColourA{TARVEK_HOOK_TIMER_COLOUR_A, image::kTurnTimerColourACallSite, image::kTurnTimerColourA,
                                 ForeignTarget::ChainSilently};

const CallSiteHook kTimerColourB{TARVEK_HOOK_TIMER_COLOUR_B,
                                 image::kTurnTimerColourBCallSite,
                                 image::kTurnTimerColourB,
                                 ForeignTarget::Refuse,
                                 {},
                                 {{{image::kTurnTimerColourBCheckBefore, image::kTurnTimerColourBBytesBefore},
                                   {image::kTurnTimerColourBCheckAfter, image::kTurnTimerColourBBytesAfter}}}};

const CallSiteHook kTimerDrawing{TARVEK_HOOK_TIMER_DRAWING,
                                 image::kTurnTimerDrawCallSite,
                                 image::kTurnTimerDraw,
                                 ForeignTarget::Refuse,
                                 {},
                                 {{{image::kTurnTimerDrawCheckBefore, image::kTurnTimerDrawBytesBefore},
                                   {image::kTurnTimerDrawCheckAfter, image::kTurnTimerDrawBytesAfter}}},
                                 true};

const TableEntryHook kWormMessage{TARVEK_HOOK_WORM_MESSAGE, 1, image::kWormClassTable,
                                  image::kWormHandleMessageEntry, image::kWormClassTableSpan, image::kWormHandleMessage,
                                  ForeignTarget::ChainLogged, "worm HandleMessage"};

const TableEntryHook kDisplayLines{TARVEK_HOOK_DISPLAY_LINE6, 2, image::kDisplayClassTable,
                                   image::kDisplayClassTable + slot::kLineDraw6, image::kDisplayClassTableSpan};

const TableEntryHook kDisplaySprite{TARVEK_HOOK_DISPLAY_SPRITE, 1, image::kDisplayClassTable,
                                    image::kDisplayClassTable + slot::kSpriteDraw, image::kDisplayClassTableSpan};

const TableEntryHook kDisplayOverlay{TARVEK_HOOK_DISPLAY_OVERLAY, 1, image::kDisplayClassTable,
                                     image::kDisplayClassTable + slot::kOverlay, image::kDisplayEntry4Span, 0,
                                     ForeignTarget::ChainIfReadable, {}, true};

const TableEntryHook kLandscapeInitBorders{TARVEK_HOOK_INIT_BORDERS, 1, image::kLandscapeClassTable,
                                           image::kLandscapeInitBordersEntry, image::kLandscapeClassTableSpan,
                                           image::kLandscapeInitBorders, ForeignTarget::ChainLogged,
                                           "Landscape InitBorders"};

}  // namespace tarvek::hooks
