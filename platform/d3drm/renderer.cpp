// Internal to platform/d3drm: no platform call; draws what Viewport::Render asks for.
#include "platform/d3drm/renderer.h"

#include <epoxy/gl.h>
#include <glm/gtc/matrix_inverse.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <string>

#include "platform/d3drm/device.h"
#include "platform/d3drm/frame.h"
#include "platform/d3drm/light.h"
#include "platform/d3drm/material.h"
#include "platform/d3drm/mesh.h"
#include "platform/d3drm/mesh_builder.h"
#include "platform/d3drm/projection.h"
#include "platform/d3drm/renderer_shaders.h"
#include "platform/d3drm/scene_walk.h"
#include "platform/d3drm/texture.h"
#include "platform/d3drm/viewport.h"

// One vertex as the GPU reads it.
struct GpuVertex {
    glm::vec3 position;
    glm::vec3 normal;
    glm::vec3 faceNormal;
    glm::vec2 uv;
};

struct Renderer::GpuGroup {
    GLint first = 0;
    GLsizei count = 0;
    D3DCOLOR color = 0xFFFFFFFF;
    Ref<IDirect3DRMMaterial2> material;
    Ref<IDirect3DRMTexture3> texture;
};

struct Renderer::GpuVisual {
    GLuint vao = 0;
    GLuint vbo = 0;
    unsigned version = ~0u;
    D3DRMRENDERQUALITY quality = D3DRMRENDER_GOURAUD;
    std::vector<GpuGroup> groups;
};

struct Renderer::GpuTexture {
    GLuint name = 0;
    unsigned version = ~0u;
};

namespace {

GLuint Compile(GLenum stage, const std::string& source) {
    const GLuint shader = glCreateShader(stage);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[2048];
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "d3drm: shader: %s\n", log);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

// Writes a quad's two triangles into vbo: the corners' positions, normals unused, texture
// coordinates from the top left corner.
void UploadQuad(GLuint vao, GLuint vbo, const glm::vec3 corners[4]);
void UploadVertices(GLuint vao, GLuint vbo, const std::vector<GpuVertex>& vertices);

void EvictCallback(IDirect3DRMObject* object, void* renderer) { static_cast<Renderer*>(renderer)->Forget(object); }

// The triangles of a face fan, each corner with its own and its face's normal.
void AppendFace(const MeshBuilder& b, const Face& f, std::vector<GpuVertex>& out) {
    const size_t n = f.vertices.size();
    if (n < 3) return;
    const glm::vec3 a = b.positions[f.vertices[0]];
    glm::vec3 faceNormal = glm::cross(b.positions[f.vertices[1]] - a, b.positions[f.vertices[2]] - a);
    // Clockwise corners seen from the front: in left-handed coordinates the cross product of
    // the first two edges points out of the front.
    faceNormal = glm::length(faceNormal) > 0.0f ? glm::normalize(faceNormal) : glm::vec3(0, 0, -1);
    auto corner = [&](size_t i) {
        GpuVertex v;
        const DWORD p = f.vertices[i];
        v.position = b.positions[p];
        v.faceNormal = faceNormal;
        v.normal = i < f.normals.size() && f.normals[i] < b.normals.size() ? b.normals[f.normals[i]] : faceNormal;
        v.uv = p < b.texcoords.size() ? b.texcoords[p] : glm::vec2(0.0f);
        return v;
    };
    for (size_t i = 1; i + 1 < n; ++i) {
        out.push_back(corner(0));
        out.push_back(corner(i));
        out.push_back(corner(i + 1));
    }
}

}  // namespace

