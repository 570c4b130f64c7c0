#include "platform/d3drm/frame.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>

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
    // Keep the frame's scale along each of its axes.
    for (int axis = 0; axis < 3; ++axis)
        transform_[axis] = glm::vec4(local[axis] * glm::length(glm::vec3(transform_[axis])), 0.0f);
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
    return D3DRM_OK;
}

HRESULT Frame::AddMoveCallback(D3DRMFRAME3MOVECALLBACK callback, void* arg, DWORD) {
    if (!callback) return D3DRMERR_BADVALUE;
    moveCallbacks_.push_back({callback, arg});
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
        // Spin about the frame's own origin, the axis given in parent coordinates.
        const glm::mat4 spin = glm::rotate(glm::mat4(1.0f), rotationTheta_ * delta, rotationAxis_);
        const glm::vec4 origin = transform_[3];
        transform_[3] = glm::vec4(0, 0, 0, 1);
        transform_ = spin * transform_;
        transform_[3] = origin;
        if (velocityWithRotation_) velocity_ = glm::vec3(spin * glm::vec4(velocity_, 0.0f));
    }
    transform_[3] += glm::vec4(velocity_ * delta, 0.0f);
}

HRESULT Frame::Move(D3DVALUE delta) {
    // Hold this frame and its children while callbacks may change the hierarchy.
    Ref<IDirect3DRMFrame3> self = Ref<IDirect3DRMFrame3>::Share(this);
    ApplyMotion(delta);
    const std::vector<MoveCallback> callbacks = moveCallbacks_;
    for (const MoveCallback& m : callbacks) m.callback(this, m.arg, delta);
    const std::vector<Ref<IDirect3DRMFrame3>> children = children_;
    for (const auto& child : children) child->Move(delta);
    return D3DRM_OK;
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
