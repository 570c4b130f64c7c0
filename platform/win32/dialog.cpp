// Modal dialog boxes: a box made from the program's template, its controls, WM_INITDIALOG,
// and either a window of its own (drawn by dialog_draw.cpp, run in the nested modal loop)
// or the test's dialog script; EndDialog's result is DialogBoxParamA's.
// Implements: DialogBoxParamA, EndDialog; the dialog-script test hooks.
// Leaves out: modeless boxes (CreateDialogParamA), dialog templates in memory, the
// instance handle (every template is the program's), the template's own font and position
// (a box is centred over its owner), DM_* messages.
#include <SDL.h>
#include <imgui.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <utility>

#include "platform/win32/state.h"

using namespace win32_internal;

namespace {

// Dialog units of the templates' font (8-point MS Sans Serif: 6 x 13 pixel base units) to
// pixels, rounded as the platform's MapDialogRect does.
int UnitsToPixels(int units, int base, int divisor) { return (units * base + divisor / 2) / divisor; }
int HorizontalPixels(int units) { return UnitsToPixels(units, 6, 4); }
int VerticalPixels(int units) { return UnitsToPixels(units, 13, 8); }

WindowClass& DialogClass() {
    static WindowClass dialogClass = [] {
        WindowClass c;
        c.name = "#32770";   // the platform's name for the dialog box class
        return c;
    }();
    return dialogClass;
}

std::string NameOf(LPCSTR templateName) {
    if (!templateName) return "";
    if (IS_INTRESOURCE(templateName)) return "#" + std::to_string(reinterpret_cast<std::uintptr_t>(templateName));
    return templateName;
}

const ResDialog* FindTemplate(LPCSTR templateName) {
    if (!templateName) return nullptr;
    for (const ResDialog& t : Win32ProgramResources().dialogs) {
        if (IS_INTRESOURCE(templateName)) {
            if (!*t.name && t.id == static_cast<WORD>(reinterpret_cast<std::uintptr_t>(templateName))) return &t;
        } else if (SDL_strcasecmp(t.name, templateName) == 0) {
            return &t;
        }
    }
    return nullptr;
}

// The test's script for a template: its own, else the one for any template.
const std::function<void(HWND)>* ScriptFor(const std::string& name) {
    const std::function<void(HWND)>* any = nullptr;
    for (const auto& entry : W32().dialogScripts) {
        if (entry.first.empty()) any = &entry.second;
        else if (SDL_strcasecmp(entry.first.c_str(), name.c_str()) == 0) return &entry.second;
    }
    return any;
}

ControlKind KindOf(const ResDialogItem& item) {
    switch (item.controlClass) {
    case ResControlClass::ScrollBar: return ControlKind::ScrollBar;
    case ResControlClass::Static: {
        const DWORD kind = item.style & SS_TYPEMASK;
        return kind == SS_BITMAP || kind == SS_ICON ? ControlKind::Picture : ControlKind::Text;
    }
    case ResControlClass::Button:
        switch (item.style & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX: return ControlKind::CheckBox;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: return ControlKind::RadioButton;
        case BS_GROUPBOX: return ControlKind::GroupBox;
        default: return ControlKind::PushButton;
        }
    }
    return ControlKind::Text;
}

// A template's picture, loaded once for every box that shows it.
HANDLE TemplateImage(HINSTANCE instance, UINT type, WORD id) {
    static std::map<std::pair<UINT, WORD>, HANDLE> loaded;
    HANDLE& image = loaded[{type, id}];
    if (!image) image = LoadImageA(instance, MAKEINTRESOURCEA(id), type, 0, 0, LR_DEFAULTCOLOR);
    return image;
}

HWND AddControl(HWND box, const ResDialogItem& item) {
    auto owned = std::make_unique<HWND__>();
    HWND c = owned.get();
    c->parent = box;
    c->id = item.id;
    c->style = item.style | WS_CHILD | WS_VISIBLE;
    c->title = item.text ? item.text : "";
    c->instance = box->instance;
    c->proc = ControlProc;
    c->disabled = (item.style & WS_DISABLED) != 0;
    c->dc.hwnd = c;
    c->control = std::make_unique<ControlState>();
    ControlState& state = *c->control;
    state.kind = KindOf(item);
    const DWORD buttonKind = item.style & BS_TYPEMASK;
    state.autoButton = item.controlClass == ResControlClass::Button &&
                       (buttonKind == BS_AUTOCHECKBOX || buttonKind == BS_AUTORADIOBUTTON);
    state.isDefault = state.kind == ControlKind::PushButton && buttonKind == BS_DEFPUSHBUTTON;
    state.rect = RECT{HorizontalPixels(item.x), VerticalPixels(item.y), HorizontalPixels(item.x + item.cx),
                      VerticalPixels(item.y + item.cy)};
    if (state.kind == ControlKind::Picture && item.image) {
        const UINT type = (item.style & SS_TYPEMASK) == SS_ICON ? IMAGE_ICON : IMAGE_BITMAP;
        state.image = TemplateImage(box->instance, type, item.image);
    }
    W32().windows.push_back(std::move(owned));
    box->dialog->controls.push_back(c);
    return c;
}

// The control WM_INITDIALOG names as the one to get the focus: the first that takes it.
HWND FirstTabStop(HWND box) {
    for (HWND c : box->dialog->controls)
        if ((c->style & WS_TABSTOP) && !c->disabled) return c;
    return nullptr;
}

// The box's close request from the window system (its close button) becomes the platform's
// WM_CLOSE, handled between frames.
void TakeCloseRequests(HWND box) {
    auto& input = W32().input;
    for (auto it = input.begin(); it != input.end();) {
        if (it->hwnd == box && it->message == WM_CLOSE) {
            it = input.erase(it);
            box->dialog->pending.push_back([box] { SendMessageA(box, WM_CLOSE, 0, 0); });
        } else {
            ++it;
        }
    }
}

void RunPending(HWND box) {
    DialogState& d = *box->dialog;
    std::vector<std::function<void()>> actions;
    actions.swap(d.pending);
    for (auto& action : actions) {
        if (d.ended || !LiveWindow(box)) return;
        action();
    }
}

void ShowBox(HWND box) {
    box->visible = true;
    box->invalid = true;
    SDL_ShowWindow(box->sdl);
    SDL_RaiseWindow(box->sdl);
}

// The box in its own window, until it ends. A close of the main window (the window manager's,
// a termination signal) cancels it as Esc would; the close itself stays queued.
void RunWindow(HWND box) {
    DialogState& d = *box->dialog;
    ShowBox(box);
    const bool normal = RunModalLoop(box, d.drawContent, [box] {
        if (!LiveWindow(box)) return true;
        TakeCloseRequests(box);
        RunPending(box);
        return box->dialog->ended;
    });
    if (!normal && LiveWindow(box) && !d.ended) {
        d.pending.clear();
        PressDialogKey(box, VK_ESCAPE);
        if (!d.ended) {
            d.ended = true;
            d.result = IDCANCEL;
        }
    }
}

void RunScript(HWND box, const std::function<void(HWND)>& script) {
    DialogState& d = *box->dialog;
    script(box);
    if (!d.ended && LiveWindow(box)) SendMessageA(box, WM_CLOSE, 0, 0);
    if (!d.ended) {
        std::fprintf(stderr, "win32: dialog box \"%s\" stayed open after its script\n", d.templateName.c_str());
        d.ended = true;
        d.result = -1;
    }
}

}  // namespace