namespace {

// In the order of Renderer::UniformId.
constexpr const char* kUniformNames[] = {
    "uView", "uProjection", "uCameraPos", "uDither", "uScreenQuad", "uLightCount", "uFogMode", "uFogColor",
    "uFogParams", "uModel", "uNormalMatrix", "uObjectOrigin", "uShade", "uLighting", "uDiffuse", "uEmissive",
    "uSpecular", "uMatAmbient", "uPower", "uTextured", "uColorKey", "uTexture", "uKeyColor",
};
static_assert(std::size(kUniformNames) == Renderer::kUniformCount);

constexpr GLuint kLightsBinding = 0;   // the uniform buffer binding of the "Lights" block

// How many lights the "Lights" block can hold on this driver: what its largest uniform block
// allows (at least 16 KiB, 256 lights, on any OpenGL 3.3), at most 1024.
int LightCapacity() {
    GLint bytes = 0;
    glGetIntegerv(GL_MAX_UNIFORM_BLOCK_SIZE, &bytes);
    const int lights = bytes / static_cast<int>(kLightVec4s * sizeof(glm::vec4));
    return std::clamp(lights, 1, 1024);
}

}  // namespace

static GLuint Link(const std::string& vertexSource, const std::string& fragmentSource) {
    const GLuint vs = Compile(GL_VERTEX_SHADER, vertexSource);
    const GLuint fs = Compile(GL_FRAGMENT_SHADER, fragmentSource);
    GLuint program = 0;
    if (vs && fs) {
        program = glCreateProgram();
        glAttachShader(program, vs);
        glAttachShader(program, fs);
        glLinkProgram(program);
        GLint ok = 0;
        glGetProgramiv(program, GL_LINK_STATUS, &ok);
        if (!ok) {
            char log[2048];
            glGetProgramInfoLog(program, sizeof log, nullptr, log);
            std::fprintf(stderr, "d3drm: shader program: %s\n", log);
            glDeleteProgram(program);
            program = 0;
        }
    }
    if (vs) glDeleteShader(vs);
    if (fs) glDeleteShader(fs);
    if (program) {
        // The unlit program has no lighting, so no block to bind.
        const GLuint block = glGetUniformBlockIndex(program, "Lights");
        if (block != GL_INVALID_INDEX) glUniformBlockBinding(program, block, kLightsBinding);
    }
    return program;
}

// What every program needs to know of the frame being drawn.
struct Renderer::FrameState {
    glm::mat4 view{1.0f};
    glm::mat4 projection{1.0f};
    glm::vec3 cameraPosition{0.0f};
    bool dither = false;
    int lightCount = 0;
    std::vector<glm::vec4> lights;   // kLightVec4s per light, as the "Lights" block holds them
    int fogMode = -1;
    glm::vec3 fogColor{0.0f};
    glm::vec3 fogParams{0.0f};
};

Renderer::Renderer() : frameState_(std::make_unique<FrameState>()) {
    maxLights_ = LightCapacity();
    // Every frame with a mesh needs the lit program and a background the picture program;
    // the unlit (decals) and per-pixel programs are linked when first used, since llvmpipe
    // holds megabytes for each linked program.
    Link(kVertexLit);
    Link(kPicture);

    // The block is allocated at its full size once; each frame rewrites only its lights.
    glGenBuffers(1, &lightBuffer_);
    glBindBuffer(GL_UNIFORM_BUFFER, lightBuffer_);
    glBufferData(GL_UNIFORM_BUFFER, static_cast<GLsizeiptr>(maxLights_ * kLightVec4s * sizeof(glm::vec4)), nullptr,
                 GL_DYNAMIC_DRAW);
    glBindBuffer(GL_UNIFORM_BUFFER, 0);

    // A quad for decals, two triangles of GpuVertex rewritten for each decal.
    glGenVertexArrays(1, &quadVao_);
    glGenBuffers(1, &quadVbo_);
    // The background's quad covers the viewport in clip space and never changes.
    glGenVertexArrays(1, &backgroundVao_);
    glGenBuffers(1, &backgroundVbo_);
    const glm::vec3 corners[4] = {{-1, 1, 0}, {1, 1, 0}, {1, -1, 0}, {-1, -1, 0}};
    UploadQuad(backgroundVao_, backgroundVbo_, corners);
    glBindVertexArray(0);
}

void Renderer::Untrack() {
    for (auto& [object, visual] : visuals_) object->DeleteDestroyCallback(EvictCallback, this);
    for (auto& [object, texture] : textures_) object->DeleteDestroyCallback(EvictCallback, this);
}

