// The open-file dialog: a modal file browser drawn with ImGui in a window of its own over
// its owner, listing the folders and the files that match the chosen filter. A typed name is
// taken relative to the folder shown, gets the default extension when it has none, and must
// exist where the flags say so; a folder name opens that folder. In recorded-interaction mode
// (and without a window system) the test's queued answer goes through the same checks.
// Implements: GetOpenFileNameA; the open-file test hooks.
// Leaves out: multiple selection (OFN_ALLOWMULTISELECT), hooks and templates, the custom
// filter, the Help button (OFN_SHOWHELP), the read-only box, CommDlgExtendedError.
#include <fnmatch.h>
#include <imgui.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/fs/fs.h"
#include "platform/win32/state.h"

using namespace win32_internal;
namespace stdfs = std::filesystem;

namespace {

constexpr int kBrowserWidth = 480;
constexpr int kBrowserHeight = 340;

struct Filter {
    std::string name;
    std::string patterns;   // "*.x;*.txt"
};

// "Name\0pattern;pattern\0...\0\0" into its pairs.
std::vector<Filter> ParseFilters(LPCSTR text) {
    std::vector<Filter> filters;
    while (text && *text) {
        Filter f;
        f.name = text;
        text += f.name.size() + 1;
        if (!*text) break;
        f.patterns = text;
        text += f.patterns.size() + 1;
        filters.push_back(std::move(f));
    }
    return filters;
}

bool MatchesFilter(const std::string& file, const Filter* filter) {
    if (!filter) return true;
    size_t start = 0;
    while (start <= filter->patterns.size()) {
        size_t end = filter->patterns.find(';', start);
        if (end == std::string::npos) end = filter->patterns.size();
        std::string pattern = filter->patterns.substr(start, end - start);
        pattern.erase(0, pattern.find_first_not_of(' '));
        if (pattern == "*.*") pattern = "*";   // on the platform "*.*" also matches names without a dot
        if (!pattern.empty() && fnmatch(pattern.c_str(), file.c_str(), FNM_CASEFOLD) == 0) return true;
        start = end + 1;
    }
    return false;
}

bool IsFolder(const std::string& path) {
    std::error_code error;
    return stdfs::is_directory(path, error);
}

bool IsFile(const std::string& path) {
    std::error_code error;
    return stdfs::is_regular_file(path, error);
}

// The folder the dialog starts in: the initial folder (a Windows-style name, resolved like
// every file name), else the current one.
std::string StartFolder(const OPENFILENAMEA& ofn) {
    if (ofn.lpstrInitialDir && *ofn.lpstrInitialDir) {
        const std::optional<std::string> folder = fs::Resolve(ofn.lpstrInitialDir);
        if (folder && IsFolder(*folder)) return stdfs::absolute(*folder).lexically_normal().string();
    }
    std::error_code error;
    const stdfs::path current = stdfs::current_path(error);
    return error ? std::string("/") : current.string();
}

enum class Outcome { File, Folder, Refused };

// What a name typed while `folder` is shown stands for, with the full path in `path` or why
// it is refused in `error`.
Outcome Interpret(std::string typed, const std::string& folder, const OPENFILENAMEA& ofn, std::string* path,
                  std::string* error) {
    std::replace(typed.begin(), typed.end(), '\\', '/');
    typed.erase(0, typed.find_first_not_of(' '));
    typed.erase(typed.find_last_not_of(' ') + 1);
    if (typed.empty()) return Outcome::Refused;
    stdfs::path full = typed[0] == '/' ? stdfs::path(typed) : stdfs::path(folder) / typed;
    full = full.lexically_normal();
    if (IsFolder(full.string())) {
        *path = full.string();
        return Outcome::Folder;
    }
    if (!full.has_extension() && ofn.lpstrDefExt && *ofn.lpstrDefExt) {
        std::string extension = ofn.lpstrDefExt;
        if (extension[0] == '.') extension.erase(0, 1);
        if (!extension.empty()) full += "." + extension;
    }
    const std::string name = full.filename().string();
    if ((ofn.Flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) && !IsFolder(full.parent_path().string())) {
        *error = name + "\nPath does not exist.\nPlease verify the correct path was given.";
        return Outcome::Refused;
    }
    if ((ofn.Flags & OFN_FILEMUSTEXIST) && !IsFile(full.string())) {
        *error = name + "\nFile not found.\nPlease verify the correct file name was given.";
        return Outcome::Refused;
    }
    *path = full.string();
    return Outcome::File;
}

// Hands the chosen path back as the platform does: the full path, where its name and
// extension start, the name alone in the file title. FALSE when the buffer is too small.
BOOL Deliver(OPENFILENAMEA* ofn, const std::string& path, DWORD filterIndex) {
    if (path.size() + 1 > ofn->nMaxFile) return FALSE;
    std::memcpy(ofn->lpstrFile, path.c_str(), path.size() + 1);
    const size_t slash = path.rfind('/');
    const size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = path.rfind('.');
    ofn->nFileOffset = static_cast<WORD>(nameAt);
    ofn->nFileExtension = static_cast<WORD>(dot != std::string::npos && dot > nameAt ? dot + 1 : path.size());
    if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > 0) {
        const std::string name = path.substr(nameAt);
        const size_t n = std::min<size_t>(name.size(), ofn->nMaxFileTitle - 1);
        std::memcpy(ofn->lpstrFileTitle, name.data(), n);
        ofn->lpstrFileTitle[n] = '\0';
    }
    ofn->nFilterIndex = filterIndex;
    return TRUE;
}

