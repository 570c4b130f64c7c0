// The retained-mode 3D engine: COM-shaped, reference-counted interfaces with the platform's
// names, returning D3DRM_OK (0) on success. Program code holds owned references in Ref<T>.
// Everything but drawing works without a GL context.
// Declares: Direct3DRMCreate, IDirect3DRM3 and the object interfaces of its scene graph.
// Leaves out: immediate mode, user visuals, progressive meshes, shadows and interpolators.
#pragma once

#include "platform/d3drm/d3drm_types.h"
#include "platform/d3drm/ddraw.h"
#include "platform/d3drm/direct3d.h"
#include "platform/d3drm/ref.h"
#include "platform/win32/win32.h"

struct IDirect3DRMObject;
struct IDirect3DRMVisual;
struct IDirect3DRMFrame3;
struct IDirect3DRMDevice3;
struct IDirect3DRMViewport2;
struct IDirect3DRMMeshBuilder3;
struct IDirect3DRMMesh;
struct IDirect3DRMFace2;
struct IDirect3DRMLight;
struct IDirect3DRMMaterial2;
struct IDirect3DRMTexture3;
struct IDirect3DRMWrap;
struct IDirect3DRMAnimation2;
struct IDirect3DRMAnimationSet2;
struct IDirect3DRMFrameArray;
struct IDirect3DRMLightArray;
struct IDirect3DRMFaceArray;
struct IDirect3DRMPicked2Array;

extern const IID IID_IDirect3DRM;
extern const IID IID_IDirect3DRM3;
extern const IID IID_IDirect3DRMObject;
extern const IID IID_IDirect3DRMVisual;
extern const IID IID_IDirect3DRMFrame3;
extern const IID IID_IDirect3DRMDevice3;
extern const IID IID_IDirect3DRMWinDevice;
extern const IID IID_IDirect3DRMViewport2;
extern const IID IID_IDirect3DRMMeshBuilder3;
extern const IID IID_IDirect3DRMMesh;
extern const IID IID_IDirect3DRMFace2;
extern const IID IID_IDirect3DRMLight;
extern const IID IID_IDirect3DRMMaterial2;
extern const IID IID_IDirect3DRMTexture3;
extern const IID IID_IDirect3DRMWrap;
extern const IID IID_IDirect3DRMAnimation2;
extern const IID IID_IDirect3DRMAnimationSet2;

using D3DRMOBJECTCALLBACK = void (*)(IDirect3DRMObject* object, void* arg);
using D3DRMFRAME3MOVECALLBACK = void (*)(IDirect3DRMFrame3* frame, void* arg, D3DVALUE delta);
// Called by Load for each top-level object read; the object is the callee's to AddRef.
using D3DRMLOADCALLBACK = void (*)(IDirect3DRMObject* object, REFIID iid, void* arg);
// Called by Load for each texture a model names; returns the texture or a failure.
using D3DRMLOADTEXTURE3CALLBACK = HRESULT (*)(char* name, void* arg, IDirect3DRMTexture3** texture);

// Every engine object: reference counting, destroy callbacks (run once, when the last
// reference goes), application data, a name, and a copy of itself.
struct IDirect3DRMObject : IUnknown {
    virtual HRESULT Clone(IUnknown* outer, REFIID iid, void** copy) = 0;   // D3DRMERR_BADTYPE if not copyable
    virtual HRESULT AddDestroyCallback(D3DRMOBJECTCALLBACK callback, void* arg) = 0;
    virtual HRESULT DeleteDestroyCallback(D3DRMOBJECTCALLBACK callback, void* arg) = 0;
    virtual HRESULT SetAppData(DWORD data) = 0;
    virtual DWORD GetAppData() = 0;
    virtual HRESULT SetName(LPCSTR name) = 0;
    virtual HRESULT GetName(DWORD* size, LPSTR name) = 0;
};

// Anything a frame can show: frames, mesh builders, meshes, textures (as decals).
struct IDirect3DRMVisual : IDirect3DRMObject {};

