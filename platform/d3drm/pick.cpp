// Ray picking: which visuals below a frame a ray passes through, nearest first.
// Implements: IDirect3DRMFrame3::RayPick. Leaves out: of its flags only
// D3DRMRAYPICK_ONLYBOUNDINGBOXES counts; the others are ignored.
//
// Each mesh builder and mesh the scene walk meets (frames added as visuals are instances of
// their hierarchy, placed by their own transform under the frame that shows them) gives at
// most one pick: its face nearest to the ray's origin. The ray is moved into the visual's
// own coordinates rather than the geometry into the world's, so the parameter t of
// origin + t·direction is the same everywhere and orders the picks. A box test per visual
// comes first, then every triangle of every face fan (both sides count: a pick asks what the
// ray meets, not what faces it). Hits with t < 0 lie behind the origin and do not count.
// Textures shown as decals are not pickable.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "platform/d3drm/array.h"
#include "platform/d3drm/frame.h"
#include "platform/d3drm/mesh.h"
#include "platform/d3drm/mesh_builder.h"
#include "platform/d3drm/scene_walk.h"

namespace {

struct Pick {
    Ref<IDirect3DRMVisual> visual;
    std::vector<Ref<IDirect3DRMFrame3>> path;   // from the picked frame down to the holder
    D3DRMPICKDESC2 description;
    float t = 0.0f;
};

class Picked2Array final : public RefCounted<IDirect3DRMPicked2Array> {
public:
    explicit Picked2Array(std::vector<Pick> picks) : picks_(std::move(picks)) {}

    DWORD GetSize() override { return static_cast<DWORD>(picks_.size()); }