struct Browser {
    HWND box = nullptr;
    const OPENFILENAMEA* ofn = nullptr;
    std::vector<Filter> filters;
    int filter = 0;                     // 0-based
    std::string folder;
    std::vector<std::string> folders;   // shown in the folder
    std::vector<std::string> files;
    bool unreadable = false;            // the folder could not be listed (no permission, gone)
    char name[1024] = {};
    std::string error;
    std::string chosen;

    const Filter* CurrentFilter() const { return filters.empty() ? nullptr : &filters[static_cast<size_t>(filter)]; }

    void List() {
        folders.clear();
        files.clear();
        std::error_code error;
        for (stdfs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            const std::string entry = it->path().filename().string();
            if (entry.empty() || entry[0] == '.') continue;
            std::error_code typeError;
            if (it->is_directory(typeError)) folders.push_back(entry);
            else if (MatchesFilter(entry, CurrentFilter())) files.push_back(entry);
        }
        unreadable = static_cast<bool>(error);
        auto byName = [](const std::string& a, const std::string& b) { return SDL_strcasecmp(a.c_str(), b.c_str()) < 0; };
        std::sort(folders.begin(), folders.end(), byName);
        std::sort(files.begin(), files.end(), byName);
    }

    void Open(const std::string& path) {
        folder = path;
        name[0] = '\0';
        error.clear();
        List();
    }

    // The Open button, Enter, or a double click on a file.
    void Accept(const std::string& typed) {
        std::string path;
        switch (Interpret(typed, folder, *ofn, &path, &error)) {
        case Outcome::Folder: Open(path); break;
        case Outcome::File:
            chosen = path;
            EndDialog(box, TRUE);
            break;
        case Outcome::Refused: break;
        }
    }

    void Draw() {
        const bool covered = box->modalDraws.empty() || box->modalDraws.back() != &box->dialog->drawContent;
        const ImGuiIO& io = ImGui::GetIO();
        const ImGuiStyle& style = ImGui::GetStyle();
        ImGui::SetNextWindowPos(ImVec2(0, 0));
        ImGui::SetNextWindowSize(io.DisplaySize);
        const ImGuiWindowFlags flags = ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove |
                                       ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoBringToFrontOnFocus;
        ImGui::Begin("##openfile", nullptr, flags);
        ImGui::BeginDisabled(covered);
        const float labelWidth = style.WindowPadding.x + ImGui::CalcTextSize("Files of type:").x + style.ItemSpacing.x;
        const float buttonWidth = 72.0f;

        ImGui::AlignTextToFramePadding();
        ImGui::TextUnformatted("Look in:");
        ImGui::SameLine(labelWidth);
        ImGui::TextUnformatted(folder.c_str());
        ImGui::SameLine(ImGui::GetWindowContentRegionMax().x - buttonWidth);
        if (ImGui::Button("Up", ImVec2(buttonWidth, 0))) Open(stdfs::path(folder).parent_path().string());

        const float errorLines = error.empty() ? 0.0f : ImGui::GetTextLineHeightWithSpacing() * 3.0f;
        const float below = ImGui::GetFrameHeightWithSpacing() * 2.0f + errorLines;
        ImGui::BeginChild("list", ImVec2(0, -below), true);
        std::string enter;
        // A name typed in can still reach what is inside a folder that cannot be listed.
        if (unreadable) ImGui::TextDisabled("This folder cannot be read.");
        for (const std::string& f : folders) {
            if (ImGui::Selectable(("[" + f + "]").c_str(), false, ImGuiSelectableFlags_AllowDoubleClick) &&
                ImGui::IsMouseDoubleClicked(0))
                enter = f;
        }
        for (const std::string& f : files) {
            if (ImGui::Selectable(f.c_str(), f == name, ImGuiSelectableFlags_AllowDoubleClick)) {
                std::snprintf(name, sizeof name, "%s", f.c_str());
                if (ImGui::IsMouseDoubleClicked(0)) enter = f;
            }
        }
        ImGui::EndChild();

        ImGui::AlignTextToFramePadding();
        ImGui::TextUnformatted("File name:");
        ImGui::SameLine(labelWidth);
        ImGui::SetNextItemWidth(ImGui::GetWindowContentRegionMax().x - labelWidth - buttonWidth - style.ItemSpacing.x);
        if (ImGui::IsWindowAppearing()) ImGui::SetKeyboardFocusHere();
        ImGui::InputText("##name", name, sizeof name);
        ImGui::SameLine();
        const bool open = ImGui::Button("Open", ImVec2(buttonWidth, 0));

        ImGui::AlignTextToFramePadding();
        ImGui::TextUnformatted("Files of type:");
        ImGui::SameLine(labelWidth);
        ImGui::SetNextItemWidth(ImGui::GetWindowContentRegionMax().x - labelWidth - buttonWidth - style.ItemSpacing.x);
        const char* preview = CurrentFilter() ? CurrentFilter()->name.c_str() : "";
        if (ImGui::BeginCombo("##type", preview)) {
            for (size_t i = 0; i < filters.size(); ++i)
                if (ImGui::Selectable(filters[i].name.c_str(), static_cast<int>(i) == filter)) {
                    filter = static_cast<int>(i);
                    List();
                }
            ImGui::EndCombo();
        }
        ImGui::SameLine();
        const bool cancel = ImGui::Button("Cancel", ImVec2(buttonWidth, 0));
        if (!error.empty()) ImGui::TextColored(ImVec4(0.7f, 0.0f, 0.0f, 1.0f), "%s", error.c_str());

        if (!covered) {
            const bool enterKey = ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Enter), false) ||
                                  ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_KeyPadEnter), false);
            if (!enter.empty()) Accept(enter);
            else if (open || enterKey) Accept(name);
            if (cancel || ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Escape), false)) EndDialog(box, FALSE);
        }
        ImGui::EndDisabled();
        ImGui::End();
    }
};

