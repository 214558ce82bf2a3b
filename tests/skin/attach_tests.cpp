// Taking a top-level window into the skin: the record and caption buttons it
// gets, the subclassing, a second attach that changes nothing, and attach /
// destroy cycles that leave every GDI and GDI+ balance where it was.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "gdiplus/dll.h"
#include "recording_window.h"
#include "skin/core/compose.h"
#include "skin/core/primitives.h"
#include "skin/core/window_skin.h"

using namespace vostrel::skin;
using vostrel::skin::test::RecordingWindow;
using vostrel::skin::test::TestSkin;

namespace {

WindowRecord* RecordFor(HWND window) { return RecordOf(FindWindowNumber(window)); }

std::vector<int> KindsOf(const WindowRecord& r) {
    std::vector<int> kinds;
    for (const CaptionButton& b : r.CaptionButtons) kinds.push_back(b.Kind);
    return kinds;
}

struct AttachCase {
    const char* name;
    DWORD style;
    AttachOptions options;
    std::vector<int> kinds;
    int stripWidth;
    int captionHeight;
};

TEST(AttachSkin, CaptionButtonsStripAndCaptionHeight) {
    AttachOptions helpAndMenu;
    helpAndMenu.HelpButton = 1;
    helpAndMenu.MenuButton = 1;
    AttachOptions low;
    low.CaptionHeight = 10;
    AttachOptions thirty;
    thirty.CaptionHeight = 30;
    thirty.Resizable = 0;
    const AttachCase cases[] = {
        // The application's main window: minimise box only.
        {"main window", WS_MINIMIZEBOX, thirty, {kCaptionMinimise, kCaptionClose}, 68, 30},
        {"all five", WS_MINIMIZEBOX | WS_MAXIMIZEBOX, helpAndMenu,
         {kCaptionHelp, kCaptionMenu, kCaptionMinimise, kCaptionMaximise, kCaptionClose}, 149, 25},
        {"close only, low caption raised", 0, low, {kCaptionClose}, 41, 25},
    };
    for (const AttachCase& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingWindow w(1104, 504, c.style);
        TestSkin().AttachSkin(w.window, c.options);
        const WindowRecord* r = RecordFor(w.window);
        ASSERT_NE(nullptr, r);
        EXPECT_EQ(c.kinds, KindsOf(*r));
        EXPECT_EQ(c.stripWidth, r->StripWidth);
        EXPECT_EQ(1104 - c.stripWidth + 1, r->StripLeft);
        EXPECT_EQ(c.captionHeight, r->CaptionHeight);
        EXPECT_EQ(static_cast<int>(c.kinds.size()), r->ToolCount);
        EXPECT_TRUE(IsWindow(r->ToolTip.Window()));
        EXPECT_EQ(1, r->Recompose);
        // Every button has its picture; the maximise button also the restore one.
        for (const CaptionButton& b : r->CaptionButtons) {
            EXPECT_FALSE(b.Image.empty()) << b.Name;
            EXPECT_EQ(b.Kind == kCaptionMaximise, !b.AltImage.empty()) << b.Name;
        }
    }
}

TEST(AttachSkin, MainWindowCaptionButtonsSitAtTheRightEdge) {
    RecordingWindow w(1104, 504, WS_MINIMIZEBOX);
    AttachOptions o;
    o.CaptionHeight = 30;
    o.Resizable = 0;
    TestSkin().AttachSkin(w.window, o);
    const WindowRecord* r = RecordFor(w.window);
    ASSERT_NE(nullptr, r);
    EXPECT_EQ(1104 - 67, r->StripLeft);
    // Minimise then close, 27 pixels apart; close is the wider one.
    EXPECT_EQ(1104 - 67 + 2, static_cast<int>(r->CaptionButtons.At(1)->Rect.x));
    EXPECT_EQ(1104 - 67 + 29, static_cast<int>(r->CaptionButtons.At(2)->Rect.x));
    EXPECT_STREQ("最小化", r->CaptionButtons.At(1)->Name.c_str());
    EXPECT_STREQ("关闭", r->CaptionButtons.At(2)->Name.c_str());
    EXPECT_EQ(200, r->MinTrackWidth);
    EXPECT_EQ(150, r->MinTrackHeight);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), r->MaxTrackWidth);
    EXPECT_EQ(0, r->Resizable);
    EXPECT_EQ(1, r->HasCaption);
    EXPECT_EQ(1, r->ShowTitle);
    EXPECT_EQ(3, TestSkin().SizingBorder);
}

TEST(AttachSkin, SubclassesWithTheObjectsProcedureAndKeepsThePrevious) {
    RecordingWindow w(400, 300);
    const auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(w.window, GWLP_WNDPROC));
    TestSkin().AttachSkin(w.window);
    const int n = FindWindowNumber(w.window);
    ASSERT_GE(n, 1);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(TestSkin().WindowProcedure()),
              GetWindowLongPtrA(w.window, GWLP_WNDPROC));
    EXPECT_EQ(n, GetPropValue(w.window, kPropNumber));
    const auto previous = reinterpret_cast<WNDPROC>(GetPropValue(w.window, kPropPreviousProc));
    EXPECT_EQ(RecordOf(n)->OldWndProc, previous);
    EXPECT_NE(nullptr, previous);
    (void)original;  // the tool tip may have subclassed the window in between
    EXPECT_TRUE(GetWindowLongA(w.window, GWL_STYLE) & WS_SYSMENU);

    // Messages reach the recorder through the skin's procedure.
    w.log.clear();
    SendMessageA(w.window, WM_USER + 7, 3, 4);
    ASSERT_EQ(1u, w.Of({WM_USER + 7}).size());
    EXPECT_EQ(3u, w.Of({WM_USER + 7})[0].wParam);
}

