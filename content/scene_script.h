// Reading a scene script into the record that the builder turns into a scene.
#pragma once

#include <memory>

#include "settings/shared.h"

// Names in a script are at most 39 characters (40-byte fields); words at most 99.
constexpr int kScriptNameSize = 40;
constexpr int kScriptWordSize = 100;
// Slot 0 holds the fog colour and attributes written before the first object; 1..50 objects.
constexpr int kScriptSlots = 51;
constexpr int kScriptPathPoints = 16;

// One object of a script: what its slot-opening tag named and the attributes after it.
struct ScriptSlot {
    char animationFile[kScriptNameSize] = "";   // <Ani>: frames with running animation sets
    char frameFile[kScriptNameSize] = "";       // <Fra>: a frame hierarchy
    char meshFile[kScriptNameSize] = "";        // <Obj>: one mesh
    char meshTexture[kScriptNameSize] = "";     // <MTx>: the texture of the <Obj> mesh
    char imageFile[kScriptNameSize] = "";       // <ITx>: a picture decal
    int lightType = 0;                          // <Lig>: light kind, 0 none
    int wrap = 0;                               // <Mat>: texture wrap and material choice
    int transparent = 0;                        // <Mat>: colour-key transparency
    D3DVALUE width = 0.0f, height = 0.0f;       // <Mat>: texture or decal size
    D3DVALUE color[3] = {0.0f, 0.0f, 0.0f};     // <Col>: red, green, blue; slot 0's is the fog's
    D3DVALUE position[3] = {0.0f, 0.0f, 0.0f};  // <Pos>: relative to the scene
    D3DVALUE scale[3] = {1.0f, 1.0f, 1.0f};     // <Sca>: used only when all three are above 0
    D3DVALUE rotation[4] = {0.0f, 1.0f, 0.0f, 0.0f};   // <Rot>: axis x, y, z, angle per frame
};

// One read script. Fog and camera start from the current shared settings.
struct SceneScript {
    int fogOn = 0;                        // <Fog>: non-zero switches fog on
    D3DVALUE fogNear = fogStart;          // <Fog>: fog start distance
    D3DVALUE fogFar = fogEnd;             // <Fog>: fog end distance
    int cameraOn = 0;                     // <Cam>: non-zero uses the position below
    D3DVALUE cameraX = cameraStart.x;     // <Cam>
    D3DVALUE cameraY = cameraStart.y;
    D3DVALUE cameraZ = cameraStart.z;
    char background[kScriptNameSize] = "";   // <Img>: background picture
    char flyModel[kScriptNameSize] = "";     // <Fly>: model of the follow flight
    ScriptSlot slots[kScriptSlots];
    D3DVECTOR flyPath[kScriptPathPoints] = {};    // <Flp>
    D3DVECTOR movePath[kScriptPathPoints] = {};   // <Mvp>: kept, never used
};

// The record read last and not yet built; empty when none waits.
extern std::unique_ptr<SceneScript> pendingScript;

// Reads `path` into a new record left in pendingScript; `window` owns the report, given only
// when `report` is true. False when the file cannot be opened, or (with `report`) holds no <End>.
bool ReadSceneScript(HWND window, const char* path, bool report);
