// Menus as an in-memory tree built from the program's menu resources. The menu bar that
// shows them is drawn in menu_bar.cpp.
// Implements: LoadMenuA, DestroyMenu, GetMenu, GetSubMenu, GetMenuItemCount, GetMenuItemID,
// GetMenuStringA, GetMenuState, CheckMenuItem, InsertMenuA, DrawMenuBar.
// Leaves out: bitmap and owner-drawn items; DrawMenuBar only checks the window (the bar is
// drawn afresh every frame).
#include <SDL.h>

#include <cstring>

#include "platform/win32/state.h"

using namespace win32_internal;

static void AddItems(HMENU menu, const std::vector<ResMenuItem>& items) {
    for (const ResMenuItem& r : items) {
        MenuItem item;
        item.text = r.text ? r.text : "";
        item.id = r.id;
        item.flags = r.flags;
        if (r.flags & MF_POPUP) {
            item.popup = std::make_unique<HMENU__>();
            AddItems(item.popup.get(), r.items);
        }
        menu->items.push_back(std::move(item));
    }
}

std::unique_ptr<HMENU__> win32_internal::BuildMenu(const ResMenu& resource) {
    auto menu = std::make_unique<HMENU__>();
    AddItems(menu.get(), resource.items);
    return menu;
}

HMENU LoadMenuA(HINSTANCE, LPCSTR name) {
    if (!IS_INTRESOURCE(name)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    const WORD id = static_cast<WORD>(reinterpret_cast<std::uintptr_t>(name));
    for (const ResMenu& m : Win32ProgramResources().menus)
        if (m.id == id) return BuildMenu(m).release();
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}

BOOL DestroyMenu(HMENU menu) {
    delete menu;
    return menu ? TRUE : FALSE;
}

HMENU GetMenu(HWND hwnd) {
    HWND w = LiveWindow(hwnd);
    return w ? w->menu.get() : nullptr;
}

HMENU GetSubMenu(HMENU menu, int position) {
    if (!menu || position < 0 || position >= static_cast<int>(menu->items.size())) return nullptr;
    return menu->items[static_cast<size_t>(position)].popup.get();
}

int GetMenuItemCount(HMENU menu) { return menu ? static_cast<int>(menu->items.size()) : -1; }

UINT GetMenuItemID(HMENU menu, int position) {
    if (!menu || position < 0 || position >= static_cast<int>(menu->items.size())) return 0xFFFFFFFFu;
    const MenuItem& item = menu->items[static_cast<size_t>(position)];
    return item.popup ? 0xFFFFFFFFu : item.id;
}

// Finds an item by command (searching popups too) or by position in this menu.
static MenuItem* FindItem(HMENU menu, UINT item, UINT flags) {
    if (!menu) return nullptr;
    if (flags & MF_BYPOSITION) return item < menu->items.size() ? &menu->items[item] : nullptr;
    for (MenuItem& it : menu->items) {
        if (!it.popup && !(it.flags & MF_SEPARATOR) && it.id == item) return &it;
        if (it.popup)
            if (MenuItem* found = FindItem(it.popup.get(), item, flags)) return found;
    }
    return nullptr;
}

int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags) {
    MenuItem* it = FindItem(menu, item, flags);
    if (!it) return 0;
    if (!buffer || size <= 0) return static_cast<int>(it->text.size());
    const int n = std::min<int>(size - 1, static_cast<int>(it->text.size()));
    std::memcpy(buffer, it->text.data(), static_cast<size_t>(n));
    buffer[n] = '\0';
    return n;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
    MenuItem* it = FindItem(menu, item, flags);
    return it ? (it->flags & (MF_CHECKED | MF_GRAYED | MF_DISABLED | MF_POPUP | MF_SEPARATOR | MF_HELP)) : 0xFFFFFFFFu;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
    MenuItem* it = FindItem(menu, item, check & MF_BYPOSITION);
    if (!it) return 0xFFFFFFFFu;
    const DWORD previous = it->flags & MF_CHECKED;
    if (check & MF_CHECKED)
        it->flags |= MF_CHECKED;
    else
        it->flags &= ~MF_CHECKED;
    return previous;
}

BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR text) {
    if (!menu) return FALSE;
    MenuItem item;
    item.text = (text && !(flags & MF_SEPARATOR)) ? text : "";
    item.flags = flags & ~MF_BYPOSITION;
    if (flags & MF_POPUP) {
        // idNewItem is the popup's menu handle, which the menu now owns.
        item.popup.reset(reinterpret_cast<HMENU>(idNewItem));
    } else {
        item.id = static_cast<UINT>(idNewItem);
    }
    size_t at = menu->items.size();
    if (flags & MF_BYPOSITION) {
        // As on the platform, a position past the end appends.
        if (position < menu->items.size()) at = position;
    } else {
        for (size_t i = 0; i < menu->items.size(); ++i)
            if (!menu->items[i].popup && menu->items[i].id == position) {
                at = i;
                break;
            }
    }
    menu->items.insert(menu->items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
    return TRUE;
}

BOOL DrawMenuBar(HWND hwnd) { return LiveWindow(hwnd) ? TRUE : FALSE; }
