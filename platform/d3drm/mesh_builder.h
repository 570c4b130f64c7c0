// Internal to platform/d3drm: the mesh builder and its faces. The renderer, the wraps, the
// picking and the .x loader read and write the geometry below directly.
#pragma once

#include <glm/glm.hpp>

#include <vector>

#include "platform/d3drm/object.h"

class MeshBuilder;

// A polygon (3 or more corners, convex, clockwise seen from its front) of a mesh builder.
class Face final : public Object<IDirect3DRMFace2> {
public:
    explicit Face(MeshBuilder* owner) : owner(owner) {}

    D3DCOLOR GetColor() override { return color; }
    HRESULT SetColor(D3DCOLOR value) override;
    HRESULT SetColorRGB(D3DVALUE r, D3DVALUE g, D3DVALUE b) override;
    int GetVertexCount() override { return static_cast<int>(vertices.size()); }
    HRESULT GetMaterial(IDirect3DRMMaterial2** out) override;
    HRESULT GetTexture(IDirect3DRMTexture3** out) override;
    HRESULT GetNormal(D3DVECTOR* normal) override;   // of the plane, from the first three corners

    static Face* From(IDirect3DRMFace2* f) { return static_cast<Face*>(f); }

    MeshBuilder* owner;                       // not owned; the builder owns its faces
    std::vector<DWORD> vertices;              // indices into the builder's positions
    std::vector<DWORD> normals;               // indices into the builder's normals
    D3DCOLOR color = 0xFFFFFFFF;
    Ref<IDirect3DRMMaterial2> material;       // nullptr: the engine's default material
    Ref<IDirect3DRMTexture3> texture;

protected:
    void* Query(REFIID iid) override;
};

class MeshBuilder final : public Object<IDirect3DRMMeshBuilder3> {
public:
    MeshBuilder() = default;

    HRESULT Load(const void* source, const void* objectId, D3DRMLOADOPTIONS options,
                 D3DRMLOADTEXTURE3CALLBACK textureCallback, void* arg) override;
    HRESULT Scale(D3DVALUE sx, D3DVALUE sy, D3DVALUE sz) override;
    HRESULT Translate(D3DVALUE tx, D3DVALUE ty, D3DVALUE tz) override;
    HRESULT GetBox(D3DRMBOX* box) override;
    HRESULT SetColorRGB(D3DVALUE r, D3DVALUE g, D3DVALUE b) override;
    HRESULT SetColor(D3DCOLOR color) override;
    HRESULT SetMaterial(IDirect3DRMMaterial2* material) override;
    HRESULT SetTexture(IDirect3DRMTexture3* texture) override;
    HRESULT SetQuality(D3DRMRENDERQUALITY value) override;
    D3DRMRENDERQUALITY GetQuality() override { return quality; }
    HRESULT SetPerspective(BOOL value) override;
    HRESULT AddFaces(DWORD vertexCount, const D3DVECTOR* vertices, DWORD normalCount, const D3DVECTOR* normals,
                     const DWORD* faceData, IDirect3DRMFaceArray** faces) override;
    HRESULT AddFrame(IDirect3DRMFrame3* frame) override;
    HRESULT AddMeshBuilder(IDirect3DRMMeshBuilder3* builder, DWORD flags) override;
    HRESULT GetFaces(IDirect3DRMFaceArray** faces) override;
    int GetFaceCount() override { return static_cast<int>(faces.size()); }
    int GetVertexCount() override { return static_cast<int>(positions.size()); }
    HRESULT GetVertex(DWORD index, D3DVECTOR* position, D3DVECTOR* normal) override;
    HRESULT SetTextureCoordinates(DWORD index, D3DVALUE u, D3DVALUE v) override;
    HRESULT GetTextureCoordinates(DWORD index, D3DVALUE* u, D3DVALUE* v) override;
    HRESULT CreateMesh(IDirect3DRMMesh** mesh) override;
    HRESULT Clone(IUnknown* outer, REFIID iid, void** copy) override;   // deep: faces and geometry

    static MeshBuilder* From(IDirect3DRMMeshBuilder3* b) { return static_cast<MeshBuilder*>(b); }
    // Appends another builder's geometry, each position transformed by `transform`.
    void Append(const MeshBuilder& other, const glm::mat4& transform);
    // Adds a face over existing positions and normals; returns it.
    Face* NewFace(std::vector<DWORD> vertexIndices, std::vector<DWORD> normalIndices);
    // The matrix that carries normals along with positions transformed by `m` (the inverse
    // transpose, computed so that it stays finite when `m` flattens an axis).
    static glm::mat3 NormalTransform(const glm::mat4& m);

    std::vector<glm::vec3> positions;
    std::vector<glm::vec2> texcoords;          // one per position
    std::vector<glm::vec3> normals;
    std::vector<Ref<IDirect3DRMFace2>> faces;  // Face objects
    D3DRMRENDERQUALITY quality = D3DRMRENDER_GOURAUD;
    BOOL perspective = TRUE;
    unsigned version = 0;   // changes whenever the renderer must upload it again

protected:
    ~MeshBuilder() override;   // faces that outlive their builder lose their owner
    void* Query(REFIID iid) override;
};
