// Internal to platform/d3drm: animations that run together, as a .x file's animation set.
#pragma once

#include <vector>

#include "platform/d3drm/object.h"

// Holds its animations; SetTime sets the same time on each of them.
class AnimationSet final : public Object<IDirect3DRMAnimationSet2> {
public:
    AnimationSet() = default;

    // IDirect3DRMAnimationSet2 (contracts in d3drm.h)
    HRESULT AddAnimation(IDirect3DRMAnimation2* animation) override;   // once; adding it again changes nothing
    HRESULT DeleteAnimation(IDirect3DRMAnimation2* animation) override;
    DWORD GetAnimationCount() override { return static_cast<DWORD>(animations_.size()); }
    HRESULT GetAnimation(DWORD index, IDirect3DRMAnimation2** animation) override;
    HRESULT SetTime(D3DVALUE time) override;

protected:
    void* Query(REFIID iid) override;

private:
    std::vector<Ref<IDirect3DRMAnimation2>> animations_;
};
