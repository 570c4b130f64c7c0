// Drawing a dialog box's controls with ImGui, and turning what the user does to them (clicks,
// the scroll bar's arrows, track and thumb, Enter, Esc, Tab, Space, the keys of a radio group
// or scroll bar that has the focus) into the actions of the control model, carried out after
// the frame. The focus, once the keyboard has moved it, shows as a dotted mark.
// Internal to platform/win32: no call of its own; it draws the boxes of dialog.cpp.
#include <epoxy/gl.h>
#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/win32/state.h"

using namespace win32_internal;

namespace {

constexpr ImU32 kShadow = IM_COL32(128, 128, 128, 255);
constexpr ImU32 kHighlight = IM_COL32(255, 255, 255, 255);
constexpr ImU32 kFace = IM_COL32(212, 208, 200, 255);
constexpr ImU32 kTrack = IM_COL32(232, 230, 226, 255);
constexpr ImU32 kText = IM_COL32(0, 0, 0, 255);

void Later(HWND box, std::function<void()> action) { box->dialog->pending.push_back(std::move(action)); }

ImVec2 TopLeft(const RECT& r) { return ImVec2(static_cast<float>(r.left), static_cast<float>(r.top)); }
float Width(const RECT& r) { return static_cast<float>(r.right - r.left); }
float Height(const RECT& r) { return static_cast<float>(r.bottom - r.top); }

// A caption without the mnemonic marks: "&Open" shows "Open", "&&" shows "&".
std::string Caption(const std::string& text) {
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return shown;
}

// Draws text within `r`, broken at its width and at "\n", aligned as SS_LEFT / SS_CENTER /
// SS_RIGHT say.
void DrawStaticText(const RECT& r, const std::string& text, DWORD align) {
    ImDrawList* draw = ImGui::GetWindowDrawList();
    ImFont* font = ImGui::GetFont();
    const float size = ImGui::GetFontSize();
    const float width = std::max(1.0f, Width(r));
    const ImVec2 origin = ImGui::GetWindowPos();
    float y = static_cast<float>(r.top);
    const char* line = text.c_str();
    const char* end = line + text.size();
    for (;;) {
        const char* lineEnd = std::find(line, end, '\n');
        const char* p = line;
        do {
            const char* wrap = font->CalcWordWrapPositionA(1.0f, p, lineEnd, width);
            if (wrap == p && p < lineEnd) ++wrap;   // a word wider than the control
            const float w = ImGui::CalcTextSize(p, wrap).x;
            float x = static_cast<float>(r.left);
            if (align == SS_CENTER) x += (width - w) * 0.5f;
            if (align == SS_RIGHT) x += width - w;
            draw->AddText(font, size, ImVec2(origin.x + std::floor(x), origin.y + y), kText, p, wrap);
            y += size;
            p = wrap;
            while (p < lineEnd && *p == ' ') ++p;
        } while (p < lineEnd);
        if (lineEnd == end) break;
        line = lineEnd + 1;
    }
}

// A frame line as the platform draws it: sunken (dark top-left) or raised.
void Edge(const ImVec2& a, const ImVec2& b, bool sunken) {
    ImDrawList* draw = ImGui::GetWindowDrawList();
    const ImU32 topLeft = sunken ? kShadow : kHighlight, bottomRight = sunken ? kHighlight : kShadow;
    draw->AddLine(a, ImVec2(b.x, a.y), topLeft);
    draw->AddLine(a, ImVec2(a.x, b.y), topLeft);
    draw->AddLine(ImVec2(a.x, b.y), b, bottomRight);
    draw->AddLine(ImVec2(b.x, a.y), b, bottomRight);
}

void DrawButton(HWND box, HWND c) {
    const ControlState& state = *c->control;
    ImGui::SetCursorPos(TopLeft(state.rect));
    if (state.isDefault) {
        ImGui::PushStyleVar(ImGuiStyleVar_FrameBorderSize, 2.0f);
        ImGui::PushStyleColor(ImGuiCol_Border, IM_COL32(0, 0, 0, 255));
    }
    if (ImGui::Button(Caption(c->title).c_str(), ImVec2(Width(state.rect), Height(state.rect))))
        Later(box, [c] { ClickDialogControl(c); });
    if (state.isDefault) {
        ImGui::PopStyleColor();
        ImGui::PopStyleVar();
    }
}

void DrawCheck(HWND box, HWND c) {
    const ControlState& state = *c->control;
    ImGui::PushStyleVar(ImGuiStyleVar_FramePadding, ImVec2(2.0f, 1.0f));
    const float frame = ImGui::GetFrameHeight();
    ImGui::SetCursorPos(ImVec2(static_cast<float>(state.rect.left),
                               static_cast<float>(state.rect.top) + std::max(0.0f, (Height(state.rect) - frame) * 0.5f)));
    const std::string label = Caption(c->title);
    bool checked = state.check == BST_CHECKED;
    const bool clicked = state.kind == ControlKind::RadioButton ? ImGui::RadioButton(label.c_str(), checked)
                                                                 : ImGui::Checkbox(label.c_str(), &checked);
    // As on the platform, the whole rectangle takes the click, not only the mark and its label.
    ImGui::SetCursorPos(TopLeft(state.rect));
    const bool besideLabel = ImGui::InvisibleButton("rest", ImVec2(Width(state.rect), Height(state.rect)));
    if (clicked || besideLabel) Later(box, [c] { ClickDialogControl(c); });
    ImGui::PopStyleVar();
}

void DrawGroupBox(HWND c) {
    const RECT& r = c->control->rect;
    const ImVec2 origin = ImGui::GetWindowPos();
    const float half = std::floor(ImGui::GetFontSize() * 0.5f);
    const ImVec2 a(origin.x + static_cast<float>(r.left), origin.y + static_cast<float>(r.top) + half);
    const ImVec2 b(origin.x + static_cast<float>(r.right) - 1.0f, origin.y + static_cast<float>(r.bottom) - 1.0f);
    Edge(a, b, true);
    Edge(ImVec2(a.x + 1, a.y + 1), ImVec2(b.x + 1, b.y + 1), false);
    const std::string label = Caption(c->title);
    if (label.empty()) return;
    const ImVec2 size = ImGui::CalcTextSize(label.c_str());
    const ImVec2 at(a.x + 8.0f, origin.y + static_cast<float>(r.top));
    ImDrawList* draw = ImGui::GetWindowDrawList();
    draw->AddRectFilled(ImVec2(at.x - 2.0f, at.y), ImVec2(at.x + size.x + 2.0f, at.y + size.y), kFace);
    draw->AddText(at, kText, label.c_str());
}

// Clicks on a static control that notifies them.
void ClickArea(HWND box, HWND c, const ImVec2& at, const ImVec2& size) {
    if (!(c->style & SS_NOTIFY) || size.x <= 0 || size.y <= 0) return;
    ImGui::SetCursorPos(at);
    if (ImGui::InvisibleButton("click", size)) Later(box, [c] { ClickDialogControl(c); });
}

// The picture's texture in the box's GL context, made again when the image changed.
void UpdateTexture(ControlState& state) {
    if (state.textureImage == state.image) return;
    if (state.texture) glDeleteTextures(1, &state.texture);
    state.texture = 0;
    state.textureImage = state.image;
    SDL_Surface* source = state.image ? static_cast<HICON>(state.image)->surface : nullptr;
    SDL_Surface* rgba = source ? SDL_ConvertSurfaceFormat(source, SDL_PIXELFORMAT_RGBA32, 0) : nullptr;
    if (!rgba) return;
    glGenTextures(1, &state.texture);
    glBindTexture(GL_TEXTURE_2D, state.texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, rgba->pitch / 4);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, rgba->w, rgba->h, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba->pixels);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    state.textureWidth = rgba->w;
    state.textureHeight = rgba->h;
    SDL_FreeSurface(rgba);
}

