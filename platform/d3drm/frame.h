// Internal to platform/d3drm: the frame, a node of the scene graph.
#pragma once

#include <glm/glm.hpp>

#include <vector>

#include "platform/d3drm/object.h"

class Frame final : public Object<IDirect3DRMFrame3> {
public:
    Frame() = default;

    // IDirect3DRMFrame3 (contracts in d3drm.h)
    HRESULT AddChild(IDirect3DRMFrame3* child) override;
    HRESULT DeleteChild(IDirect3DRMFrame3* child) override;
    HRESULT GetParent(IDirect3DRMFrame3** parent) override;
    HRESULT GetScene(IDirect3DRMFrame3** scene) override;
    HRESULT GetChildren(IDirect3DRMFrameArray** children) override;
    HRESULT SetPosition(IDirect3DRMFrame3* reference, D3DVALUE x, D3DVALUE y, D3DVALUE z) override;
    HRESULT GetPosition(IDirect3DRMFrame3* reference, D3DVECTOR* position) override;
    HRESULT SetOrientation(IDirect3DRMFrame3* reference, D3DVALUE dx, D3DVALUE dy, D3DVALUE dz, D3DVALUE ux, D3DVALUE uy,
                           D3DVALUE uz) override;
    HRESULT GetOrientation(IDirect3DRMFrame3* reference, D3DVECTOR* dir, D3DVECTOR* up) override;
    HRESULT LookAt(IDirect3DRMFrame3* target, IDirect3DRMFrame3* reference, D3DRMFRAMECONSTRAINT constraint) override;
    HRESULT AddScale(D3DRMCOMBINETYPE combine, D3DVALUE sx, D3DVALUE sy, D3DVALUE sz) override;
    HRESULT GetTransform(IDirect3DRMFrame3* reference, D3DVALUE matrix[4][4]) override;
    HRESULT Transform(D3DVECTOR* world, const D3DVECTOR* local) override;
    HRESULT InverseTransform(D3DVECTOR* local, const D3DVECTOR* world) override;
    HRESULT SetVelocity(IDirect3DRMFrame3* reference, D3DVALUE x, D3DVALUE y, D3DVALUE z, BOOL withRotation) override;
    HRESULT GetVelocity(IDirect3DRMFrame3* reference, D3DVECTOR* velocity, BOOL withRotation) override;
    HRESULT SetRotation(IDirect3DRMFrame3* reference, D3DVALUE x, D3DVALUE y, D3DVALUE z, D3DVALUE theta) override;
    HRESULT GetRotation(IDirect3DRMFrame3* reference, D3DVECTOR* axis, D3DVALUE* theta) override;
    HRESULT AddMoveCallback(D3DRMFRAME3MOVECALLBACK callback, void* arg, DWORD flags) override;
    HRESULT DeleteMoveCallback(D3DRMFRAME3MOVECALLBACK callback, void* arg) override;
    HRESULT Move(D3DVALUE delta) override;
    HRESULT AddVisual(IUnknown* visual) override;
    HRESULT DeleteVisual(IUnknown* visual) override;
    HRESULT GetVisuals(DWORD* count, IUnknown** visuals) override;
    HRESULT AddLight(IDirect3DRMLight* light) override;
    HRESULT DeleteLight(IDirect3DRMLight* light) override;
    HRESULT GetLights(IDirect3DRMLightArray** lights) override;
    HRESULT SetColor(D3DCOLOR color) override;
    HRESULT SetColorRGB(D3DVALUE red, D3DVALUE green, D3DVALUE blue) override;
    D3DCOLOR GetColor() override { return color_; }
    HRESULT SetMaterialMode(D3DRMMATERIALMODE mode) override;
    D3DRMMATERIALMODE GetMaterialMode() override { return materialMode_; }
    HRESULT RayPick(IDirect3DRMFrame3* reference, const D3DRMRAY* ray, DWORD flags,
                    IDirect3DRMPicked2Array** picks) override;   // in pick.cpp
    // A copy of the hierarchy below (and including) this frame, with its name and application
    // data, sharing its visuals and lights.
    HRESULT Clone(IUnknown* outer, REFIID iid, void** copy) override;
    HRESULT SetSceneBackgroundRGB(D3DVALUE red, D3DVALUE green, D3DVALUE blue) override;
    HRESULT SetSceneBackground(D3DCOLOR color) override;
    D3DCOLOR GetSceneBackground() override { return background_; }
    HRESULT SetSceneBackgroundImage(IDirect3DRMTexture3* image) override;
    HRESULT SetSceneFogEnable(BOOL enable) override;
    BOOL GetSceneFogEnable() override { return fogEnable_; }
    HRESULT SetSceneFogMode(D3DRMFOGMODE mode) override;
    D3DRMFOGMODE GetSceneFogMode() override { return fogMode_; }
    HRESULT SetSceneFogColor(D3DCOLOR color) override;
    D3DCOLOR GetSceneFogColor() override { return fogColor_; }
    HRESULT SetSceneFogParams(D3DVALUE start, D3DVALUE end, D3DVALUE density) override;
    HRESULT GetSceneFogParams(D3DVALUE* start, D3DVALUE* end, D3DVALUE* density) override;