// The box's window procedure: the dialog procedure first, then what the platform's dialog
// manager does by default (the close button cancels, a repaint redraws the box).
LRESULT win32_internal::DialogWindowProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogState* d = box->dialog.get();
    if (!d) return 0;
    const INT_PTR handled = d->proc ? d->proc(box, message, wParam, lParam) : FALSE;
    if (message == WM_INITDIALOG || handled) return handled;
    switch (message) {
    case WM_CLOSE:
        PressDialogKey(box, VK_ESCAPE);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(box, &ps);
        DrawWindowFrame(box, nullptr, false);
        EndPaint(box, &ps);
        return 0;
    }
    default:
        return 0;
    }
}

HWND win32_internal::NewDialogBox(const std::string& templateName, const char* caption, DWORD style, HWND owner,
                                  DLGPROC proc, HINSTANCE instance) {
    auto owned = std::make_unique<HWND__>();
    HWND box = owned.get();
    box->windowClass = &DialogClass();
    box->proc = DialogWindowProc;
    box->title = caption ? caption : "";
    box->style = style;
    box->instance = instance;
    box->dc.hwnd = box;
    box->dialog = std::make_unique<DialogState>();
    box->dialog->proc = proc;
    box->dialog->templateName = templateName;
    box->dialog->owner = owner;
    box->dialog->drawContent = [box] { DrawDialogControls(box); };
    W32().windows.push_back(std::move(owned));
    return box;
}

