// Numbers of the program's resources and of the commands its menu and accelerators send.
#pragma once

#include "platform/win32/win32_types.h"

// Strings
constexpr UINT IDS_CLASS_NAME = 107;   // "VLXClass"
constexpr UINT IDS_SHORT_TITLE = 108;  // "Virelux  2.5" (kept, not loaded)
constexpr UINT IDS_TITLE = 109;        // "Virelux 2.5 (Freeware version)"

// Menu, icon, accelerators
constexpr WORD IDR_MAIN_MENU = 107;
constexpr WORD IDI_APP_ICON = 113;
constexpr const char* kAcceleratorTable = "VLX_ACCEL";

// Bitmaps of the dialogs' pictures, with their size in pixels (a picture control shows its
// bitmap at that size; a dialog unit is 1.5 pixels across and 1.625 pixels down)
constexpr WORD IDB_RED = 129;              // 32 x 12 colour swatches beside the red, green
constexpr WORD IDB_GREEN = 130;            //   and blue sliders (Render, Add Light and
constexpr WORD IDB_BLUE = 131;             //   Music Tools boxes)
constexpr WORD IDB_GALAXIS1 = 138;         // 64 x 64 previews of the Background Box,
constexpr WORD IDB_GALAXIS2 = 141;         //   each the id of its picture control
constexpr WORD IDB_GALAXIS3 = 142;
constexpr WORD IDB_SKY01 = 148;
constexpr WORD IDB_SKY02 = 149;
constexpr WORD IDB_SKY03 = 150;
constexpr WORD IDB_SCENE_MAIN01 = 155;     // 96 x 72 previews of the Scene Box's demo
constexpr WORD IDB_SCENE_MAIN02 = 156;     //   scenes, each the id of its picture control
constexpr WORD IDB_SCENE_MAIN03 = 157;
constexpr WORD IDB_SHAPE_GROUND = 162;     // 48 x 48 basic shapes of the Objects' Box
constexpr WORD IDB_SHAPE_CUBE = 163;
constexpr WORD IDB_SHAPE_SPHERE = 164;
constexpr WORD IDB_SHAPE_CYLINDER = 165;
constexpr WORD IDB_SHAPE_CONE = 166;
constexpr WORD IDB_SHAPE_TORUS = 167;
constexpr WORD IDB_SPLASH = 179;           // 256 x 192 in 256 colours, the start-up box
constexpr WORD IDB_SIGMETER = 410;         // 32 x 32 icons of the Music Tools Box, each
constexpr WORD IDB_HELP = 40039;           //   the id of its picture control

// Commands
constexpr WORD IDM_EDIT_BACKGROUND = 3;
constexpr WORD IDM_EDIT_SCRIPT = 4;
constexpr WORD IDM_CLOSE = 9;
constexpr WORD IDM_PLAY_DEMO = 10;        // posted at start-up
constexpr WORD IDM_DRIVER_FIRST = 80;     // 80..84: the rendering drivers found
constexpr WORD IDM_DRIVER_LAST = 84;
constexpr WORD IDM_CUT = 100;
constexpr WORD IDM_COPY = 101;
constexpr WORD IDM_PASTE = 102;
constexpr WORD IDM_DELETE = 103;
constexpr WORD IDM_GROUND_COLOR = 104;
constexpr WORD IDM_SELECT_BOX = 105;
constexpr WORD IDM_START_CAPTURE = 411;   // posted at start-up
constexpr WORD IDM_STOP_CAPTURE = 412;    // posted when the window closes
constexpr WORD IDM_SCENE_WITHOUT_LIGHTS = 40012;
constexpr WORD IDM_DESCRIPTION = 40023;
constexpr WORD IDM_ABOUT = 40024;
constexpr WORD IDM_MUSIC = 40029;
constexpr WORD IDM_HELP_KEYBOARD = 40038;
constexpr WORD IDM_HELP_INTRODUCTION = 40039;
constexpr WORD IDM_LOAD_BACKGROUND = 40060;
constexpr WORD IDM_LOAD_SCENE = 40062;
constexpr WORD IDM_LOAD_OBJECT = 40063;
constexpr WORD IDM_MAIN_SCENE = 40065;
constexpr WORD IDM_SCENE_WITH_LIGHTS = 40066;
constexpr WORD IDM_FLY_MOVEMENT = 40067;
constexpr WORD IDM_RENDERER = 40071;
constexpr WORD IDM_LIGHT = 40073;

// Splash box "RunBox"
constexpr int IDC_SPLASH_PICTURE = 1115;   // the splash picture; a click closes the box
// Information box "InfBox"
constexpr int IDC_HOME_PAGE = 1018;        // shows and opens kHomePage
constexpr int IDC_PRIVATE_PAGE = 1130;     // "Privat": opens the installation's own page
constexpr const char* kHomePage = "http://virelux.example.org";   // the maker's web address
// Sound device box "DevBox"
constexpr int IDC_CD_PLAYER = 11;
constexpr int IDC_MM_PLAYER = 12;
constexpr int IDC_SOUND_RUNS = 1061;
constexpr int IDC_README_HELP = 1062;
