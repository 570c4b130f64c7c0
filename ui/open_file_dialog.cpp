// The open-file dialog. Its buffers live from call to call: the initial folder is set once
// and the filter of the last known kind stays for a kind the dialog does not know.
#include "ui/open_file_dialog.h"

#include <cstdio>
#include <cstring>

#include "settings/shared.h"

namespace {

char filePath[256] = "";
char fileTitle[32] = "";
char initialDir[256] = "";
const char* filter = nullptr;   // the filter of the last known kind

// Filters as the dialog takes them: name, pattern, and an empty name to end.
constexpr char kModelFilter[] = "Model (*.x)\0*.x\0";
constexpr char kScriptFilter[] = "Txt-Scene (*.txt)\0*.txt\0";
constexpr char kImageFilter[] = "Image  (*.bmp)\0*.bmp\0";
constexpr char kAnimationFilter[] = "Animation (*.x)\0*.x\0";

}  // namespace

const char* OpenFileDialog(HWND owner, const char* title, int kind) {
    std::strcpy(fileTitle, "Virelux File");
    const char* directory = "\\Virelux";
    // Texture bitmaps of a model chosen here are also looked for in the texture folder.
    std::snprintf(filePath, sizeof filePath, "%s\\tex", directory);
    if (d3drm) d3drm->AddSearchPath(filePath);
    if (!initialDir[0]) std::snprintf(initialDir, sizeof initialDir, "%s", directory);
    filePath[0] = '\0';

    switch (kind) {
    case kOpenModel: filter = kModelFilter; break;
    case kOpenScript: filter = kScriptFilter; break;
    case kOpenImage: filter = kImageFilter; break;
    case kOpenAnimation: filter = kAnimationFilter; break;
    default: break;
    }

    OPENFILENAMEA ofn;
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.hInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
    ofn.lpstrFilter = filter;
    ofn.lpstrCustomFilter = nullptr;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = filePath;
    ofn.nMaxFile = sizeof filePath;
    ofn.lpstrFileTitle = fileTitle;
    ofn.nMaxFileTitle = sizeof fileTitle;
    ofn.lpstrInitialDir = initialDir;
    ofn.lpstrTitle = title;
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_SHOWHELP | OFN_NOCHANGEDIR;
    ofn.lpstrDefExt = ".x";
    return GetOpenFileNameA(&ofn) ? filePath : nullptr;
}
