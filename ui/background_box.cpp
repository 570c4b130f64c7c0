// The Background Box. Only the background changes; the scene's objects stay.
#include "ui/background_box.h"

#include "resources/resource_ids.h"
#include "settings/shared.h"
#include "ui/open_file_dialog.h"

namespace {

struct Picture {
    int control;
    const char* file;
};
constexpr Picture kPictures[] = {
    {IDB_GALAXIS1, "bgr\\galaxis1.bmp"}, {IDB_GALAXIS2, "bgr\\galaxis2.bmp"}, {IDB_GALAXIS3, "bgr\\galaxis3.bmp"},
    {IDB_SKY01, "bgr\\sky01.bmp"},       {IDB_SKY02, "bgr\\sky02.bmp"},       {IDB_SKY03, "bgr\\sky03.bmp"},
};

}  // namespace

INT_PTR BgrBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message != WM_COMMAND) return FALSE;

    const int id = LOWORD(wParam);
    if (id == IDOK || id == IDCANCEL) {
        EndDialog(box, id);
        return TRUE;
    }
    const char* bitmap = nullptr;
    for (const Picture& picture : kPictures)
        if (picture.control == id) bitmap = picture.file;
    if (id == IDC_LOAD_BACKGROUND) {
        bitmap = OpenFileDialog(box, "Load Background (*.BMP)", kOpenImage);
        if (!bitmap) return FALSE;
    }
    if (!bitmap) return FALSE;

    // A bitmap that cannot be loaded changes nothing, without a word: the user picks another.
    Ref<IDirect3DRMTexture3> texture;
    if (d3drm->LoadTexture(bitmap, texture.put()) != D3DRM_OK) return FALSE;
    appState->scene->SetSceneBackgroundImage(texture.get());
    texture.reset();
    EndDialog(box, id);
    return TRUE;
}
