// ChooseColorA: a modal colour picker drawn with ImGui over the main window, in the nested
// loop that message boxes use (posted messages and painting go on, input to the owner is held
// back, a close of the main window cancels). The picker opens fully: the colour field with its
// red, green and blue values, the 16 custom colours (a click takes one; "Add to Custom" stores
// the current colour in the next slot), OK and Cancel. Enter confirms, Esc cancels.
// In recorded-interaction mode the dialog is only recorded and answered as the test said, or
// with OK and its start colour.
// Implements: ChooseColorA. Test hooks: AnswerNextColorDialog, RecordedColorDialogs.
// Leaves out: hooks and custom templates (CC_ENABLEHOOK, CC_ENABLETEMPLATE*), CC_PREVENTFULLOPEN,
// CC_SOLIDCOLOR and CC_SHOWHELP (the picker is always full), CommDlgExtendedError.
#include <SDL.h>
#include <imgui.h>

#include <algorithm>
#include <deque>

#include "platform/win32/state.h"

using namespace win32_internal;

namespace {

struct ColorDialogTestState {
    std::deque<std::optional<COLORREF>> answers;
    std::vector<win32test::RecordedColorDialog> recorded;
};

ColorDialogTestState& TestState() {
    static ColorDialogTestState state;
    return state;
}

void ToFloats(COLORREF c, float rgb[3]) {
    rgb[0] = GetRValue(c) / 255.0f;
    rgb[1] = GetGValue(c) / 255.0f;
    rgb[2] = GetBValue(c) / 255.0f;
}

COLORREF FromFloats(const float rgb[3]) {
    auto byte = [](float v) { return static_cast<BYTE>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
    return RGB(byte(rgb[0]), byte(rgb[1]), byte(rgb[2]));
}

BOOL RecordedColorDialog(CHOOSECOLORA* cc, COLORREF start) {
    ColorDialogTestState& t = TestState();
    win32test::RecordedColorDialog shown;
    shown.owner = cc->hwndOwner;
    shown.start = start;
    shown.flags = cc->Flags;
    std::copy(cc->lpCustColors, cc->lpCustColors + 16, shown.custom);
    std::optional<COLORREF> answer = start;
    if (!t.answers.empty()) {
        answer = t.answers.front();
        t.answers.pop_front();
    }
    shown.confirmed = answer.has_value();
    shown.result = answer.value_or(0);
    t.recorded.push_back(shown);
    if (!answer) return FALSE;
    cc->rgbResult = *answer;
    return TRUE;
}

BOOL ImGuiColorDialog(HWND host, CHOOSECOLORA* cc, COLORREF start) {
    float colour[3];
    ToFloats(start, colour);
    COLORREF custom[16];
    std::copy(cc->lpCustColors, cc->lpCustColors + 16, custom);
    int nextCustom = 0;
    int answer = 0;
    const std::function<void()> drawBox = [&] {
        const ImGuiIO& io = ImGui::GetIO();
        ImGui::GetBackgroundDrawList()->AddRectFilled(ImVec2(0, 0), io.DisplaySize, IM_COL32(0, 0, 0, 96));
        ImGui::SetNextWindowPos(ImVec2(io.DisplaySize.x * 0.5f, io.DisplaySize.y * 0.5f), ImGuiCond_Always, ImVec2(0.5f, 0.5f));
        ImGui::SetNextWindowFocus();
        const ImGuiWindowFlags flags = ImGuiWindowFlags_AlwaysAutoResize | ImGuiWindowFlags_NoCollapse |
                                       ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoMove;
        if (ImGui::Begin("Color##colordialog", nullptr, flags)) {
            // The colour field on the left; the custom colours, the chosen colour and the
            // buttons beside it, so that the box fits over a small main window.
            ImGui::SetNextItemWidth(150.0f);
            constexpr ImGuiColorEditFlags pickerFlags =
                ImGuiColorEditFlags_DisplayRGB | ImGuiColorEditFlags_InputRGB | ImGuiColorEditFlags_NoSidePreview;
            ImGui::ColorPicker3("##picker", colour, pickerFlags);
            ImGui::SameLine();
            ImGui::BeginGroup();
            ImGui::TextUnformatted("Custom colors:");
            for (int i = 0; i < 16; ++i) {
                if (i % 4) ImGui::SameLine();
                ImGui::PushID(i);
                float swatch[3];
                ToFloats(custom[i], swatch);
                if (ImGui::ColorButton("##custom", ImVec4(swatch[0], swatch[1], swatch[2], 1.0f),
                                       ImGuiColorEditFlags_NoTooltip, ImVec2(16, 16)))
                    std::copy(swatch, swatch + 3, colour);
                ImGui::PopID();
            }
            if (ImGui::Button("Add to Custom")) {
                custom[nextCustom] = FromFloats(colour);
                nextCustom = (nextCustom + 1) % 16;
            }
            ImGui::ColorButton("##chosen", ImVec4(colour[0], colour[1], colour[2], 1.0f), ImGuiColorEditFlags_NoTooltip,
                               ImVec2(88, 24));
            if (ImGui::Button("OK", ImVec2(88, 0))) answer = IDOK;
            if (ImGui::Button("Cancel", ImVec2(88, 0))) answer = IDCANCEL;
            ImGui::EndGroup();
            if (ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Enter)) ||
                ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_KeyPadEnter)))
                answer = IDOK;
            if (ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Escape))) answer = IDCANCEL;
        }
        ImGui::End();
    };
    // A close of the main window while the picker is open cancels it.
    if (!RunModalLoop(host, drawBox, [&] { return answer != 0; }) || answer != IDOK) return FALSE;
    cc->rgbResult = FromFloats(colour);
    std::copy(custom, custom + 16, cc->lpCustColors);
    return TRUE;
}

}  // namespace

BOOL ChooseColorA(CHOOSECOLORA* cc) {
    if (!cc || cc->lStructSize != sizeof(CHOOSECOLORA) || !cc->lpCustColors) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Win32State& s = W32();
    const COLORREF start = (cc->Flags & CC_RGBINIT) ? (cc->rgbResult & 0x00FFFFFFu) : 0;
    if (s.recordedInteraction) return RecordedColorDialog(cc, start);
    HWND host = LiveWindow(cc->hwndOwner) ? cc->hwndOwner : s.mainWindow;
    // Nowhere to draw (no window system, no GL): as if cancelled.
    if (!host || !host->imgui || !host->sdl) return FALSE;
    return ImGuiColorDialog(host, cc, start);
}

namespace win32test {

void AnswerNextColorDialog(std::optional<COLORREF> colour) { TestState().answers.push_back(colour); }
const std::vector<RecordedColorDialog>& RecordedColorDialogs() { return TestState().recorded; }

}  // namespace win32test
