// Colour conversion, path shapes, the caption-strip hit test, the client
// rectangle in window coordinates, and backdrop DCs with their tints.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <vector>

#include "gdiplus/gdip.h"
#include "skin/core/frame_geometry.h"
#include "skin/core/primitives.h"
#include "skin/core/window_skin.h"
#include "skinned_window.h"
#include "test_support.h"

using namespace vostrel;
using namespace vostrel::skin;
using vostrel::skin::test::SkinnedWindow;
using vostrel::test::ColourNear;
using vostrel::test::DibCanvas;

namespace {

TEST(ColourConversion, ArgbFromColorRefSwapsRedAndBlueAndSetsAlpha) {
    struct Case {
        COLORREF colour;
        int alpha;
        bool useAlpha;
        uint32_t expected;
    };
    const Case cases[] = {
        {0x808080, 50, true, 0x32808080},
        {0xDDCA22, 60, true, 0x3C22CADD},
        {0xFF00FF, 0, false, 0xFFFF00FF},
        {0xFFFFFF, 0, true, 0x00FFFFFF},   // transparent white, the end of fades
        {0x12345678, 10, false, 0xFF785634},  // top byte dropped, alpha 255
        {0xFF1E140A, 255, true, 0xFF0A141E},  // a sampled colour's 0xFF top byte
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, ArgbFromColorRef(c.colour, c.alpha, c.useAlpha))
            << std::hex << c.colour << " alpha " << std::dec << c.alpha;
        int alpha = -1;
        EXPECT_EQ(c.colour & 0xFFFFFF, ColorRefFromArgb(c.expected, &alpha));
        EXPECT_EQ(static_cast<int>(c.expected >> 24), alpha);
    }
}

// The corner is clamped to 1..100; read back the start of the top-right arc
// (box (right - c, y, c, c) from 270 degrees: (right - c/2, y)) and the start
// of the larger bottom-right arc ((right, bottom - (c + 1)/2)).
TEST(PathShapes, RoundRectCornerIsClamped) {
    vostrel::skin::test::EnsureGdiplus();
    struct Case {
        int corner;
        float used;
    };
    const Case cases[] = {{0, 1}, {-7, 1}, {1, 1}, {7, 7}, {100, 100}, {500, 100}};
    const float x = 10, y = 20, w = 300, h = 250;
    for (const Case& c : cases) {
        GdipPath path;
        ASSERT_TRUE(path.Create());
        AddRoundRectPath(path, x, y, w, h, c.corner);
        std::vector<gp::PointF> points;
        ASSERT_TRUE(path.GetPathPoints(points));
        ASSERT_FALSE(points.empty());
        EXPECT_NEAR(x + w - c.used / 2, points.front().X, 0.01) << "corner " << c.corner;
        EXPECT_NEAR(y, points.front().Y, 0.01) << "corner " << c.corner;
        bool found = false;
        for (const auto& p : points)
            found |= std::fabs(p.X - (x + w)) < 0.01 &&
                     std::fabs(p.Y - (y + h - (c.used + 1) / 2)) < 0.01;
        EXPECT_TRUE(found) << "bottom-right arc of corner " << c.corner;
    }
}

TEST(PathShapes, TopRoundedFigureIsOpenAtTheBottom) {
    vostrel::skin::test::EnsureGdiplus();
    GdipPath path;
    ASSERT_TRUE(path.Create());
    AddTopRoundedPath(path, 5, 6, 26, 18, 4);
    std::vector<gp::PointF> points;
    ASSERT_TRUE(path.GetPathPoints(points));
    ASSERT_GE(points.size(), 2u);
    // Starts at the bottom-left corner and ends at the bottom-right corner.
    EXPECT_NEAR(5, points.front().X, 0.01);
    EXPECT_NEAR(24, points.front().Y, 0.01);
    EXPECT_NEAR(31, points.back().X, 0.01);
    EXPECT_NEAR(24, points.back().Y, 0.01);
}

