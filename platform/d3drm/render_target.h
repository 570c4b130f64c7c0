// Internal to platform/d3drm: the offscreen framebuffer a device renders into (a colour
// texture and a depth buffer of the device's size). Needs the window's GL context current.
#pragma once

class RenderTarget {
public:
    // Creates the framebuffer; Valid() tells whether the driver accepted it.
    RenderTarget(int width, int height);
    ~RenderTarget();
    RenderTarget(const RenderTarget&) = delete;
    RenderTarget& operator=(const RenderTarget&) = delete;

    bool Valid() const { return framebuffer_ != 0; }
    void Bind() const;              // draws go into the target from now on
    static void BindWindow();       // draws go to the window again
    void Abandon() { framebuffer_ = colorTexture_ = depthBuffer_ = 0; }   // the context is gone
    unsigned ColorTexture() const { return colorTexture_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_;
    int height_;
    unsigned framebuffer_ = 0;
    unsigned colorTexture_ = 0;
    unsigned depthBuffer_ = 0;
};
