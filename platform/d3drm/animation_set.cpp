// Animation sets: IDirect3DRMAnimationSet2's AddAnimation, DeleteAnimation, GetAnimation and
// SetTime. Leaves out: loading a set from a file on its own (the .x loader makes sets).
#include "platform/d3drm/animation_set.h"

#include <algorithm>

#include "platform/d3drm/factories.h"

HRESULT CreateAnimationSetObject(IDirect3DRMAnimationSet2** set) {
    if (!set) return D3DRMERR_BADVALUE;
    *set = new AnimationSet();
    return D3DRM_OK;
}

void* AnimationSet::Query(REFIID iid) {
    if (iid == IID_IDirect3DRMAnimationSet2) return static_cast<IDirect3DRMAnimationSet2*>(this);
    return Object::Query(iid);
}

HRESULT AnimationSet::AddAnimation(IDirect3DRMAnimation2* animation) {
    if (!animation) return D3DRMERR_BADOBJECT;
    if (std::find(animations_.begin(), animations_.end(), animation) == animations_.end())
        animations_.push_back(Ref<IDirect3DRMAnimation2>::Share(animation));
    return D3DRM_OK;
}

HRESULT AnimationSet::DeleteAnimation(IDirect3DRMAnimation2* animation) {
    auto it = std::find(animations_.begin(), animations_.end(), animation);
    if (it == animations_.end()) return D3DRMERR_NOTFOUND;
    animations_.erase(it);
    return D3DRM_OK;
}

HRESULT AnimationSet::GetAnimation(DWORD index, IDirect3DRMAnimation2** animation) {
    if (!animation) return D3DRMERR_BADVALUE;
    *animation = nullptr;
    if (index >= animations_.size()) return D3DRMERR_BADVALUE;
    *animation = animations_[index].get();
    (*animation)->AddRef();
    return D3DRM_OK;
}

HRESULT AnimationSet::SetTime(D3DVALUE time) {
    HRESULT result = D3DRM_OK;
    for (const auto& animation : animations_) {
        const HRESULT hr = animation->SetTime(time);
        if (result == D3DRM_OK) result = hr;
    }
    return result;
}
