/* The identifiers that the resource script and the window program share:
   menu commands, dialog controls and the status bar's child identifier.
   Plain definitions only, since the resource compiler reads this too. */
#ifndef ZARVI_UI_RESOURCEIDS_H
#define ZARVI_UI_RESOURCEIDS_H

/* Menu commands; the window acts only on 5001..5015. */
#define ID_FIRST_COMMAND 5001
#define ID_NEW_GAME 5001
#define ID_QUIT 5002
#define ID_SWITCH_SIDES 5004
#define ID_RETRACT 5006
#define ID_ABOUT 5007
#define ID_LEVEL_BLITZ 5009
#define ID_LEVEL_NORMAL 5010
#define ID_LEVEL_STANDARD 5011
#define ID_BOARD_OPTIONS 5014
#define ID_ENGINE_OPTIONS 5015
#define ID_LAST_COMMAND 5015

/* Check boxes of the engine options dialog. */
#define ID_USE_BOOK 5016
#define ID_POSITIONAL_KNOWLEDGE 5017
#define ID_SELECTIVITY 5018
#define ID_CAN_RESIGN 5019

/* Check boxes of the board options dialog. */
#define ID_SHOW_THINKING 5100
#define ID_SHOW_GRID 5101

#define ID_STATUS_BAR 4997

#endif
