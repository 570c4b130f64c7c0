// Internal to platform/d3drm: the OpenGL 3.3 renderer of a device. It draws a scene seen
// through a viewport into the device's offscreen target: the background picture, every
// mesh builder, mesh and decal of the hierarchy, lit by every light of the scene, with the
// device's fill, shade, dither and filter settings and the scene's fog.
#pragma once

#include <glm/glm.hpp>

#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/d3drm/d3drm.h"

class Frame;
class Viewport;
class Texture;

class Renderer {
public:
    Renderer();   // links the shaders every frame needs; the window's GL context must be current
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // The shaders every frame needs linked (the others are linked when first used).
    bool Valid() const { return programs_[kVertexLit] && programs_[kPicture]; }
    // Draws into the bound target; `quality` etc. are the device's render state.
    void Draw(Viewport& viewport, Frame& scene, D3DRMRENDERQUALITY quality, BOOL dither, D3DRMTEXTUREQUALITY filter);

    // Called when a cached object goes away (from its destroy callback).
    void Forget(IDirect3DRMObject* object);
    // The GL context is gone with the window: drop every GL name without deleting it.
    void Abandon();

    struct GpuGroup;
    struct GpuVisual;
    struct GpuTexture;
    // The uniforms of every program, looked up once after linking.
    enum UniformId : int {
        kView, kProjection, kCameraPos, kDither, kScreenQuad, kLightCount, kFogMode, kFogColor, kFogParams, kModel,
        kNormalMatrix, kObjectOrigin, kShade, kLighting, kDiffuse, kEmissive, kSpecular, kMatAmbient, kPower,
        kTextured, kColorKey, kTexture, kKeyColor, kUniformCount
    };

private:
    GpuVisual* Upload(IDirect3DRMVisual* visual);
    GpuTexture* Upload(Texture* texture);
    struct VisualDrawer;   // the scene walk's visitor that draws
    // `colorSource` is the frame whose colour the visuals take (material modes), or nullptr.
    void DrawVisual(GpuVisual& visual, const glm::mat4& world, D3DRMRENDERQUALITY quality, Frame* colorSource);
    void DrawDecal(Texture& texture, const glm::mat4& world, const glm::mat4& view);
    void DrawBackground(Texture& image);
    void BindTexture(Texture* texture);
    void Track(IDirect3DRMObject* object);
    void DeleteForgotten();

    void Untrack();
    enum Program { kUnlit, kVertexLit, kPhong, kPicture, kProgramCount };
    void Link(Program program);  // links it and looks up its uniforms, once
    void Use(Program program);   // makes it current (linking it first) and gives it this frame's uniforms

    bool abandoned_ = false;
    unsigned programs_[kProgramCount] = {};
    bool linkTried_[kProgramCount] = {};   // a program that failed to link is not tried again
    unsigned program_ = 0;        // the current one
    int uniforms_[kProgramCount][kUniformCount] = {};   // each program's uniform locations
    const int* uniform_ = uniforms_[0];     // the current program's
    int maxLights_ = 0;                     // capacity of the "Lights" block
    unsigned lightBuffer_ = 0;              // its uniform buffer
    unsigned frameUniforms_[kProgramCount] = {};   // which frame each program last got its uniforms for
    unsigned frame_ = 0;
    struct FrameState;
    std::unique_ptr<FrameState> frameState_;
    unsigned quadVao_ = 0;
    unsigned quadVbo_ = 0;
    unsigned backgroundVao_ = 0;   // the background's quad, uploaded once
    unsigned backgroundVbo_ = 0;
    std::unordered_map<IDirect3DRMObject*, std::unique_ptr<GpuVisual>> visuals_;
    std::unordered_map<IDirect3DRMObject*, std::unique_ptr<GpuTexture>> textures_;
    std::vector<unsigned> deadBuffers_;    // GL names of forgotten objects, deleted at the next draw
    std::vector<unsigned> deadArrays_;
    std::vector<unsigned> deadTextures_;
    D3DRMTEXTUREQUALITY filter_ = D3DRMTEXTURE_NEAREST;
};
