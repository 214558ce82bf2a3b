// Figures of the child-control skins, each against the system's own work
// measured in the same run (GDI+ under Wine is software-rendered, so only
// the ratios mean anything):
//  - one hover repaint of a site button (backdrop, translucent face, theme
//    shading, caption) against the system's own paint of the same button
//    left unskinned (WM_PRINTCLIENT into a memory DC);
//    Repaints reuse the face drawn before while nothing behind or on it
//    changed; the figure of a face drawn anew (the first hover after the
//    window image changed) is given too;
//  - a face drawn anew without its caption, to show the text's share.
// Each figure is the fastest of several interleaved rounds.
#include <windows.h>

#include <algorithm>
#include <memory>

#include "bench.h"
#include "gdiplus/gdip.h"
#include "skin/controls/child_controls.h"
#include "skin/core/skin_images.h"
#include "skin/core/window_skin.h"

using namespace vostrel;
using namespace vostrel::bench;
using namespace vostrel::skin;

namespace {

VOSTREL_BENCH(SiteButtonHoverRepaint) {
    const ULONG_PTR token = StartGdiplus();
    const Bytes savedPicture = GlobalBackgroundImage;
    const int savedMode = GlobalDrawMode, savedSkinControls = SkinControls;
    GlobalBackgroundImage = LoadSkinImage(SkinImage::Background);
    GlobalDrawMode = 3;
    SkinControls = 1;
    {
        WindowSkin skin;
        HWND window = CreateWindowExA(0, "STATIC", "Vostrel", WS_POPUP, 0, 0, 1104, 504, nullptr,
                                      nullptr, GetModuleHandleA(nullptr), nullptr);
        auto record = std::make_unique<WindowRecord>();
        record->Handle = window;
        record->DrawMode = 3;
        const int n = Windows.Append(std::move(record));
        SetPropValue(window, kPropNumber, n);
        skin.ComposeWindow(n, nullptr, false);

        auto button = [&](int y) {
            return CreateWindowExA(0, "BUTTON", "爱奇艺", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                   20, y, 95, 30, window, nullptr, GetModuleHandleA(nullptr),
                                   nullptr);
        };
        HWND skinned = button(40);
        HWND bare = button(40);
        HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        SendMessageA(skinned, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        SendMessageA(bare, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        // Only the first button is taken: the second is made after the walk.
        DestroyWindow(bare);
        InstallPushButtons(n, window);
        bare = button(40);
        SendMessageA(bare, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 95, 30);
        HGDIOBJ old = SelectObject(memory, bitmap);
        ReleaseDC(nullptr, screen);

        auto* rec = Windows.At(n)->Buttons.Get<ButtonRecord>(1);
        const std::string text = rec ? rec->Text : std::string();
        double hover = 1e9, system = 1e9, noText = 1e9, cold = 1e9;
        for (int round = 0; round < 5; ++round) {
            hover = std::min(hover, TimeEach(40, [&] { RepaintButton(skinned, 0, true); }));
            system = std::min(system, TimeEach(40, [&] {
                SendMessageA(bare, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory),
                             PRF_CLIENT | PRF_ERASEBKGND);
                GdiFlush();
            }));
            // Each repaint draws its face anew, as the first one after the
            // window image changed does.
            cold = std::min(cold, TimeEach(40, [&] {
                if (rec) rec->Faces.Clear();
                RepaintButton(skinned, 0, true);
            }));
            if (rec) rec->Text.clear();
            noText = std::min(noText, TimeEach(40, [&] {
                if (rec) rec->Faces.Clear();
                RepaintButton(skinned, 0, true);
            }));
            if (rec) rec->Text = text;
        }
        Report("site button hover repaint (skin)", hover * 1e3, "ms");
        Report("site button paint (system, unskinned)", system * 1e3, "ms");
        Report("hover repaint / system paint (target <= 3)", hover / system, "x");
        Report("first hover repaint, face drawn anew", cold * 1e3, "ms");
        Report("first hover repaint / system paint", cold / system, "x");
        Report("face drawn anew without caption text", noText * 1e3, "ms");

        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        DestroyWindow(window);
        ForgetSkinnedWindow(window);
    }
    GlobalBackgroundImage = savedPicture;
    GlobalDrawMode = savedMode;
    SkinControls = savedSkinControls;
    StopGdiplus(token);
}

}  // namespace
