// The program's resource tables: strings, the main menu, the accelerators, the dialog
// templates (made in dialogs/) and the images that icon and bitmap resources load from the
// installation folder.
#include "platform/win32/win32.h"
#include "resources/dialogs/dialogs.h"
#include "resources/resource_ids.h"

namespace {

ResMenuItem Item(const char* text, UINT id, UINT flags = MF_STRING) { return ResMenuItem{text, id, flags, {}}; }
ResMenuItem Separator() { return ResMenuItem{"", 0, MF_SEPARATOR, {}}; }
ResMenuItem Popup(const char* text, std::vector<ResMenuItem> items) { return ResMenuItem{text, 0, MF_POPUP, std::move(items)}; }

ResourceTables MakeTables() {
    ResourceTables t;
    t.strings = {
        {IDS_CLASS_NAME, "VLXClass"},
        {IDS_SHORT_TITLE, "Virelux  2.5"},
        {IDS_TITLE, "Virelux 2.5 (Freeware version)"},
    };
    t.menus = {{IDR_MAIN_MENU,
                {
                    Popup("Scene",
                          {
                              Popup("Set Scene",
                                    {
                                        Item("without light object", IDM_SCENE_WITHOUT_LIGHTS),
                                        Item("with light object", IDM_SCENE_WITH_LIGHTS),
                                        Separator(),
                                        Item("main Scene", IDM_MAIN_SCENE),
                                    }),
                              Popup("Load",
                                    {
                                        Item("Background (bmp)", IDM_LOAD_BACKGROUND),
                                        Item("Object ( x file)", IDM_LOAD_OBJECT),
                                        Item("Scenes (script file)", IDM_LOAD_SCENE),
                                    }),
                              Popup("Edit",
                                    {
                                        Item("Background image", IDM_EDIT_BACKGROUND),
                                        Item("Scenes (script file)", IDM_EDIT_SCRIPT),
                                    }),
                              Item("Fly movement", IDM_FLY_MOVEMENT),
                              Separator(),
                              Item("About", IDM_ABOUT),
                              Item("Close", IDM_CLOSE),
                          }),
                    Popup("Functions",
                          {
                              Item("Select box", IDM_SELECT_BOX),
                              Popup("Object treat",
                                    {
                                        Item("Ground color", IDM_GROUND_COLOR),
                                        Separator(),
                                        Item("Delete", IDM_DELETE),
                                        Item("Copy", IDM_COPY),
                                        Item("Cut", IDM_CUT),
                                        Item("Paste", IDM_PASTE),
                                    }),
                              Separator(),
                          }),
                    Item("Renderer", IDM_RENDERER),
                    Item("Light", IDM_LIGHT),
                    Item("Music", IDM_MUSIC),
                    Popup("Help",
                          {
                              Popup("1.Help",
                                    {
                                        Item("Keyboard", IDM_HELP_KEYBOARD),
                                        Item("Introduction", IDM_HELP_INTRODUCTION),
                                    }),
                              Item("Description", IDM_DESCRIPTION, MF_STRING | MF_HELP),
                          }),
                }}};
    t.accelerators = {{kAcceleratorTable, {ACCEL{FVIRTKEY | FNOINVERT, VK_F1, IDM_HELP_INTRODUCTION}}}};
    t.icons = {{IDI_APP_ICON, "res/virelux.bmp"}};
    t.bitmaps = {
        {IDB_RED, "res/red.bmp"},
        {IDB_GREEN, "res/green.bmp"},
        {IDB_BLUE, "res/blue.bmp"},
        {IDB_GALAXIS1, "res/galaxis1.bmp"},
        {IDB_GALAXIS2, "res/galaxis2.bmp"},
        {IDB_GALAXIS3, "res/galaxis3.bmp"},
        {IDB_SKY01, "res/sky01.bmp"},
        {IDB_SKY02, "res/sky02.bmp"},
        {IDB_SKY03, "res/sky03.bmp"},
        {IDB_SCENE_MAIN01, "res/main01.bmp"},
        {IDB_SCENE_MAIN02, "res/main02.bmp"},
        {IDB_SCENE_MAIN03, "res/main03.bmp"},
        {IDB_SHAPE_GROUND, "res/ground.bmp"},
        {IDB_SHAPE_CUBE, "res/cube.bmp"},
        {IDB_SHAPE_SPHERE, "res/sphere.bmp"},
        {IDB_SHAPE_CYLINDER, "res/cylinder.bmp"},
        {IDB_SHAPE_CONE, "res/cone.bmp"},
        {IDB_SHAPE_TORUS, "res/torus.bmp"},
        {IDB_SPLASH, "res/splash.bmp"},
        {IDB_SIGMETER, "res/sigmeter.bmp"},
        {IDB_HELP, "res/help.bmp"},
    };
    t.dialogs.push_back(MakeRenBoxTemplate());
    t.dialogs.push_back(MakeLigBoxTemplate());
    t.dialogs.push_back(MakeMusBoxTemplate());
    t.dialogs.push_back(MakeSceBoxTemplate());
    t.dialogs.push_back(MakeBasBoxTemplate());
    t.dialogs.push_back(MakeBgrBoxTemplate());
    t.dialogs.push_back(MakeEdiBoxTemplate());
    t.dialogs.push_back(MakeFlyBoxTemplate());
    t.dialogs.push_back(MakeRunBoxTemplate());
    t.dialogs.push_back(MakeInfBoxTemplate());
    t.dialogs.push_back(MakeDevBoxTemplate());
    return t;
}

}  // namespace

const ResourceTables& Win32ProgramResources() {
    static const ResourceTables tables = MakeTables();
    return tables;
}