// The browser box's procedure: the close button (IDCANCEL) cancels.
INT_PTR BrowserProc(HWND box, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(box, FALSE);
        return TRUE;
    }
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

std::optional<std::string> Browse(const OPENFILENAMEA& ofn, HWND owner, const std::vector<Filter>& filters, int filter,
                                  const std::string& folder, int* chosenFilter) {
    const char* title = ofn.lpstrTitle && *ofn.lpstrTitle ? ofn.lpstrTitle : "Open";
    Browser browser;
    browser.ofn = &ofn;
    browser.filters = filters;
    browser.filter = filter;
    browser.box = NewDialogBox("", title, WS_POPUP | WS_CAPTION | WS_SYSMENU, owner, BrowserProc, ofn.hInstance);
    browser.box->dialog->drawContent = [&browser] { browser.Draw(); };
    browser.Open(folder);
    if (ofn.lpstrFile) std::snprintf(browser.name, sizeof browser.name, "%s", ofn.lpstrFile);
    const INT_PTR result = RunDialogBox(browser.box, 0, kBrowserWidth, kBrowserHeight, nullptr);
    *chosenFilter = browser.filter;
    if (result != TRUE) return std::nullopt;
    return browser.chosen;
}

}  // namespace

BOOL GetOpenFileNameA(OPENFILENAMEA* ofn) {
    if (!ofn || ofn->lStructSize < sizeof(OPENFILENAMEA) || !ofn->lpstrFile || ofn->nMaxFile == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Win32State& s = W32();
    HWND owner = LiveWindow(ofn->hwndOwner);
    if (owner && owner->parent) owner = owner->parent;
    const std::vector<Filter> filters = ParseFilters(ofn->lpstrFilter);
    int filter = ofn->nFilterIndex >= 1 && ofn->nFilterIndex <= filters.size() ? static_cast<int>(ofn->nFilterIndex) - 1 : 0;
    const std::string folder = StartFolder(*ofn);

    std::optional<std::string> path;
    if (s.recordedInteraction || s.noWindowSystem) {
        std::optional<std::string> answer;
        if (!s.openFileAnswers.empty()) {
            answer = s.openFileAnswers.front();
            s.openFileAnswers.pop_front();
        }
        std::string full, error;
        if (answer && Interpret(*answer, folder, *ofn, &full, &error) == Outcome::File) path = full;
        win32test::RecordedOpenFile record;
        record.owner = owner;
        record.title = ofn->lpstrTitle ? ofn->lpstrTitle : "";
        for (const Filter& f : filters) record.filters.emplace_back(f.name, f.patterns);
        record.filterIndex = ofn->nFilterIndex;
        record.initialDir = ofn->lpstrInitialDir ? ofn->lpstrInitialDir : "";
        record.flags = ofn->Flags;
        record.defaultExtension = ofn->lpstrDefExt ? ofn->lpstrDefExt : "";
        record.path = path;
        s.recordedOpenFiles.push_back(std::move(record));
    } else {
        path = Browse(*ofn, owner, filters, filter, folder, &filter);
    }
    if (!path) return FALSE;
    return Deliver(ofn, *path, static_cast<DWORD>(filter + 1));
}

namespace win32test {

void AnswerOpenFile(std::optional<std::string> path) { W32().openFileAnswers.push_back(std::move(path)); }

const std::vector<RecordedOpenFile>& RecordedOpenFiles() { return W32().recordedOpenFiles; }

}  // namespace win32test
