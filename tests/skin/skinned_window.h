// A hidden top-level window with a window record as attach leaves it (caption
// buttons with the program's pictures, strip geometry, title settings, tool
// tips), for the drawing tests of the skin. Attaching itself is not used:
// the tests build the record directly.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "gdiplus/gdip.h"
#include "skin/core/skin_images.h"
#include "skin/core/window_skin.h"
#include "test_support.h"

namespace vostrel::skin::test {

// The object the drawing operations run on; its sizing border as attach
// sets it. Made before any test sets the global settings, since making it
// takes GlobalBackColour from the system.
inline WindowSkin& TestSkin() {
    static WindowSkin skin;
    skin.SizingBorder = 3;
    return skin;
}

// GDI+ started once for the whole test binary (never shut down here, so
// suites that stop their own start-up do not pull it from under others), and
// the test object made.
inline void EnsureGdiplus() {
    static const ULONG_PTR token = StartGdiplus();
    (void)token;
    TestSkin();
}

inline Bytes Picture(SkinImage which) { return LoadSkinImage(which); }

struct SkinnedWindowOptions {
    int width = 600;
    int height = 400;
    int captionHeight = 30;
    int hasCaption = 1;
    int resizable = 1;
    int showTitle = 1;
    // Caption buttons left to right (CaptionButtonKind); close is always
    // last, as attach makes it.
    std::initializer_list<int> buttons = {kCaptionMinimise, kCaptionMaximise, kCaptionClose};
    const char* title = "Vostrel 视频播放";
};

class SkinnedWindow {
public:
    explicit SkinnedWindow(const SkinnedWindowOptions& o = {}) {
        EnsureGdiplus();
        DWORD style = WS_POPUP;
        for (int kind : o.buttons) {
            if (kind == kCaptionMinimise) style |= WS_MINIMIZEBOX;
            if (kind == kCaptionMaximise) style |= WS_MAXIMIZEBOX;
        }
        window = CreateWindowExA(0, "STATIC", o.title, style, 0, 0, o.width, o.height, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        auto r = std::make_unique<WindowRecord>();
        r->Handle = window;
        r->CaptionHeight = o.captionHeight;
        r->HasCaption = o.hasCaption;
        r->Resizable = o.resizable;
        r->ShowTitle = o.showTitle;
        r->HasClose = 1;
        r->TitleColour = 0xFFFFFF;
        r->TitleHaloColour = 0x808080;
        r->TitleFont = "宋体";
        r->TitleFontSize = 12;
        r->TitleBold = 1;
        r->DrawMode = GlobalDrawMode;
        r->CaptionButtons.Clear();
        int sum = 0, count = 0;
        for (int kind : o.buttons) {
            CaptionButton b;
            b.Kind = kind;
            b.Width = kind == kCaptionClose ? 38 : 26;
            b.Height = 18;
            switch (kind) {
                case kCaptionHelp: b.Image = Picture(SkinImage::CaptionHelp); b.Name = "帮助"; break;
                case kCaptionMenu: b.Image = Picture(SkinImage::CaptionMenu); b.Name = "主菜单"; break;
                case kCaptionMinimise: b.Image = Picture(SkinImage::CaptionMinimise); b.Name = "最小化"; break;
                case kCaptionMaximise:
                    b.Image = Picture(SkinImage::CaptionMaximise);
                    b.AltImage = Picture(SkinImage::CaptionRestore);
                    b.Name = "最大化";
                    break;
                default: b.Image = Picture(SkinImage::CaptionClose); b.Name = "关闭"; break;
            }
            sum += b.Width;
            ++count;
            r->CaptionButtons.Append(std::move(b));
        }
        r->StripWidth = sum + (count - 1) + 3;
        r->StripHeight = 22;
        r->StripLeft = o.width - 3 - r->StripWidth - 2;
        r->ToolTip.Create(window);
        for (int i = 1; i <= count; ++i)
            r->ToolTip.AddTool(RECT{}, r->CaptionButtons.At(i)->Name, static_cast<UINT_PTR>(i));
        r->ToolCount = count;
        record = r.get();
        number = Windows.Append(std::move(r));
        SetPropValue(window, kPropNumber, number);
        TestSkin().LayoutCaptionButtons(number);
        TestSkin().LayoutBottomBar(number);
    }
    ~SkinnedWindow() {
        ForgetSkinnedWindow(window);
        DestroyWindow(window);
    }
    SkinnedWindow(const SkinnedWindow&) = delete;
    SkinnedWindow& operator=(const SkinnedWindow&) = delete;

    // A copy of the composed client image.
    std::unique_ptr<vostrel::test::DibCanvas> Image() const {
        RECT client{};
        GetClientRect(window, &client);
        auto canvas = std::make_unique<vostrel::test::DibCanvas>(client.right, client.bottom);
        BitBlt(canvas->dc(), 0, 0, client.right, client.bottom, record->BackgroundDC.Dc(), 0, 0,
               SRCCOPY);
        GdiFlush();
        return canvas;
    }

    HWND window = nullptr;
    WindowRecord* record = nullptr;
    int number = 0;
};

// Saves and restores the global background settings around a test.
struct GlobalSettingsGuard {
    bool ready = (EnsureGdiplus(), true);
    COLORREF theme = ThemeColour, back = GlobalBackColour;
    int mode = GlobalDrawMode, veil = VeilAlpha;
    int skinControls = SkinControls, transparent = TransparentControls;
    int trackbarFrames = TrackbarFrames;
    Bytes picture = GlobalBackgroundImage;
    HICON icon = AppIcon;
    // The program's icon as the caption shows it (a shared icon: never
    // destroyed here).
    void UseProgramIcon() { AppIcon = LoadIconA(GetModuleHandleA(nullptr), "DEFAULT_ICON"); }
    ~GlobalSettingsGuard() {
        AppIcon = icon;
        ThemeColour = theme;
        GlobalBackColour = back;
        GlobalDrawMode = mode;
        VeilAlpha = veil;
        SkinControls = skinControls;
        TransparentControls = transparent;
        TrackbarFrames = trackbarFrames;
        GlobalBackgroundImage = picture;
    }
};

// A PNG of w x h pixels drawn by `paint` (x, y) -> ARGB.
template <typename Paint>
Bytes MakePng(int width, int height, Paint paint) {
    EnsureGdiplus();
    GdipBitmap bitmap;
    bitmap.Create(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, paint(x, y));
    return bitmap.SaveToBytes("{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}");
}

}  // namespace vostrel::skin::test
