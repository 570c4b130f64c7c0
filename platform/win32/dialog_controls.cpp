// The controls of dialog boxes and what the user does to them: buttons with their check
// state, texts, pictures and scroll bars, each a window of its own, and the platform's
// behaviour of a click (auto check boxes toggle, auto radio buttons clear their group), of a
// scroll bar, and of the keys: Enter, Esc, Tab between the tab stops, the arrows within a
// radio group, Space on the focused control. The real box and the test's dialog scripts both
// act here.
// Implements: GetDlgItem, GetDlgCtrlID, SetDlgItemTextA, GetDlgItemTextA, CheckDlgButton,
// IsDlgButtonChecked, SendDlgItemMessageA, GetWindowLongA, EnableWindow, IsWindowEnabled,
// SetScrollRange, GetScrollRange, SetScrollPos, GetScrollPos; BM_GETCHECK, BM_SETCHECK,
// STM_SETIMAGE and STM_GETIMAGE; the control test hooks.
// Leaves out: scroll bars of ordinary windows (SB_HORZ, SB_VERT), vertical scroll bar
// controls, three-state buttons, mnemonics, WM_SETFOCUS/WM_KILLFOCUS and GetFocus.
#include <algorithm>
#include <cstring>

#include "platform/win32/state.h"

using namespace win32_internal;

