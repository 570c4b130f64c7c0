// Frames: IDirect3DRMFrame3's hierarchy (AddChild, DeleteChild, GetParent, GetScene,
// GetChildren), placement (Set/GetPosition, Set/GetOrientation, LookAt, AddScale, GetTransform,
// Transform, InverseTransform), motion (Set/GetVelocity, Set/GetRotation, Add/DeleteMoveCallback,
// Move), visuals and lights, colour and material mode, Clone, and the scene's background and fog.
// Leaves out: AddMoveCallback's flags and Clone's outer object are ignored.
#include "platform/d3drm/frame.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>

#include "platform/d3drm/array.h"

Frame::~Frame() {
    for (auto& child : children_) From(child.get())->parent_ = nullptr;
}

void* Frame::Query(REFIID iid) {
    if (iid == IID_IDirect3DRMFrame3 || iid == IID_IDirect3DRMVisual) return static_cast<IDirect3DRMFrame3*>(this);
    return Object::Query(iid);
}

Frame* Frame::Root() {
    Frame* f = this;
    while (f->parent_) f = f->parent_;
    return f;
}

glm::mat4 Frame::ParentWorld() const { return parent_ ? parent_->WorldTransform() : glm::mat4(1.0f); }

glm::mat4 Frame::WorldTransform() const {
    glm::mat4 m = transform_;
    for (const Frame* f = parent_; f; f = f->parent_) m = f->transform_ * m;
    return m;
}

glm::mat4 Frame::ReferenceTransform(IDirect3DRMFrame3* reference) const {
    return reference ? From(reference)->WorldTransform() : ParentWorld();
}

// ---- Hierarchy ---------------------------------------------------------------------------

HRESULT Frame::AddChild(IDirect3DRMFrame3* child) {
    if (!child || child == this) return D3DRMERR_BADOBJECT;
    for (Frame* f = this; f; f = f->parent_)
        if (f == child) return D3DRMERR_BADVALUE;   // would make a cycle
    Frame* c = From(child);
    Ref<IDirect3DRMFrame3> keep = Ref<IDirect3DRMFrame3>::Share(child);
    if (c->parent_) c->parent_->DeleteChild(child);
    c->parent_ = this;
    children_.push_back(keep);
    return D3DRM_OK;
}

HRESULT Frame::DeleteChild(IDirect3DRMFrame3* child) {
    auto it = std::find_if(children_.begin(), children_.end(), [child](const auto& c) { return c.get() == child; });
    if (it == children_.end()) return D3DRMERR_NOTFOUND;
    From(child)->parent_ = nullptr;
    children_.erase(it);
    return D3DRM_OK;
}

HRESULT Frame::GetParent(IDirect3DRMFrame3** parent) {
    if (!parent) return D3DRMERR_BADVALUE;
    *parent = parent_;
    if (parent_) parent_->AddRef();
    return D3DRM_OK;
}

HRESULT Frame::GetScene(IDirect3DRMFrame3** scene) {
    if (!scene) return D3DRMERR_BADVALUE;
    *scene = Root();
    (*scene)->AddRef();
    return D3DRM_OK;
}

HRESULT Frame::GetChildren(IDirect3DRMFrameArray** children) {
    if (!children) return D3DRMERR_BADVALUE;
    *children = new FrameArray(children_);
    return D3DRM_OK;
}

// ---- Placement ---------------------------------------------------------------------------

HRESULT Frame::SetPosition(IDirect3DRMFrame3* reference, D3DVALUE x, D3DVALUE y, D3DVALUE z) {
    const glm::vec4 world = ReferenceTransform(reference) * glm::vec4(x, y, z, 1.0f);
    transform_[3] = glm::inverse(ParentWorld()) * world;
    return D3DRM_OK;
}

HRESULT Frame::GetPosition(IDirect3DRMFrame3* reference, D3DVECTOR* position) {
    if (!position) return D3DRMERR_BADVALUE;
    const glm::vec4 p = glm::inverse(ReferenceTransform(reference)) * WorldTransform()[3];
    *position = D3DVECTOR{p.x, p.y, p.z};
    return D3DRM_OK;
}

