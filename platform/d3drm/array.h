// Internal to platform/d3drm: the arrays that queries hand out, holding their elements.
#pragma once

#include <vector>

#include "platform/d3drm/object.h"

template <class ArrayInterface, class Element>
class ObjectArray final : public RefCounted<ArrayInterface> {
public:
    explicit ObjectArray(std::vector<Ref<Element>> elements) : elements_(std::move(elements)) {}

    DWORD GetSize() override { return static_cast<DWORD>(elements_.size()); }
    HRESULT GetElement(DWORD index, Element** element) override {
        if (!element) return D3DRMERR_BADVALUE;
        *element = nullptr;
        if (index >= elements_.size()) return D3DRMERR_BADVALUE;
        *element = elements_[index].get();
        (*element)->AddRef();
        return D3DRM_OK;
    }

private:
    std::vector<Ref<Element>> elements_;
};

using FrameArray = ObjectArray<IDirect3DRMFrameArray, IDirect3DRMFrame3>;
using LightArray = ObjectArray<IDirect3DRMLightArray, IDirect3DRMLight>;
using FaceArray = ObjectArray<IDirect3DRMFaceArray, IDirect3DRMFace2>;