// A node of the scene graph. `reference` names the frame whose coordinates the values are
// given in; nullptr means the frame's parent (the world for a root).
struct IDirect3DRMFrame3 : IDirect3DRMVisual {
    // Hierarchy. A child re-parented with AddChild keeps its local transform.
    virtual HRESULT AddChild(IDirect3DRMFrame3* child) = 0;
    virtual HRESULT DeleteChild(IDirect3DRMFrame3* child) = 0;
    virtual HRESULT GetParent(IDirect3DRMFrame3** parent) = 0;   // nullptr for a root
    virtual HRESULT GetScene(IDirect3DRMFrame3** scene) = 0;     // the root of the hierarchy
    virtual HRESULT GetChildren(IDirect3DRMFrameArray** children) = 0;

    // Placement.
    virtual HRESULT SetPosition(IDirect3DRMFrame3* reference, D3DVALUE x, D3DVALUE y, D3DVALUE z) = 0;
    virtual HRESULT GetPosition(IDirect3DRMFrame3* reference, D3DVECTOR* position) = 0;
    virtual HRESULT SetOrientation(IDirect3DRMFrame3* reference, D3DVALUE dx, D3DVALUE dy, D3DVALUE dz, D3DVALUE ux,
                                   D3DVALUE uy, D3DVALUE uz) = 0;
    virtual HRESULT GetOrientation(IDirect3DRMFrame3* reference, D3DVECTOR* dir, D3DVECTOR* up) = 0;
    // Turns the frame's z axis towards the target's origin, keeping `constraint`'s axis.
    virtual HRESULT LookAt(IDirect3DRMFrame3* target, IDirect3DRMFrame3* reference, D3DRMFRAMECONSTRAINT constraint) = 0;
    virtual HRESULT AddScale(D3DRMCOMBINETYPE combine, D3DVALUE sx, D3DVALUE sy, D3DVALUE sz) = 0;
    // The local transform (row vectors: a point p in the frame is p·M in the parent).
    virtual HRESULT GetTransform(IDirect3DRMFrame3* reference, D3DVALUE matrix[4][4]) = 0;
    // Converts between this frame's coordinates and the world's.
    virtual HRESULT Transform(D3DVECTOR* world, const D3DVECTOR* local) = 0;
    virtual HRESULT InverseTransform(D3DVECTOR* local, const D3DVECTOR* world) = 0;

    // Motion, applied once per Move: velocity in units per move, rotation in radians per move.
    // With `withRotation` the velocity turns with the frame's own rotation.
    virtual HRESULT SetVelocity(IDirect3DRMFrame3* reference, D3DVALUE x, D3DVALUE y, D3DVALUE z, BOOL withRotation) = 0;
    // With `withRotation`, the rotation taken into account: the velocity the next Move(1.0)
    // applies (one spin step further round for a velocity that turns with the frame).
    virtual HRESULT GetVelocity(IDirect3DRMFrame3* reference, D3DVECTOR* velocity, BOOL withRotation) = 0;
    virtual HRESULT SetRotation(IDirect3DRMFrame3* reference, D3DVALUE x, D3DVALUE y, D3DVALUE z, D3DVALUE theta) = 0;
    virtual HRESULT GetRotation(IDirect3DRMFrame3* reference, D3DVECTOR* axis, D3DVALUE* theta) = 0;
    virtual HRESULT AddMoveCallback(D3DRMFRAME3MOVECALLBACK callback, void* arg, DWORD flags) = 0;
    virtual HRESULT DeleteMoveCallback(D3DRMFRAME3MOVECALLBACK callback, void* arg) = 0;
    // Advances this frame and its whole hierarchy once: each frame's rotation and velocity,
    // then its move callbacks in the order they were added, then its children. A callback
    // removed by an earlier one of the same move does not run; one added waits for the next.
    virtual HRESULT Move(D3DVALUE delta) = 0;