HRESULT Frame::SetOrientation(IDirect3DRMFrame3* reference, D3DVALUE dx, D3DVALUE dy, D3DVALUE dz, D3DVALUE ux,
                              D3DVALUE uy, D3DVALUE uz) {
    const glm::mat3 toWorld(ReferenceTransform(reference));
    glm::vec3 dir = toWorld * glm::vec3(dx, dy, dz);
    glm::vec3 up = toWorld * glm::vec3(ux, uy, uz);
    if (glm::length(dir) == 0.0f) return D3DRMERR_BADVALUE;
    dir = glm::normalize(dir);
    glm::vec3 right = glm::cross(up, dir);
    if (glm::length(right) < 1e-6f) return D3DRMERR_BADVALUE;   // up parallel to dir
    right = glm::normalize(right);
    up = glm::cross(dir, right);
    const glm::mat3 local = glm::inverse(glm::mat3(ParentWorld())) * glm::mat3(right, up, dir);
    // Keep the frame's own scale along each of its axes. The axes are directions in the
    // parent's space: a scaled parent must not resize the frame.
    for (int axis = 0; axis < 3; ++axis)
        transform_[axis] = glm::vec4(glm::normalize(local[axis]) * glm::length(glm::vec3(transform_[axis])), 0.0f);
    return D3DRM_OK;
}

HRESULT Frame::GetOrientation(IDirect3DRMFrame3* reference, D3DVECTOR* dir, D3DVECTOR* up) {
    if (!dir || !up) return D3DRMERR_BADVALUE;
    const glm::mat3 m = glm::inverse(glm::mat3(ReferenceTransform(reference))) * glm::mat3(WorldTransform());
    const glm::vec3 d = glm::normalize(m[2]);
    const glm::vec3 u = glm::normalize(m[1]);
    *dir = D3DVECTOR{d.x, d.y, d.z};
    *up = D3DVECTOR{u.x, u.y, u.z};
    return D3DRM_OK;
}

HRESULT Frame::LookAt(IDirect3DRMFrame3* target, IDirect3DRMFrame3* reference, D3DRMFRAMECONSTRAINT constraint) {
    if (!target) return D3DRMERR_BADOBJECT;
    const glm::mat4 world = WorldTransform();
    const glm::vec3 from(world[3]);
    const glm::vec3 to(From(target)->WorldTransform()[3]);
    glm::vec3 dir = to - from;
    const glm::mat3 axes(world);
    switch (constraint) {
    case D3DRMCONSTRAIN_Y:   // keep the frame's y axis: turn about it only
        dir -= glm::dot(dir, glm::normalize(axes[1])) * glm::normalize(axes[1]);
        break;
    case D3DRMCONSTRAIN_X:   // keep the frame's x axis: tilt about it only
        dir -= glm::dot(dir, glm::normalize(axes[0])) * glm::normalize(axes[0]);
        break;
    default:
        break;
    }
    if (glm::length(dir) < 1e-6f) return D3DRM_OK;   // nothing to turn towards
    glm::vec3 up;
    if (constraint == D3DRMCONSTRAIN_Y) {
        up = axes[1];
    } else if (constraint == D3DRMCONSTRAIN_X) {
        up = glm::cross(dir, axes[0]);   // y = z x x keeps x where it is
    } else {
        // No roll: the reference frame's up, unless the target lies straight above or below;
        // then the frame's own up, and if that points at the target too, the frame pitches
        // over with its old forward direction becoming its new down (or up).
        auto parallel = [&dir](const glm::vec3& v) { return glm::length(glm::cross(glm::normalize(v), dir)) < 1e-6f; };
        dir = glm::normalize(dir);
        up = glm::mat3(ReferenceTransform(reference))[1];
        if (parallel(up)) up = axes[1];
        if (parallel(up)) up = glm::dot(dir, axes[1]) > 0.0f ? -axes[2] : axes[2];
    }
    // Orientation in world terms, then expressed relative to the parent.
    const glm::mat4 parentInverse = glm::inverse(ParentWorld());
    const glm::vec3 localDir = glm::mat3(parentInverse) * dir;
    const glm::vec3 localUp = glm::mat3(parentInverse) * up;
    return SetOrientation(nullptr, localDir.x, localDir.y, localDir.z, localUp.x, localUp.y, localUp.z);
}

HRESULT Frame::AddScale(D3DRMCOMBINETYPE combine, D3DVALUE sx, D3DVALUE sy, D3DVALUE sz) {
    const glm::mat4 scale = glm::scale(glm::mat4(1.0f), glm::vec3(sx, sy, sz));
    switch (combine) {
    case D3DRMCOMBINE_REPLACE: transform_ = scale; break;
    case D3DRMCOMBINE_BEFORE: transform_ = transform_ * scale; break;
    case D3DRMCOMBINE_AFTER: transform_ = scale * transform_; break;
    default: return D3DRMERR_BADVALUE;
    }
    return D3DRM_OK;
}

