// The program's dialog templates, one maker per template; resources.cpp lists them.
#pragma once

#include "platform/win32/win32.h"

ResDialog MakeRunBoxTemplate();   // the start-up splash picture
ResDialog MakeInfBoxTemplate();   // "Information Box" (Scene > About)
ResDialog MakeDevBoxTemplate();   // "Sound device" (start-up without the demo tune, Help > Introduction)