    // Content. A frame shown as a visual is drawn and picked once per path, never inside itself.
    virtual HRESULT AddVisual(IUnknown* visual) = 0;
    virtual HRESULT DeleteVisual(IUnknown* visual) = 0;
    // With visuals nullptr, *count receives the number; otherwise up to *count AddRef'ed visuals.
    virtual HRESULT GetVisuals(DWORD* count, IUnknown** visuals) = 0;
    virtual HRESULT AddLight(IDirect3DRMLight* light) = 0;
    virtual HRESULT DeleteLight(IDirect3DRMLight* light) = 0;
    virtual HRESULT GetLights(IDirect3DRMLightArray** lights) = 0;
    // The frame's colour (white at first). Where the material mode is D3DRMMATERIAL_FROMFRAME
    // the frame's visuals are drawn in it instead of their own colours and materials;
    // D3DRMMATERIAL_FROMPARENT takes whatever the parent frame's visuals get (a root: FROMMESH).
    virtual HRESULT SetColor(D3DCOLOR color) = 0;
    virtual HRESULT SetColorRGB(D3DVALUE red, D3DVALUE green, D3DVALUE blue) = 0;
    virtual D3DCOLOR GetColor() = 0;
    virtual HRESULT SetMaterialMode(D3DRMMATERIALMODE mode) = 0;
    virtual D3DRMMATERIALMODE GetMaterialMode() = 0;

    // Every visual hit by a ray, nearest first, with the frame path from this frame down.
    // The ray is in `reference` coordinates (nullptr: the world).
    virtual HRESULT RayPick(IDirect3DRMFrame3* reference, const D3DRMRAY* ray, DWORD flags,
                            IDirect3DRMPicked2Array** picks) = 0;

    // Scene settings (meaningful on a root frame).
    virtual HRESULT SetSceneBackgroundRGB(D3DVALUE red, D3DVALUE green, D3DVALUE blue) = 0;
    virtual HRESULT SetSceneBackground(D3DCOLOR color) = 0;
    virtual D3DCOLOR GetSceneBackground() = 0;
    virtual HRESULT SetSceneBackgroundImage(IDirect3DRMTexture3* image) = 0;   // nullptr: colour only
    virtual HRESULT SetSceneFogEnable(BOOL enable) = 0;
    virtual BOOL GetSceneFogEnable() = 0;
    virtual HRESULT SetSceneFogMode(D3DRMFOGMODE mode) = 0;
    virtual D3DRMFOGMODE GetSceneFogMode() = 0;
    virtual HRESULT SetSceneFogColor(D3DCOLOR color) = 0;
    virtual D3DCOLOR GetSceneFogColor() = 0;
    virtual HRESULT SetSceneFogParams(D3DVALUE start, D3DVALUE end, D3DVALUE density) = 0;
    virtual HRESULT GetSceneFogParams(D3DVALUE* start, D3DVALUE* end, D3DVALUE* density) = 0;
};