HRESULT Frame::GetTransform(IDirect3DRMFrame3* reference, D3DVALUE matrix[4][4]) {
    if (!matrix) return D3DRMERR_BADVALUE;
    const glm::mat4 m = glm::inverse(ReferenceTransform(reference)) * WorldTransform();
    // Row vectors: the transpose of the column-vector matrix.
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) matrix[row][col] = m[row][col];
    return D3DRM_OK;
}

HRESULT Frame::Transform(D3DVECTOR* world, const D3DVECTOR* local) {
    if (!world || !local) return D3DRMERR_BADVALUE;
    const glm::vec4 p = WorldTransform() * glm::vec4(local->x, local->y, local->z, 1.0f);
    *world = D3DVECTOR{p.x, p.y, p.z};
    return D3DRM_OK;
}

HRESULT Frame::InverseTransform(D3DVECTOR* local, const D3DVECTOR* world) {
    if (!world || !local) return D3DRMERR_BADVALUE;
    const glm::vec4 p = glm::inverse(WorldTransform()) * glm::vec4(world->x, world->y, world->z, 1.0f);
    *local = D3DVECTOR{p.x, p.y, p.z};
    return D3DRM_OK;
}

// ---- Motion ------------------------------------------------------------------------------

HRESULT Frame::SetVelocity(IDirect3DRMFrame3* reference, D3DVALUE x, D3DVALUE y, D3DVALUE z, BOOL withRotation) {
    const glm::mat3 toParent = glm::inverse(glm::mat3(ParentWorld())) * glm::mat3(ReferenceTransform(reference));
    velocity_ = toParent * glm::vec3(x, y, z);
    velocityWithRotation_ = withRotation != FALSE;
    return D3DRM_OK;
}

HRESULT Frame::SetRotation(IDirect3DRMFrame3* reference, D3DVALUE x, D3DVALUE y, D3DVALUE z, D3DVALUE theta) {
    const glm::mat3 toParent = glm::inverse(glm::mat3(ParentWorld())) * glm::mat3(ReferenceTransform(reference));
    const glm::vec3 axis = toParent * glm::vec3(x, y, z);
    if (glm::length(axis) == 0.0f) return D3DRMERR_BADVALUE;
    rotationAxis_ = glm::normalize(axis);
    rotationTheta_ = theta;
    spinValid_ = false;
    return D3DRM_OK;
}

HRESULT Frame::GetVelocity(IDirect3DRMFrame3* reference, D3DVECTOR* velocity, BOOL withRotation) {
    if (!velocity) return D3DRMERR_BADVALUE;
    const glm::mat3 toReference = glm::inverse(glm::mat3(ReferenceTransform(reference))) * glm::mat3(ParentWorld());
    glm::vec3 v = velocity_;
    // With the rotation taken into account: the velocity the next Move(1) applies, which for a
    // velocity turning with the frame is one step of the spin further round.
    if (withRotation && velocityWithRotation_ && rotationTheta_ != 0.0f)
        v = glm::vec3(glm::rotate(glm::dmat4(1.0), static_cast<double>(rotationTheta_), glm::dvec3(rotationAxis_)) *
                      glm::dvec4(glm::dvec3(v), 0.0));
    v = toReference * v;
    *velocity = D3DVECTOR{v.x, v.y, v.z};
    return D3DRM_OK;
}

HRESULT Frame::GetRotation(IDirect3DRMFrame3* reference, D3DVECTOR* axis, D3DVALUE* theta) {
    if (!axis || !theta) return D3DRMERR_BADVALUE;
    const glm::mat3 toReference = glm::inverse(glm::mat3(ReferenceTransform(reference))) * glm::mat3(ParentWorld());
    const glm::vec3 a = glm::normalize(toReference * rotationAxis_);
    *axis = D3DVECTOR{a.x, a.y, a.z};
    *theta = rotationTheta_;
    return D3DRM_OK;
}

HRESULT Frame::AddMoveCallback(D3DRMFRAME3MOVECALLBACK callback, void* arg, DWORD) {
    if (!callback) return D3DRMERR_BADVALUE;
    moveCallbacks_.push_back({callback, arg, ++lastCallbackSerial_});
    return D3DRM_OK;
}