INT_PTR win32_internal::RunDialogBox(HWND box, LPARAM param, int width, int height,
                                     const std::function<void(HWND)>* script) {
    Win32State& s = W32();
    DialogState& d = *box->dialog;
    // A box without an owner still sits over the main window.
    HWND over = d.owner ? d.owner : s.mainWindow;
    if (!script && !CreateBoxWindow(box, over, width, height, (box->style & WS_CAPTION) == WS_CAPTION)) {
        DestroyWindow(box);
        return -1;
    }
    HWND owner = d.owner;
    if (owner) d.ownerWasEnabled = !EnableWindow(owner, FALSE);
    s.openBoxes.push_back(box);

    if (SendMessageA(box, WM_INITDIALOG, reinterpret_cast<WPARAM>(FirstTabStop(box)), param)) d.focus = FirstTabStop(box);
    if (!d.ended && LiveWindow(box)) {
        if (script)
            RunScript(box, *script);
        else
            RunWindow(box);
    }
    const INT_PTR result = d.ended ? d.result : -1;

    s.openBoxes.erase(std::remove(s.openBoxes.begin(), s.openBoxes.end(), box), s.openBoxes.end());
    if (owner && LiveWindow(owner) && d.ownerWasEnabled) EnableWindow(owner, TRUE);
    if (LiveWindow(box)) DestroyWindow(box);
    for (HWND c : d.controls)
        if (LiveWindow(c)) DestroyWindow(c);
    // The renderer and the menu bar expect the main window's contexts; input goes back to the owner.
    if (s.mainWindow && s.mainWindow->gl) {
        SDL_GL_MakeCurrent(s.mainWindow->sdl, s.mainWindow->gl);
        ImGui::SetCurrentContext(s.mainWindow->imgui);
    }
    if (owner && LiveWindow(owner) && owner->sdl) SDL_RaiseWindow(owner->sdl);
    return result;
}

INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC proc, LPARAM param) {
    Win32State& s = W32();
    const ResDialog* t = FindTemplate(templateName);
    if (!t) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return -1;
    }
    owner = LiveWindow(owner);
    if (owner && owner->parent) owner = owner->parent;   // a control's box owns the new box
    const std::string name = NameOf(templateName);
    const std::function<void(HWND)>* script = ScriptFor(name);
    static const std::function<void(HWND)> noScript = [](HWND) {};
    if (!script && (s.recordedInteraction || s.noWindowSystem)) script = &noScript;
    if (!script && !EnsureVideo()) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    HWND box = NewDialogBox(name, t->caption, t->style, owner, proc, instance);
    for (const ResDialogItem& item : t->items) AddControl(box, item);
    const INT_PTR result = RunDialogBox(box, param, HorizontalPixels(t->cx), VerticalPixels(t->cy), script);
    s.recordedDialogs.push_back({owner, name, result});
    return result;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    HWND box = LiveWindow(dialog);
    if (!box || !box->dialog) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    box->dialog->ended = true;
    box->dialog->result = result;
    return TRUE;
}

HWND win32_internal::ActiveWindow() {
    const auto& boxes = W32().openBoxes;
    for (auto it = boxes.rbegin(); it != boxes.rend(); ++it)
        if ((*it)->sdl) return *it;
    return W32().mainWindow;
}

void win32_internal::RaiseOpenBoxes() {
    for (HWND box : W32().openBoxes)
        if (box->sdl) SDL_RaiseWindow(box->sdl);
}

HWND win32_internal::LastActiveBox(HWND owner) {
    const auto& boxes = W32().openBoxes;
    for (auto it = boxes.rbegin(); it != boxes.rend(); ++it)
        for (HWND o = (*it)->dialog->owner; o; o = o->dialog ? o->dialog->owner : nullptr)
            if (o == owner) return *it;
    return nullptr;
}

namespace win32test {

void SetDialogScript(const char* templateName, std::function<void(HWND box)> script) {
    auto& scripts = W32().dialogScripts;
    const std::string name = templateName ? templateName : "";
    scripts.erase(std::remove_if(scripts.begin(), scripts.end(), [&](const auto& e) { return e.first == name; }),
                  scripts.end());
    if (script) scripts.emplace_back(name, std::move(script));
}

void ClearDialogScripts() { W32().dialogScripts.clear(); }

const std::vector<RecordedDialog>& RecordedDialogs() { return W32().recordedDialogs; }
void ClearRecordedDialogs() { W32().recordedDialogs.clear(); }

}  // namespace win32test
