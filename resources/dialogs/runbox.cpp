// "RunBox": the splash picture shown while the demo tune plays at start-up. No title bar;
// a click on the picture, Enter or Esc closes it.
// FIXME: the box's client edge is an extended style, which the templates do not carry.
#include "resources/dialogs/dialogs.h"
#include "resources/resource_ids.h"

ResDialog MakeRunBoxTemplate() {
    using C = ResControlClass;
    return ResDialog{
        "RunBox", 0, WS_POPUP | WS_VISIBLE | DS_CENTER | DS_SETFOREGROUND | DS_MODALFRAME, "", 273, 172,
        {
            {IDC_SPLASH_PICTURE, C::Static, SS_BITMAP | SS_CENTERIMAGE | SS_SUNKEN | SS_NOTIFY, "", 7, 7, 259, 158,
             IDB_SPLASH},
        }};
}
