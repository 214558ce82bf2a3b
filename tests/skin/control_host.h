// A hidden parent window with a window record of its own (made directly, not
// by attaching), for the tests of the child-control skins. Its procedure does
// what the top-level skin does for buttons: it forwards WM_DRAWITEM to the
// button skin, and it counts the clicks its buttons report.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "skin/controls/child_controls.h"
#include "skin/core/window_skin.h"
#include "skinned_window.h"
#include "test_support.h"

namespace vostrel::skin::test {

struct HostState {
    int number = 0;
    int clicks = 0;
    int drawItems = 0;
};
inline HostState g_host;

inline LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) ++g_host.clicks;
            return 0;
        case WM_DRAWITEM:
            ++g_host.drawItems;
            return DrawButtonItem(g_host.number, *reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

inline const char* HostClass() {
    static const char* name = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VostrelControlHost";
        RegisterClassA(&wc);
        return "VostrelControlHost";
    }();
    return name;
}

inline constexpr COLORREF kBack = 0x00302010;  // RGB(0x10, 0x20, 0x30)
inline constexpr COLORREF kTheme = 0x000000FF; // pure red

class ControlHost {
public:
    explicit ControlHost(DWORD extraStyle = 0, int width = 400, int height = 300) {
        EnsureGdiplus();
        window = CreateWindowExA(0, HostClass(), "host", WS_POPUP | extraStyle, 0, 0, width,
                                 height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        auto r = std::make_unique<WindowRecord>();
        r->Handle = window;
        r->BackColour = kBack;
        r->DrawMode = 0;
        record = r.get();
        number = Windows.Append(std::move(r));
        SetPropValue(window, kPropNumber, number);
        g_host = {};
        g_host.number = number;
    }
    ~ControlHost() {
        if (IsWindow(window)) DestroyWindow(window);
        ForgetSkinnedWindow(window);
        vostrel::test::FlushEvents();
    }
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

    void Compose() { TestSkin().ComposeWindow(number, nullptr, false); }

    HWND Child(const char* cls, DWORD style, const char* text, int x = 10, int y = 10,
               int w = 100, int h = 28, HWND parent = nullptr) const {
        return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                               parent ? parent : window, nullptr, GetModuleHandleA(nullptr),
                               nullptr);
    }

    ButtonRecord* Button(HWND control) const {
        return record->Buttons.Get<ButtonRecord>(
            static_cast<int>(GetPropValue(control, kPropNumber)));
    }

    HWND window = nullptr;
    WindowRecord* record = nullptr;
    int number = 0;
};

// The settings the control-skin tests draw under: no picture, a plain back
// colour, a red theme, the veil at 160 and the controls skinned (and
// transparent when asked), every common control class registered; the
// guard puts every setting back afterwards.
class ControlSkinTest : public ::testing::Test {
protected:
    explicit ControlSkinTest(int transparent = 1) : transparent_(transparent) {}
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES |
                                                 ICC_INTERNET_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        GlobalBackgroundImage.clear();
        GlobalDrawMode = 0;
        GlobalBackColour = kBack;
        ThemeColour = kTheme;
        VeilAlpha = 160;
        SkinControls = 1;
        TransparentControls = transparent_;
    }
    GlobalSettingsGuard guard_;

private:
    int transparent_;
};

}  // namespace vostrel::skin::test