// A picture at its own size: centred in the control with SS_CENTERIMAGE, else at its
// top-left corner (the control takes the picture's size).
void DrawPicture(HWND box, HWND c) {
    ControlState& state = *c->control;
    UpdateTexture(state);
    const RECT& r = state.rect;
    ImVec2 at = TopLeft(r);
    ImVec2 size(Width(r), Height(r));
    if (state.texture) {
        const ImVec2 image(static_cast<float>(state.textureWidth), static_cast<float>(state.textureHeight));
        if (c->style & SS_CENTERIMAGE)
            at = ImVec2(at.x + std::floor((size.x - image.x) * 0.5f), at.y + std::floor((size.y - image.y) * 0.5f));
        size = image;
        ImGui::SetCursorPos(at);
        ImGui::Image(reinterpret_cast<ImTextureID>(static_cast<std::uintptr_t>(state.texture)), image);
    }
    if (c->style & SS_SUNKEN) {
        const ImVec2 origin = ImGui::GetWindowPos();
        Edge(ImVec2(origin.x + static_cast<float>(r.left), origin.y + static_cast<float>(r.top)),
             ImVec2(origin.x + static_cast<float>(r.right) - 1.0f, origin.y + static_cast<float>(r.bottom) - 1.0f), true);
    }
    ClickArea(box, c, at, size);
}