// Geometry being built: vertices, normals and faces with colours, materials and textures.
struct IDirect3DRMMeshBuilder3 : IDirect3DRMVisual {
    // Reads the first mesh of a .x file (all of its meshes, merged), textures through the
    // callback (or LoadTexture when nullptr). A failed load leaves the builder as it was.
    virtual HRESULT Load(const void* source, const void* objectId, D3DRMLOADOPTIONS options,
                         D3DRMLOADTEXTURE3CALLBACK textureCallback, void* arg) = 0;
    virtual HRESULT Scale(D3DVALUE sx, D3DVALUE sy, D3DVALUE sz) = 0;
    virtual HRESULT Translate(D3DVALUE tx, D3DVALUE ty, D3DVALUE tz) = 0;
    virtual HRESULT GetBox(D3DRMBOX* box) = 0;   // D3DRMERR_BADVALUE when there are no vertices
    virtual HRESULT SetColorRGB(D3DVALUE red, D3DVALUE green, D3DVALUE blue) = 0;   // on every face
    virtual HRESULT SetColor(D3DCOLOR color) = 0;
    virtual HRESULT SetMaterial(IDirect3DRMMaterial2* material) = 0;                 // on every face
    virtual HRESULT SetTexture(IDirect3DRMTexture3* texture) = 0;                    // on every face
    virtual HRESULT SetQuality(D3DRMRENDERQUALITY quality) = 0;
    virtual D3DRMRENDERQUALITY GetQuality() = 0;
    virtual HRESULT SetPerspective(BOOL perspective) = 0;
    // Face data: for each face its vertex count n, then n pairs (vertex index, normal index)
    // into the given arrays (appended to the builder's); a count of 0 ends the list.
    virtual HRESULT AddFaces(DWORD vertexCount, const D3DVECTOR* vertices, DWORD normalCount, const D3DVECTOR* normals,
                             const DWORD* faceData, IDirect3DRMFaceArray** faces) = 0;
    // Adds the geometry of a frame hierarchy, in the frame's coordinates.
    virtual HRESULT AddFrame(IDirect3DRMFrame3* frame) = 0;
    virtual HRESULT AddMeshBuilder(IDirect3DRMMeshBuilder3* builder, DWORD flags) = 0;
    virtual HRESULT GetFaces(IDirect3DRMFaceArray** faces) = 0;
    virtual int GetFaceCount() = 0;
    virtual int GetVertexCount() = 0;
    virtual HRESULT GetVertex(DWORD index, D3DVECTOR* position, D3DVECTOR* normal) = 0;
    virtual HRESULT SetTextureCoordinates(DWORD index, D3DVALUE u, D3DVALUE v) = 0;
    virtual HRESULT GetTextureCoordinates(DWORD index, D3DVALUE* u, D3DVALUE* v) = 0;
    // A mesh of the current geometry, grouped by colour, material and texture.
    virtual HRESULT CreateMesh(IDirect3DRMMesh** mesh) = 0;
};

// One face of a mesh builder.
struct IDirect3DRMFace2 : IDirect3DRMObject {
    virtual D3DCOLOR GetColor() = 0;
    virtual HRESULT SetColor(D3DCOLOR color) = 0;
    virtual HRESULT SetColorRGB(D3DVALUE red, D3DVALUE green, D3DVALUE blue) = 0;
    virtual int GetVertexCount() = 0;
    virtual HRESULT GetMaterial(IDirect3DRMMaterial2** material) = 0;
    virtual HRESULT GetTexture(IDirect3DRMTexture3** texture) = 0;
    virtual HRESULT GetNormal(D3DVECTOR* normal) = 0;
};

// Finished geometry in groups that share colour, material and texture.
struct IDirect3DRMMesh : IDirect3DRMVisual {
    virtual HRESULT SetGroupMapping(D3DRMGROUPINDEX group, D3DRMMAPPING mapping) = 0;
    virtual D3DRMMAPPING GetGroupMapping(D3DRMGROUPINDEX group) = 0;
    virtual HRESULT SetGroupColor(D3DRMGROUPINDEX group, D3DCOLOR color) = 0;
    virtual HRESULT SetGroupMaterial(D3DRMGROUPINDEX group, IDirect3DRMMaterial2* material) = 0;
    virtual HRESULT SetGroupTexture(D3DRMGROUPINDEX group, IDirect3DRMTexture3* texture) = 0;
    virtual D3DCOLOR GetGroupColor(D3DRMGROUPINDEX group) = 0;   // 0 for a group that does not exist
    virtual HRESULT GetGroupMaterial(D3DRMGROUPINDEX group, IDirect3DRMMaterial2** material) = 0;
    virtual DWORD GetGroupCount() = 0;
    virtual HRESULT GetBox(D3DRMBOX* box) = 0;
    virtual HRESULT Scale(D3DVALUE sx, D3DVALUE sy, D3DVALUE sz) = 0;
};