TEST(CaptionStrip, HitTestBounds) {
    SkinnedWindow w;  // 600 wide: StripLeft 506, StripWidth 95, StripHeight 22
    const int L = w.record->StripLeft, W = w.record->StripWidth, H = w.record->StripHeight;
    ASSERT_EQ(506, L);
    struct Case {
        int x, y;
        bool hit;
    };
    const Case cases[] = {
        {L - 2, 5, true},   {L - 3, 5, false},  {L + W, 5, true},   {L + W + 1, 5, false},
        {L + 10, 0, true},  {L + 10, H, true},  {L + 10, H + 1, false},
        {L + 10, -1, false},  // above the window: bit 15 of y set
        {L + 10, -30000, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.hit, HitCaptionStrip(w.number, MAKELPARAM(c.x, c.y))) << c.x << "," << c.y;
    EXPECT_FALSE(HitCaptionStrip(0, MAKELPARAM(L, 5)));
    EXPECT_FALSE(HitCaptionStrip(w.number + 1, MAKELPARAM(L, 5)));
}

// A window whose non-client area is exactly the given margins, so the client
// rectangle does not depend on the system's metrics.
struct Margins {
    int left, top, right, bottom;
};

LRESULT CALLBACK MarginProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* m = reinterpret_cast<const Margins*>(GetPropA(hwnd, "Margins"));
    if (msg == WM_NCCALCSIZE && m) {
        RECT* r = reinterpret_cast<RECT*>(lp);
        r->left += m->left;
        r->top += m->top;
        r->right -= m->right;
        r->bottom -= m->bottom;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

HWND MarginWindow(DWORD style, int w, int h, const Margins* margins) {
    static const ATOM atom = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = MarginProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "SkinMarginWindow";
        return RegisterClassA(&wc);
    }();
    (void)atom;
    HWND hwnd = CreateWindowExA(0, "SkinMarginWindow", "", WS_POPUP | style, 0, 0, w, h, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    SetPropA(hwnd, "Margins", const_cast<Margins*>(margins));
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    return hwnd;
}

TEST(ClientRect, InWindowAssumesEqualBordersAndFixedScrollBars) {
    struct Case {
        DWORD style;
        int w, h;
        Margins margins;
        RECT expected;
    };
    const Case cases[] = {
        // A list box with a vertical scroll bar and a 2-pixel border:
        // window 104 x 54, client 83 x 50.
        {WS_VSCROLL, 104, 54, {2, 2, 19, 2}, {2, 2, 85, 52}},
        // Both scroll bars.
        {WS_VSCROLL | WS_HSCROLL, 104, 74, {2, 2, 19, 19}, {2, 2, 85, 55}},
        // No scroll bars, an odd difference: the extra pixel goes right
        // and down (floor).
        {0, 51, 31, {1, 1, 2, 2}, {1, 1, 49, 29}},
        {0, 40, 30, {0, 0, 0, 0}, {0, 0, 40, 30}},
    };
    for (const Case& c : cases) {
        HWND hwnd = MarginWindow(c.style, c.w, c.h, &c.margins);
        const RECT r = ClientRectInWindow(hwnd);
        EXPECT_EQ(c.expected.left, r.left);
        EXPECT_EQ(c.expected.top, r.top);
        EXPECT_EQ(c.expected.right, r.right);
        EXPECT_EQ(c.expected.bottom, r.bottom);
        RemovePropA(hwnd, "Margins");
        DestroyWindow(hwnd);
    }
}

TEST(WindowTests, ClassNameListBoxAndRadioButton) {
    struct Case {
        const char* cls;
        DWORD style;
        bool ownerDrawList, autoRadio;
    };
    const Case cases[] = {
        {"ListBox", LBS_OWNERDRAWFIXED, true, false},
        {"ListBox", LBS_OWNERDRAWVARIABLE, true, false},
        {"ListBox", 0, false, false},
        {"Button", BS_AUTORADIOBUTTON, false, true},
        {"Button", BS_RADIOBUTTON, false, false},
        {"Button", BS_AUTORADIOBUTTON | BS_PUSHLIKE, false, true},
    };
    for (const Case& c : cases) {
        HWND hwnd = CreateWindowExA(0, c.cls, "", WS_POPUP | c.style, 0, 0, 50, 50, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(hwnd);
        EXPECT_EQ(c.ownerDrawList, IsOwnerDrawListBox(hwnd)) << c.cls << " " << c.style;
        EXPECT_EQ(c.autoRadio, IsAutoRadioButton(hwnd)) << c.cls << " " << c.style;
        DestroyWindow(hwnd);
    }
}

// ---- Backdrop DCs -------------------------------------------------------------

class Backdrop : public ::testing::Test {
protected:
    void SetUp() override {
        // A composed image whose every pixel tells its position.
        w_ = std::make_unique<SkinnedWindow>(vostrel::skin::test::SkinnedWindowOptions{300, 200, 30, 0});
        HBITMAP bitmap = dll::CreateCompatibleBitmap(screen_.dc(), 300, 200);
        w_->record->BackgroundDC.Create();
        w_->record->BackgroundDC.SelectBitmap(bitmap);
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 300; ++x)
                SetPixelV(w_->record->BackgroundDC.Dc(), x, y, Pattern(x, y));
        control_ = Child(w_->window, 50, 40, 60, 30);
    }
    void TearDown() override { w_.reset(); }

    static COLORREF Pattern(int x, int y) { return RGB(x % 256, y % 256, 77); }
    static uint32_t PatternRgb(int x, int y) { return (x % 256) << 16 | (y % 256) << 8 | 77; }

    static HWND Child(HWND parent, int x, int y, int w, int h, const char* cls = "STATIC") {
        return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE, x, y, w, h, parent, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }

    // A container record for `h` in the window's container list.
    ContainerRecord* AddContainer(HWND h, COLORREF tint, BYTE alpha, int groupBox, int painted) {
        auto c = std::make_unique<ContainerRecord>();
        c->Handle = h;
        c->TintColour = tint;
        c->TintAlpha = alpha;
        c->IsGroupBox = groupBox;
        c->SkinPainted = painted;
        ContainerRecord* raw = c.get();
        w_->record->Containers.Choose(std::move(c));
        return raw;
    }

    static uint32_t Read(HDC dc, int, int, int w, int h, int px, int py) {
        DibCanvas canvas(w, h);
        BitBlt(canvas.dc(), 0, 0, w, h, dc, 0, 0, SRCCOPY);
        return canvas.Pixel(px, py);
    }

    DibCanvas screen_{1, 1};
    std::unique_ptr<SkinnedWindow> w_;
    HWND control_ = nullptr;
};

TEST_F(Backdrop, ControlOnWindowGetsTheImageAtItsPosition) {
    const auto before = dll::CountObjects();
    HDC dc = CreateBackdropDC(control_, RECT{0, 0, 60, 30});
    ASSERT_TRUE(dc);
    EXPECT_EQ(1, BackdropDcCount());
    EXPECT_EQ(PatternRgb(50, 40), Read(dc, 0, 0, 60, 30, 0, 0));
    EXPECT_EQ(PatternRgb(50 + 59, 40 + 29), Read(dc, 0, 0, 60, 30, 59, 29));
    EXPECT_TRUE(ReleaseBackdropDC(dc));
    // Releasing the same DC again, or 0, does nothing.
    EXPECT_FALSE(ReleaseBackdropDC(dc));
    EXPECT_FALSE(ReleaseBackdropDC(nullptr));
    EXPECT_EQ(0, BackdropDcCount());
    EXPECT_EQ("", dll::ObjectChangesSince(before));
}

TEST_F(Backdrop, ControlInTintedGroupBoxGetsOneRectangleOfTint) {
    HWND group = Child(w_->window, 20, 20, 200, 150, "BUTTON");
    HWND inner = Child(group, 30, 30, 40, 20);
    AddContainer(group, RGB(255, 0, 0), 128, 1, 1);
    HDC dc = CreateBackdropDC(inner, RECT{0, 0, 40, 20});
    ASSERT_TRUE(dc);
    // Pattern at (50, 50) half covered by red.
    const uint32_t under = PatternRgb(50, 50);
    const uint32_t px = Read(dc, 0, 0, 40, 20, 0, 0);
    EXPECT_TRUE(ColourNear(px, ((((under >> 16) + 255) / 2) << 16) | ((((under >> 8) & 0xFF) / 2) << 8) | (77 / 2), 3))
        << std::hex << px;
    EXPECT_TRUE(ReleaseBackdropDC(dc));

    // The group box itself: its tint in its own shape, a rounded rectangle
    // starting 5 pixels down.
    dc = CreateBackdropDC(group, RECT{0, 0, 200, 150});
    ASSERT_TRUE(dc);
    EXPECT_EQ(PatternRgb(20 + 100, 20 + 2), Read(dc, 0, 0, 200, 150, 100, 2));
    EXPECT_NE(PatternRgb(20 + 100, 20 + 20), Read(dc, 0, 0, 200, 150, 100, 20));
    EXPECT_TRUE(ReleaseBackdropDC(dc));
}

TEST_F(Backdrop, BlackTintAddsNothingAndUnskinnedControlGetsNone) {
    HWND group = Child(w_->window, 20, 20, 200, 150, "BUTTON");
    HWND inner = Child(group, 30, 30, 40, 20);
    AddContainer(group, 0, 200, 1, 1);
    HDC dc = CreateBackdropDC(inner, RECT{0, 0, 40, 20});
    ASSERT_TRUE(dc);
    EXPECT_EQ(PatternRgb(50, 50), Read(dc, 0, 0, 40, 20, 0, 0));
    EXPECT_TRUE(ReleaseBackdropDC(dc));

    HWND loose = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    EXPECT_EQ(nullptr, CreateBackdropDC(loose, RECT{0, 0, 20, 20}));
    EXPECT_EQ(0, BackdropDcCount());
    DestroyWindow(loose);
}

// A window the skin does not dress may offer its own composed image: a
// control inside it takes its backdrop from the host's DC.
TEST_F(Backdrop, HostWindowLendsItsImage) {
    HWND host = Child(w_->window, 100, 50, 150, 100);
    DibCanvas hostImage(150, 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 150; ++x) hostImage.bits()[y * 150 + x] = 0x00102030u + x + (y << 8);
    SetPropA(host, kPropHostMark, reinterpret_cast<HANDLE>(1));
    SetPropA(host, kPropHostDc, hostImage.dc());
    HWND inner = Child(host, 10, 20, 30, 20);
    int n = 0, k = 0;
    HWND found = nullptr;
    EXPECT_EQ(0, FindSkinHost(inner, &n, &k, &found, true));
    EXPECT_EQ(host, found);
    EXPECT_EQ(1, FindSkinHost(inner, &n, &k, &found, false));  // hosts ignored
    EXPECT_EQ(w_->number, n);
    HDC dc = CreateBackdropDC(inner, RECT{2, 3, 12, 13});
    ASSERT_TRUE(dc);
    EXPECT_EQ(hostImage.Pixel(12, 23), Read(dc, 0, 0, 10, 10, 0, 0));
    EXPECT_TRUE(ReleaseBackdropDC(dc));
    RemovePropA(host, kPropHostMark);
    RemovePropA(host, kPropHostDc);
}

TEST_F(Backdrop, ToBitmapReleasesTheDc) {
    const auto before = dll::CountObjects();
    HDC dc = CreateBackdropDC(control_, RECT{0, 0, 60, 30});
    HBITMAP bitmap = BackdropToBitmap(dc, 60, 30);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(0, BackdropDcCount());
    HDC probe = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(probe, bitmap);
    EXPECT_EQ(PatternRgb(52, 43), Read(probe, 0, 0, 60, 30, 2, 3));
    SelectObject(probe, old);
    DeleteDC(probe);
    dll::DeleteObject(bitmap);
    EXPECT_EQ("", dll::ObjectChangesSince(before));
}

}  // namespace

// ---- Frame geometry and child clipping -------------------------------------------

namespace {

TEST(FrameGeometry, InnerRectIsClientPlusScrollBarsCentred) {
    struct Case {
        DWORD style;
        DWORD exStyle;
        int w, h;
        RECT expected;
    };
    const Case cases[] = {
        // A 1-pixel border on each side of a window 2 pixels larger than
        // its client area.
        {WS_BORDER, 0, 52, 22, {1, 1, 51, 21}},
        // Both scroll bars: the inner rectangle covers them and the corner
        // box between them, everything inside the border.
        {WS_BORDER | WS_VSCROLL | WS_HSCROLL, 0, 120, 90, {1, 1, 119, 89}},
        {0, 0, 40, 20, {0, 0, 40, 20}},
    };
    for (const Case& c : cases) {
        // A window of our own class: the system's frame and scroll bars,
        // nothing drawn inside by a control.
        HWND hwnd = MarginWindow(c.style, c.w, c.h, nullptr);
        ASSERT_TRUE(hwnd);
        const RECT r = InnerFrameRect(hwnd);
        EXPECT_EQ(c.expected.left, r.left) << c.style;
        EXPECT_EQ(c.expected.top, r.top) << c.style;
        EXPECT_EQ(c.expected.right, r.right) << c.style;
        EXPECT_EQ(c.expected.bottom, r.bottom) << c.style;
        DestroyWindow(hwnd);
    }
}

TEST(FrameGeometry, BorderStyles) {
    struct Case {
        DWORD style, exStyle;
        int border;
    };
    // (WS_EX_WINDOWEDGE is not in the table: the system sets and clears it
    // from the other frame styles, so a plain child never keeps it.)
    const Case cases[] = {
        {WS_BORDER, 0, 1}, {0, WS_EX_CLIENTEDGE, 1}, {0, WS_EX_DLGMODALFRAME, 1},
        {0, 0, 0},         {0, WS_EX_TRANSPARENT, 0},
    };
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    for (const Case& c : cases) {
        HWND hwnd = CreateWindowExA(c.exStyle, "STATIC", "", WS_CHILD | c.style, 0, 0, 30, 30,
                                    parent, nullptr, GetModuleHandleA(nullptr), nullptr);
        EXPECT_EQ(c.border, HasBorder(hwnd)) << c.style << " " << c.exStyle;
        EXPECT_EQ((c.exStyle & WS_EX_TRANSPARENT) ? 1 : 0, IsTransparentWindow(hwnd));
        DestroyWindow(hwnd);
    }
    DestroyWindow(parent);
}

// A copy through GetDCExcludingOpaqueChildren paints over a transparent
// child and a hidden one, never over an opaque visible child.
TEST(FrameGeometry, CopyLeavesOpaqueChildrenAlone) {
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    // Marked visible without being mapped: IsWindowVisible looks at the
    // style bits of the window and its parents.
    SetWindowLongPtrA(parent, GWL_STYLE, GetWindowLongPtrA(parent, GWL_STYLE) | WS_VISIBLE);
    struct Child {
        DWORD exStyle;
        bool visible;
        int x;
        bool paintedOver;
    };
    const Child children[] = {{0, true, 10, false}, {WS_EX_TRANSPARENT, true, 60, true},
                              {0, false, 110, true}};
    for (const Child& c : children) {
        HWND child = CreateWindowExA(c.exStyle, "STATIC", "", WS_CHILD | (c.visible ? WS_VISIBLE : 0),
                                     c.x, 10, 40, 30, parent, nullptr, GetModuleHandleA(nullptr),
                                     nullptr);
        const RECT r = ChildClientRect(child);
        EXPECT_EQ(c.x, r.left);
        EXPECT_EQ(10, r.top);
        EXPECT_EQ(c.x + 40, r.right);
        EXPECT_EQ(40, r.bottom);
    }
    DibCanvas canvas(200, 100);
    canvas.Fill(0x000000);
    HDC dc = GetDCExcludingOpaqueChildren(parent, canvas.dc());
    ASSERT_EQ(canvas.dc(), dc);
    PatBlt(dc, 0, 0, 200, 100, WHITENESS);
    for (const Child& c : children)
        EXPECT_EQ(c.paintedOver ? 0xFFFFFFu : 0u, canvas.Pixel(c.x + 20, 25)) << c.x;
    EXPECT_EQ(0xFFFFFFu, canvas.Pixel(5, 5));
    // A skinned top-level window has no rectangle in a parent.
    SkinnedWindow skinned;
    const RECT none = ChildClientRect(skinned.window);
    EXPECT_TRUE(IsRectEmpty(&none));
    SetWindowLongPtrA(parent, GWL_STYLE, GetWindowLongPtrA(parent, GWL_STYLE) & ~WS_VISIBLE);
    DestroyWindow(parent);
}

}  // namespace
