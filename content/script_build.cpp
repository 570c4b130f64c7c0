// Building the pending scene script: camera and fog settings, a fresh scene with the script's
// background, then each slot's light, picture, mesh or model, and last the follow flight.
#include "content/script_build.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "content/object_loading.h"
#include "content/scene_script.h"
#include "content/textures.h"
#include "fly/fly_movement.h"
#include "render3d/lights.h"
#include "render3d/scene.h"

D3DVECTOR flyPathPoints[16] = {};

namespace {

// A colour component as a fog byte: times 255, truncated towards zero, the low 8 bits kept.
// Values beyond a 32-bit integer (or not a number) give 0, as the processor's conversion does.
BYTE FogByte(D3DVALUE component) {
    const double value = std::trunc(static_cast<double>(component) * 255.0);
    if (!(value >= -2147483648.0 && value <= 2147483647.0)) return 0;
    return static_cast<BYTE>(static_cast<std::int64_t>(value) & 0xFF);
}

void SetFog(const SceneScript& script) {
    if (script.fogOn != 0) {
        fogEnable = script.fogOn;
        fogStart = script.fogNear;
        fogEnd = script.fogFar;
        for (int i = 0; i < 3; ++i) fogColor[i] = FogByte(script.slots[0].color[i]);
    } else {
        fogEnable = 0;
        fogStart = 30.0f;
        fogEnd = 100.0f;
        fogColor[0] = fogColor[1] = fogColor[2] = 128;
    }
}

void Place(const ScriptSlot& s) {
    SetPlacement(s.color[0], s.color[1], s.color[2], s.position[0], s.position[1], s.position[2], s.scale[0], s.scale[1],
                 s.scale[2], s.rotation[0], s.rotation[1], s.rotation[2], s.rotation[3]);
}

// A script's error box, owned by the dialog that asked for the scene.
void ScriptError(HWND window, const std::string& text) {
    MessageBoxA(window, text.c_str(), "VLScript Report", MB_ICONHAND);
}

// The slot's one object; false after its error box.
bool BuildSlot(HWND window, const ScriptSlot& s) {
    if (s.lightType != 0) {
        Place(s);
        return AddLight(s.lightType);
    }
    if (s.imageFile[0]) {
        Place(s);
        if (AddImageDecal(s.imageFile, s.transparent, s.width, s.height)) return true;
        ScriptError(window, std::string("Image Texture: ") + s.imageFile);
        return false;
    }
    if (s.meshFile[0]) {
        Place(s);
        if (LoadScriptMesh(s.meshFile, s.meshTexture, s.wrap, s.transparent, s.width, s.height)) return true;
        ScriptError(window, std::string("Object: ") + s.meshFile + " or\nTexture: " + s.meshTexture);
        return false;
    }
    if (s.animationFile[0]) {
        if (animationStep == 0.0f) animationStep = 0.1f;
        Place(s);
        if (LoadFrameObject(s.animationFile)) return true;
        ReportError("Loading AniSet and placing failed.");
        return false;
    }
    if (s.frameFile[0]) {
        Place(s);
        return LoadFrameObject(s.frameFile);
    }
    return true;   // nothing to build: slot 0, a <Lig> 0, a tag without its operand
}

}  // namespace

bool RunSceneScript(HWND window) {
    if (!pendingScript) return true;
    // Taken over here, so the record is released on every way out.
    const std::unique_ptr<SceneScript> script = std::move(pendingScript);

    if (script->cameraOn != 0)
        cameraStart = {script->cameraX, script->cameraY, script->cameraZ};
    else
        cameraStart = {0.0f, 1.0f, -50.0f};
    SetFog(*script);

    TearDownScene();
    if (!CreateScene(window, script->background)) return false;

    const int slots = std::clamp(slotCount, 0, kScriptSlots);
    for (int i = 0; i < slots; ++i)
        if (!BuildSlot(window, script->slots[i])) return false;

    const int points = std::clamp(flyPathCount, 0, kScriptPathPoints);
    std::copy(script->flyPath, script->flyPath + points, flyPathPoints);

    if (script->flyModel[0]) {
        if (animationStep == 0.0f) animationStep = 0.001f;
        if (!StartFollowFly(script->flyModel)) {
            ReportError("No run Animation!");
            return false;
        }
    }
    return true;
}