namespace {

HWND Box(HWND dialog) {
    HWND box = LiveWindow(dialog);
    return box && box->dialog ? box : nullptr;
}

HWND Control(HWND hwnd) {
    HWND c = LiveWindow(hwnd);
    return c && c->control ? c : nullptr;
}

HWND ScrollBarControl(HWND hwnd, int bar) {
    HWND c = Control(hwnd);
    if (bar != SB_CTL || !c || c->control->kind != ControlKind::ScrollBar) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return c;
}

// Sends the box the command of a control, as a click or a key does.
void Command(HWND box, int id, HWND control) {
    SendMessageA(box, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

// The controls of c's group: from the last control at or before it that starts a group to
// the next one that starts another.
std::pair<size_t, size_t> GroupOf(const std::vector<HWND>& controls, HWND c) {
    const size_t at = static_cast<size_t>(std::find(controls.begin(), controls.end(), c) - controls.begin());
    size_t first = at;
    while (first > 0 && !(controls[first]->style & WS_GROUP)) --first;
    size_t end = at + 1;
    while (end < controls.size() && !(controls[end]->style & WS_GROUP)) ++end;
    return {first, end};
}

bool TakesFocus(HWND c) { return LiveWindow(c) && !c->disabled && (c->style & WS_TABSTOP); }

// Tab's next stop after the focus (before it with `backwards`): a control with WS_TABSTOP,
// where a radio group counts once, at its checked button. The focus stays where no other
// control takes it.
HWND NextTabStop(HWND box, bool backwards) {
    const auto& controls = box->dialog->controls;
    const size_t n = controls.size();
    HWND focus = box->dialog->focus;
    const auto found = std::find(controls.begin(), controls.end(), focus);
    const bool has = focus && found != controls.end();
    const size_t at = has ? static_cast<size_t>(found - controls.begin()) : (backwards ? 0 : n - 1);
    const bool inRadioGroup = has && focus->control->kind == ControlKind::RadioButton;
    const auto [groupFirst, groupEnd] = inRadioGroup ? GroupOf(controls, focus) : std::pair<size_t, size_t>{n, n};
    for (size_t step = 1; step <= n; ++step) {
        const size_t i = backwards ? (at + n - step) % n : (at + step) % n;
        if ((i >= groupFirst && i < groupEnd) || !TakesFocus(controls[i])) continue;
        HWND stop = controls[i];
        if (stop->control->kind == ControlKind::RadioButton) {
            const auto [first, end] = GroupOf(controls, stop);
            for (size_t k = first; k < end; ++k)
                if (controls[k]->control->kind == ControlKind::RadioButton && controls[k]->control->check == BST_CHECKED &&
                    !controls[k]->disabled)
                    stop = controls[k];
        }
        return stop;
    }
    return focus;
}

// The arrows in a radio group: the next enabled button of the group (the previous one with
// `backwards`), round the group's end.
HWND NextInRadioGroup(HWND box, HWND radio, bool backwards) {
    const auto& controls = box->dialog->controls;
    const auto [first, end] = GroupOf(controls, radio);
    const size_t count = end - first;
    const size_t at = static_cast<size_t>(std::find(controls.begin(), controls.end(), radio) - controls.begin()) - first;
    for (size_t step = 1; step < count; ++step) {
        HWND c = controls[first + (backwards ? (at + count - step) % count : (at + step) % count)];
        if (c->control->kind == ControlKind::RadioButton && !c->disabled && LiveWindow(c)) return c;
    }
    return radio;
}

}  // namespace

LRESULT win32_internal::ControlProc(HWND c, UINT message, WPARAM wParam, LPARAM lParam) {
    ControlState& state = *c->control;
    switch (message) {
    case BM_GETCHECK: return state.check;
    case BM_SETCHECK:
        if (state.kind == ControlKind::CheckBox || state.kind == ControlKind::RadioButton)
            state.check = static_cast<UINT>(wParam) == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED;
        return 0;
    case STM_SETIMAGE: {
        if (state.kind != ControlKind::Picture) return 0;
        HANDLE previous = state.image;
        state.image = reinterpret_cast<HANDLE>(lParam);
        return reinterpret_cast<LRESULT>(previous);
    }
    case STM_GETIMAGE: return reinterpret_cast<LRESULT>(state.image);
    default: return 0;
    }
}

bool win32_internal::ClickDialogControl(HWND control) {
    HWND c = Control(control);
    if (!c || c->disabled) return false;
    HWND box = Box(c->parent);
    if (!box || box->dialog->ended) return false;
    ControlState& state = *c->control;
    switch (state.kind) {
    case ControlKind::CheckBox:
        if (state.autoButton) state.check = state.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
        break;
    case ControlKind::RadioButton:
        if (state.autoButton) {
            const auto& controls = box->dialog->controls;
            const auto [first, end] = GroupOf(controls, c);
            for (size_t i = first; i < end; ++i) {
                ControlState& other = *controls[i]->control;
                if (other.kind == ControlKind::RadioButton && other.autoButton) other.check = BST_UNCHECKED;
            }
            state.check = BST_CHECKED;
        }
        break;
    case ControlKind::PushButton: break;
    case ControlKind::Text:
    case ControlKind::Picture:
        if (!(c->style & SS_NOTIFY)) return false;
        break;
    case ControlKind::GroupBox:
    case ControlKind::ScrollBar: return false;
    }
    // A clicked button takes the focus, as the platform's do.
    if (state.kind != ControlKind::Text && state.kind != ControlKind::Picture) box->dialog->focus = c;
    Command(box, c->id, c);
    return true;
}

bool win32_internal::ScrollDialogControl(HWND bar, WORD code, int pos) {
    HWND c = Control(bar);
    if (!c || c->disabled || c->control->kind != ControlKind::ScrollBar) return false;
    HWND box = Box(c->parent);
    if (!box || box->dialog->ended) return false;
    const bool thumb = code == SB_THUMBPOSITION || code == SB_THUMBTRACK;
    SendMessageA(box, WM_HSCROLL, MAKEWPARAM(code, thumb ? static_cast<WORD>(pos) : 0), reinterpret_cast<LPARAM>(c));
    return true;
}

// Enter sends the command of the push button the keys moved the focus to, else of the
// default push button (IDOK when the box has none); Esc sends IDCANCEL; a disabled button of
// that id takes neither. Tab moves the focus, Space clicks the focused button, and the arrows
// check the next radio button of a focused group.
bool win32_internal::PressDialogKey(HWND dialog, WORD virtualKey, bool shift) {
    HWND box = Box(dialog);
    if (!box || box->dialog->ended) return false;
    DialogState& d = *box->dialog;
    HWND focus = d.focus && LiveWindow(d.focus) ? d.focus : nullptr;
    switch (virtualKey) {
    case VK_TAB: {
        HWND next = NextTabStop(box, shift);
        if (!next) return false;
        d.focus = next;
        d.keyboardFocus = true;
        return true;
    }
    case VK_SPACE: return focus && ClickDialogControl(focus);
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: {
        if (!focus || focus->control->kind != ControlKind::RadioButton) return false;
        HWND next = NextInRadioGroup(box, focus, virtualKey == VK_LEFT || virtualKey == VK_UP);
        d.focus = next;
        d.keyboardFocus = true;
        return ClickDialogControl(next);
    }
    case VK_RETURN:
    case VK_ESCAPE: break;
    default: return false;
    }
    int id = IDCANCEL;
    if (virtualKey == VK_RETURN) {
        id = IDOK;
        if (d.keyboardFocus && focus && focus->control->kind == ControlKind::PushButton) {
            id = focus->id;
        } else {
            for (HWND c : d.controls)
                if (c->control->isDefault) {
                    id = c->id;
                    break;
                }
        }
    }
    HWND button = GetDlgItem(box, id);
    if (button && button->disabled) return false;
    Command(box, id, button);
    return true;
}

HWND GetDlgItem(HWND dialog, int id) {
    HWND box = Box(dialog);
    if (box)
        for (HWND c : box->dialog->controls)
            if (c->id == id && LiveWindow(c)) return c;
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
}

int GetDlgCtrlID(HWND control) {
    HWND c = Control(control);
    return c ? c->id : 0;
}

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
    HWND c = GetDlgItem(dialog, id);
    if (!c) return FALSE;
    c->title = text ? text : "";
    return TRUE;
}

UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size) {
    HWND c = GetDlgItem(dialog, id);
    if (!buffer || size <= 0) return 0;
    buffer[0] = '\0';
    if (!c) return 0;
    const int n = std::min<int>(size - 1, static_cast<int>(c->title.size()));
    std::memcpy(buffer, c->title.data(), static_cast<size_t>(n));
    buffer[n] = '\0';
    return static_cast<UINT>(n);
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    HWND c = GetDlgItem(dialog, id);
    if (!c) return FALSE;
    SendMessageA(c, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    HWND c = GetDlgItem(dialog, id);
    return c ? static_cast<UINT>(SendMessageA(c, BM_GETCHECK, 0, 0)) : BST_UNCHECKED;
}

LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND c = GetDlgItem(dialog, id);
    return c ? SendMessageA(c, message, wParam, lParam) : 0;
}