HRESULT Frame::DeleteMoveCallback(D3DRMFRAME3MOVECALLBACK callback, void* arg) {
    auto it = std::find_if(moveCallbacks_.begin(), moveCallbacks_.end(),
                           [&](const MoveCallback& m) { return m.callback == callback && m.arg == arg; });
    if (it == moveCallbacks_.end()) return D3DRMERR_NOTFOUND;
    moveCallbacks_.erase(it);
    return D3DRM_OK;
}

void Frame::ApplyMotion(D3DVALUE delta) {
    if (rotationTheta_ != 0.0f) {
        // Spin about the frame's own origin, the axis given in parent coordinates. The spin is
        // worked out in double precision: a float rotation matrix is off by a few parts in 10^8,
        // which, applied every frame, shrinks a spinning frame by a percent within hours.
        // The matrix is kept from one move to the next while the rotation and step stay.
        const double angle = static_cast<double>(rotationTheta_) * delta;
        if (!spinValid_ || angle != spinAngle_) {
            spin_ = glm::dmat3(glm::rotate(glm::dmat4(1.0), angle, glm::dvec3(rotationAxis_)));
            spinAngle_ = angle;
            spinValid_ = true;
        }
        for (int axis = 0; axis < 3; ++axis)
            transform_[axis] = glm::vec4(glm::vec3(spin_ * glm::dvec3(transform_[axis])), 0.0f);
        if (velocityWithRotation_) velocity_ = glm::vec3(spin_ * glm::dvec3(velocity_));
    }
    transform_[3] += glm::vec4(velocity_ * delta, 0.0f);
}

HRESULT Frame::Move(D3DVALUE delta) {
    // Hold this frame and its children while callbacks may change the hierarchy.
    Ref<IDirect3DRMFrame3> self = Ref<IDirect3DRMFrame3>::Share(this);
    ApplyMotion(delta);
    // The callbacks present when the move began, each only while it is still added: one that
    // an earlier callback removed does not run, one added meanwhile waits for the next move.
    const std::vector<MoveCallback> callbacks = moveCallbacks_;
    for (const MoveCallback& m : callbacks) {
        const bool present = std::any_of(moveCallbacks_.begin(), moveCallbacks_.end(),
                                         [&m](const MoveCallback& c) { return c.serial == m.serial; });
        if (present) m.callback(this, m.arg, delta);
    }
    const std::vector<Ref<IDirect3DRMFrame3>> children = children_;
    for (const auto& child : children) child->Move(delta);
    return D3DRM_OK;
}

// ---- Content ----------------------------------------------------------------------------

HRESULT Frame::AddVisual(IUnknown* visual) {
    Ref<IDirect3DRMVisual> v;
    if (!visual || visual->QueryInterface(IID_IDirect3DRMVisual, reinterpret_cast<void**>(v.put())) != S_OK)
        return D3DRMERR_BADOBJECT;
    visuals_.push_back(v);
    return D3DRM_OK;
}

HRESULT Frame::DeleteVisual(IUnknown* visual) {
    Ref<IDirect3DRMVisual> v;
    if (!visual || visual->QueryInterface(IID_IDirect3DRMVisual, reinterpret_cast<void**>(v.put())) != S_OK)
        return D3DRMERR_BADOBJECT;
    auto it = std::find(visuals_.begin(), visuals_.end(), v);
    if (it == visuals_.end()) return D3DRMERR_NOTFOUND;
    visuals_.erase(it);
    return D3DRM_OK;
}

HRESULT Frame::GetVisuals(DWORD* count, IUnknown** visuals) {
    if (!count) return D3DRMERR_BADVALUE;
    if (!visuals) {
        *count = static_cast<DWORD>(visuals_.size());
        return D3DRM_OK;
    }
    const DWORD n = std::min<DWORD>(*count, static_cast<DWORD>(visuals_.size()));
    for (DWORD i = 0; i < n; ++i) {
        visuals[i] = visuals_[i].get();
        visuals[i]->AddRef();
    }
    *count = n;
    return D3DRM_OK;
}

HRESULT Frame::AddLight(IDirect3DRMLight* light) {
    if (!light) return D3DRMERR_BADOBJECT;
    lights_.push_back(Ref<IDirect3DRMLight>::Share(light));
    return D3DRM_OK;
}

