// The engine's root object, through which every other object is made, and the search path
// for the files it loads.
// Implements: Direct3DRMCreate and IDirect3DRM3's CreateFrame, CreateMeshBuilder,
// CreateLightRGB, CreateMaterial, CreateAnimation, CreateAnimationSet, CreateWrap, LoadTexture,
// Load, CreateDeviceFromClipper, CreateViewport, Add/Set/GetSearchPath.
// Leaves out: Load from anything but a file (D3DRMERR_BADVALUE), and its object id and
// interface list (everything in the file is loaded); the driver GUID of
// CreateDeviceFromClipper.
#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "platform/d3drm/d3drm_test.h"
#include "platform/d3drm/device.h"
#include "platform/d3drm/factories.h"
#include "platform/d3drm/frame.h"
#include "platform/d3drm/object.h"
#include "platform/d3drm/viewport.h"
#include "platform/fs/fs.h"

namespace {

std::vector<std::string>& SearchFolders() {
    static std::vector<std::string> folders;
    return folders;
}

// Appends each folder of a ";"-separated list that the path does not hold yet: a program that
// adds its texture folder before every scene keeps one entry for it, not one per scene.
void AddFolders(const char* list) {
    std::stringstream in(list);
    std::string folder;
    std::vector<std::string>& folders = SearchFolders();
    while (std::getline(in, folder, ';'))
        if (!folder.empty() && std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
}

class Root final : public RefCounted<IDirect3DRM3> {
public:
    HRESULT CreateFrame(IDirect3DRMFrame3* parent, IDirect3DRMFrame3** frame) override {
        if (!frame) return D3DRMERR_BADVALUE;
        Ref<IDirect3DRMFrame3> made = Ref<IDirect3DRMFrame3>::Adopt(new Frame());
        if (parent) parent->AddChild(made.get());
        *frame = made.detach();
        return D3DRM_OK;
    }

    HRESULT CreateMeshBuilder(IDirect3DRMMeshBuilder3** builder) override { return CreateMeshBuilderObject(builder); }

    HRESULT CreateLightRGB(D3DRMLIGHTTYPE type, D3DVALUE red, D3DVALUE green, D3DVALUE blue,
                           IDirect3DRMLight** light) override {
        return CreateLightObject(type, D3DRMCreateColorRGB(red, green, blue), light);
    }

    HRESULT CreateMaterial(D3DVALUE power, IDirect3DRMMaterial2** material) override {
        return CreateMaterialObject(power, material);
    }

    HRESULT CreateAnimation(IDirect3DRMAnimation2** animation) override { return CreateAnimationObject(animation); }
    HRESULT CreateAnimationSet(IDirect3DRMAnimationSet2** set) override { return CreateAnimationSetObject(set); }

    HRESULT CreateWrap(D3DRMWRAPTYPE type, IDirect3DRMFrame3* reference, D3DVALUE ox, D3DVALUE oy, D3DVALUE oz,
                       D3DVALUE dx, D3DVALUE dy, D3DVALUE dz, D3DVALUE ux, D3DVALUE uy, D3DVALUE uz, D3DVALUE ou,
                       D3DVALUE ov, D3DVALUE su, D3DVALUE sv, IDirect3DRMWrap** wrap) override {
        return CreateWrapObject(type, reference, D3DVECTOR{ox, oy, oz}, D3DVECTOR{dx, dy, dz}, D3DVECTOR{ux, uy, uz}, ou,
                                ov, su, sv, wrap);
    }

    HRESULT LoadTexture(LPCSTR file, IDirect3DRMTexture3** texture) override { return LoadTextureFile(file, texture); }

    HRESULT Load(const void* source, const void*, const IID**, DWORD, D3DRMLOADOPTIONS options,
                 D3DRMLOADCALLBACK loadCallback, void* loadArg, D3DRMLOADTEXTURE3CALLBACK textureCallback,
                 void* textureArg, IDirect3DRMFrame3* parent) override {
        if (!source || (options & 0xFF) != D3DRMLOAD_FROMFILE) return D3DRMERR_BADVALUE;
        return LoadXFile(static_cast<const char*>(source), loadCallback, loadArg, textureCallback, textureArg, parent);
    }

    HRESULT CreateDeviceFromClipper(IDirectDrawClipper* clipper, const GUID*, int width, int height,
                                    IDirect3DRMDevice3** device) override {
        if (!device) return D3DRMERR_BADVALUE;
        *device = nullptr;
        HWND hwnd = nullptr;
        if (!clipper || clipper->GetHWnd(&hwnd) != DD_OK || !IsWindow(hwnd)) return D3DRMERR_BADOBJECT;
        Device* made = Device::Create(hwnd, width, height);
        if (!made) return D3DRMERR_BADDEVICE;
        *device = made;
        return D3DRM_OK;
    }

    HRESULT CreateViewport(IDirect3DRMDevice3* device, IDirect3DRMFrame3* camera, DWORD x, DWORD y, DWORD width,
                           DWORD height, IDirect3DRMViewport2** viewport) override {
        if (!viewport) return D3DRMERR_BADVALUE;
        *viewport = nullptr;
        if (!device || !camera) return D3DRMERR_BADOBJECT;
        if (width == 0 || height == 0 || x + width > device->GetWidth() || y + height > device->GetHeight())
            return D3DRMERR_BADVALUE;
        *viewport = new Viewport(device, camera, x, y, width, height);
        return D3DRM_OK;
    }

    HRESULT AddSearchPath(LPCSTR path) override {
        if (!path) return D3DRMERR_BADVALUE;
        AddFolders(path);
        return D3DRM_OK;
    }

    HRESULT SetSearchPath(LPCSTR path) override {
        SearchFolders().clear();
        if (path) AddFolders(path);
        return D3DRM_OK;
    }

    HRESULT GetSearchPath(DWORD* size, LPSTR path) override {
        if (!size) return D3DRMERR_BADVALUE;
        std::string joined;
        for (const std::string& folder : SearchFolders()) joined += (joined.empty() ? "" : ";") + folder;
        if (path) {
            if (*size < joined.size() + 1) return D3DRMERR_BADVALUE;
            std::copy(joined.begin(), joined.end(), path);
            path[joined.size()] = '\0';
        }
        *size = static_cast<DWORD>(joined.size() + 1);
        return D3DRM_OK;
    }

protected:
    void* Query(REFIID iid) override {
        if (iid == IID_IDirect3DRM3 || iid == IID_IDirect3DRM) return static_cast<IDirect3DRM3*>(this);
        return RefCounted::Query(iid);
    }
};

}  // namespace

std::optional<std::string> FindOnSearchPath(const char* name) {
    if (!name || !*name) return std::nullopt;
    if (auto found = fs::Resolve(name)) return found;
    for (const std::string& folder : SearchFolders()) {
        std::string joined = folder;
        if (joined.back() != '\\' && joined.back() != '/') joined += '/';
        if (auto found = fs::Resolve(joined + name)) return found;
    }
    return std::nullopt;
}

HRESULT Direct3DRMCreate(IDirect3DRM** root) {
    if (!root) return D3DRMERR_BADVALUE;
    *root = new Root();
    return D3DRM_OK;
}

Ref<IDirect3DRM3> d3drmtest::CreateRoot() {
    Ref<IDirect3DRM> first;
    if (Direct3DRMCreate(first.put()) != D3DRM_OK) return {};
    Ref<IDirect3DRM3> root;
    first->QueryInterface(IID_IDirect3DRM3, reinterpret_cast<void**>(root.put()));
    return root;
}
