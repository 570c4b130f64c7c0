// The viewport's camera model: world points to homogeneous screen points and back. The
// formulas are in projection.h; the renderer draws with the same matrices.
// Implements: IDirect3DRMViewport2::Transform and InverseTransform.
#include <algorithm>

#include "platform/d3drm/frame.h"
#include "platform/d3drm/projection.h"
#include "platform/d3drm/viewport.h"

namespace {

// The screen scale s and centre (ox, oy) of projection.h.
struct Window {
    float scale, centreX, centreY;
};

Window WindowOf(Viewport& v) {
    const float width = static_cast<float>(v.GetWidth());
    const float height = static_cast<float>(v.GetHeight());
    return Window{std::max(width, height) / 2.0f, static_cast<float>(v.X()) + width / 2.0f,
                  static_cast<float>(v.Y()) + height / 2.0f};
}

}  // namespace

glm::mat4 ViewportView(Viewport& viewport) {
    IDirect3DRMFrame3* camera = viewport.CameraFrame();
    return camera ? glm::inverse(Frame::From(camera)->WorldTransform()) : glm::mat4(1.0f);
}

glm::mat4 ViewportProjection(Viewport& viewport) {
    const float h = viewport.GetField();
    const float d = viewport.GetFront();
    const float f = viewport.GetBack();
    const Window win = WindowOf(viewport);
    glm::mat4 p(0.0f);   // p[column][row]
    p[0][0] = win.scale;                        // X·w = s·x + ox·w
    p[1][1] = -win.scale;                       // Y·w = −s·y + oy·w
    p[2][0] = win.centreX * h / d;
    p[2][1] = win.centreY * h / d;
    p[2][2] = h * f / (d * (f - d));            // Z·w = hF/(D(F−D))·z − hF/(F−D)
    p[3][2] = -h * f / (f - d);
    p[2][3] = h / d;                            // w = z·h/D
    return p;
}

glm::mat4 ViewportClip(Viewport& viewport) {
    // From homogeneous device pixels to clip coordinates over the viewport's rectangle.
    const float vx = static_cast<float>(viewport.X());
    const float vy = static_cast<float>(viewport.Y());
    const float vw = static_cast<float>(viewport.GetWidth());
    const float vh = static_cast<float>(viewport.GetHeight());
    glm::mat4 g(0.0f);
    g[0][0] = 2.0f / vw;
    g[3][0] = -(2.0f * vx / vw + 1.0f);
    g[1][1] = -2.0f / vh;
    g[3][1] = 1.0f + 2.0f * vy / vh;
    g[2][2] = 2.0f;
    g[3][2] = -1.0f;
    g[3][3] = 1.0f;
    return g * ViewportProjection(viewport);
}

HRESULT Viewport::Transform(D3DRMVECTOR4D* screen, const D3DVECTOR* world) {
    if (!screen || !world) return D3DRMERR_BADVALUE;
    if (!camera_) return D3DRMERR_BADOBJECT;
    const glm::vec4 s = ViewportProjection(*this) * ViewportView(*this) * glm::vec4(world->x, world->y, world->z, 1.0f);
    *screen = D3DRMVECTOR4D{s.x, s.y, s.z, s.w};
    return D3DRM_OK;
}

HRESULT Viewport::InverseTransform(D3DVECTOR* world, const D3DRMVECTOR4D* screen) {
    if (!screen || !world) return D3DRMERR_BADVALUE;
    if (!camera_) return D3DRMERR_BADOBJECT;
    if (screen->w == 0.0f) return D3DRMERR_BADVALUE;
    // Undo projection.h step by step (in double: depths near the back plane lose digits).
    const double x = static_cast<double>(screen->x) / screen->w;
    const double y = static_cast<double>(screen->y) / screen->w;
    const double depth = static_cast<double>(screen->z) / screen->w;
    const double h = field_, d = front_, f = back_;
    const double inverseZ = (1.0 - depth * (f - d) / f) / d;   // 1/z from Z = F/(F−D)·(1 − D/z)
    if (!(inverseZ > 0.0)) return D3DRMERR_BADVALUE;            // at or behind the eye
    const double z = 1.0 / inverseZ;
    const Window win = WindowOf(*this);
    const double perPixel = z * h / (d * win.scale);            // camera units per pixel at depth z
    const glm::dvec4 camera((x - win.centreX) * perPixel, -(y - win.centreY) * perPixel, z, 1.0);
    const glm::dvec4 p = glm::dmat4(Frame::From(camera_.get())->WorldTransform()) * camera;
    *world = D3DVECTOR{static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)};
    return D3DRM_OK;
}