LONG GetWindowLongA(HWND hwnd, int index) {
    HWND w = LiveWindow(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    switch (index) {
    case GWL_ID: return w->id;
    case GWL_STYLE: return static_cast<LONG>(w->style);
    default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
    }
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    HWND w = LiveWindow(hwnd);
    if (!w) return FALSE;
    const BOOL wasDisabled = w->disabled ? TRUE : FALSE;
    w->disabled = !enable;
    if (w->disabled) {
        w->style |= WS_DISABLED;
        DropQueuedPresses(w);   // presses it was about to take stay untaken; releases go through
    } else {
        w->style &= ~WS_DISABLED;
    }
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
    HWND w = LiveWindow(hwnd);
    return w && !w->disabled ? TRUE : FALSE;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL) {
    HWND c = ScrollBarControl(hwnd, bar);
    if (!c) return FALSE;
    ControlState& state = *c->control;
    state.scrollMin = minPos;
    state.scrollMax = std::max(minPos, maxPos);
    state.scrollPos = std::clamp(state.scrollPos, state.scrollMin, state.scrollMax);
    return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos) {
    HWND c = ScrollBarControl(hwnd, bar);
    if (!c || !minPos || !maxPos) return FALSE;
    *minPos = c->control->scrollMin;
    *maxPos = c->control->scrollMax;
    return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL) {
    HWND c = ScrollBarControl(hwnd, bar);
    if (!c) return 0;
    ControlState& state = *c->control;
    const int previous = state.scrollPos;
    state.scrollPos = std::clamp(pos, state.scrollMin, state.scrollMax);
    return previous;
}

int GetScrollPos(HWND hwnd, int bar) {
    HWND c = ScrollBarControl(hwnd, bar);
    return c ? c->control->scrollPos : 0;
}

namespace win32test {

bool ClickControl(HWND box, int id) { return Box(box) && ClickDialogControl(GetDlgItem(box, id)); }

bool Scroll(HWND box, int id, WORD code, int pos) { return Box(box) && ScrollDialogControl(GetDlgItem(box, id), code, pos); }

bool PressKey(HWND box, WORD virtualKey, bool shift) { return PressDialogKey(box, virtualKey, shift); }

bool CloseBox(HWND box) {
    if (!Box(box) || box->dialog->ended) return false;
    SendMessageA(box, WM_CLOSE, 0, 0);
    return true;
}

RECT ControlRect(HWND box, int id) {
    HWND c = Box(box) ? GetDlgItem(box, id) : nullptr;
    return c ? c->control->rect : RECT{};
}

}  // namespace win32test