void Renderer::Abandon() {
    Untrack();
    visuals_.clear();
    textures_.clear();
    deadBuffers_.clear();
    deadArrays_.clear();
    deadTextures_.clear();
    abandoned_ = true;
}

Renderer::~Renderer() {
    if (abandoned_) return;
    Untrack();
    for (auto& [object, visual] : visuals_) {
        glDeleteBuffers(1, &visual->vbo);
        glDeleteVertexArrays(1, &visual->vao);
    }
    for (auto& [object, texture] : textures_) glDeleteTextures(1, &texture->name);
    DeleteForgotten();
    glDeleteBuffers(1, &quadVbo_);
    glDeleteVertexArrays(1, &quadVao_);
    glDeleteBuffers(1, &backgroundVbo_);
    glDeleteVertexArrays(1, &backgroundVao_);
    glDeleteBuffers(1, &lightBuffer_);
    for (unsigned program : programs_)
        if (program) glDeleteProgram(program);
}

void Renderer::Link(Program which) {
    if (linkTried_[which]) return;
    linkTried_[which] = true;
    const std::string version = "#version 330 core\n";
    if (which == kPicture) {
        programs_[which] = ::Link(version + kPictureVertexGlsl, version + kPictureFragmentGlsl);
    } else {
        static const char* const kDefines[] = {"#define UNLIT 1\n#define PHONG 0\n", "#define UNLIT 0\n#define PHONG 0\n",
                                               "#define UNLIT 0\n#define PHONG 1\n"};
        const std::string header = version + kDefines[which] + "#define MAX_LIGHTS " + std::to_string(maxLights_) +
                                   "\n" + kLightingGlsl;
        programs_[which] = ::Link(header + kVertexGlsl, header + kFragmentGlsl);
    }
    for (int u = 0; u < kUniformCount; ++u)
        uniforms_[which][u] = programs_[which] ? glGetUniformLocation(programs_[which], kUniformNames[u]) : -1;
}

void Renderer::Use(Program which) {
    Link(which);
    program_ = programs_[which];
    uniform_ = uniforms_[which];
    glUseProgram(program_);
    if (frameUniforms_[which] == frame_) return;
    frameUniforms_[which] = frame_;
    const FrameState& f = *frameState_;
    glUniformMatrix4fv(uniform_[kView], 1, GL_FALSE, glm::value_ptr(f.view));
    glUniformMatrix4fv(uniform_[kProjection], 1, GL_FALSE, glm::value_ptr(f.projection));
    glUniform3fv(uniform_[kCameraPos], 1, glm::value_ptr(f.cameraPosition));
    glUniform1i(uniform_[kDither], f.dither ? 1 : 0);
    glUniform1i(uniform_[kScreenQuad], 0);
    glUniform1i(uniform_[kLightCount], f.lightCount);
    glUniform1i(uniform_[kFogMode], f.fogMode);
    glUniform3fv(uniform_[kFogColor], 1, glm::value_ptr(f.fogColor));
    glUniform3fv(uniform_[kFogParams], 1, glm::value_ptr(f.fogParams));
}

void Renderer::Forget(IDirect3DRMObject* object) {
    // The object is going away, possibly while another window's context is current:
    // its GL names are deleted at the next draw.
    if (auto it = visuals_.find(object); it != visuals_.end()) {
        deadBuffers_.push_back(it->second->vbo);
        deadArrays_.push_back(it->second->vao);
        visuals_.erase(it);
    }
    if (auto it = textures_.find(object); it != textures_.end()) {
        deadTextures_.push_back(it->second->name);
        textures_.erase(it);
    }
}

void Renderer::DeleteForgotten() {
    if (!deadBuffers_.empty()) glDeleteBuffers(static_cast<GLsizei>(deadBuffers_.size()), deadBuffers_.data());
    if (!deadArrays_.empty()) glDeleteVertexArrays(static_cast<GLsizei>(deadArrays_.size()), deadArrays_.data());
    if (!deadTextures_.empty()) glDeleteTextures(static_cast<GLsizei>(deadTextures_.size()), deadTextures_.data());
    deadBuffers_.clear();
    deadArrays_.clear();
    deadTextures_.clear();
}

