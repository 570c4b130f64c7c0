// A headless show whose boxes run dialog scripts: a box opens through its menu command and
// the script acts on it through the real control model.
#pragma once

#include <algorithm>
#include <functional>
#include <string>

#include "tests/app/headless_show.h"

class Boxes : public HeadlessShow {
protected:
    // The box that start-up opens (the splash or the sound-device box) is over and forgotten.
    void SetUp() override {
        HeadlessShow::SetUp();
        Settle();
        win32test::ClearRecordedDialogs();
    }
    // Chooses menu command `command`, which opens `templateName`; `script` acts on the box.
    void Open(WORD command, const char* templateName, std::function<void(HWND)> script) {
        win32test::SetDialogScript(templateName, std::move(script));
        win32test::ChooseMenuItem(window, command);
        Settle();
    }
    static std::string Text(HWND box, int id) {
        char text[64] = "";
        GetDlgItemTextA(box, id, text, sizeof text);
        return text;
    }
    static int Position(HWND box, int id) { return GetScrollPos(GetDlgItem(box, id), SB_CTL); }
    static bool Checked(HWND box, int id) { return IsDlgButtonChecked(box, id) == BST_CHECKED; }
    // How many "Virelux Report" boxes over `owner` said `text`.
    static long Reports(HWND owner, const std::string& text) {
        const auto& shown = win32test::RecordedMessageBoxes();
        return std::count_if(shown.begin(), shown.end(), [&](const auto& b) {
            return b.owner == owner && b.text == text && b.caption == "Virelux Report";
        });
    }
};
