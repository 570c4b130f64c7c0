// Internal to platform/d3drm: an animation, keys that place one frame over time.
#pragma once

#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

#include <vector>

#include "platform/d3drm/object.h"

class Frame;

// Position, rotation and scale keys, each kind sorted by time; a key added at the time of an
// existing key of its kind replaces it. SetTime places the animated frame relative to its
// parent:
// - the position follows the position keys, linearly (LINEARPOSITION) or along an
//   interpolating spline that passes through every key (SPLINEPOSITION);
// - rotation keys are slerped and scale keys interpolated linearly; they are applied unless
//   the options ask for the position alone (POSITION without SCALEANDROTATION);
// - whatever has no keys keeps the frame's current value;
// - CLOSED repeats the keys with the period last key time - first key time (over all keys),
//   the last key standing for the first; OPEN holds the first and last keys outside them.
// The default options are CLOSED | LINEARPOSITION.
class Animation final : public Object<IDirect3DRMAnimation2> {
public:
    Animation() = default;

    // IDirect3DRMAnimation2 (contracts in d3drm.h)
    HRESULT SetOptions(D3DRMANIMATIONOPTIONS options) override;
    D3DRMANIMATIONOPTIONS GetOptions() override { return options_; }
    HRESULT AddPositionKey(D3DVALUE time, D3DVALUE x, D3DVALUE y, D3DVALUE z) override;
    HRESULT AddRotateKey(D3DVALUE time, const D3DRMQUATERNION* rotation) override;
    HRESULT AddScaleKey(D3DVALUE time, D3DVALUE x, D3DVALUE y, D3DVALUE z) override;
    HRESULT DeleteKey(D3DVALUE time) override;
    DWORD GetKeyCount() override;
    HRESULT SetFrame(IDirect3DRMFrame3* frame) override;
    HRESULT GetFrame(IDirect3DRMFrame3** frame) override;
    HRESULT SetTime(D3DVALUE time) override;

    template <class Value>
    struct Key {
        double time;
        Value value;
    };

protected:
    ~Animation() override;
    void* Query(REFIID iid) override;

private:
    static void FrameDestroyed(IDirect3DRMObject* frame, void* arg);
    bool Closed() const { return (options_ & D3DRMANIMATION_CLOSED) != 0; }
    // `time` brought into the keys' range: wrapped when closed, clamped when open.
    double KeyTime(double time) const;
    glm::vec3 PositionAt(double time) const;

    D3DRMANIMATIONOPTIONS options_ = D3DRMANIMATION_CLOSED | D3DRMANIMATION_LINEARPOSITION;
    std::vector<Key<glm::vec3>> positions_;
    std::vector<Key<glm::quat>> rotations_;
    std::vector<Key<glm::vec3>> scales_;
    // Not held: the frame's destroy callback empties it when the frame goes.
    Frame* frame_ = nullptr;
};
