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

// Controls of the Render Box "RenBox"
constexpr int IDC_REN_POINTS = 1106;        // fill mode radio buttons
constexpr int IDC_REN_WIRE = 1107;
constexpr int IDC_REN_SOLID = 1108;
constexpr int IDC_REN_FLAT = 1109;          // shade mode radio buttons
constexpr int IDC_REN_GOURAUD = 1110;
constexpr int IDC_REN_PHONG = 1111;
constexpr int IDC_REN_DITHER = 1112;        // check boxes
constexpr int IDC_REN_FILTER = 1113;
constexpr int IDC_REN_TRANSPARENT = 1114;   //   disabled, no function
constexpr int IDC_REN_FOG = 1091;           // fog on/off check box
constexpr int IDC_REN_FOG_START = 1067;     // scroll bars 0..200 with their value labels
constexpr int IDC_REN_FOG_END = 1068;
constexpr int IDC_REN_FOG_START_TEXT = 1063;
constexpr int IDC_REN_FOG_END_TEXT = 1064;
constexpr int IDC_REN_FOG_RED = 1073;       // fog colour scroll bars 0..255 with their labels
constexpr int IDC_REN_FOG_GREEN = 1074;
constexpr int IDC_REN_FOG_BLUE = 1075;
constexpr int IDC_REN_FOG_RED_TEXT = 1065;
constexpr int IDC_REN_FOG_GREEN_TEXT = 1066;
constexpr int IDC_REN_FOG_BLUE_TEXT = 1069;
constexpr int IDC_REN_EMISSIVE = 1055;      // material scroll bars 0..100 with their labels
constexpr int IDC_REN_SPECULAR = 1056;
constexpr int IDC_REN_POWER = 1057;
constexpr int IDC_REN_EMISSIVE_TEXT = 1049;
constexpr int IDC_REN_SPECULAR_TEXT = 1050;
constexpr int IDC_REN_POWER_TEXT = 1051;

// Controls of the Add Light Box "LigBox"
constexpr int IDC_LIG_DIRECTIONAL = 1117;   // light type radio buttons, kinds 1..5
constexpr int IDC_LIG_PARALLEL_POINT = 1119;
constexpr int IDC_LIG_POINT = 1118;
constexpr int IDC_LIG_SPOT = 1120;
constexpr int IDC_LIG_AMBIENT = 1127;
constexpr int IDC_LIG_RED = 1121;           // colour scroll bars 0..100, in this order
constexpr int IDC_LIG_GREEN = 1122;
constexpr int IDC_LIG_BLUE = 1123;
constexpr int IDC_LIG_RED_TEXT = 1124;      // their value labels
constexpr int IDC_LIG_GREEN_TEXT = 1125;
constexpr int IDC_LIG_BLUE_TEXT = 1126;

// Controls of the Music Tools Box "MusBox"
constexpr int IDC_MUS_RED = 1027;           // scroll bars 0..100, in this order: the band
constexpr int IDC_MUS_GREEN = 1028;         //   offsets, the gain and the dance speed
constexpr int IDC_MUS_BLUE = 1029;
constexpr int IDC_MUS_GAIN = 1030;
constexpr int IDC_MUS_DANCE_SPEED = 1031;
constexpr int IDC_MUS_RED_TEXT = 1032;      // their value texts, in the same order
constexpr int IDC_MUS_GREEN_TEXT = 1033;
constexpr int IDC_MUS_BLUE_TEXT = 1034;
constexpr int IDC_MUS_GAIN_TEXT = 1035;
constexpr int IDC_MUS_DANCE_SPEED_TEXT = 1036;
constexpr int IDC_MUS_FADE_SLOW = 1083;     // colour fidelity radio buttons
constexpr int IDC_MUS_FADE_MIDDLE = 1085;
constexpr int IDC_MUS_FADE_FAST = 1086;
constexpr int IDC_MUS_SOUND_START = 1090;   // sound analysis on / off; both close the box
constexpr int IDC_MUS_SOUND_STOP = 1091;
constexpr int IDC_MUS_DANCE_START = 40036;  // camera dance on / off
constexpr int IDC_MUS_DANCE_STOP = 40037;
constexpr int IDC_MUS_MIDI_START = 40051;   // the MIDI demo
constexpr int IDC_MUS_MIDI_STOP = 40052;
constexpr int IDC_MUS_SWAP = 1113;          // "color RGB to BGR"
constexpr int IDC_MUS_CD_PLAYER = 11;       // push buttons that launch a player and close
constexpr int IDC_MUS_MEDIA_PLAYER = 12;
constexpr int IDC_MUS_SIGMETER = 410;       // clickable pictures (bitmaps IDB_SIGMETER, IDB_HELP)
constexpr int IDC_MUS_HELP = 40039;

// Controls of the Scene, Objects', Background, Script and Fly movement boxes. The Scene and
// Background boxes' pictures use their bitmap ids (IDB_SCENE_MAIN01 ..., IDB_GALAXIS1 ...).
constexpr int IDC_LOAD_SCENE = 1129;       // Scene Box: "Load Scene"
constexpr int IDC_SHAPE_GROUND = 1082;     // Objects' Box: the six basic shape pictures
constexpr int IDC_SHAPE_SPHERE = 1083;
constexpr int IDC_SHAPE_CUBE = 1084;
constexpr int IDC_SHAPE_CYLINDER = 1085;
constexpr int IDC_SHAPE_CONE = 1086;
constexpr int IDC_SHAPE_TORUS = 1087;
constexpr int IDC_FRAME_OBJECT = 1127;     // Objects' Box: "Frame Object"
constexpr int IDC_MESH_OBJECT = 1128;      // Objects' Box: "Mesh Object"
constexpr int IDC_LOAD_BACKGROUND = 1128;  // Background Box: "Load Background"
constexpr int IDC_SCRIPT_TEST = 1103;      // Script Box: "Test"
constexpr int IDC_SCRIPT_MESSAGES = 13;    // Script Box: the reader's report
constexpr int IDC_PATH_STANDARD = 1092;    // Fly movement Box: camera paths 0..3, in a row
constexpr int IDC_PATH_WAVE = 1093;
constexpr int IDC_PATH_ZOOM = 1094;
constexpr int IDC_PATH_ROUND = 1095;
constexpr int IDC_FLY_BIRDS = 1096;        // Fly movement Box: the object flights, in a row
constexpr int IDC_FLY_UFOS = 1097;
constexpr int IDC_FLY_LIGHT = 1098;
constexpr int IDC_FLY_SPEED_TEXT = 1100;   // Fly movement Box: the speed as "%.3f"
constexpr int IDC_FLY_SPEED = 1102;        // Fly movement Box: the speed slider, 0..200

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
