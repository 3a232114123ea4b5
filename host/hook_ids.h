/* Hook numbers: the index of each hook's previous target in tarvekPreviousTargets. Plain
   preprocessor constants, because the x86 thunks include this file too. */
#ifndef TARVEK_HOST_HOOK_IDS_H
#define TARVEK_HOST_HOOK_IDS_H

#define TARVEK_HOOK_MAP_SOURCE 0      /* LandscapeGenerator::LoadLandDat call site */
#define TARVEK_HOOK_CHAT 1            /* chat-send call site */
#define TARVEK_HOOK_TIMER_COLOUR_A 2  /* turn-timer update call site */
#define TARVEK_HOOK_TIMER_COLOUR_B 3  /* call site around one team's timer drawing */
#define TARVEK_HOOK_TIMER_DRAWING 4   /* call site that renders the timer bitmap */
#define TARVEK_HOOK_WORM_MESSAGE 5    /* worm class table: HandleMessage */
#define TARVEK_HOOK_DISPLAY_LINE6 6   /* display class table slot 13 */
#define TARVEK_HOOK_DISPLAY_LINE5 7   /* display class table slot 14 */
#define TARVEK_HOOK_DISPLAY_SPRITE 8  /* display class table slot 19 */
#define TARVEK_HOOK_DISPLAY_OVERLAY 9 /* display class table slot 26 */
#define TARVEK_HOOK_INIT_BORDERS 10   /* landscape class table: InitBorders */
#define TARVEK_HOOK_COUNT 11

#endif
