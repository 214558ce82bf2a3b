// Figures of the skin's drawing, each against the bare system call it is
// built on, measured in the same run (GDI+ under Wine is software-rendered,
// so only the ratios mean anything):
//  - composing the main window's 1104 x 504 image (picture stretched, frame,
//    title, caption buttons) against one DrawImage of the picture stretched
//    to that size;
//  - one step of a caption button's hover fade, with its copy to the screen,
//    as a share of the 20 ms fade tick;
//  - presenting the composed image against one BitBlt of the same size.
// Each figure is the fastest of several interleaved rounds.
#include <windows.h>

#include <algorithm>
#include <memory>

#include "bench.h"
#include "gdiplus/gdip.h"
#include "skin/core/skin_images.h"
#include "skin/core/window_skin.h"

using namespace vostrel;
using namespace vostrel::bench;
using namespace vostrel::skin;

namespace {

constexpr int kWidth = 1104, kHeight = 504;

// The main window as attach leaves it: a 30-pixel caption, minimise and close
// buttons, the program's background picture stretched (mode 3).
struct MainWindow {
    WindowSkin skin;
    HWND window = nullptr;
    int number = 0;

    MainWindow() {
        skin.SizingBorder = 3;
        window = CreateWindowExA(0, "STATIC", "Vostrel", WS_POPUP | WS_MINIMIZEBOX, 0, 0, kWidth,
                                 kHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        auto r = std::make_unique<WindowRecord>();
        r->Handle = window;
        r->CaptionHeight = 30;
        r->HasCaption = r->Resizable = r->ShowTitle = r->HasClose = r->HasMinimize = 1;
        r->TitleColour = 0xFFFFFF;
        r->TitleHaloColour = 0x808080;
        r->TitleFont = "宋体";
        r->TitleFontSize = 12;
        r->TitleBold = 1;
        r->DrawMode = 3;
        r->CaptionButtons.Clear();
        CaptionButton minimise;
        minimise.Kind = kCaptionMinimise;
        minimise.Width = 26;
        minimise.Height = 18;
        minimise.Image = LoadSkinImage(SkinImage::CaptionMinimise);
        CaptionButton close;
        close.Kind = kCaptionClose;
        close.Width = 38;
        close.Height = 18;
        close.Image = LoadSkinImage(SkinImage::CaptionClose);
        r->CaptionButtons.Append(std::move(minimise));
        r->CaptionButtons.Append(std::move(close));
        r->StripWidth = 26 + 38 + 1 + 3;
        number = Windows.Append(std::move(r));
        SetPropValue(window, kPropNumber, number);
        skin.LayoutCaptionButtons(number);
        skin.LayoutBottomBar(number);
    }
    ~MainWindow() {
        ForgetSkinnedWindow(window);
        DestroyWindow(window);
    }
};

}  // namespace

VOSTREL_BENCH(SkinDrawing) {
    const ULONG_PTR token = StartGdiplus();
    GlobalBackgroundImage = LoadSkinImage(SkinImage::Background);
    GlobalDrawMode = 3;
    GlobalBackColour = 0;
    ThemeColour = 0xFF0000;
    AppIcon = LoadIconA(GetModuleHandleA(nullptr), "DEFAULT_ICON");
    {
        MainWindow w;

        // Bare: one stretched draw of the decoded picture onto a 32-bit
        // memory surface of the window's size.
        GdipBitmap picture;
        picture.CreateFromBytes(GlobalBackgroundImage);
        GdipBitmap surface;
        surface.Create(kWidth, kHeight);
        HBITMAP surfaceBitmap = surface.GetHBITMAP(0);
        HDC surfaceDc = dll::CreateCompatibleDC(nullptr);
        HGDIOBJ old = dll::SelectObject(surfaceDc, surfaceBitmap);
        GdipGraphics graphics;
        graphics.CreateFromHDC(surfaceDc);
        graphics.DrawImageRectRect(picture, 0, 0, kWidth, kHeight);  // warm-up
        w.skin.ComposeWindow(w.number, nullptr, false);

        // Interleaved, and the fastest round of each kept: the machine is
        // shared, and other work only ever adds time.
        const int rounds = 20;
        double bare = 1e9, compose = 1e9;
        for (int i = 0; i < rounds; ++i) {
            bare = std::min(bare, TimeEach(1, [&] {
                graphics.DrawImageRectRect(picture, 0, 0, kWidth, kHeight);
            }));
            compose = std::min(compose, TimeEach(1, [&] {
                w.skin.ComposeWindow(w.number, nullptr, false);
            }));
        }
        Report("bare DrawImage of the picture stretched to 1104x504", bare * 1e3, "ms");
        Report("ComposeWindow of the 1104x504 main window (mode 3)", compose * 1e3, "ms");
        Report("ComposeWindow / bare DrawImage (target <= 2)", compose / bare, "x");

        // One fade step: the hover glow at a new alpha, the button redrawn
        // from the saved caption band and copied to the window.
        // The window is shown, so the copies to the screen really copy.
        ShowWindow(w.window, SW_SHOWNA);
        int alpha = 0;
        double step = 1e9;
        for (int i = 0; i < 10; ++i)
            step = std::min(step, TimeEach(20, [&] {
                alpha = (alpha + 51) % 256;
                w.skin.DrawCaptionButton(w.number, 1, nullptr, false, false, alpha);
            }));
        Report("caption-button fade step (DrawCaptionButton + copy)", step * 1e3, "ms");
        Report("fade step / 20 ms tick (target <= 5%)", step / 0.020 * 100, "%");

        // Presenting the kept image against one bare BitBlt of that size.
        HDC screen = dll::GetDC(w.window);
        const WindowRecord* record = RecordOf(w.number);
        double present = 1e9, blit = 1e9;
        for (int i = 0; i < 50; ++i) {
            blit = std::min(blit, TimeEach(1, [&] {
                dll::BitBlt(screen, 0, 0, kWidth, kHeight, record->BackgroundDC.Dc(), 0, 0, SRCCOPY);
                GdiFlush();
            }));
            present = std::min(present, TimeEach(1, [&] {
                w.skin.PresentWindow(w.number, screen);
                GdiFlush();
            }));
        }
        dll::ReleaseDC(w.window, screen);
        ShowWindow(w.window, SW_HIDE);
        Report("bare BitBlt 1104x504", blit * 1e3, "ms");
        Report("PresentWindow 1104x504", present * 1e3, "ms");
        Report("PresentWindow / bare BitBlt (target <= 1.5)", present / blit, "x");

        graphics.Delete();
        dll::SelectObject(surfaceDc, old);
        dll::DeleteObject(surfaceBitmap);
        dll::DeleteDC(surfaceDc);
        surface.Dispose();
        picture.Dispose();
    }
    GlobalBackgroundImage.clear();
    AppIcon = nullptr;
    StopGdiplus(token);
}
