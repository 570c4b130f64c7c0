// Internal to platform/d3drm: the camera model that Viewport::Transform, InverseTransform
// and the renderer share (defined in viewport_transform.cpp).
//
// The camera is the viewport's camera frame: it looks along its own +z with +y up, +x to
// the right (left-handed). A point in camera coordinates (x, y, z) is projected with
//   D = front plane distance, F = back plane distance, h = field,
//   s = half the larger of the viewport's width and height (pixels),
//   (ox, oy) = the viewport's centre in device pixels (its offset on the device included):
//     w = z·h/D
//     X = ox + s·(x·D)/(z·h)          screen x, device pixels from the device's left
//     Y = oy − s·(y·D)/(z·h)          screen y, device pixels from the device's top
//     Z = F/(F − D)·(1 − D/z)         depth: 0 on the front plane, 1 on the back plane
// and handed out homogeneously as (X·w, Y·w, Z·w, w). So the field is half the size of the
// view on the front plane, taken along the viewport's larger dimension: the view angle A
// satisfies tan(A/2) = h/D, and on a non-square viewport the smaller dimension sees less
// (objects are never stretched).
#pragma once

#include <glm/glm.hpp>

class Viewport;

// World coordinates -> the camera frame's coordinates.
glm::mat4 ViewportView(Viewport& viewport);
// Camera coordinates -> homogeneous screen coordinates (X·w, Y·w, Z·w, w) as above.
glm::mat4 ViewportProjection(Viewport& viewport);
// Camera coordinates -> OpenGL clip coordinates, for drawing with glViewport set to the
// viewport's rectangle: x and y −w..w across the viewport (y up), z −w..w from the front
// plane to the back plane; the same w as ViewportProjection.
glm::mat4 ViewportClip(Viewport& viewport);