struct IDirect3DRMLight : IDirect3DRMObject {
    virtual HRESULT SetType(D3DRMLIGHTTYPE type) = 0;
    virtual D3DRMLIGHTTYPE GetType() = 0;
    virtual HRESULT SetColor(D3DCOLOR color) = 0;
    virtual HRESULT SetColorRGB(D3DVALUE red, D3DVALUE green, D3DVALUE blue) = 0;
    virtual D3DCOLOR GetColor() = 0;
    virtual HRESULT SetRange(D3DVALUE range) = 0;
    virtual D3DVALUE GetRange() = 0;
    virtual HRESULT SetUmbra(D3DVALUE angle) = 0;      // spot lights: full-intensity cone
    virtual D3DVALUE GetUmbra() = 0;
    virtual HRESULT SetPenumbra(D3DVALUE angle) = 0;   // spot lights: outer cone
    virtual D3DVALUE GetPenumbra() = 0;
    virtual HRESULT SetConstantAttenuation(D3DVALUE value) = 0;
    virtual D3DVALUE GetConstantAttenuation() = 0;
    virtual HRESULT SetLinearAttenuation(D3DVALUE value) = 0;
    virtual D3DVALUE GetLinearAttenuation() = 0;
    virtual HRESULT SetQuadraticAttenuation(D3DVALUE value) = 0;
    virtual D3DVALUE GetQuadraticAttenuation() = 0;
};

struct IDirect3DRMMaterial2 : IDirect3DRMObject {
    virtual HRESULT SetPower(D3DVALUE power) = 0;
    virtual D3DVALUE GetPower() = 0;
    virtual HRESULT SetSpecular(D3DVALUE red, D3DVALUE green, D3DVALUE blue) = 0;
    virtual HRESULT GetSpecular(D3DVALUE* red, D3DVALUE* green, D3DVALUE* blue) = 0;
    virtual HRESULT SetEmissive(D3DVALUE red, D3DVALUE green, D3DVALUE blue) = 0;
    virtual HRESULT GetEmissive(D3DVALUE* red, D3DVALUE* green, D3DVALUE* blue) = 0;
    virtual HRESULT SetAmbient(D3DVALUE red, D3DVALUE green, D3DVALUE blue) = 0;
    virtual HRESULT GetAmbient(D3DVALUE* red, D3DVALUE* green, D3DVALUE* blue) = 0;
};

// A picture: a mesh's texture, a scene background, or (added to a frame) a decal, a
// camera-facing picture of the decal size at the frame's origin.
struct IDirect3DRMTexture3 : IDirect3DRMVisual {
    virtual HRESULT SetDecalOrigin(LONG x, LONG y) = 0;
    virtual HRESULT GetDecalOrigin(LONG* x, LONG* y) = 0;
    virtual HRESULT SetDecalScale(DWORD scale) = 0;   // TRUE: the decal shrinks with distance
    virtual DWORD GetDecalScale() = 0;
    virtual HRESULT SetDecalSize(D3DVALUE width, D3DVALUE height) = 0;
    virtual HRESULT GetDecalSize(D3DVALUE* width, D3DVALUE* height) = 0;
    virtual HRESULT SetDecalTransparency(BOOL transparent) = 0;
    virtual BOOL GetDecalTransparency() = 0;
    virtual HRESULT SetDecalTransparentColor(D3DCOLOR color) = 0;   // texels of exactly this colour
    virtual D3DCOLOR GetDecalTransparentColor() = 0;
    virtual DWORD GetWidth() = 0;    // the picture's size in pixels
    virtual DWORD GetHeight() = 0;
};

// Computes texture coordinates for the vertices of a mesh builder or mesh.
struct IDirect3DRMWrap : IDirect3DRMObject {
    virtual HRESULT Apply(IDirect3DRMObject* object) = 0;
};

// Keys that place a frame over time.
struct IDirect3DRMAnimation2 : IDirect3DRMObject {
    virtual HRESULT SetOptions(D3DRMANIMATIONOPTIONS options) = 0;
    virtual D3DRMANIMATIONOPTIONS GetOptions() = 0;
    virtual HRESULT AddPositionKey(D3DVALUE time, D3DVALUE x, D3DVALUE y, D3DVALUE z) = 0;
    virtual HRESULT AddRotateKey(D3DVALUE time, const D3DRMQUATERNION* rotation) = 0;
    virtual HRESULT AddScaleKey(D3DVALUE time, D3DVALUE x, D3DVALUE y, D3DVALUE z) = 0;
    virtual HRESULT DeleteKey(D3DVALUE time) = 0;
    virtual DWORD GetKeyCount() = 0;
    virtual HRESULT SetFrame(IDirect3DRMFrame3* frame) = 0;   // the animated frame (not held)
    virtual HRESULT GetFrame(IDirect3DRMFrame3** frame) = 0;
    // Places the frame as the keys say at `time` (relative to the frame's parent).
    virtual HRESULT SetTime(D3DVALUE time) = 0;
};

