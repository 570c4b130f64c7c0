// Internal to platform/d3drm: the reference counting that every platform object shares,
// and the destroy callbacks, application data and name of every engine object.
#pragma once

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/d3drm/d3drm.h"

// IUnknown for one interface: the object deletes itself when the last reference goes.
template <class Interface>
class RefCounted : public Interface {
public:
    RefCounted() = default;
    RefCounted(const RefCounted&) = delete;
    RefCounted& operator=(const RefCounted&) = delete;

    HRESULT QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = Query(iid);
        if (!*out) return E_NOINTERFACE;
        this->AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            // Whatever runs before the object goes may not free it a second time.
            references_ = 1;
            LastReferenceGone();
            delete this;
        }
        return left;
    }

protected:
    virtual ~RefCounted() = default;
    // The interface pointer for an IID this object implements, or nullptr.
    virtual void* Query(REFIID iid) { return iid == IID_IUnknown ? static_cast<Interface*>(this) : nullptr; }
    virtual void LastReferenceGone() {}

private:
    ULONG references_ = 1;
};

template <class Interface>
class Object : public RefCounted<Interface> {
public:
    // Objects that can be copied override this.
    HRESULT Clone(IUnknown*, REFIID, void** copy) override {
        if (copy) *copy = nullptr;
        return D3DRMERR_BADTYPE;
    }

    HRESULT AddDestroyCallback(D3DRMOBJECTCALLBACK callback, void* arg) override {
        if (!callback) return D3DRMERR_BADVALUE;
        destroyCallbacks_.push_back({callback, arg});
        return D3DRM_OK;
    }
    HRESULT DeleteDestroyCallback(D3DRMOBJECTCALLBACK callback, void* arg) override {
        for (auto it = destroyCallbacks_.begin(); it != destroyCallbacks_.end(); ++it)
            if (it->first == callback && it->second == arg) {
                destroyCallbacks_.erase(it);
                return D3DRM_OK;
            }
        return D3DRMERR_NOTFOUND;
    }
    HRESULT SetAppData(DWORD data) override {
        appData_ = data;
        return D3DRM_OK;
    }
    DWORD GetAppData() override { return appData_; }
    HRESULT SetName(LPCSTR name) override {
        name_ = name ? name : "";
        return D3DRM_OK;
    }
    HRESULT GetName(DWORD* size, LPSTR name) override {
        if (!size) return D3DRMERR_BADVALUE;
        const DWORD needed = static_cast<DWORD>(name_.size() + 1);
        if (name) {
            if (*size < needed) return D3DRMERR_BADVALUE;
            std::memcpy(name, name_.c_str(), needed);
        }
        *size = needed;
        return D3DRM_OK;
    }

    const std::string& Name() const { return name_; }

protected:
    void* Query(REFIID iid) override {
        if (iid == IID_IDirect3DRMObject) return static_cast<Interface*>(this);
        return RefCounted<Interface>::Query(iid);
    }

private:
    // Each destroy callback runs once; the object is not yet freed while they run. They are
    // taken off the list one at a time, so that a callback removed by an earlier one (say,
    // its owner was released there) no longer runs, and one added meanwhile still does.
    void LastReferenceGone() override {
        while (!destroyCallbacks_.empty()) {
            const auto [callback, arg] = destroyCallbacks_.front();
            destroyCallbacks_.erase(destroyCallbacks_.begin());
            callback(this, arg);
        }
    }

    std::vector<std::pair<D3DRMOBJECTCALLBACK, void*>> destroyCallbacks_;
    DWORD appData_ = 0;
    std::string name_;
};