void DrawArrow(const ImVec2& a, const ImVec2& b, bool left) {
    ImDrawList* draw = ImGui::GetWindowDrawList();
    const ImVec2 origin = ImGui::GetWindowPos();
    const float cx = origin.x + (a.x + b.x) * 0.5f, cy = origin.y + (a.y + b.y) * 0.5f;
    const float s = std::max(2.0f, std::floor((b.y - a.y) * 0.2f));
    if (left) draw->AddTriangleFilled(ImVec2(cx - s, cy), ImVec2(cx + s * 0.6f, cy - s), ImVec2(cx + s * 0.6f, cy + s), kText);
    else draw->AddTriangleFilled(ImVec2(cx + s, cy), ImVec2(cx - s * 0.6f, cy - s), ImVec2(cx - s * 0.6f, cy + s), kText);
}

void RaisedBox(const ImVec2& a, const ImVec2& b, bool pressed) {
    const ImVec2 origin = ImGui::GetWindowPos();
    const ImVec2 p(origin.x + a.x, origin.y + a.y), q(origin.x + b.x - 1.0f, origin.y + b.y - 1.0f);
    ImGui::GetWindowDrawList()->AddRectFilled(p, q, kFace);
    Edge(p, q, pressed);
}

// A part of the scroll bar that sends `code` when pressed and again while held, and
// SB_ENDSCROLL when let go.
void ScrollPart(HWND box, HWND c, const char* id, const ImVec2& a, const ImVec2& b, WORD code) {
    if (b.x - a.x < 1.0f) return;
    ImGui::SetCursorPos(a);
    const ImGuiButtonFlags flags = ImGuiButtonFlags_PressedOnClick | ImGuiButtonFlags_Repeat;
    if (ImGui::InvisibleButton(id, ImVec2(b.x - a.x, b.y - a.y), flags))
        Later(box, [c, code] { ScrollDialogControl(c, code, 0); });
    if (ImGui::IsItemActivated()) box->dialog->focus = c;
    if (ImGui::IsItemDeactivated()) Later(box, [c] { ScrollDialogControl(c, SB_ENDSCROLL, 0); });
}

