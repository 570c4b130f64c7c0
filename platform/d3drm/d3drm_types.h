// Value types, constants and helper functions of the retained-mode engine, with the
// platform's names and values. Left-handed coordinates (+x right, +y up, +z into the
// screen), angles in radians, colours 0..1 per channel or packed 0xAARRGGBB.
// Declares only types, constants and the colour and vector helpers of color.cpp.
#pragma once

#include "platform/win32/win32.h"

using D3DVALUE = float;
using D3DCOLOR = DWORD;
using D3DRMRENDERQUALITY = DWORD;
using D3DRMTEXTUREQUALITY = DWORD;
using D3DRMFOGMODE = DWORD;

struct D3DVECTOR {
    D3DVALUE x = 0;
    D3DVALUE y = 0;
    D3DVALUE z = 0;
};
using LPD3DVECTOR = D3DVECTOR*;

// Homogeneous screen coordinates (x·w, y·w, z·w, w) of the viewport's Transform.
struct D3DRMVECTOR4D {
    D3DVALUE x = 0;
    D3DVALUE y = 0;
    D3DVALUE z = 0;
    D3DVALUE w = 0;
};

struct D3DRMBOX {
    D3DVECTOR min;
    D3DVECTOR max;
};

struct D3DRMQUATERNION {
    D3DVALUE s = 1;   // the scalar part
    D3DVECTOR v;      // the vector part
};

struct D3DRMRAY {
    D3DVECTOR dvDir;
    D3DVECTOR dvPos;
};

// One hit of a ray pick.
struct D3DRMPICKDESC2 {
    ULONG ulFaceIdx = 0;      // the face hit, within its mesh builder or mesh group
    LONG lGroupIdx = 0;       // the mesh group hit (0 for mesh builders)
    D3DVECTOR dvPosition;     // where, in the pick's reference coordinates
    D3DVALUE tu = 0;          // texture coordinates at the hit
    D3DVALUE tv = 0;
    D3DVECTOR dvNormal;       // the face normal, in the pick's reference coordinates
    D3DCOLOR dcColor = 0;     // the face colour
};

// ---- Results -----------------------------------------------------------------------------
constexpr HRESULT D3DRM_OK = 0;
constexpr HRESULT MAKE_D3DRMERR(int code) { return static_cast<HRESULT>(0x88760000u | static_cast<unsigned>(code)); }
constexpr HRESULT D3DRMERR_BADOBJECT = MAKE_D3DRMERR(781);
constexpr HRESULT D3DRMERR_BADTYPE = MAKE_D3DRMERR(782);
constexpr HRESULT D3DRMERR_BADALLOC = MAKE_D3DRMERR(783);
constexpr HRESULT D3DRMERR_FACEUSED = MAKE_D3DRMERR(784);
constexpr HRESULT D3DRMERR_NOTFOUND = MAKE_D3DRMERR(785);
constexpr HRESULT D3DRMERR_NOTDONEYET = MAKE_D3DRMERR(786);
constexpr HRESULT D3DRMERR_FILENOTFOUND = MAKE_D3DRMERR(787);
constexpr HRESULT D3DRMERR_BADFILE = MAKE_D3DRMERR(788);
constexpr HRESULT D3DRMERR_BADDEVICE = MAKE_D3DRMERR(789);
constexpr HRESULT D3DRMERR_BADVALUE = MAKE_D3DRMERR(790);
constexpr HRESULT D3DRMERR_BADMAJORVERSION = MAKE_D3DRMERR(791);
constexpr HRESULT D3DRMERR_BADMINORVERSION = MAKE_D3DRMERR(792);
constexpr HRESULT D3DRMERR_UNABLETOEXECUTE = MAKE_D3DRMERR(793);

// ---- Viewport clearing -------------------------------------------------------------------
constexpr DWORD D3DRMCLEAR_TARGET = 0x1;
constexpr DWORD D3DRMCLEAR_ZBUFFER = 0x2;
constexpr DWORD D3DRMCLEAR_DIRTYRECTS = 0x4;
constexpr DWORD D3DRMCLEAR_ALL = D3DRMCLEAR_TARGET | D3DRMCLEAR_ZBUFFER | D3DRMCLEAR_DIRTYRECTS;

// ---- Render quality: shade, lighting and fill bits ---------------------------------------
constexpr DWORD D3DRMSHADE_FLAT = 0;
constexpr DWORD D3DRMSHADE_GOURAUD = 1;
constexpr DWORD D3DRMSHADE_PHONG = 2;
constexpr DWORD D3DRMSHADE_MASK = 7;
constexpr DWORD D3DRMLIGHT_OFF = 0 << 3;
constexpr DWORD D3DRMLIGHT_ON = 1 << 3;
constexpr DWORD D3DRMLIGHT_MASK = 7 << 3;
constexpr DWORD D3DRMFILL_POINTS = 0 << 6;
constexpr DWORD D3DRMFILL_WIREFRAME = 1 << 6;
constexpr DWORD D3DRMFILL_SOLID = 2 << 6;
constexpr DWORD D3DRMFILL_MASK = 7 << 6;
constexpr DWORD D3DRMRENDER_FLAT = D3DRMSHADE_FLAT | D3DRMLIGHT_ON | D3DRMFILL_SOLID;
constexpr DWORD D3DRMRENDER_GOURAUD = D3DRMSHADE_GOURAUD | D3DRMLIGHT_ON | D3DRMFILL_SOLID;
constexpr DWORD D3DRMRENDER_PHONG = D3DRMSHADE_PHONG | D3DRMLIGHT_ON | D3DRMFILL_SOLID;