    HRESULT GetPick(DWORD index, IDirect3DRMVisual** visual, IDirect3DRMFrameArray** frames,
                    D3DRMPICKDESC2* description) override {
        if (visual) *visual = nullptr;
        if (frames) *frames = nullptr;
        if (index >= picks_.size()) return D3DRMERR_BADVALUE;
        const Pick& pick = picks_[index];
        if (visual) {
            *visual = pick.visual.get();
            (*visual)->AddRef();
        }
        if (frames) *frames = new FrameArray(pick.path);
        if (description) *description = pick.description;
        return D3DRM_OK;
    }

private:
    std::vector<Pick> picks_;
};

struct Ray {
    glm::vec3 origin;
    glm::vec3 direction;
};

// The nearest hit within one visual, in the visual's own coordinates.
struct Hit {
    float t = std::numeric_limits<float>::infinity();
    DWORD face = 0;
    LONG group = 0;
    glm::vec3 normal{0.0f};
    glm::vec2 uv{0.0f};
    D3DCOLOR color = 0;
    bool found() const { return std::isfinite(t); }
};

struct Box {
    glm::vec3 min{std::numeric_limits<float>::infinity()};
    glm::vec3 max{-std::numeric_limits<float>::infinity()};
    void Add(const glm::vec3& p) {
        min = glm::min(min, p);
        max = glm::max(max, p);
    }
    bool Empty() const { return min.x > max.x; }
};

// Slab test. On a hit, t is where the ray enters the box (or leaves it, when the origin
// lies inside) and normal the outward normal of that side.
bool RayBox(const Ray& ray, const Box& box, float& t, glm::vec3& normal) {
    float enter = -std::numeric_limits<float>::infinity(), leave = std::numeric_limits<float>::infinity();
    int enterAxis = -1, leaveAxis = -1;
    for (int axis = 0; axis < 3; ++axis) {
        const float o = ray.origin[axis], d = ray.direction[axis];
        if (d == 0.0f) {
            if (o < box.min[axis] || o > box.max[axis]) return false;
            continue;
        }
        float first = (box.min[axis] - o) / d, last = (box.max[axis] - o) / d;
        if (first > last) std::swap(first, last);
        if (first > enter) {
            enter = first;
            enterAxis = axis;
        }
        if (last < leave) {
            leave = last;
            leaveAxis = axis;
        }
        if (enter > leave) return false;
    }
    if (leave < 0.0f) return false;   // behind the origin
    normal = glm::vec3(0.0f);
    if (enter >= 0.0f && enterAxis >= 0) {
        t = enter;
        normal[enterAxis] = ray.direction[enterAxis] > 0.0f ? -1.0f : 1.0f;
    } else {
        t = leave;
        if (leaveAxis >= 0) normal[leaveAxis] = ray.direction[leaveAxis] > 0.0f ? 1.0f : -1.0f;
    }
    return true;
}

// Möller–Trumbore, both sides. On a hit, t along the ray and the barycentric weights of
// b and c.
bool RayTriangle(const Ray& ray, const glm::vec3& a, const glm::vec3& b, const glm::vec3& c, float& t, float& wb,
                 float& wc) {
    const glm::vec3 e1 = b - a, e2 = c - a;
    const glm::vec3 p = glm::cross(ray.direction, e2);
    const float det = glm::dot(e1, p);
    if (det == 0.0f) return false;   // parallel, or a degenerate triangle
    const float inverse = 1.0f / det;
    const glm::vec3 s = ray.origin - a;
    wb = glm::dot(s, p) * inverse;
    if (wb < 0.0f || wb > 1.0f) return false;
    const glm::vec3 q = glm::cross(s, e1);
    wc = glm::dot(ray.direction, q) * inverse;
    if (wc < 0.0f || wb + wc > 1.0f) return false;
    t = glm::dot(e2, q) * inverse;
    return t >= 0.0f;
}

glm::vec3 PlaneNormal(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c) {
    // Front faces are clockwise seen from the front; in left-handed coordinates that makes
    // (b − a) × (c − a) point out of the front.
    return glm::cross(b - a, c - a);
}

// The bounding-box test every pick starts with. True when the ray passes through `box` and
// the faces are to be tested; when only boxes are asked for, `hit` gets the box's own hit.
bool ThroughBox(const Box& box, const Ray& ray, bool boxesOnly, Hit& hit) {
    float t;
    glm::vec3 normal;
    if (box.Empty() || !RayBox(ray, box, t, normal)) return false;
    if (!boxesOnly) return true;
    hit.t = t;
    hit.normal = normal;
    return false;
}

Hit PickBuilder(const MeshBuilder& builder, const Ray& ray, bool boxesOnly) {
    Hit hit;
    const std::vector<glm::vec3>& positions = builder.positions;
    Box box;
    for (const glm::vec3& p : positions) box.Add(p);
    if (!ThroughBox(box, ray, boxesOnly, hit)) return hit;
    const std::size_t count = positions.size();
    for (std::size_t f = 0; f < builder.faces.size(); ++f) {
        const Face* face = Face::From(builder.faces[f].get());
        const std::vector<DWORD>& v = face->vertices;
        if (v.size() < 3 || v[0] >= count) continue;
        const glm::vec3& a = positions[v[0]];
        for (std::size_t corner = 1; corner + 1 < v.size(); ++corner) {
            if (v[corner] >= count || v[corner + 1] >= count) continue;
            float t, wb, wc;
            if (!RayTriangle(ray, a, positions[v[corner]], positions[v[corner + 1]], t, wb, wc) || t >= hit.t) continue;
            hit.t = t;
            hit.face = static_cast<DWORD>(f);
            hit.color = face->color;
            if (v[1] < count && v[2] < count) hit.normal = PlaneNormal(a, positions[v[1]], positions[v[2]]);
            auto uv = [&](DWORD i) { return i < builder.texcoords.size() ? builder.texcoords[i] : glm::vec2(0.0f); };
            hit.uv = (1.0f - wb - wc) * uv(v[0]) + wb * uv(v[corner]) + wc * uv(v[corner + 1]);
        }
    }
    return hit;
}

Hit PickMesh(const Mesh& mesh, const Ray& ray, bool boxesOnly) {
    Hit hit;
    Box box;
    for (const MeshGroup& group : mesh.groups)
        for (const MeshVertex& vertex : group.vertices) box.Add(vertex.position);
    if (!ThroughBox(box, ray, boxesOnly, hit)) return hit;
    for (std::size_t g = 0; g < mesh.groups.size(); ++g) {
        const MeshGroup& group = mesh.groups[g];
        const std::size_t count = group.vertices.size();
        for (std::size_t i = 0; i + 2 < group.indices.size(); i += 3) {
            const std::uint32_t ia = group.indices[i], ib = group.indices[i + 1], ic = group.indices[i + 2];
            if (ia >= count || ib >= count || ic >= count) continue;
            const MeshVertex &a = group.vertices[ia], &b = group.vertices[ib], &c = group.vertices[ic];
            float t, wb, wc;
            if (!RayTriangle(ray, a.position, b.position, c.position, t, wb, wc) || t >= hit.t) continue;
            hit.t = t;
            hit.face = static_cast<DWORD>(i / 3);
            hit.group = static_cast<LONG>(g);
            hit.color = group.color;
            hit.normal = PlaneNormal(a.position, b.position, c.position);
            hit.uv = (1.0f - wb - wc) * a.uv + wb * b.uv + wc * c.uv;
        }
    }
    return hit;
}

class Picker {
public:
    Picker(const Ray& worldRay, const Ray& referenceRay, const glm::mat4& worldToReference, bool boxesOnly)
        : worldRay_(worldRay), referenceRay_(referenceRay), worldToReference_(worldToReference), boxesOnly_(boxesOnly) {}