void Renderer::Track(IDirect3DRMObject* object) { object->AddDestroyCallback(EvictCallback, this); }

namespace {

void UploadVertices(GLuint vao, GLuint vbo, const std::vector<GpuVertex>& vertices) {
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(GpuVertex)), vertices.data(),
                 GL_STATIC_DRAW);
    const GLsizei stride = sizeof(GpuVertex);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(GpuVertex, position)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(GpuVertex, normal)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(GpuVertex, faceNormal)));
    glEnableVertexAttribArray(3);
    glVertexAttribPointer(3, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(GpuVertex, uv)));
}

}  // namespace

Renderer::GpuVisual* Renderer::Upload(IDirect3DRMVisual* visual) {
    Ref<IDirect3DRMMeshBuilder3> builder;
    Ref<IDirect3DRMMesh> mesh;
    visual->QueryInterface(IID_IDirect3DRMMeshBuilder3, reinterpret_cast<void**>(builder.put()));
    if (!builder) visual->QueryInterface(IID_IDirect3DRMMesh, reinterpret_cast<void**>(mesh.put()));
    if (!builder && !mesh) return nullptr;
    const unsigned version = builder ? MeshBuilder::From(builder.get())->version : Mesh::From(mesh.get())->version;

    auto it = visuals_.find(visual);
    if (it == visuals_.end()) {
        auto made = std::make_unique<GpuVisual>();
        glGenVertexArrays(1, &made->vao);
        glGenBuffers(1, &made->vbo);
        Track(visual);
        it = visuals_.emplace(visual, std::move(made)).first;
    }
    GpuVisual& gpu = *it->second;
    if (gpu.version == version) return &gpu;

    std::vector<GpuVertex> vertices;
    gpu.groups.clear();
    if (builder) {
        const MeshBuilder& b = *MeshBuilder::From(builder.get());
        gpu.quality = b.quality;
        // Faces in runs of the same surface, so that each run is one draw.
        for (const auto& faceRef : b.faces) {
            const Face& f = *Face::From(faceRef.get());
            if (gpu.groups.empty() || gpu.groups.back().color != f.color ||
                gpu.groups.back().material.get() != f.material.get() || gpu.groups.back().texture.get() != f.texture.get()) {
                GpuGroup g;
                g.first = static_cast<GLint>(vertices.size());
                g.color = f.color;
                g.material = f.material;
                g.texture = f.texture;
                gpu.groups.push_back(g);
            }
            AppendFace(b, f, vertices);
            gpu.groups.back().count = static_cast<GLsizei>(vertices.size()) - gpu.groups.back().first;
        }
    } else {
        const Mesh& m = *Mesh::From(mesh.get());
        for (const MeshGroup& group : m.groups) {
            GpuGroup g;
            g.first = static_cast<GLint>(vertices.size());
            g.color = group.color;
            g.material = group.material;
            g.texture = group.texture;
            gpu.quality = group.quality;
            for (size_t i = 0; i + 2 < group.indices.size(); i += 3) {
                const MeshVertex* corner[3] = {&group.vertices[group.indices[i]], &group.vertices[group.indices[i + 1]],
                                               &group.vertices[group.indices[i + 2]]};
                glm::vec3 n = glm::cross(corner[1]->position - corner[0]->position, corner[2]->position - corner[0]->position);
                n = glm::length(n) > 0.0f ? glm::normalize(n) : glm::vec3(0, 0, -1);
                for (const MeshVertex* c : corner) vertices.push_back({c->position, c->normal, n, c->uv});
            }
            g.count = static_cast<GLsizei>(vertices.size()) - g.first;
            gpu.groups.push_back(g);
        }
    }
    UploadVertices(gpu.vao, gpu.vbo, vertices);
    gpu.version = version;
    return &gpu;
}

