// The types, settings and helpers that several parts of the show share. Each is defined in
// the file of the part that owns it; subsystems include this header rather than each other.
#pragma once

#include <atomic>
#include <cstdint>
#include <new>

#include "platform/d3drm/d3drm.h"
#include "platform/win32/win32.h"

// ---- The presentation ----------------------------------------------------------------------

// The one heap record of the presentation (app_state.cpp).
struct AppState {
    Ref<IDirect3DRMDevice3> device;      // the rendering device on the window; remade on a rebuild
    Ref<IDirect3DRMViewport2> viewport;  // renders the scene through the camera
    Ref<IDirect3DRMFrame3> scene;        // root frame of the scene graph
    Ref<IDirect3DRMFrame3> camera;       // child of scene
    BYTE minimized = 0;                  // client area has a zero width or height: the loop sleeps
    BYTE quitRequested = 0;              // the loop ends at the next retrieved message
};
extern AppState* appState;

// The engine's root object, made once at start-up and never released (render3d/driver.cpp).
extern Ref<IDirect3DRM3> d3drm;

// ---- Errors --------------------------------------------------------------------------------

// Thrown by the allocation-failure handler (app/report.cpp). A new-handler may only throw
// std::bad_alloc, so this is one.
struct WinException : std::bad_alloc {
    WinException(DWORD code, const char* text) : errorCode(code), message(text) {}
    const char* what() const noexcept override { return message; }

    DWORD errorCode;       // the last-error code when the allocation failed
    const char* message;   // always "Memory Problem!"
};

// The program's error box: no owner, title "Virelux Report", stop icon.
void ReportError(const char* text);

// ---- Show settings -------------------------------------------------------------------------

// Where the camera of the next scene stands (render3d/scene.cpp).
extern D3DVECTOR cameraStart;

// The scene's fog (render3d/scene.cpp).
extern BOOL fogEnable;        // 1
extern D3DVALUE fogStart;     // 30.0
extern D3DVALUE fogEnd;       // 100.0
extern BYTE fogColor[3];      // red, green, blue: 128, 128, 128
extern int fogMode;           // D3DRMFOG_LINEAR

// The lamp set of every scene: red, green, blue and ambient (render3d/lights.cpp).
extern Ref<IDirect3DRMLight> lampLights[4];
extern BYTE withLightObject;  // 1: the lamps show lamp models

// The light type the Add Light box offers next, 1..5 as AddLight takes them, 0 for none
// (ui/add_light_box.cpp). Kept by OK; Cancel, every new scene, Cut and Delete reset it.
extern int addLightKind;      // 0

// How the next loaded object is coloured, placed, scaled and spun (content/object_loading.cpp).
struct Placement {
    D3DVALUE red = 0.0f, green = 0.0f, blue = 0.0f;
    D3DVALUE ambient = 1.0f;           // 1.0 at program start, 0.0 once reset
    D3DVECTOR position{0.0f, 0.0f, 0.0f};
    D3DVECTOR scale{1.0f, 1.0f, 1.0f};
    D3DVECTOR axis{0.0f, 1.0f, 0.0f};  // rotation axis in scene coordinates
    D3DVALUE angle = 0.0f;             // radians per frame
};
extern Placement placement;

// Power, specular, emissive and ambient of loaded meshes (content/textures.cpp).
struct MaterialRecord {
    D3DVALUE power = 10.0f;
    D3DVALUE specular = 0.8f;
    D3DVALUE emissive = 0.2f;
    D3DVALUE ambient = 1.0f;
};
extern MaterialRecord defaultMaterial;

// ---- Sound -----------------------------------------------------------------------------------
// Shared between the capture thread and the window's thread, without locks: relaxed atomics,
// the same single-byte and single-word reads and writes as plain variables, race-free.