// Animations that run together, as a .x file's animation set.
struct IDirect3DRMAnimationSet2 : IDirect3DRMObject {
    virtual HRESULT AddAnimation(IDirect3DRMAnimation2* animation) = 0;
    virtual HRESULT DeleteAnimation(IDirect3DRMAnimation2* animation) = 0;
    virtual DWORD GetAnimationCount() = 0;
    virtual HRESULT GetAnimation(DWORD index, IDirect3DRMAnimation2** animation) = 0;
    virtual HRESULT SetTime(D3DVALUE time) = 0;
};

// Arrays handed out by queries; elements come AddRef'ed.
struct IDirect3DRMFrameArray : IUnknown {
    virtual DWORD GetSize() = 0;
    virtual HRESULT GetElement(DWORD index, IDirect3DRMFrame3** frame) = 0;
};
struct IDirect3DRMLightArray : IUnknown {
    virtual DWORD GetSize() = 0;
    virtual HRESULT GetElement(DWORD index, IDirect3DRMLight** light) = 0;
};
struct IDirect3DRMFaceArray : IUnknown {
    virtual DWORD GetSize() = 0;
    virtual HRESULT GetElement(DWORD index, IDirect3DRMFace2** face) = 0;
};
// Ray-pick hits, nearest first: each with its visual, the frame path from the picked root
// down to the frame that holds the visual, and the hit's description.
struct IDirect3DRMPicked2Array : IUnknown {
    virtual DWORD GetSize() = 0;
    virtual HRESULT GetPick(DWORD index, IDirect3DRMVisual** visual, IDirect3DRMFrameArray** frames,
                            D3DRMPICKDESC2* description) = 0;
};

// The rendering device on a window. Render state is plain state the renderer reads.
struct IDirect3DRMDevice3 : IDirect3DRMObject {
    virtual HRESULT Update() = 0;   // shows the rendered frame in the window and presents it
    virtual DWORD GetWidth() = 0;
    virtual DWORD GetHeight() = 0;
    virtual HRESULT SetQuality(D3DRMRENDERQUALITY quality) = 0;
    virtual D3DRMRENDERQUALITY GetQuality() = 0;
    virtual HRESULT SetDither(BOOL dither) = 0;
    virtual BOOL GetDither() = 0;
    virtual HRESULT SetShades(DWORD shades) = 0;
    virtual DWORD GetShades() = 0;
    virtual HRESULT SetTextureQuality(D3DRMTEXTUREQUALITY quality) = 0;
    virtual D3DRMTEXTUREQUALITY GetTextureQuality() = 0;
};

// The device's window-message side, reached with QueryInterface(IID_IDirect3DRMWinDevice).
struct IDirect3DRMWinDevice : IDirect3DRMObject {
    virtual HRESULT HandlePaint(HDC dc) = 0;        // shows the last frame again
    virtual HRESULT HandleActivate(WORD state) = 0;
};