Renderer::GpuTexture* Renderer::Upload(Texture* texture) {
    auto it = textures_.find(texture);
    if (it == textures_.end()) {
        auto made = std::make_unique<GpuTexture>();
        glGenTextures(1, &made->name);
        Track(texture);
        it = textures_.emplace(texture, std::move(made)).first;
    }
    GpuTexture& gpu = *it->second;
    glBindTexture(GL_TEXTURE_2D, gpu.name);
    if (gpu.version != texture->version) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, texture->width, texture->height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     texture->rgba.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        gpu.version = texture->version;
    }
    const GLint filter = filter_ == D3DRMTEXTURE_LINEAR ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    return &gpu;
}

void Renderer::BindTexture(Texture* texture) {
    glUniform1i(uniform_[kTextured], texture ? 1 : 0);
    glUniform1i(uniform_[kColorKey], texture && texture->transparency ? 1 : 0);
    if (!texture) return;
    glActiveTexture(GL_TEXTURE0);
    Upload(texture);
    glUniform1i(uniform_[kTexture], 0);
    const D3DCOLOR key = texture->transparentColor;
    glUniform3f(uniform_[kKeyColor], D3DRMColorGetRed(key), D3DRMColorGetGreen(key), D3DRMColorGetBlue(key));
}

namespace {

// Every light of the scene, wherever it hangs, lights everything in it: appended to `out` in
// the layout of the "Lights" block. Lights count where they hang in the hierarchy, not again
// wherever their frame is shown as a visual.
struct LightCollector {
    std::vector<glm::vec4>& out;
    void Enter(const SceneNode& node) {
        if (node.frame->Lights().empty()) return;
        const glm::vec3 position(node.world[3]);
        const glm::vec3 direction = glm::normalize(glm::vec3(node.world[2]));
        for (const auto& lightRef : node.frame->Lights()) {
            const Light& light = *Light::From(lightRef.get());
            out.emplace_back(D3DRMColorGetRed(light.color), D3DRMColorGetGreen(light.color),
                             D3DRMColorGetBlue(light.color), static_cast<float>(light.type));
            out.emplace_back(position, light.range);
            out.emplace_back(direction, std::cos(light.umbra));
            out.emplace_back(light.constantAttenuation, light.linearAttenuation, light.quadraticAttenuation,
                             std::cos(light.penumbra));
        }
    }
};

}  // namespace

// Draws each mesh builder, mesh and decal the walk meets.
struct Renderer::VisualDrawer {
    Renderer& renderer;
    const glm::mat4& view;
    D3DRMRENDERQUALITY quality;
    void Visual(const SceneNode& node, IDirect3DRMVisual* visual) {
        Ref<IDirect3DRMTexture3> decal;
        if (visual->QueryInterface(IID_IDirect3DRMTexture3, reinterpret_cast<void**>(decal.put())) == S_OK)
            renderer.DrawDecal(*Texture::From(decal.get()), node.world, view);
        else if (GpuVisual* gpu = renderer.Upload(visual))
            renderer.DrawVisual(*gpu, node.world, quality, node.colorSource);
    }
};

