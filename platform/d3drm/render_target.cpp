// Internal to platform/d3drm: no platform call; the device's offscreen framebuffer.
#include "platform/d3drm/render_target.h"

#include <epoxy/gl.h>

#include <string>

RenderTarget::RenderTarget(int width, int height) : width_(width), height_(height) {
    for (int i = 0; i < 8 && glGetError() != GL_NO_ERROR; ++i) {}   // earlier errors are not ours
    glGenTextures(1, &keptTexture_);
    glBindTexture(GL_TEXTURE_2D, keptTexture_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);
    if (glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &keptTexture_);
        keptTexture_ = 0;
    }
}

RenderTarget::~RenderTarget() {
    if (keptTexture_) glDeleteTextures(1, &keptTexture_);
}

void RenderTarget::Bind(int bottom) {
    bottom_ = bottom;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, bottom_, width_, height_);
}

void RenderTarget::Keep() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glBindTexture(GL_TEXTURE_2D, keptTexture_);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, bottom_, width_, height_);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void RenderTarget::ReadKept(int x, int y, unsigned char rgba[4]) {
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, keptTexture_, 0);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer);
}

bool RenderTarget::PreservesBackBuffer() {
    // FIXME: measured with GLX on X11 only; a software driver under a Wayland compositor
    // may hand out a fresh buffer after a swap, and a modal box would then show stale pixels.
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (!renderer) return false;
    const std::string name(renderer);
    return name.find("llvmpipe") != std::string::npos || name.find("softpipe") != std::string::npos;
}