HRESULT Frame::DeleteLight(IDirect3DRMLight* light) {
    auto it = std::find_if(lights_.begin(), lights_.end(), [light](const auto& l) { return l.get() == light; });
    if (it == lights_.end()) return D3DRMERR_NOTFOUND;
    lights_.erase(it);
    return D3DRM_OK;
}

HRESULT Frame::GetLights(IDirect3DRMLightArray** lights) {
    if (!lights) return D3DRMERR_BADVALUE;
    *lights = new LightArray(lights_);
    return D3DRM_OK;
}

HRESULT Frame::SetColor(D3DCOLOR color) {
    color_ = color;
    return D3DRM_OK;
}

HRESULT Frame::SetColorRGB(D3DVALUE red, D3DVALUE green, D3DVALUE blue) {
    return SetColor(D3DRMCreateColorRGB(red, green, blue));
}

HRESULT Frame::SetMaterialMode(D3DRMMATERIALMODE mode) {
    if (mode > D3DRMMATERIAL_FROMFRAME) return D3DRMERR_BADVALUE;
    materialMode_ = mode;
    return D3DRM_OK;
}

HRESULT Frame::Clone(IUnknown*, REFIID iid, void** copy) {
    if (!copy) return D3DRMERR_BADVALUE;
    Ref<IDirect3DRMFrame3> made = Ref<IDirect3DRMFrame3>::Adopt(new Frame());
    Frame* f = From(made.get());
    f->SetName(Name().c_str());
    f->SetAppData(GetAppData());
    f->transform_ = transform_;
    f->velocity_ = velocity_;
    f->velocityWithRotation_ = velocityWithRotation_;
    f->rotationAxis_ = rotationAxis_;
    f->rotationTheta_ = rotationTheta_;
    f->visuals_ = visuals_;
    f->lights_ = lights_;
    f->materialMode_ = materialMode_;
    f->color_ = color_;
    f->background_ = background_;
    f->backgroundImage_ = backgroundImage_;
    f->fogEnable_ = fogEnable_;
    f->fogMode_ = fogMode_;
    f->fogColor_ = fogColor_;
    f->fogStart_ = fogStart_;
    f->fogEnd_ = fogEnd_;
    f->fogDensity_ = fogDensity_;
    for (const auto& child : children_) {
        Ref<IDirect3DRMFrame3> childCopy;
        const HRESULT hr = child->Clone(nullptr, IID_IDirect3DRMFrame3, reinterpret_cast<void**>(childCopy.put()));
        if (hr != D3DRM_OK) return hr;
        f->AddChild(childCopy.get());
    }
    // Move callbacks belong to whoever added them; the copy starts without any.
    return made->QueryInterface(iid, copy);
}

// ---- Scene settings ----------------------------------------------------------------------

HRESULT Frame::SetSceneBackgroundRGB(D3DVALUE red, D3DVALUE green, D3DVALUE blue) {
    background_ = D3DRMCreateColorRGB(red, green, blue);
    return D3DRM_OK;
}

HRESULT Frame::SetSceneBackground(D3DCOLOR color) {
    background_ = color;
    return D3DRM_OK;
}

HRESULT Frame::SetSceneBackgroundImage(IDirect3DRMTexture3* image) {
    backgroundImage_ = Ref<IDirect3DRMTexture3>::Share(image);
    return D3DRM_OK;
}

HRESULT Frame::SetSceneFogEnable(BOOL enable) {
    fogEnable_ = enable ? TRUE : FALSE;
    return D3DRM_OK;
}

HRESULT Frame::SetSceneFogMode(D3DRMFOGMODE mode) {
    if (mode > D3DRMFOG_EXPONENTIALSQUARED) return D3DRMERR_BADVALUE;
    fogMode_ = mode;
    return D3DRM_OK;
}

HRESULT Frame::SetSceneFogColor(D3DCOLOR color) {
    fogColor_ = color;
    return D3DRM_OK;
}

HRESULT Frame::SetSceneFogParams(D3DVALUE start, D3DVALUE end, D3DVALUE density) {
    fogStart_ = start;
    fogEnd_ = end;
    fogDensity_ = density;
    return D3DRM_OK;
}

HRESULT Frame::GetSceneFogParams(D3DVALUE* start, D3DVALUE* end, D3DVALUE* density) {
    if (start) *start = fogStart_;
    if (end) *end = fogEnd_;
    if (density) *density = fogDensity_;
    return D3DRM_OK;
}
