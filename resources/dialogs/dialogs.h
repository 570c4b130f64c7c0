// The program's dialog templates, one maker per template; resources.cpp lists them.
#pragma once

#include "platform/win32/win32.h"

ResDialog MakeRenBoxTemplate();   // "RenBox": render quality, fog and material
ResDialog MakeLigBoxTemplate();   // "LigBox": a light of a chosen type and colour
ResDialog MakeMusBoxTemplate();   // "MusBox": the Music Tools Box
ResDialog MakeSceBoxTemplate();   // "SceBox": the Scene Box
ResDialog MakeBasBoxTemplate();   // "BasBox": the Objects' Box
ResDialog MakeBgrBoxTemplate();   // "BgrBox": the Background Box
ResDialog MakeEdiBoxTemplate();   // "EdiBox": the Script Box
ResDialog MakeFlyBoxTemplate();   // "FlyBox": the Fly movement Box
ResDialog MakeRunBoxTemplate();   // "RunBox": the start-up splash picture
ResDialog MakeInfBoxTemplate();   // "InfBox": "Information Box" (Scene > About)
ResDialog MakeDevBoxTemplate();   // "DevBox": "Sound device" (start-up without the demo tune, Help > Introduction)
