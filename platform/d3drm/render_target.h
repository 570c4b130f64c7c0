// Internal to platform/d3drm: where a device draws. A frame is drawn straight into the
// window's back buffer, in the client area under the menu bar: a software rasteriser pays
// for every full-window pass, and drawing into an offscreen image that is then drawn again
// into the window doubles them. The target also owns the kept frame, a texture of the
// device's size that the window shows while a modal box runs or after an expose. Copying
// the frame into it costs a full pass on Mesa's software drivers, so there it is copied
// only when the window must show it again: their swap leaves the back buffer as it was
// (PreservesBackBuffer). Other drivers get a copy at every present. Needs the window's GL
// context current.
#pragma once

class RenderTarget {
public:
    // Makes the kept-frame texture; Valid() tells whether the driver accepted it.
    RenderTarget(int width, int height);
    ~RenderTarget();
    RenderTarget(const RenderTarget&) = delete;
    RenderTarget& operator=(const RenderTarget&) = delete;

    bool Valid() const { return keptTexture_ != 0; }
    // Draws go to the window's back buffer from now on, the target's bottom row at row
    // `bottom` of the window's framebuffer (rows counted from the bottom).
    void Bind(int bottom);
    int Bottom() const { return bottom_; }   // as the last Bind placed it
    unsigned KeptTexture() const { return keptTexture_; }
    // Copies the target's area of the back buffer into the kept frame.
    void Keep();
    // Reads one pixel of the kept frame (rows from the bottom) as RGBA bytes.
    void ReadKept(int x, int y, unsigned char rgba[4]);
    // Whether the current context's driver keeps the back buffer's pixels across a swap
    // (Mesa's llvmpipe and softpipe on X11, where a swap copies them to the window).
    static bool PreservesBackBuffer();
    void Abandon() { keptTexture_ = 0; }   // the context is gone
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_;
    int height_;
    int bottom_ = 0;
    unsigned keptTexture_ = 0;
};