void Renderer::Draw(Viewport& viewport, Frame& scene, D3DRMRENDERQUALITY quality, BOOL dither,
                    D3DRMTEXTUREQUALITY filter) {
    if (!Valid()) return;
    DeleteForgotten();
    filter_ = filter;
    ++frame_;
    Frame* camera = Frame::From(viewport.CameraFrame());
    Frame& root = *scene.Root();
    const glm::mat4 cameraWorld = camera->WorldTransform();
    FrameState& f = *frameState_;
    f.view = glm::inverse(cameraWorld);
    f.projection = ViewportClip(viewport);
    f.cameraPosition = glm::vec3(cameraWorld[3]);
    f.dither = dither != FALSE;
    f.lights.clear();
    LightCollector lights{f.lights};
    SceneWalk(false).Run(root, root.WorldTransform(), nullptr, lights);
    // FIXME: a scene with more lights than the block holds (at least 256) loses the rest.
    f.lightCount = std::min(static_cast<int>(f.lights.size()) / kLightVec4s, maxLights_);
    if (f.lightCount) {
        glBindBuffer(GL_UNIFORM_BUFFER, lightBuffer_);
        glBufferSubData(GL_UNIFORM_BUFFER, 0, static_cast<GLsizeiptr>(f.lightCount * kLightVec4s * sizeof(glm::vec4)),
                        f.lights.data());
        glBindBuffer(GL_UNIFORM_BUFFER, 0);
    }
    glBindBufferBase(GL_UNIFORM_BUFFER, kLightsBinding, lightBuffer_);
    D3DVALUE start = 0, end = 0, density = 0;
    root.GetSceneFogParams(&start, &end, &density);
    const D3DCOLOR fogColor = root.GetSceneFogColor();
    f.fogMode = root.GetSceneFogEnable() ? static_cast<int>(root.GetSceneFogMode()) : -1;
    f.fogColor = glm::vec3(D3DRMColorGetRed(fogColor), D3DRMColorGetGreen(fogColor), D3DRMColorGetBlue(fogColor));
    f.fogParams = glm::vec3(start, end, density);

    const Device& device = *Device::From(viewport.DeviceObject());
    glViewport(static_cast<GLint>(viewport.X()),
               device.GlRow(static_cast<int>(viewport.Y()), static_cast<int>(viewport.GetHeight())),
               static_cast<GLsizei>(viewport.GetWidth()), static_cast<GLsizei>(viewport.GetHeight()));

    if (Texture* image = root.BackgroundImage() ? Texture::From(root.BackgroundImage()) : nullptr) DrawBackground(*image);

    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    // Front faces are clockwise on screen; back faces are not drawn.
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CW);
    glCullFace(GL_BACK);
    const DWORD fill = quality & D3DRMFILL_MASK;
    glPolygonMode(GL_FRONT_AND_BACK, fill == D3DRMFILL_POINTS ? GL_POINT : fill == D3DRMFILL_WIREFRAME ? GL_LINE : GL_FILL);
    glPointSize(2.0f);
    VisualDrawer drawer{*this, f.view, quality};
    SceneWalk().Run(scene, scene.WorldTransform(), nullptr, drawer);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glBindVertexArray(0);
    glUseProgram(0);
}

// The shading a visual gets on a device: flat where either asks for flat, otherwise the finer
// of the two, so that a mesh set to Phong or a device set to Phong draws per pixel.
static DWORD ShadeOf(D3DRMRENDERQUALITY device, D3DRMRENDERQUALITY visual) {
    const DWORD d = device & D3DRMSHADE_MASK, v = visual & D3DRMSHADE_MASK;
    if (d == D3DRMSHADE_FLAT || v == D3DRMSHADE_FLAT) return D3DRMSHADE_FLAT;
    return std::max(d, v);
}

void Renderer::DrawVisual(GpuVisual& visual, const glm::mat4& world, D3DRMRENDERQUALITY quality,
                          Frame* colorSource) {
    const DWORD shade = ShadeOf(quality, visual.quality);
    const bool lighting = (quality & D3DRMLIGHT_MASK) && (visual.quality & D3DRMLIGHT_MASK);
    Use(shade == D3DRMSHADE_PHONG && lighting ? kPhong : kVertexLit);
    glUniformMatrix4fv(uniform_[kModel], 1, GL_FALSE, glm::value_ptr(world));
    glUniformMatrix3fv(uniform_[kNormalMatrix], 1, GL_FALSE, glm::value_ptr(glm::inverseTranspose(glm::mat3(world))));
    glUniform3fv(uniform_[kObjectOrigin], 1, glm::value_ptr(glm::vec3(world[3])));
    glUniform1i(uniform_[kShade], static_cast<int>(shade));
    glUniform1i(uniform_[kLighting], lighting ? 1 : 0);
    glBindVertexArray(visual.vao);
    // A frame's own colour, where its material mode asks for it, replaces the visual's colours
    // and materials; the textures stay.
    for (const GpuGroup& g : visual.groups) {
        const D3DCOLOR color = colorSource ? colorSource->GetColor() : g.color;
        glUniform4f(uniform_[kDiffuse], D3DRMColorGetRed(color), D3DRMColorGetGreen(color), D3DRMColorGetBlue(color),
                    D3DRMColorGetAlpha(color));
        if (g.material && !colorSource) {
            const Material& m = *Material::From(g.material.get());
            glUniform3fv(uniform_[kEmissive], 1, glm::value_ptr(m.emissive));
            glUniform3fv(uniform_[kSpecular], 1, glm::value_ptr(m.specular));
            glUniform3fv(uniform_[kMatAmbient], 1, glm::value_ptr(m.ambient));
            glUniform1f(uniform_[kPower], m.power);
        } else {
            glUniform3f(uniform_[kEmissive], 0, 0, 0);
            glUniform3f(uniform_[kSpecular], 0, 0, 0);
            glUniform3f(uniform_[kMatAmbient], 1, 1, 1);
            glUniform1f(uniform_[kPower], 0);
        }
        BindTexture(g.texture ? Texture::From(g.texture.get()) : nullptr);
        glDrawArrays(GL_TRIANGLES, g.first, g.count);
    }
}

