// The menu bar of the main window, drawn with ImGui from the window's menu tree. Picking an
// item posts WM_COMMAND; opening a popup sends WM_INITMENUPOPUP before its items are drawn,
// so that the window procedure can tick entries first.
// Internal to platform/win32: no call of its own; it serves the menus of menu.cpp, and the
// test hooks ChooseMenuItem and OpenMenuPopup.
#include <imgui.h>

#include "platform/win32/state.h"

using namespace win32_internal;

namespace {

struct MenuBarPass {
    HWND hwnd;
    std::vector<int> path;        // positions from the menu bar to the popup being drawn
    std::vector<int> stillOpen;   // packed path of every open popup this frame
};

int PackPath(const std::vector<int>& path) {
    int key = 0;
    for (int p : path) key = key * 64 + (p + 1);
    return key;
}

bool WasOpen(HWND hwnd, int key) {
    for (int k : hwnd->openPopups)
        if (k == key) return true;
    return false;
}

void DrawItems(MenuBarPass& pass, HMENU menu);

// A popup that has just opened is announced before its items are drawn.
bool BeginPopupItem(MenuBarPass& pass, HMENU menu, size_t index) {
    MenuItem& item = menu->items[index];
    const std::string label = item.text + "##" + std::to_string(index);
    if (!ImGui::BeginMenu(label.c_str(), !(item.flags & (MF_GRAYED | MF_DISABLED)))) return false;
    pass.path.push_back(static_cast<int>(index));
    const int key = PackPath(pass.path);
    pass.stillOpen.push_back(key);
    if (!WasOpen(pass.hwnd, key))
        SendMessageA(pass.hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(item.popup.get()),
                     MAKELPARAM(static_cast<WORD>(index), FALSE));
    return true;
}

void DrawItems(MenuBarPass& pass, HMENU menu) {
    for (size_t i = 0; i < menu->items.size(); ++i) {
        MenuItem& item = menu->items[i];
        if (item.flags & MF_SEPARATOR) {
            ImGui::Separator();
            continue;
        }
        if (item.popup) {
            if (BeginPopupItem(pass, menu, i)) {
                DrawItems(pass, item.popup.get());
                pass.path.pop_back();
                ImGui::EndMenu();
            }
            continue;
        }
        const std::string label = item.text + "##" + std::to_string(item.id);
        const bool enabled = !(item.flags & (MF_GRAYED | MF_DISABLED));
        if (ImGui::MenuItem(label.c_str(), nullptr, (item.flags & MF_CHECKED) != 0, enabled)) {
            PostMessageA(pass.hwnd, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(item.id), 0), 0);
            // The closing popup uncovers the client area: a box the command opens repaints
            // the window behind it without the popup.
            InvalidateRect(pass.hwnd, nullptr, FALSE);
        }
    }
}

}  // namespace

void win32_internal::DrawMenuBarItems(HWND hwnd) {
    if (!hwnd->menu) return;
    // Tight spacing, so that the whole bar fits a small window.
    ImGui::PushStyleVar(ImGuiStyleVar_ItemSpacing, ImVec2(4.0f, 4.0f));
    MenuBarPass pass{hwnd, {}, {}};
    if (ImGui::BeginMainMenuBar()) {
        DrawItems(pass, hwnd->menu.get());
        ImGui::EndMainMenuBar();
    }
    ImGui::PopStyleVar();
    hwnd->openPopups = std::move(pass.stillOpen);
}

// What the menu bar does, for tests without a window system.
void win32test::ChooseMenuItem(HWND hwnd, UINT commandId) {
    PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(commandId), 0), 0);
}

void win32test::OpenMenuPopup(HWND hwnd, const std::vector<int>& path) {
    HMENU menu = GetMenu(hwnd);
    HMENU popup = nullptr;
    for (int position : path) {
        popup = GetSubMenu(menu, position);
        if (!popup) return;
        menu = popup;
    }
    if (popup)
        SendMessageA(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup),
                     MAKELPARAM(static_cast<WORD>(path.back()), FALSE));
}
