// What the engine's tests share: a root with a scene frame, a vector check, scratch files,
// and a device on a window of the no-window-system mode.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/d3drm/d3drm.h"
#include "platform/d3drm/d3drm_test.h"
#include "platform/win32/win32_test.h"

#define EXPECT_VEC(v, X, Y, Z)          \
    do {                                \
        EXPECT_NEAR((v).x, (X), 1e-3f); \
        EXPECT_NEAR((v).y, (Y), 1e-3f); \
        EXPECT_NEAR((v).z, (Z), 1e-3f); \
    } while (0)

// Files of a test's own, in a folder named after the test and removed with it.
struct ScratchFiles {
    std::filesystem::path scratch;
    ~ScratchFiles() {
        if (!scratch.empty()) std::filesystem::remove_all(scratch);
    }
    std::string Write(const std::string& name, const std::string& content) {
        if (scratch.empty()) {
            scratch = std::filesystem::temp_directory_path() /
                      ("vlx_" + std::to_string(getpid()) + "_" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
            std::filesystem::create_directories(scratch);
        }
        std::ofstream(scratch / name, std::ios::binary) << content;
        return (scratch / name).string();
    }
};

class EngineScene : public ::testing::Test {
protected:
    void SetUp() override {
        root = d3drmtest::CreateRoot();
        ASSERT_TRUE(root);
        root->CreateFrame(nullptr, scene.put());
    }
    // A new frame below `parent` (none: a frame of its own), placed at (x, y, z) in it.
    Ref<IDirect3DRMFrame3> Make(IDirect3DRMFrame3* parent, float x = 0, float y = 0, float z = 0) {
        Ref<IDirect3DRMFrame3> f;
        root->CreateFrame(parent, f.put());
        f->SetPosition(parent, x, y, z);
        return f;
    }
    static D3DVECTOR Position(IDirect3DRMFrame3* f, IDirect3DRMFrame3* reference) {
        D3DVECTOR p;
        f->GetPosition(reference, &p);
        return p;
    }
    // A clipper bound to a window of the no-window-system mode, for devices without GL.
    void MakeClipper() {
        win32test::EnableNoWindowSystem();
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "EngineTest";
        RegisterClassExA(&wc);
        HWND hwnd = CreateWindowExA(0, "EngineTest", "", WS_OVERLAPPEDWINDOW, 0, 0, 320, 240, nullptr, nullptr,
                                    nullptr, nullptr);
        ASSERT_EQ(DirectDrawCreateClipper(0, clipper.put(), nullptr), DD_OK);
        ASSERT_EQ(clipper->SetHWnd(0, hwnd), DD_OK);
    }

    Ref<IDirect3DRM3> root;
    Ref<IDirect3DRMFrame3> scene;
    Ref<IDirectDrawClipper> clipper;
};
