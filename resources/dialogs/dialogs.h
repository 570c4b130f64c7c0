// The dialog templates of the program's boxes, one file each; resources.cpp puts them into
// the resource table.
#pragma once

#include "platform/win32/win32.h"

ResDialog MakeSceBoxTemplate();   // "SceBox": the Scene Box
ResDialog MakeBasBoxTemplate();   // "BasBox": the Objects' Box
ResDialog MakeBgrBoxTemplate();   // "BgrBox": the Background Box
ResDialog MakeEdiBoxTemplate();   // "EdiBox": the Script Box
ResDialog MakeFlyBoxTemplate();   // "FlyBox": the Fly movement Box
