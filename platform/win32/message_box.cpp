// MessageBoxA: a modal box drawn with ImGui over the main window, in a nested loop that
// keeps the window alive (the last client image under it) and goes on delivering posted
// messages. Enter presses the default button, Esc cancels, and so does closing the main
// window (or a termination signal) while the box is open. Without a window (or without GL) SDL's own box stands in; without
// any window system the text goes to stderr. In recorded-interaction mode boxes are only
// recorded and answered with their default button.
// Implements: MessageBoxA.
// Leaves out: the modality flags (MB_TASKMODAL, MB_SYSTEMMODAL) and MB_HELP; a button set it
// does not know gets OK alone; icons are shown as a text mark, not a picture.
#include <SDL.h>
#include <imgui.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/state.h"

using namespace win32_internal;

namespace {

struct Button {
    int id;
    const char* label;
};

std::vector<Button> ButtonsFor(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, "Abort"}, {IDRETRY, "Retry"}, {IDIGNORE, "Ignore"}};
    case MB_YESNOCANCEL: return {{IDYES, "Yes"}, {IDNO, "No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO: return {{IDYES, "Yes"}, {IDNO, "No"}};
    case MB_RETRYCANCEL: return {{IDRETRY, "Retry"}, {IDCANCEL, "Cancel"}};
    default: return {{IDOK, "OK"}};
    }
}

int DefaultButton(UINT type, const std::vector<Button>& buttons) {
    size_t index = (type & MB_DEFMASK) >> 8;
    if (index >= buttons.size()) index = 0;
    return buttons[index].id;
}

// The answer to Esc: Cancel where the box has it, OK for a box with OK alone; none otherwise.
int CancelButton(const std::vector<Button>& buttons) {
    for (const Button& b : buttons)
        if (b.id == IDCANCEL) return IDCANCEL;
    return buttons.size() == 1 && buttons[0].id == IDOK ? IDOK : 0;
}

const char* IconText(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return "(X)";
    case MB_ICONQUESTION: return "(?)";
    case MB_ICONEXCLAMATION: return "(!)";
    case MB_ICONASTERISK: return "(i)";
    default: return nullptr;
    }
}

int SdlMessageBox(HWND owner, const char* text, const char* caption, UINT type, const std::vector<Button>& buttons) {
    std::vector<SDL_MessageBoxButtonData> data;
    const int defaultId = DefaultButton(type, buttons);
    const int cancelId = CancelButton(buttons);
    for (const Button& b : buttons) {
        Uint32 flags = 0;
        if (b.id == defaultId) flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
        if (b.id == cancelId) flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        data.push_back({flags, b.id, b.label});
    }
    SDL_MessageBoxData box{};
    box.flags = (type & MB_ICONMASK) == MB_ICONHAND ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    box.window = owner && owner->sdl ? owner->sdl : nullptr;
    box.title = caption;
    box.message = text;
    box.numbuttons = static_cast<int>(data.size());
    box.buttons = data.data();
    int answer = 0;
    if (SDL_ShowMessageBox(&box, &answer) == 0) return answer;
    std::fprintf(stderr, "%s: %s\n", caption, text);
    return defaultId;
}

int ImGuiMessageBox(HWND host, const char* text, const char* caption, UINT type, const std::vector<Button>& buttons) {
    const int defaultId = DefaultButton(type, buttons);
    const int cancelId = CancelButton(buttons);
    int answer = 0;
    const std::string windowName = std::string(caption) + "##messagebox";
    const char* icon = IconText(type);
    std::function<void()> drawBox = [&] {
        const ImGuiIO& io = ImGui::GetIO();
        ImGui::GetBackgroundDrawList()->AddRectFilled(ImVec2(0, 0), io.DisplaySize, IM_COL32(0, 0, 0, 96));
        ImGui::SetNextWindowPos(ImVec2(io.DisplaySize.x * 0.5f, io.DisplaySize.y * 0.5f), ImGuiCond_Always, ImVec2(0.5f, 0.5f));
        ImGui::SetNextWindowFocus();
        const ImGuiWindowFlags flags = ImGuiWindowFlags_AlwaysAutoResize | ImGuiWindowFlags_NoCollapse |
                                       ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoMove;
        if (ImGui::Begin(windowName.c_str(), nullptr, flags)) {
            if (icon) {
                ImGui::TextUnformatted(icon);
                ImGui::SameLine();
            }
            ImGui::TextUnformatted(text);
            ImGui::Spacing();
            for (size_t i = 0; i < buttons.size(); ++i) {
                if (i) ImGui::SameLine();
                if (buttons[i].id == defaultId) ImGui::SetItemDefaultFocus();
                if (ImGui::Button(buttons[i].label, ImVec2(72, 0))) answer = buttons[i].id;
            }
            if (ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Enter)) ||
                ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_KeyPadEnter)))
                answer = defaultId;
            if (cancelId && ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Escape))) answer = cancelId;
        }
        ImGui::End();
    };
    const bool answered = RunModalLoop(host, drawBox, [&] { return answer != 0; });
    if (!answered) {
        // Closed while open: as if cancelled; a box without Cancel says No where it can.
        if (cancelId) return cancelId;
        for (const Button& b : buttons)
            if (b.id == IDNO) return IDNO;
        return defaultId;
    }
    return answer ? answer : defaultId;
}

// PLATFORM_DIAG_BOXES=1 (for measurement and tests) names each box on stderr as it opens
// and the button that ended it, one line each.
bool DiagnoseBoxes() {
    static const bool on = [] {
        const char* v = std::getenv("PLATFORM_DIAG_BOXES");
        return v && *v && *v != '0';
    }();
    return on;
}

std::string OneLine(const char* text) {
    std::string line;
    for (const char* p = text; *p; ++p) line += *p == '\n' ? std::string("\\n") : std::string(1, *p);
    return line;
}

}  // namespace

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    Win32State& s = W32();
    text = text ? text : "";
    caption = caption ? caption : "Error";
    const std::vector<Button> buttons = ButtonsFor(type);
    if (s.recordedInteraction) {
        const int answer = DefaultButton(type, buttons);
        s.recordedBoxes.push_back({owner, text, caption, type, answer});
        return answer;
    }
    HWND host = LiveWindow(owner) ? owner : s.mainWindow;
    if (host && host->imgui && host->sdl) {
        if (DiagnoseBoxes()) std::fprintf(stderr, "win32: message box \"%s\": %s\n", OneLine(caption).c_str(), OneLine(text).c_str());
        const int answer = ImGuiMessageBox(host, text, caption, type, buttons);
        if (DiagnoseBoxes()) std::fprintf(stderr, "win32: message box \"%s\" answered %d\n", OneLine(caption).c_str(), answer);
        return answer;
    }
    if (s.noWindowSystem || (!s.videoUp && !EnsureVideo())) {
        std::fprintf(stderr, "%s: %s\n", caption, text);
        return DefaultButton(type, buttons);
    }
    return SdlMessageBox(host, text, caption, type, buttons);
}