    // A frame is reached: the ray in its coordinates is worked out when a visual needs it.
    void Enter(const SceneNode&) { locals_.push_back(Local{}); }
    void Leave(const SceneNode&) { locals_.pop_back(); }

    void Visual(const SceneNode& node, IDirect3DRMVisual* visual) {
        const auto* builder = dynamic_cast<MeshBuilder*>(visual);
        const auto* mesh = builder ? nullptr : dynamic_cast<Mesh*>(visual);
        if (!builder && !mesh) return;
        Local& local = locals_.back();
        if (!local.ready) {
            const glm::mat4 toLocal = glm::inverse(node.world);
            local.ray.origin = glm::vec3(toLocal * glm::vec4(worldRay_.origin, 1.0f));
            local.ray.direction = glm::vec3(toLocal * glm::vec4(worldRay_.direction, 0.0f));
            local.ready = true;
        }
        const Hit hit = builder ? PickBuilder(*builder, local.ray, boxesOnly_) : PickMesh(*mesh, local.ray, boxesOnly_);
        if (hit.found()) Record(visual, hit, node.world);
    }

    const std::vector<Frame*>* path = nullptr;   // the walk's path, from the picked frame down

    std::vector<Pick> Take() {
        std::stable_sort(picks_.begin(), picks_.end(), [](const Pick& a, const Pick& b) { return a.t < b.t; });
        return std::move(picks_);
    }

private:
    void Record(IDirect3DRMVisual* visual, const Hit& hit, const glm::mat4& world) {
        Pick pick;
        pick.visual = Ref<IDirect3DRMVisual>::Share(visual);
        for (Frame* frame : *path) pick.path.push_back(Ref<IDirect3DRMFrame3>::Share(frame));
        pick.t = hit.t;
        D3DRMPICKDESC2& d = pick.description;
        d.ulFaceIdx = hit.face;
        d.lGroupIdx = hit.group;
        const glm::vec3 at = referenceRay_.origin + hit.t * referenceRay_.direction;
        d.dvPosition = D3DVECTOR{at.x, at.y, at.z};
        d.tu = hit.uv.x;
        d.tv = hit.uv.y;
        const glm::mat3 normalMatrix = glm::transpose(glm::inverse(glm::mat3(worldToReference_ * world)));
        glm::vec3 n = normalMatrix * hit.normal;
        if (glm::length(n) > 0.0f) n = glm::normalize(n);
        d.dvNormal = D3DVECTOR{n.x, n.y, n.z};
        d.dcColor = hit.color;
        picks_.push_back(std::move(pick));
    }

    Ray worldRay_;
    Ray referenceRay_;
    glm::mat4 worldToReference_;
    bool boxesOnly_;
    struct Local {
        Ray ray{};
        bool ready = false;
    };
    std::vector<Local> locals_;   // per frame on the path
    std::vector<Pick> picks_;
};

}  // namespace

HRESULT Frame::RayPick(IDirect3DRMFrame3* reference, const D3DRMRAY* ray, DWORD flags, IDirect3DRMPicked2Array** picks) {
    if (!picks) return D3DRMERR_BADVALUE;
    *picks = nullptr;
    if (!ray) return D3DRMERR_BADVALUE;
    const Ray referenceRay{glm::vec3(ray->dvPos.x, ray->dvPos.y, ray->dvPos.z),
                           glm::vec3(ray->dvDir.x, ray->dvDir.y, ray->dvDir.z)};
    if (!(glm::length(referenceRay.direction) > 0.0f)) return D3DRMERR_BADVALUE;
    const glm::mat4 referenceToWorld = reference ? From(reference)->WorldTransform() : glm::mat4(1.0f);
    const Ray worldRay{glm::vec3(referenceToWorld * glm::vec4(referenceRay.origin, 1.0f)),
                       glm::vec3(referenceToWorld * glm::vec4(referenceRay.direction, 0.0f))};
    Picker picker(worldRay, referenceRay, glm::inverse(referenceToWorld), (flags & D3DRMRAYPICK_ONLYBOUNDINGBOXES) != 0);
    SceneWalk walk;
    picker.path = &walk.Path();
    walk.Run(*this, WorldTransform(), nullptr, picker);
    *picks = new Picked2Array(picker.Take());
    return D3DRM_OK;
}