// The sound's current colour, red, green, blue (sound/analysis.cpp): written by the capture
// thread, faded and read every frame.
extern std::atomic<BYTE> soundColor[3];
// 1 while capture runs (sound/capture_thread.cpp).
extern std::atomic<BYTE> recording;
// 1: sound analysis requested on, 2: off (sound/controller.cpp); window thread only.
extern int soundRequest;

// The analysis settings the Music Tools box changes (sound/analysis.cpp).
extern std::atomic<float> bandOffset[3];   // 0.2, 0.4, 0.2
extern std::atomic<int> gainBase;          // 50
extern std::atomic<BYTE> swapRedBlue;      // 0
extern std::atomic<float> bandDivisor;     // 1.0, rewritten by every analysis

// Sound-driven motion (sound/sound_frame.cpp); window thread only.
extern BYTE fadeStep1;        // lower each colour byte by 1 per frame
extern BYTE fadeStep2;        // by one more (only together with fadeStep1)
extern BYTE danceActive;      // the camera dances to the sound
extern float danceFall;       // 0.04 per frame
extern D3DVECTOR danceBase;   // camera position relative to the scene when dancing switched

// ---- Automatic cycling (app/cycling.cpp); window thread only ---------------------------------

extern BYTE cycleBackgrounds;   // 0: the background catalogue advances every 1000 idle ticks
extern BYTE cycleScenes;        // 0: the scene catalogue does (only while backgrounds do not)
extern float cycleCounter;      // 0.1: idle ticks counted towards the next change
extern int backgroundIndex;     // 0: catalogue position of the next background
extern int sceneIndex;          // 0: catalogue position of the next scene

// Puts the background catalogue's picture at backgroundIndex behind the scene and advances;
// a picture that cannot be loaded ends background cycling.
void NextBackground();
// Reads and builds the catalogue's scene script at sceneIndex and advances; a script that
// cannot be read ends scene cycling.
void NextScene();

// ---- Scene scripts (content/scene_script.cpp, content/script_build.cpp) ----------------------

extern BYTE scriptSceneActive;     // 0: set by a script's <End>; a script scene is shown
extern int slotCount;              // 0: slots of the last script read, <End> included
extern int flyPathCount;           // 0: 16 when the last script had a <Flp> path
extern int movePathCount;          // 0: 16 when the last script had a <Mvp> path
extern BYTE reportToScriptBox;     // 0: a script's report goes to the Script Box's text field
extern D3DVECTOR flyPathPoints[16];  // the follow flight's path when flyPathCount is not 0

// ---- Fly movement (fly/fly_movement.cpp); window thread only ---------------------------------

extern int flyActive;          // 0: a flight runs; mouse picking is off meanwhile
extern BYTE flyLight;          // 0: the follow flight carries a spot light
extern float animationStep;    // 0.01: path time per frame of the follow flight
extern float pathSpeed;        // 0.005: path time per frame of the camera paths
extern float flockSpeed;       // 0.01: path time per frame of the flock

// ---- Fly movement Box (ui/fly_box.cpp); window thread only ----------------------------------
// The box's remembered buttons, checked again when it opens; every new scene forgets them.

extern int pathChoice;     // 0: last camera path button, 1 "Standard" ... 4 "Round flight"
extern int objectChoice;   // 0: last object button, 1 "Birds", 2 "Ufo's", 3 "Light"

// ---- Selection (ui/selection.cpp); window thread only ----------------------------------------
// Plain pointers into the scene graph, which keeps the objects alive: whoever tears the scene
// down empties all three (the marker goes with the scene that holds it).

extern IDirect3DRMFrame3* selectedFrame;         // nullptr: the picked object, not owned
extern IDirect3DRMMeshBuilder3* selectedVisual;  // nullptr: its mesh builder (none for other visuals)
extern IDirect3DRMMesh* highlightBox;            // nullptr: the marker on selectedFrame, held by the frame
extern BYTE leftDragging;                        // 0: a rotate drag runs
extern BYTE rightDragging;                       // 0: a move drag runs
