// Animations: IDirect3DRMAnimation2's SetOptions, AddPositionKey, AddRotateKey, AddScaleKey,
// DeleteKey, GetKeyCount, SetFrame, GetFrame and SetTime.
// Leaves out: unknown options and contradictory pairs (D3DRMERR_BADVALUE).
#include "platform/d3drm/animation.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/d3drm/factories.h"
#include "platform/d3drm/frame.h"

namespace {

template <class Value>
using Keys = std::vector<Animation::Key<Value>>;

constexpr DWORD kKnownOptions = D3DRMANIMATION_OPEN | D3DRMANIMATION_CLOSED | D3DRMANIMATION_LINEARPOSITION |
                                D3DRMANIMATION_SPLINEPOSITION | D3DRMANIMATION_SCALEANDROTATION |
                                D3DRMANIMATION_POSITION;

// Keeps the keys sorted by time; a key at the time of an existing one replaces it, so that no
// two keys of a kind share a time (interpolation divides by their distance).
template <class Value>
void Insert(Keys<Value>& keys, double time, const Value& value) {
    auto it = std::lower_bound(keys.begin(), keys.end(), time, [](const auto& k, double t) { return k.time < t; });
    if (it != keys.end() && it->time == time)
        it->value = value;
    else
        keys.insert(it, {time, value});
}

template <class Value>
size_t Erase(Keys<Value>& keys, double time) {
    return std::erase_if(keys, [time](const auto& k) { return k.time == time; });
}

// Where a time falls among sorted keys: the key at or before it and the fraction of the way to
// the next key. Times outside the keys hold the first or last key.
struct Span {
    size_t index;
    double fraction;   // 0: exactly key `index`
};

template <class Value>
Span Locate(const Keys<Value>& keys, double time) {
    if (time <= keys.front().time) return {0, 0.0};
    if (time >= keys.back().time) return {keys.size() - 1, 0.0};
    const auto next =
        std::upper_bound(keys.begin(), keys.end(), time, [](double t, const auto& k) { return t < k.time; });
    const size_t i = static_cast<size_t>(next - keys.begin()) - 1;
    return {i, (time - keys[i].time) / (keys[i + 1].time - keys[i].time)};
}

// The spline's neighbours of a segment beyond the ends of the keys. A closed path wraps
// around: the last key stands for the first, so the key before the first is the one before
// the last (a period earlier) and the key after the last is the second (a period later),
// which makes the path smooth where it joins. An open path mirrors its end segment.
Animation::Key<glm::vec3> Before(const Keys<glm::vec3>& keys, size_t i, bool closed) {
    if (i > 0) return keys[i - 1];
    const size_t n = keys.size();
    if (closed && n >= 3) return {keys[n - 2].time - (keys[n - 1].time - keys[0].time), keys[n - 2].value};
    return {2.0 * keys[0].time - keys[1].time, 2.0f * keys[0].value - keys[1].value};
}

Animation::Key<glm::vec3> After(const Keys<glm::vec3>& keys, size_t i, bool closed) {
    const size_t n = keys.size();
    if (i + 1 < n) return keys[i + 1];
    if (closed && n >= 3) return {keys[1].time + (keys[n - 1].time - keys[0].time), keys[1].value};
    return {2.0 * keys[n - 1].time - keys[n - 2].time, 2.0f * keys[n - 1].value - keys[n - 2].value};
}

// Catmull-Rom tangent (per unit of time) at a key from its neighbours; the keys may be
// spaced unevenly in time.
glm::vec3 Tangent(const Animation::Key<glm::vec3>& before, const Animation::Key<glm::vec3>& after) {
    return (after.value - before.value) / static_cast<float>(after.time - before.time);
}

glm::vec3 Unit(int axis) {
    glm::vec3 v(0.0f);
    v[axis] = 1.0f;
    return v;
}

}  // namespace

HRESULT CreateAnimationObject(IDirect3DRMAnimation2** animation) {
    if (!animation) return D3DRMERR_BADVALUE;
    *animation = new Animation();
    return D3DRM_OK;
}

Animation::~Animation() {
    if (frame_) frame_->DeleteDestroyCallback(FrameDestroyed, this);
}

void* Animation::Query(REFIID iid) {
    if (iid == IID_IDirect3DRMAnimation2) return static_cast<IDirect3DRMAnimation2*>(this);
    return Object::Query(iid);
}

HRESULT Animation::SetOptions(D3DRMANIMATIONOPTIONS options) {
    const bool conflicting =
        ((options & D3DRMANIMATION_OPEN) && (options & D3DRMANIMATION_CLOSED)) ||
        ((options & D3DRMANIMATION_LINEARPOSITION) && (options & D3DRMANIMATION_SPLINEPOSITION));
    if ((options & ~kKnownOptions) || conflicting) return D3DRMERR_BADVALUE;
    options_ = options;
    return D3DRM_OK;
}

// ---- Keys --------------------------------------------------------------------------------

HRESULT Animation::AddPositionKey(D3DVALUE time, D3DVALUE x, D3DVALUE y, D3DVALUE z) {
    if (!std::isfinite(time)) return D3DRMERR_BADVALUE;
    Insert(positions_, time, glm::vec3(x, y, z));
    return D3DRM_OK;
}

