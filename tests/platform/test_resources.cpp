// A small resource table of a program that is not Virelux: the platform must serve any.
#include "platform/win32/win32.h"

const ResourceTables& Win32ProgramResources() {
    static const ResourceTables tables = [] {
        ResourceTables t;
        t.strings = {{1, "TestClass"}, {2, "A title"}};
        t.menus = {{7,
                    {
                        ResMenuItem{"File", 0, MF_POPUP,
                                    {ResMenuItem{"Open", 11, MF_STRING, {}},
                                     ResMenuItem{"", 0, MF_SEPARATOR, {}},
                                     ResMenuItem{"Recent", 0, MF_POPUP, {ResMenuItem{"First", 21, MF_STRING, {}}}}}},
                        ResMenuItem{"Tools", 0, MF_POPUP, {ResMenuItem{"Options", 31, MF_STRING, {}}}},
                        ResMenuItem{"Go", 41, MF_STRING, {}},
                    }}};
        t.accelerators = {{"KEYS", {ACCEL{FVIRTKEY | FNOINVERT, VK_F2, 50}, ACCEL{FVIRTKEY | FCONTROL, 'O', 11}}}};
        return t;
    }();
    return tables;
}