// A horizontal scroll bar: arrows at both ends, the track between them, and a square thumb
// at the position within the range. The thumb follows the mouse while held (SB_THUMBTRACK)
// and lands where it is let go (SB_THUMBPOSITION); the position itself is the procedure's
// to set.
void DrawScrollBar(HWND box, HWND c) {
    ControlState& state = *c->control;
    const RECT& r = state.rect;
    const float x0 = static_cast<float>(r.left), y0 = static_cast<float>(r.top), y1 = static_cast<float>(r.bottom);
    const float width = Width(r), height = Height(r);
    const float arrow = std::floor(std::min(height, width / 3.0f));
    const float trackStart = x0 + arrow, trackEnd = x0 + width - arrow;
    const float thumb = arrow;
    const float travel = std::max(1.0f, trackEnd - trackStart - thumb);
    const int range = state.scrollMax - state.scrollMin;
    auto thumbX = [&](int pos) {
        return range > 0 ? trackStart + std::floor(static_cast<float>(pos - state.scrollMin) / static_cast<float>(range) * travel)
                         : trackStart;
    };
    auto posAt = [&](float x) {
        const float t = std::clamp((x - trackStart) / travel, 0.0f, 1.0f);
        return state.scrollMin + static_cast<int>(std::lround(t * static_cast<float>(range)));
    };
    const float shownX = thumbX(state.dragging ? state.trackPos : state.scrollPos);

    const ImVec2 origin = ImGui::GetWindowPos();
    ImGui::GetWindowDrawList()->AddRectFilled(ImVec2(origin.x + trackStart, origin.y + y0),
                                              ImVec2(origin.x + trackEnd, origin.y + y1), kTrack);

    // The thumb first: it takes the mouse where it lies over the track.
    ImGui::SetCursorPos(ImVec2(shownX, y0));
    ImGui::InvisibleButton("thumb", ImVec2(thumb, height), ImGuiButtonFlags_PressedOnClick);
    const float mouseX = ImGui::GetIO().MousePos.x - origin.x;
    if (ImGui::IsItemActivated()) {
        state.dragging = true;
        state.trackPos = state.scrollPos;
        state.grabOffset = mouseX - shownX;
        box->dialog->focus = c;
    } else if (state.dragging && ImGui::IsItemActive()) {
        const int pos = posAt(mouseX - state.grabOffset);
        if (pos != state.trackPos) {
            state.trackPos = pos;
            Later(box, [c, pos] { ScrollDialogControl(c, SB_THUMBTRACK, pos); });
        }
    } else if (state.dragging && ImGui::IsItemDeactivated()) {
        const int pos = posAt(mouseX - state.grabOffset);
        state.dragging = false;
        Later(box, [c, pos] {
            ScrollDialogControl(c, SB_THUMBPOSITION, pos);
            ScrollDialogControl(c, SB_ENDSCROLL, 0);
        });
    }
    ScrollPart(box, c, "left", ImVec2(x0, y0), ImVec2(trackStart, y1), SB_LINELEFT);
    ScrollPart(box, c, "right", ImVec2(trackEnd, y0), ImVec2(x0 + width, y1), SB_LINERIGHT);
    ScrollPart(box, c, "pageleft", ImVec2(trackStart, y0), ImVec2(shownX, y1), SB_PAGELEFT);
    ScrollPart(box, c, "pageright", ImVec2(shownX + thumb, y0), ImVec2(trackEnd, y1), SB_PAGERIGHT);

    RaisedBox(ImVec2(x0, y0), ImVec2(trackStart, y1), false);
    RaisedBox(ImVec2(trackEnd, y0), ImVec2(x0 + width, y1), false);
    DrawArrow(ImVec2(x0, y0), ImVec2(trackStart, y1), true);
    DrawArrow(ImVec2(trackEnd, y0), ImVec2(x0 + width, y1), false);
    RaisedBox(ImVec2(shownX, y0), ImVec2(shownX + thumb, y1), false);
}

// Enter, Esc, Tab, Shift+Tab and Space for the box; the arrows in a radio group that has the
// focus; the arrows, page keys, Home and End for a scroll bar that has it, SB_ENDSCROLL when
// such a key is let go.
void HandleKeys(HWND box) {
    auto pressed = [](ImGuiKey key, bool repeat) { return ImGui::IsKeyPressed(ImGui::GetKeyIndex(key), repeat); };
    if (pressed(ImGuiKey_Enter, false) || pressed(ImGuiKey_KeyPadEnter, false))
        Later(box, [box] { PressDialogKey(box, VK_RETURN); });
    if (pressed(ImGuiKey_Escape, false)) Later(box, [box] { PressDialogKey(box, VK_ESCAPE); });
    if (pressed(ImGuiKey_Tab, true)) Later(box, [box, shift = ImGui::GetIO().KeyShift] { PressDialogKey(box, VK_TAB, shift); });
    if (pressed(ImGuiKey_Space, false)) Later(box, [box] { PressDialogKey(box, VK_SPACE); });
    HWND focus = box->dialog->focus;
    if (focus && LiveWindow(focus) && focus->control->kind == ControlKind::RadioButton) {
        const struct {
            ImGuiKey key;
            WORD virtualKey;
        } arrows[] = {{ImGuiKey_LeftArrow, VK_LEFT}, {ImGuiKey_UpArrow, VK_UP}, {ImGuiKey_RightArrow, VK_RIGHT},
                      {ImGuiKey_DownArrow, VK_DOWN}};
        for (const auto& a : arrows)
            if (pressed(a.key, true)) Later(box, [box, vk = a.virtualKey] { PressDialogKey(box, vk); });
        return;
    }
    HWND bar = focus;
    if (!bar || !LiveWindow(bar) || bar->control->kind != ControlKind::ScrollBar || bar->disabled) return;
    const struct {
        ImGuiKey key;
        WORD code;
        bool repeat;
    } keys[] = {
        {ImGuiKey_LeftArrow, SB_LINELEFT, true}, {ImGuiKey_UpArrow, SB_LINELEFT, true},
        {ImGuiKey_RightArrow, SB_LINERIGHT, true}, {ImGuiKey_DownArrow, SB_LINERIGHT, true},
        {ImGuiKey_PageUp, SB_PAGELEFT, true},    {ImGuiKey_PageDown, SB_PAGERIGHT, true},
        {ImGuiKey_Home, SB_LEFT, false},         {ImGuiKey_End, SB_RIGHT, false},
    };
    for (const auto& k : keys) {
        if (pressed(k.key, k.repeat)) Later(box, [bar, code = k.code] { ScrollDialogControl(bar, code, 0); });
        if (ImGui::IsKeyReleased(ImGui::GetKeyIndex(k.key))) Later(box, [bar] { ScrollDialogControl(bar, SB_ENDSCROLL, 0); });
    }
}