namespace {

void UploadQuad(GLuint vao, GLuint vbo, const glm::vec3 corners[4]) {
    const glm::vec3 n(0, 0, -1);
    const std::vector<GpuVertex> quad = {
        {corners[0], n, n, {0, 0}}, {corners[1], n, n, {1, 0}}, {corners[2], n, n, {1, 1}},
        {corners[0], n, n, {0, 0}}, {corners[2], n, n, {1, 1}}, {corners[3], n, n, {0, 1}},
    };
    UploadVertices(vao, vbo, quad);
}

}  // namespace

void Renderer::DrawDecal(Texture& texture, const glm::mat4& world, const glm::mat4& view) {
    // A picture facing the camera, hanging right and down from the frame's origin (less the
    // decal origin, in texels).
    const glm::vec3 origin = glm::vec3(view * world[3]);
    if (origin.z <= 0.0f) return;
    float w = texture.decalWidth, h = texture.decalHeight;
    if (!texture.decalScale) {
        // Same size on screen at any distance: as large as it would be at distance 1.
        w *= origin.z;
        h *= origin.z;
    }
    const float ox = texture.width ? w * static_cast<float>(texture.decalOriginX) / static_cast<float>(texture.width) : 0.0f;
    const float oy = texture.height ? h * static_cast<float>(texture.decalOriginY) / static_cast<float>(texture.height) : 0.0f;
    const glm::vec3 topLeft = origin + glm::vec3(-ox, oy, 0.0f);
    const glm::vec3 corners[4] = {topLeft, topLeft + glm::vec3(w, 0, 0), topLeft + glm::vec3(w, -h, 0),
                                  topLeft + glm::vec3(0, -h, 0)};
    UploadQuad(quadVao_, quadVbo_, corners);
    Use(kUnlit);
    // The corners are in view space already.
    glUniformMatrix4fv(uniform_[kModel], 1, GL_FALSE, glm::value_ptr(glm::inverse(view)));
    glUniformMatrix3fv(uniform_[kNormalMatrix], 1, GL_FALSE, glm::value_ptr(glm::mat3(1.0f)));
    glUniform1i(uniform_[kShade], 1);
    glUniform1i(uniform_[kLighting], 0);
    glUniform4f(uniform_[kDiffuse], 1, 1, 1, 1);
    glDisable(GL_CULL_FACE);
    BindTexture(&texture);
    glDrawArrays(GL_TRIANGLES, 0, 6);
    glEnable(GL_CULL_FACE);
}

void Renderer::DrawBackground(Texture& image) {
    // Stretched over the whole viewport, behind everything; the depth buffer is untouched.
    Use(kPicture);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glActiveTexture(GL_TEXTURE0);
    Upload(&image);
    glUniform1i(uniform_[kTexture], 0);
    glBindVertexArray(backgroundVao_);
    glDrawArrays(GL_TRIANGLES, 0, 6);
}
