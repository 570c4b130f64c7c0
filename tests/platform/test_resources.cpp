// A small resource table of a program that is not Virelux: the platform must serve any.
#include "platform/win32/win32.h"

const ResourceTables& Win32ProgramResources() {
    static const ResourceTables tables = [] {
        ResourceTables t;
        t.menus = {{7, {ResMenuItem{"File", 0, MF_POPUP, {ResMenuItem{"Open", 11, MF_STRING, {}}}}}}};
        return t;
    }();
    return tables;
}