// The platform's focus mark: a dotted rectangle just inside the focused control.
void DrawFocusMark(const RECT& r) {
    ImDrawList* draw = ImGui::GetWindowDrawList();
    const ImVec2 origin = ImGui::GetWindowPos();
    const float x0 = origin.x + static_cast<float>(r.left) + 1.0f, y0 = origin.y + static_cast<float>(r.top) + 1.0f;
    const float x1 = origin.x + static_cast<float>(r.right) - 2.0f, y1 = origin.y + static_cast<float>(r.bottom) - 2.0f;
    for (float x = x0; x <= x1; x += 2.0f) {
        draw->AddRectFilled(ImVec2(x, y0), ImVec2(x + 1.0f, y0 + 1.0f), kText);
        draw->AddRectFilled(ImVec2(x, y1), ImVec2(x + 1.0f, y1 + 1.0f), kText);
    }
    for (float y = y0; y <= y1; y += 2.0f) {
        draw->AddRectFilled(ImVec2(x0, y), ImVec2(x0 + 1.0f, y + 1.0f), kText);
        draw->AddRectFilled(ImVec2(x1, y), ImVec2(x1 + 1.0f, y + 1.0f), kText);
    }
}

}  // namespace

void win32_internal::DrawDialogControls(HWND box) {
    DialogState& d = *box->dialog;
    // A box opened over this one (a message box) takes the input meanwhile.
    const bool covered = box->modalDraws.empty() || box->modalDraws.back() != &d.drawContent || box->disabled;
    const ImGuiIO& io = ImGui::GetIO();
    ImGui::SetNextWindowPos(ImVec2(0, 0));
    ImGui::SetNextWindowSize(io.DisplaySize);
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(0, 0));
    ImGui::PushStyleVar(ImGuiStyleVar_WindowBorderSize, 0.0f);
    ImGui::PushStyleColor(ImGuiCol_WindowBg, kFace);
    const ImGuiWindowFlags flags = ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings |
                                   ImGuiWindowFlags_NoBringToFrontOnFocus | ImGuiWindowFlags_NoScrollWithMouse;
    ImGui::Begin("##dialog", nullptr, flags);
    ImGui::BeginDisabled(covered);
    for (size_t i = 0; i < d.controls.size(); ++i) {
        HWND c = d.controls[i];
        if (!LiveWindow(c)) continue;
        ImGui::PushID(static_cast<int>(i));
        ImGui::BeginDisabled(c->disabled);
        switch (c->control->kind) {
        case ControlKind::PushButton: DrawButton(box, c); break;
        case ControlKind::CheckBox:
        case ControlKind::RadioButton: DrawCheck(box, c); break;
        case ControlKind::GroupBox: DrawGroupBox(c); break;
        case ControlKind::Text:
            DrawStaticText(c->control->rect, Caption(c->title), c->style & SS_TYPEMASK);
            ClickArea(box, c, TopLeft(c->control->rect), ImVec2(Width(c->control->rect), Height(c->control->rect)));
            break;
        case ControlKind::Picture: DrawPicture(box, c); break;
        case ControlKind::ScrollBar: DrawScrollBar(box, c); break;
        }
        ImGui::EndDisabled();
        ImGui::PopID();
    }
    if (d.keyboardFocus && d.focus && LiveWindow(d.focus)) DrawFocusMark(d.focus->control->rect);
    if (!covered) HandleKeys(box);
    ImGui::EndDisabled();
    ImGui::End();
    ImGui::PopStyleColor();
    ImGui::PopStyleVar(2);
}