TEST(AttachSkin, SecondAttachChangesNothing) {
    RecordingWindow w(400, 300);
    AttachOptions first;
    first.CaptionHeight = 30;
    TestSkin().AttachSkin(w.window, first);
    const int count = Windows.Count();
    const LONG_PTR procedure = GetWindowLongPtrA(w.window, GWLP_WNDPROC);
    const INT_PTR previous = GetPropValue(w.window, kPropPreviousProc);
    AttachOptions second;
    second.CaptionHeight = 60;
    second.HelpButton = 1;
    TestSkin().AttachSkin(w.window, second);
    EXPECT_EQ(count, Windows.Count());
    EXPECT_EQ(procedure, GetWindowLongPtrA(w.window, GWLP_WNDPROC));
    // Were the skin's own procedure stored as the previous one, every
    // message would call itself until the stack ran out.
    EXPECT_EQ(previous, GetPropValue(w.window, kPropPreviousProc));
    EXPECT_EQ(30, RecordFor(w.window)->CaptionHeight);
    EXPECT_EQ(2 + 1, RecordFor(w.window)->CaptionButtons.Count());
    w.log.clear();
    SendMessageA(w.window, WM_USER + 1, 0, 0);
    EXPECT_EQ(1u, w.Of({WM_USER + 1}).size());
}

TEST(AttachSkin, OwnPictureAndBottomBar) {
    RecordingWindow w(500, 400);
    AttachOptions o;
    o.Image = vostrel::skin::test::Picture(SkinImage::Background);
    o.DrawMode = 3;
    o.BarHeight = 24;
    TestSkin().AttachSkin(w.window, o);
    const WindowRecord* r = RecordFor(w.window);
    ASSERT_NE(nullptr, r);
    EXPECT_EQ(3, r->DrawMode);
    // Mode 3 keeps the bytes unchanged and samples the back colour.
    EXPECT_EQ(*o.Image, r->BackgroundImage);
    EXPECT_NE(0u, r->BackColour);
    EXPECT_EQ(24, r->BarHeight);
    EXPECT_EQ(0u, r->BarGlowTextColour);
    EXPECT_EQ(0xFFFFFFu, r->BarGlowColour);
    EXPECT_EQ("宋体", r->BarFontName);
    EXPECT_EQ(12, r->BarFontSize);
}

TEST(AttachSkin, NoWindowOrDeadWindowIsLeftAlone) {
    const int count = Windows.Count();
    TestSkin().AttachSkin(nullptr);
    HWND dead = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    DestroyWindow(dead);
    TestSkin().AttachSkin(dead);
    EXPECT_EQ(count, Windows.Count());
}

// ---------------------------------------------------------------------------
// Attach / destroy cycles of a second window next to a first one that lives
// on: composition, control-colour replies of static controls, check boxes
// and edits, a caption-button hover, and the teardown.

void OneAttachDestroyCycle() {
    RecordingWindow w(420, 300);
    HINSTANCE module = GetModuleHandleA(nullptr);
    HWND label = CreateWindowExA(0, "STATIC", "label", WS_CHILD | WS_VISIBLE, 20, 60, 100, 20,
                                 w.window, nullptr, module, nullptr);
    HWND check = CreateWindowExA(0, "BUTTON", "check", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX,
                                 20, 90, 100, 20, w.window, nullptr, module, nullptr);
    HWND edit = CreateWindowExA(0, "EDIT", "text", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 120,
                                120, 22, w.window, nullptr, module, nullptr);
    AttachOptions o;
    o.CaptionHeight = 30;
    TestSkin().AttachSkin(w.window, o);
    SendMessageA(w.window, WM_PAINT, 0, 0);  // composes
    for (auto [message, control] : {std::pair{WM_CTLCOLORSTATIC, label},
                                    std::pair{WM_CTLCOLORSTATIC, check},
                                    std::pair{WM_CTLCOLOREDIT, edit},
                                    std::pair{WM_CTLCOLORSTATIC, label}}) {
        HDC dc = GetDC(control);
        SendMessageA(w.window, message, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(control));
        ReleaseDC(control, dc);
    }
    // A hover that starts a fade, cut short by the destruction.
    const WindowRecord* r = RecordFor(w.window);
    const CaptionButton& close = *r->CaptionButtons.At(r->CaptionButtons.Count());
    SendMessageA(w.window, WM_MOUSEHOVER, 0, 0);
    SendMessageA(w.window, WM_MOUSEMOVE, 0,
                 vostrel::skin::test::Point(static_cast<int>(close.Rect.x) + 5, 8));
    SendMessageA(w.window, WM_TIMER, reinterpret_cast<WPARAM>(w.window), 0);
    DestroyWindow(w.window);
}

TEST(AttachSkin, AttachDestroyCyclesLeaveEveryBalance) {
    const int savedTransparent = TransparentControls, savedSkinControls = SkinControls;
    TransparentControls = 1;
    SkinControls = 1;
    RecordingWindow first(600, 400);
    TestSkin().AttachSkin(first.window);
    SendMessageA(first.window, WM_PAINT, 0, 0);
    const int count = Windows.Count();

    OneAttachDestroyCycle();
    vostrel::test::FlushEvents();
    const auto after = vostrel::dll::CountObjects();
    for (int i = 1; i < 100; ++i) OneAttachDestroyCycle();
    vostrel::test::FlushEvents();
    EXPECT_EQ("", vostrel::dll::ObjectChangesSince(after));
    EXPECT_EQ(count, Windows.Count());
    EXPECT_EQ(0, BackdropDcCount());
    TransparentControls = savedTransparent;
    SkinControls = savedSkinControls;
}

}  // namespace