HRESULT Animation::AddRotateKey(D3DVALUE time, const D3DRMQUATERNION* rotation) {
    if (!rotation || !std::isfinite(time)) return D3DRMERR_BADVALUE;
    const glm::quat q(rotation->s, rotation->v.x, rotation->v.y, rotation->v.z);
    const float length = glm::length(q);
    if (!(length > 0.0f)) return D3DRMERR_BADVALUE;
    Insert(rotations_, time, q / length);
    return D3DRM_OK;
}

HRESULT Animation::AddScaleKey(D3DVALUE time, D3DVALUE x, D3DVALUE y, D3DVALUE z) {
    if (!std::isfinite(time)) return D3DRMERR_BADVALUE;
    Insert(scales_, time, glm::vec3(x, y, z));
    return D3DRM_OK;
}

HRESULT Animation::DeleteKey(D3DVALUE time) {
    const size_t erased = Erase(positions_, time) + Erase(rotations_, time) + Erase(scales_, time);
    return erased ? D3DRM_OK : D3DRMERR_NOTFOUND;
}

DWORD Animation::GetKeyCount() { return static_cast<DWORD>(positions_.size() + rotations_.size() + scales_.size()); }

// ---- The animated frame ------------------------------------------------------------------

void Animation::FrameDestroyed(IDirect3DRMObject*, void* arg) { static_cast<Animation*>(arg)->frame_ = nullptr; }

HRESULT Animation::SetFrame(IDirect3DRMFrame3* frame) {
    Frame* f = frame ? Frame::From(frame) : nullptr;
    if (f == frame_) return D3DRM_OK;
    if (frame_) frame_->DeleteDestroyCallback(FrameDestroyed, this);
    frame_ = f;
    if (frame_) frame_->AddDestroyCallback(FrameDestroyed, this);
    return D3DRM_OK;
}

HRESULT Animation::GetFrame(IDirect3DRMFrame3** frame) {
    if (!frame) return D3DRMERR_BADVALUE;
    *frame = frame_;
    if (frame_) frame_->AddRef();
    return D3DRM_OK;
}

// ---- Evaluation --------------------------------------------------------------------------

double Animation::KeyTime(double time) const {
    double first = std::numeric_limits<double>::infinity();
    double last = -first;
    auto range = [&](const auto& keys) {
        if (keys.empty()) return;
        first = std::min(first, keys.front().time);
        last = std::max(last, keys.back().time);
    };
    range(positions_);
    range(rotations_);
    range(scales_);
    const double period = last - first;
    if (Closed() && period > 0.0) {
        double into = std::fmod(time - first, period);
        if (into < 0.0) into += period;
        return first + into;
    }
    return std::clamp(time, first, last);
}

glm::vec3 Animation::PositionAt(double time) const {
    const Span span = Locate(positions_, time);
    const size_t i = span.index;
    if (span.fraction == 0.0) return positions_[i].value;
    const auto& from = positions_[i];
    const auto& to = positions_[i + 1];
    const float s = static_cast<float>(span.fraction);
    if (!(options_ & D3DRMANIMATION_SPLINEPOSITION)) return glm::mix(from.value, to.value, s);

    // A cubic Hermite segment with Catmull-Rom tangents: it passes through both keys.
    const float h = static_cast<float>(to.time - from.time);
    const glm::vec3 m0 = Tangent(Before(positions_, i, Closed()), to) * h;
    const glm::vec3 m1 = Tangent(from, After(positions_, i + 1, Closed())) * h;
    const float s2 = s * s;
    const float s3 = s2 * s;
    return (2 * s3 - 3 * s2 + 1) * from.value + (s3 - 2 * s2 + s) * m0 + (3 * s2 - 2 * s3) * to.value +
           (s3 - s2) * m1;
}

HRESULT Animation::SetTime(D3DVALUE time) {
    if (!std::isfinite(time)) return D3DRMERR_BADVALUE;
    if (!frame_ || GetKeyCount() == 0) return D3DRM_OK;
    const double t = KeyTime(time);
    glm::mat4 m = frame_->LocalTransform();
    if (!positions_.empty()) m[3] = glm::vec4(PositionAt(t), 1.0f);

    const bool positionOnly =
        (options_ & D3DRMANIMATION_POSITION) && !(options_ & D3DRMANIMATION_SCALEANDROTATION);
    if (!positionOnly && (!rotations_.empty() || !scales_.empty())) {
        // What has no keys keeps the frame's own value.
        glm::mat3 axes;
        glm::vec3 scale;
        for (int axis = 0; axis < 3; ++axis) {
            const glm::vec3 column(m[axis]);
            scale[axis] = glm::length(column);
            axes[axis] = scale[axis] > 0.0f ? column / scale[axis] : Unit(axis);
        }
        if (!rotations_.empty()) {
            const Span span = Locate(rotations_, t);
            const glm::quat& q = rotations_[span.index].value;
            axes = glm::mat3_cast(span.fraction == 0.0
                                      ? q
                                      : glm::slerp(q, rotations_[span.index + 1].value,
                                                   static_cast<float>(span.fraction)));
        }
        if (!scales_.empty()) {
            const Span span = Locate(scales_, t);
            const glm::vec3& v = scales_[span.index].value;
            scale = span.fraction == 0.0
                        ? v
                        : glm::mix(v, scales_[span.index + 1].value, static_cast<float>(span.fraction));
        }
        for (int axis = 0; axis < 3; ++axis) m[axis] = glm::vec4(axes[axis] * scale[axis], 0.0f);
    }
    frame_->SetLocalTransform(m);
    return D3DRM_OK;
}