// A camera's view of a scene on a device. Defaults: field 0.5, front 1.0, back 100.0.
struct IDirect3DRMViewport2 : IDirect3DRMObject {
    virtual HRESULT Clear(DWORD flags) = 0;   // to the camera's scene background
    virtual HRESULT Render(IDirect3DRMFrame3* scene) = 0;
    virtual HRESULT SetBack(D3DVALUE back) = 0;
    virtual D3DVALUE GetBack() = 0;
    virtual HRESULT SetFront(D3DVALUE front) = 0;
    virtual D3DVALUE GetFront() = 0;
    virtual HRESULT SetField(D3DVALUE field) = 0;
    virtual D3DVALUE GetField() = 0;
    virtual DWORD GetWidth() = 0;
    virtual DWORD GetHeight() = 0;
    virtual HRESULT SetCamera(IDirect3DRMFrame3* camera) = 0;
    virtual HRESULT GetCamera(IDirect3DRMFrame3** camera) = 0;
    // World point -> homogeneous screen point (x·w, y·w, z·w, w); depth 0 at the front plane,
    // 1 at the back plane; x, y in device pixels from the top left.
    virtual HRESULT Transform(D3DRMVECTOR4D* screen, const D3DVECTOR* world) = 0;
    virtual HRESULT InverseTransform(D3DVECTOR* world, const D3DRMVECTOR4D* screen) = 0;
};

// The first version of the root object; QueryInterface gives IDirect3DRM3.
struct IDirect3DRM : IUnknown {};

// The root object through which every engine object is made.
struct IDirect3DRM3 : IDirect3DRM {
    virtual HRESULT CreateFrame(IDirect3DRMFrame3* parent, IDirect3DRMFrame3** frame) = 0;
    virtual HRESULT CreateMeshBuilder(IDirect3DRMMeshBuilder3** builder) = 0;
    virtual HRESULT CreateLightRGB(D3DRMLIGHTTYPE type, D3DVALUE red, D3DVALUE green, D3DVALUE blue,
                                   IDirect3DRMLight** light) = 0;
    virtual HRESULT CreateMaterial(D3DVALUE power, IDirect3DRMMaterial2** material) = 0;
    virtual HRESULT CreateAnimation(IDirect3DRMAnimation2** animation) = 0;
    virtual HRESULT CreateAnimationSet(IDirect3DRMAnimationSet2** set) = 0;
    // A wrap of the given kind: origin o, z axis d and y axis u in `reference` coordinates
    // (nullptr: the object's own), texture origin (ou, ov) and scale (su, sv).
    virtual HRESULT CreateWrap(D3DRMWRAPTYPE type, IDirect3DRMFrame3* reference, D3DVALUE ox, D3DVALUE oy, D3DVALUE oz,
                               D3DVALUE dx, D3DVALUE dy, D3DVALUE dz, D3DVALUE ux, D3DVALUE uy, D3DVALUE uz,
                               D3DVALUE ou, D3DVALUE ov, D3DVALUE su, D3DVALUE sv, IDirect3DRMWrap** wrap) = 0;
    // A .bmp picture, found as named or on the search path.
    virtual HRESULT LoadTexture(LPCSTR file, IDirect3DRMTexture3** texture) = 0;
    // Reads a .x file: its frames, meshes and animation sets go to the load callback (or,
    // with a parent frame, below that frame). A failure delivers nothing.
    virtual HRESULT Load(const void* source, const void* objectId, const IID** iids, DWORD iidCount,
                         D3DRMLOADOPTIONS options, D3DRMLOADCALLBACK loadCallback, void* loadArg,
                         D3DRMLOADTEXTURE3CALLBACK textureCallback, void* textureArg, IDirect3DRMFrame3* parent) = 0;
    virtual HRESULT CreateDeviceFromClipper(IDirectDrawClipper* clipper, const GUID* driver, int width, int height,
                                            IDirect3DRMDevice3** device) = 0;
    virtual HRESULT CreateViewport(IDirect3DRMDevice3* device, IDirect3DRMFrame3* camera, DWORD x, DWORD y,
                                   DWORD width, DWORD height, IDirect3DRMViewport2** viewport) = 0;
    // Folders searched for files not found as named (after the current directory and the
    // installation folder), separated by ';'.
    virtual HRESULT AddSearchPath(LPCSTR path) = 0;
    virtual HRESULT SetSearchPath(LPCSTR path) = 0;
    virtual HRESULT GetSearchPath(DWORD* size, LPSTR path) = 0;
};

HRESULT Direct3DRMCreate(IDirect3DRM** root);
