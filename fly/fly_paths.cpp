// The key tables of the follow flight, the camera paths and the flock, and the path builder.
#include "fly/fly_paths.h"

const D3DVECTOR kDefaultFollowPath[kFollowKeyCount] = {
    {-15.0f, 4.0f, -40.0f}, {-14.0f, 4.5f, -35.0f}, {13.0f, 2.0f, -30.0f}, {-12.0f, 1.5f, 25.0f},
    {11.0f, 2.0f, 10.0f},   {-10.0f, 2.5f, -15.0f}, {9.0f, 1.0f, 10.0f},   {2.0f, 2.5f, 8.0f},
    {-2.0f, 1.0f, -8.0f},   {9.0f, 1.5f, -10.0f},   {-10.0f, 2.0f, 15.0f}, {11.0f, 2.5f, -20.0f},
    {12.0f, 3.0f, 25.0f},   {13.0f, 4.0f, -30.0f},  {-14.0f, 5.5f, -35.0f}, {-15.0f, 4.0f, -40.0f},
};

const D3DVECTOR kStandardPath[kPathKeyCount] = {
    {-14.0f, 4.0f, 55.0f}, {9.0f, 3.0f, 46.0f}, {5.0f, 2.0f, 15.0f},  {-5.0f, 8.0f, 25.0f}, {0.0f, 13.0f, 20.0f},
    {-3.0f, 46.0f, 30.0f}, {8.0f, 6.0f, 15.0f}, {16.0f, 2.0f, 30.0f}, {10.0f, 1.0f, 48.0f}, {-15.0f, 3.0f, 37.0f},
    {-5.0f, 7.0f, 15.0f},  {5.0f, 5.0f, 20.0f}, {5.0f, 6.0f, 50.0f},  {13.0f, 8.0f, 80.0f}, {0.0f, 3.0f, 35.0f},
};

const D3DVECTOR kWavePath[kPathKeyCount] = {
    {-30.0f, 4.0f, -30.0f}, {-10.0f, 8.0f, -20.0f}, {0.0f, 3.0f, -20.0f}, {10.0f, 8.0f, -20.0f},
    {20.0f, 1.5f, -20.0f},  {20.0f, 9.0f, -6.0f},   {20.0f, 1.5f, 4.0f},  {20.0f, 2.0f, 10.0f},
    {20.0f, 4.0f, 20.0f},   {10.0f, 8.0f, 20.0f},   {0.0f, 0.0f, 20.0f},  {-10.0f, 2.0f, 20.0f},
    {-30.0f, 1.5f, 8.0f},   {-30.0f, 8.0f, 15.0f},  {-30.0f, 4.0f, -30.0f},
};

const D3DVECTOR kZoomPath[kPathKeyCount] = {
    {-40.0f, 7.0f, -30.0f}, {-20.0f, 6.5f, -30.0f}, {0.0f, 7.0f, -30.0f},  {0.0f, 8.8f, 1.8f},
    {11.0f, 17.1f, 3.0f},   {9.0f, 7.0f, 15.0f},    {5.0f, 9.5f, -18.0f},  {75.0f, 14.5f, -60.0f},
    {60.0f, 9.0f, -60.0f},  {30.0f, 7.5f, -60.0f},  {10.0f, 6.5f, -60.0f}, {-10.0f, 7.5f, -60.0f},
    {-30.0f, 19.0f, 4.0f},  {-60.0f, 10.0f, -15.0f}, {-40.0f, 7.0f, -30.0f},
};

Ref<IDirect3DRMAnimation2> MakeFlightPath(const D3DVECTOR* keys, int count) {
    Ref<IDirect3DRMAnimation2> animation;
    if (d3drm->CreateAnimation(animation.put()) != D3DRM_OK) return nullptr;
    animation->SetOptions(kFlightOptions);
    for (int k = 0; k < count; ++k)
        animation->AddPositionKey(static_cast<D3DVALUE>(k), keys[k].x, keys[k].y, keys[k].z);
    return animation;
}