    // For the rest of the engine.
    static Frame* From(IDirect3DRMFrame3* frame) { return static_cast<Frame*>(frame); }
    Frame* Parent() const { return parent_; }
    Frame* Root();
    const std::vector<Ref<IDirect3DRMFrame3>>& Children() const { return children_; }
    glm::mat4 WorldTransform() const;   // local -> world (column vectors)
    const glm::mat4& LocalTransform() const { return transform_; }
    void SetLocalTransform(const glm::mat4& m) { transform_ = m; }
    const std::vector<Ref<IDirect3DRMVisual>>& Visuals() const { return visuals_; }
    const std::vector<Ref<IDirect3DRMLight>>& Lights() const { return lights_; }
    IDirect3DRMTexture3* BackgroundImage() const { return backgroundImage_.get(); }

protected:
    ~Frame() override;
    void* Query(REFIID iid) override;

private:
    // The frame whose coordinates `reference` means: the parent when nullptr.
    glm::mat4 ReferenceTransform(IDirect3DRMFrame3* reference) const;
    glm::mat4 ParentWorld() const;
    void ApplyMotion(D3DVALUE delta);

    struct MoveCallback {
        D3DRMFRAME3MOVECALLBACK callback;
        void* arg;
        unsigned serial;   // tells a callback added again apart from the one removed
    };

    Frame* parent_ = nullptr;                     // not owned; the parent owns this frame
    std::vector<Ref<IDirect3DRMFrame3>> children_;
    glm::mat4 transform_{1.0f};                   // local -> parent

    glm::vec3 velocity_{0.0f};                    // in parent coordinates, per move
    bool velocityWithRotation_ = false;
    glm::vec3 rotationAxis_{0.0f, 1.0f, 0.0f};    // in parent coordinates
    float rotationTheta_ = 0.0f;                  // radians per move
    glm::dmat3 spin_{1.0};                        // the last move's rotation matrix...
    double spinAngle_ = 0.0;                      // ...for this angle
    bool spinValid_ = false;
    std::vector<MoveCallback> moveCallbacks_;
    unsigned lastCallbackSerial_ = 0;

    std::vector<Ref<IDirect3DRMVisual>> visuals_;
    std::vector<Ref<IDirect3DRMLight>> lights_;
    D3DRMMATERIALMODE materialMode_ = D3DRMMATERIAL_FROMMESH;
    D3DCOLOR color_ = 0xFFFFFFFF;                 // drawn on its visuals under D3DRMMATERIAL_FROMFRAME
    Ref<IDirect3DRMTexture3> backgroundImage_;

    D3DCOLOR background_ = 0xFF000000;
    BOOL fogEnable_ = FALSE;
    D3DRMFOGMODE fogMode_ = D3DRMFOG_LINEAR;
    D3DCOLOR fogColor_ = 0xFF000000;
    D3DVALUE fogStart_ = 1.0f;
    D3DVALUE fogEnd_ = 100.0f;
    D3DVALUE fogDensity_ = 1.0f;
};