constexpr DWORD D3DRMTEXTURE_NEAREST = 0;
constexpr DWORD D3DRMTEXTURE_LINEAR = 1;

// ---- Fog ---------------------------------------------------------------------------------
constexpr DWORD D3DRMFOG_LINEAR = 0;
constexpr DWORD D3DRMFOG_EXPONENTIAL = 1;
constexpr DWORD D3DRMFOG_EXPONENTIALSQUARED = 2;

// ---- Lights -----------------------------------------------------------------------------
using D3DRMLIGHTTYPE = DWORD;
constexpr DWORD D3DRMLIGHT_AMBIENT = 0;
constexpr DWORD D3DRMLIGHT_POINT = 1;
constexpr DWORD D3DRMLIGHT_SPOT = 2;
constexpr DWORD D3DRMLIGHT_DIRECTIONAL = 3;
constexpr DWORD D3DRMLIGHT_PARALLELPOINT = 4;

// ---- Frames ------------------------------------------------------------------------------
using D3DRMCOMBINETYPE = DWORD;
constexpr DWORD D3DRMCOMBINE_REPLACE = 0;   // the new transform replaces the frame's
constexpr DWORD D3DRMCOMBINE_BEFORE = 1;    // applied before the frame's own (in its local space)
constexpr DWORD D3DRMCOMBINE_AFTER = 2;     // applied after it (in the parent's space)

using D3DRMMATERIALMODE = DWORD;
constexpr DWORD D3DRMMATERIAL_FROMMESH = 0;
constexpr DWORD D3DRMMATERIAL_FROMPARENT = 1;
constexpr DWORD D3DRMMATERIAL_FROMFRAME = 2;

// LookAt: the frame's z axis points at the target; the constraint names the axis that
// may not turn.
using D3DRMFRAMECONSTRAINT = DWORD;
constexpr DWORD D3DRMCONSTRAIN_Z = 0;
constexpr DWORD D3DRMCONSTRAIN_Y = 1;
constexpr DWORD D3DRMCONSTRAIN_X = 2;

constexpr DWORD D3DRMCALLBACK_PREORDER = 0;
constexpr DWORD D3DRMCALLBACK_POSTORDER = 1;

constexpr DWORD D3DRMRAYPICK_ONLYBOUNDINGBOXES = 1;
constexpr DWORD D3DRMRAYPICK_IGNOREFURTHERPRIMITIVES = 2;
constexpr DWORD D3DRMRAYPICK_INTERPOLATEUV = 4;
constexpr DWORD D3DRMRAYPICK_INTERPOLATECOLOR = 8;
constexpr DWORD D3DRMRAYPICK_INTERPOLATENORMAL = 0x10;

// ---- Meshes ------------------------------------------------------------------------------
using D3DRMGROUPINDEX = LONG;
constexpr LONG D3DRMGROUP_ALLGROUPS = -1;
using D3DRMMAPPING = DWORD;
constexpr DWORD D3DRMMAP_WRAPU = 1;
constexpr DWORD D3DRMMAP_WRAPV = 2;
constexpr DWORD D3DRMMAP_PERSPCORRECT = 4;

using D3DRMWRAPTYPE = DWORD;
constexpr DWORD D3DRMWRAP_FLAT = 0;
constexpr DWORD D3DRMWRAP_CYLINDER = 1;
constexpr DWORD D3DRMWRAP_SPHERE = 2;
constexpr DWORD D3DRMWRAP_CHROME = 3;

constexpr DWORD D3DRMADDMESHBUILDER_DONTCOPYAPPDATA = 1;

// ---- Animations --------------------------------------------------------------------------
using D3DRMANIMATIONOPTIONS = DWORD;
constexpr DWORD D3DRMANIMATION_OPEN = 0x01;
constexpr DWORD D3DRMANIMATION_CLOSED = 0x02;             // loops with period last key - first key
constexpr DWORD D3DRMANIMATION_LINEARPOSITION = 0x04;
constexpr DWORD D3DRMANIMATION_SPLINEPOSITION = 0x08;     // an interpolating spline through the keys
constexpr DWORD D3DRMANIMATION_SCALEANDROTATION = 0x10;
constexpr DWORD D3DRMANIMATION_POSITION = 0x20;

// ---- Loading -----------------------------------------------------------------------------
using D3DRMLOADOPTIONS = DWORD;
constexpr DWORD D3DRMLOAD_FROMFILE = 0x00;
constexpr DWORD D3DRMLOAD_FIRST = 0x00;
constexpr DWORD D3DRMLOAD_INSTANCEBYREFERENCE = 0x100;
constexpr DWORD D3DRMLOAD_INSTANCEBYCOPYING = 0x200;

// ---- Colours and vectors -----------------------------------------------------------------
D3DCOLOR D3DRMCreateColorRGB(D3DVALUE red, D3DVALUE green, D3DVALUE blue);
D3DCOLOR D3DRMCreateColorRGBA(D3DVALUE red, D3DVALUE green, D3DVALUE blue, D3DVALUE alpha);
D3DVALUE D3DRMColorGetRed(D3DCOLOR color);
D3DVALUE D3DRMColorGetGreen(D3DCOLOR color);
D3DVALUE D3DRMColorGetBlue(D3DCOLOR color);
D3DVALUE D3DRMColorGetAlpha(D3DCOLOR color);
LPD3DVECTOR D3DRMVectorCrossProduct(LPD3DVECTOR result, const D3DVECTOR* a, const D3DVECTOR* b);
LPD3DVECTOR D3DRMVectorNormalize(LPD3DVECTOR v);   // nullptr for a zero vector
