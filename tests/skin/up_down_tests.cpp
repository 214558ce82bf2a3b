// The up-down skin: which controls are taken and how, the hover protocol
// (one repaint per half entered, family code 8), the two halves with their
// arrows, hover and pressed looks by pixels, the class's own behaviour left
// working, the teardown when the control goes, and the balance of every GDI
// and GDI+ object over many repaints.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "gdiplus/gdip.h"
#include "skin/controls/header.h"
#include "skin/controls/up_down.h"
#include "skin/core/primitives.h"
#include "skin/core/window_skin.h"
#include "control_host.h"
#include "skinned_window.h"
#include "test_support.h"

using namespace vostrel::skin;
using vostrel::skin::test::ControlHost;
using vostrel::skin::test::ControlSkinTest;
using vostrel::skin::test::GlobalSettingsGuard;
using vostrel::skin::test::kBack;
using vostrel::skin::test::kTheme;
using vostrel::test::DibCanvas;
using vostrel::test::FlushEvents;

namespace {

class UpDownTest : public ControlSkinTest {
protected:
    UpDownTest() : ControlSkinTest(0) {}

    UpDownRecord* Record(const ControlHost& host, HWND control) {
        return host.record->UpDowns.Get<UpDownRecord>(
            static_cast<int>(GetPropValue(control, kPropNumber)));
    }
};

uint64_t WindowDcsTaken() {
    return vostrel::dll::CountObjects().created[vostrel::dll::kWindowDc];
}

int Position(HWND control) { return static_cast<int>(GetPropValue(control, kPropNumber)); }

// How much redder than green a pixel is: the theme colour of these tests is
// pure red, so the theme's share in a blend shows here.
int Redness(uint32_t rgb) { return static_cast<int>((rgb >> 16) & 0xFF) - static_cast<int>((rgb >> 8) & 0xFF); }

bool NearBlack(uint32_t rgb) { return vostrel::test::ColourNear(rgb, 0x000000, 40); }

std::unique_ptr<DibCanvas> Paint(const ControlHost& host, HWND control,
                                 std::optional<bool> hover = std::nullopt,
                                 std::optional<bool> pressed = std::nullopt,
                                 std::optional<LPARAM> mouse = std::nullopt) {
    RECT r{};
    GetWindowRect(control, &r);
    auto canvas = std::make_unique<DibCanvas>(r.right - r.left, r.bottom - r.top);
    canvas->Fill(0x00FF00);
    DrawUpDown(host.number, Position(control), hover, pressed, mouse, canvas->dc());
    GdiFlush();
    return canvas;
}

// ---------------------------------------------------------------------------

TEST_F(UpDownTest, InstallerTakesEveryUpDownWithItsOrientation) {
    ControlHost host;
    struct Row {
        DWORD style;
        int horizontal;
    } rows[] = {{0, 0}, {UDS_HORZ, 1}, {UDS_ARROWKEYS | UDS_WRAP, 0}, {UDS_HORZ | UDS_WRAP, 1}};
    std::vector<HWND> controls;
    for (const Row& row : rows)
        controls.push_back(host.Child(UPDOWN_CLASSA, row.style, "", 10, 10, 17, 24));
    InstallUpDowns(host.number, host.window);
    for (size_t i = 0; i < controls.size(); ++i) {
        HWND c = controls[i];
        UpDownRecord* record = Record(host, c);
        ASSERT_NE(nullptr, record) << i;
        EXPECT_EQ(rows[i].horizontal, record->Horizontal) << i;
        EXPECT_EQ(c, record->Handle);
        EXPECT_EQ(static_cast<int>(i) + 1, Position(c));
        EXPECT_EQ(host.number, GetPropValue(c, kPropOwnerNumber));
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(UpDownProc), GetWindowLongPtrA(c, GWLP_WNDPROC));
        EXPECT_EQ(reinterpret_cast<INT_PTR>(record->PreviousProc),
                  GetPropValue(c, kPropPreviousProc));
    }
    // A second walk keeps one record per control and does not subclass twice.
    InstallUpDowns(host.number, host.window);
    EXPECT_EQ(4, host.record->UpDowns.Count());
    EXPECT_NE(reinterpret_cast<WNDPROC>(UpDownProc), Record(host, controls[0])->PreviousProc);
}

TEST_F(UpDownTest, NothingIsTakenWhileControlsAreNotSkinned) {
    ControlHost host;
    HWND c = host.Child(UPDOWN_CLASSA, 0, "", 10, 10, 17, 24);
    const LONG_PTR own = GetWindowLongPtrA(c, GWLP_WNDPROC);
    SkinControls = 0;
    InstallUpDowns(host.number, host.window);
    EXPECT_EQ(own, GetWindowLongPtrA(c, GWLP_WNDPROC));
    EXPECT_EQ(0, GetPropValue(c, kPropNumber));
    EXPECT_EQ(nullptr, host.record->UpDowns.At(1)->Handle);
}

TEST_F(UpDownTest, HalfUnderThePointer) {
    ControlHost host;
    HWND vertical = host.Child(UPDOWN_CLASSA, 0, "", 10, 10, 17, 24);
    HWND horizontal = host.Child(UPDOWN_CLASSA, UDS_HORZ, "", 40, 10, 30, 16);
    InstallUpDowns(host.number, host.window);
    struct Row {
        HWND control;
        int x, y, part;
    } rows[] = {
        {vertical, 8, 0, 0},   {vertical, 8, 12, 0},  {vertical, 8, 13, 1},
        {vertical, 8, 23, 1},  {vertical, 8, -3, 0},  {horizontal, 15, 8, 0},
        {horizontal, 16, 8, 1}, {horizontal, 29, 8, 1}, {horizontal, -1, 8, 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.part, HitUpDownPart(host.number, Position(row.control),
                                          MAKELPARAM(row.x, row.y)))
            << row.x << "," << row.y;
}

TEST_F(UpDownTest, RepaintsOncePerHalfEnteredAndClearsOnLeave) {
    ControlHost host;
    host.Compose();
    HWND c = host.Child(UPDOWN_CLASSA, 0, "", 10, 10, 17, 24);
    HWND other = host.Child(UPDOWN_CLASSA, 0, "", 40, 10, 17, 24);
    InstallUpDowns(host.number, host.window);
    FlushEvents();
    UpDownRecord* record = Record(host, c);
    struct Step {
        HWND control;
        int y;
        int repaints;  // window DCs taken by the move
        int hotPart;
    } steps[] = {
        {c, 3, 1, 0},      // entry, upper half
        {c, 5, 0, 0},      // same half
        {c, 18, 1, 1},     // into the lower half
        {c, 20, 0, 1},     // same half
        {other, 3, 1, 0},  // another up-down of the window lights
        {c, 20, 1, 1},     // and back: this one repaints again
    };
    for (const Step& step : steps) {
        const uint64_t before = WindowDcsTaken();
        SendMessageA(step.control, WM_MOUSEMOVE, 0, MAKELPARAM(8, step.y));
        EXPECT_EQ(step.repaints, static_cast<int>(WindowDcsTaken() - before)) << step.y;
        EXPECT_EQ(kFamilyUpDowns, host.record->HotFamily);
        EXPECT_EQ(Position(step.control), host.record->HotControl);
        EXPECT_EQ(step.hotPart, Record(host, step.control)->HotPart);
        EXPECT_EQ(1, Record(host, step.control)->Hot);
    }
    // A header of the same position lit in between: the family code differs.
    host.record->HotFamily = kFamilyHeaders;
    uint64_t before = WindowDcsTaken();
    SendMessageA(c, WM_MOUSEMOVE, 0, MAKELPARAM(8, 20));
    EXPECT_EQ(1u, WindowDcsTaken() - before);
    before = WindowDcsTaken();
    SendMessageA(c, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(1u, WindowDcsTaken() - before);
    EXPECT_EQ(0, host.record->HotControl);
    EXPECT_EQ(0, record->Hot);
}

// A vertical up-down of 17 x 24: halves of 17 x 12, the up arrow at (5, 4),
// the down arrow at (5, 16); a horizontal one of 30 x 16: halves of 15 x 16,
// the left arrow at (5.5, 4.5) and the right at (20.5, 4.5).
TEST_F(UpDownTest, ArrowsSitInTheMiddleOfTheirHalves) {
    ControlHost host;
    host.Compose();
    HWND vertical = host.Child(UPDOWN_CLASSA, 0, "", 10, 10, 17, 24);
    HWND horizontal = host.Child(UPDOWN_CLASSA, UDS_HORZ, "", 40, 10, 30, 16);
    InstallUpDowns(host.number, host.window);
    auto v = Paint(host, vertical);
    vostrel::test::SavePng(*v, vostrel::test::ArtifactDir() + "/up_down_vertical.png");
    struct Row {
        int x, y;
        bool black;
    } rows[] = {
        {8, 4, true},  {5, 7, true},  {11, 7, true},  {5, 4, false}, {4, 7, false},
        {12, 7, false}, {8, 8, false}, {5, 16, true},  {11, 16, true}, {8, 19, true},
        {5, 19, false}, {8, 15, false}, {8, 20, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.black, NearBlack(v->Pixel(row.x, row.y)))
            << row.x << "," << row.y << " " << std::hex << v->Pixel(row.x, row.y);
    // The backdrop shows nowhere inside the face (the canvas was green).
    for (int y = 2; y < 22; ++y) EXPECT_NE(0x00FF00u, v->Pixel(8, y)) << y;

    auto h = Paint(host, horizontal);
    vostrel::test::SavePng(*h, vostrel::test::ArtifactDir() + "/up_down_horizontal.png");
    // Half-pixel positions soften the arrows' edges; their middles stay dark
    // against the face beside them.
    auto lightness = [&](int x, int y) {
        const uint32_t p = h->Pixel(x, y);
        return static_cast<int>(((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF));
    };
    EXPECT_LT(lightness(8, 8) + 200, lightness(12, 8));
    EXPECT_LT(lightness(22, 8) + 200, lightness(27, 8));
    EXPECT_LT(lightness(22, 8) + 200, lightness(18, 8));
}

TEST_F(UpDownTest, HoverAndPressedLooksLightOnlyTheHalfUnderThePointer) {
    ControlHost host;
    host.Compose();
    HWND c = host.Child(UPDOWN_CLASSA, 0, "", 10, 10, 17, 24);
    InstallUpDowns(host.number, host.window);
    const LPARAM lower = MAKELPARAM(8, 18), upper = MAKELPARAM(8, 3);
    auto normal = Paint(host, c, false, false, lower);
    auto hoverLower = Paint(host, c, true, false, lower);
    auto pressedLower = Paint(host, c, true, true, lower);
    auto hoverUpper = Paint(host, c, true, false, upper);
    auto pressedNoHover = Paint(host, c, false, true, lower);
    vostrel::test::SavePng(*hoverLower, vostrel::test::ArtifactDir() + "/up_down_hover.png");
    vostrel::test::SavePng(*pressedLower, vostrel::test::ArtifactDir() + "/up_down_pressed.png");
    // Sample columns clear of the arrows: x = 2, rows near the top and the
    // bottom of each half.
    const int upperTop = 2, upperBottom = 9, lowerTop = 14, lowerBottom = 21;
    // Hover: the lower half turns to the theme, the upper half is unchanged.
    EXPECT_GT(Redness(hoverLower->Pixel(2, lowerBottom)), Redness(normal->Pixel(2, lowerBottom)) + 10);
    EXPECT_EQ(normal->Pixel(2, upperTop), hoverLower->Pixel(2, upperTop));
    EXPECT_EQ(normal->Pixel(2, upperBottom), hoverLower->Pixel(2, upperBottom));
    // Pressed: the gradient turns over, theme at the top and white at the
    // bottom of the half.
    EXPECT_GT(Redness(pressedLower->Pixel(2, lowerTop)), Redness(hoverLower->Pixel(2, lowerTop)) + 10);
    EXPECT_LT(Redness(pressedLower->Pixel(2, lowerBottom)), Redness(hoverLower->Pixel(2, lowerBottom)) - 10);
    EXPECT_EQ(normal->Pixel(2, upperTop), pressedLower->Pixel(2, upperTop));
    // Hover over the upper half lights that half only.
    EXPECT_GT(Redness(hoverUpper->Pixel(2, upperBottom)), Redness(normal->Pixel(2, upperBottom)) + 10);
    EXPECT_EQ(normal->Pixel(2, lowerBottom), hoverUpper->Pixel(2, lowerBottom));
    // A press without the pointer over the control shows no look.
    for (int y : {upperTop, upperBottom, lowerTop, lowerBottom})
        EXPECT_EQ(normal->Pixel(2, y), pressedNoHover->Pixel(2, y)) << y;
    // The hot half's outline is in the theme colour.
    EXPECT_GT(Redness(hoverLower->Pixel(0, 18)), Redness(normal->Pixel(0, 18)) + 10);
}

TEST_F(UpDownTest, PaintAfterAMoveLightsTheHalfUnderThePointerNotTheOneClicked) {
    ControlHost host;
    host.Compose();
    HWND c = host.Child(UPDOWN_CLASSA, 0, "", 10, 10, 17, 24);
    InstallUpDowns(host.number, host.window);
    SendMessageA(c, WM_MOUSEMOVE, 0, MAKELPARAM(8, 3));
    SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 3));
    EXPECT_EQ(1, Record(host, c)->Pressed);
    SendMessageA(c, WM_LBUTTONUP, 0, MAKELPARAM(8, 3));
    EXPECT_EQ(0, Record(host, c)->Pressed);
    // A press whose capture is taken away ends without a button-up.
    SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 3));
    ASSERT_EQ(c, GetCapture());
    SetCapture(host.window);
    EXPECT_EQ(0, Record(host, c)->Pressed);
    ReleaseCapture();
    SendMessageA(c, WM_MOUSEMOVE, 0, MAKELPARAM(8, 18));
    // What WM_PAINT draws (nothing given: the record's state).
    auto painted = Paint(host, c);
    auto expected = Paint(host, c, true, false, MAKELPARAM(8, 18));
    for (int y : {2, 9, 14, 21}) EXPECT_EQ(expected->Pixel(2, y), painted->Pixel(2, y)) << y;
}

TEST_F(UpDownTest, ClicksStillReachTheClassAndStepTheBuddy) {
    ControlHost host;
    host.Compose();
    HWND buddy = host.Child("Edit", ES_NUMBER, "0", 10, 10, 60, 22);
    HWND c = host.Child(UPDOWN_CLASSA, UDS_SETBUDDYINT | UDS_ALIGNRIGHT, "", 0, 0, 17, 22);
    SendMessageA(c, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
    SendMessageA(c, UDM_SETRANGE32, 0, 10);
    SendMessageA(c, UDM_SETPOS32, 0, 3);
    InstallUpDowns(host.number, host.window);
    RECT r{};
    GetWindowRect(c, &r);
    const int h = r.bottom - r.top;
    SendMessageA(c, WM_MOUSEMOVE, 0, MAKELPARAM(4, 2));
    SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 2));
    SendMessageA(c, WM_LBUTTONUP, 0, MAKELPARAM(4, 2));
    EXPECT_EQ(4, SendMessageA(c, UDM_GETPOS32, 0, 0));
    SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, h - 3));
    SendMessageA(c, WM_LBUTTONUP, 0, MAKELPARAM(4, h - 3));
    SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, h - 3));
    SendMessageA(c, WM_LBUTTONUP, 0, MAKELPARAM(4, h - 3));
    EXPECT_EQ(2, SendMessageA(c, UDM_GETPOS32, 0, 0));
    char text[8]{};
    GetWindowTextA(buddy, text, sizeof text);
    EXPECT_STREQ("2", text);
    // The frame and the class's painting stay out.
    EXPECT_EQ(1, SendMessageA(c, WM_NCPAINT, 1, 0));
}

// On a shown window the class's own painting and frame never show: what
// reaches the screen after the paint messages and a click is the skin's.
TEST_F(UpDownTest, ScreenShowsTheSkinAfterPaintAndClick) {
    ControlHost host(WS_VISIBLE, 200, 80);
    host.Compose();
    HWND buddy = host.Child("Edit", ES_NUMBER, "0", 10, 20, 60, 22);
    HWND c = host.Child(UPDOWN_CLASSA, UDS_SETBUDDYINT | UDS_ALIGNRIGHT, "", 0, 0, 17, 22);
    SendMessageA(c, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
    InstallUpDowns(host.number, host.window);
    RedrawWindow(host.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    FlushEvents(50);
    auto screen = [&] {
        RECT r{};
        GetWindowRect(c, &r);
        auto canvas = std::make_unique<DibCanvas>(r.right - r.left, r.bottom - r.top);
        HDC dc = GetWindowDC(c);
        BitBlt(canvas->dc(), 0, 0, r.right - r.left, r.bottom - r.top, dc, 0, 0, SRCCOPY);
        ReleaseDC(c, dc);
        GdiFlush();
        return canvas;
    };
    auto shown = screen();
    auto expected = Paint(host, c);
    vostrel::test::SavePng(*shown, vostrel::test::ArtifactDir() + "/up_down_screen.png");
    for (int y = 0; y < shown->height(); y += 3)
        for (int x = 0; x < shown->width(); x += 3)
            EXPECT_EQ(expected->Pixel(x, y), shown->Pixel(x, y)) << x << "," << y;
    const int lower = shown->height() - 4;
    SendMessageA(c, WM_MOUSEMOVE, 0, MAKELPARAM(4, lower));
    SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, lower));
    auto pressed = screen();
    auto pressedExpected = Paint(host, c, true, true, MAKELPARAM(4, lower));
    SendMessageA(c, WM_LBUTTONUP, 0, MAKELPARAM(4, lower));
    for (int y = 0; y < pressed->height(); y += 3)
        EXPECT_EQ(pressedExpected->Pixel(2, y), pressed->Pixel(2, y)) << y;
    ShowWindow(host.window, SW_HIDE);
}

// A recorder subclassed before the skin sees the control's last message
// after the skin let go: its procedure is back in place, the properties
// are gone.
struct Teardown {
    LONG_PTR procedureAtEnd = 0;
    INT_PTR number = -1, owner = -1, previous = -1;
};
Teardown g_teardown;
WNDPROC g_classProc = nullptr;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        g_teardown.procedureAtEnd = GetWindowLongPtrA(window, GWLP_WNDPROC);
        g_teardown.number = GetPropValue(window, kPropNumber);
        g_teardown.owner = GetPropValue(window, kPropOwnerNumber);
        g_teardown.previous = GetPropValue(window, kPropPreviousProc);
    }
    return CallWindowProcA(g_classProc, window, message, wParam, lParam);
}

TEST_F(UpDownTest, DestroyedControlTakesItsSubclassingAlong) {
    ControlHost host;
    HWND c = host.Child(UPDOWN_CLASSA, 0, "", 10, 10, 17, 24);
    g_classProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(c, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc)));
    InstallUpDowns(host.number, host.window);
    SendMessageA(c, WM_MOUSEMOVE, 0, MAKELPARAM(8, 3));
    ASSERT_EQ(1, host.record->HotControl);
    g_teardown = {};
    DestroyWindow(c);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(RecordingProc), g_teardown.procedureAtEnd);
    EXPECT_EQ(0, g_teardown.number);
    EXPECT_EQ(0, g_teardown.owner);
    EXPECT_EQ(0, g_teardown.previous);
    // The record stays in its place but names no window; nothing is lit.
    EXPECT_EQ(nullptr, host.record->UpDowns.At(1)->Handle);
    EXPECT_EQ(0, host.record->HotControl);
    // Its position now draws and hits nothing.
    const uint64_t before = WindowDcsTaken();
    DrawUpDown(host.number, 1);
    EXPECT_EQ(0u, WindowDcsTaken() - before);
}

// The same teardown on the 32-bit target, where window longs and the
// properties that hold procedures are 32 bits wide: both families give their
// controls' procedures back when the controls go.
TEST(ControlTeardownI686, UpDownsAndHeadersGiveTheirProceduresBack) {
    GlobalSettingsGuard guard;
    const int skinControls = SkinControls;
    SkinControls = 1;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    struct Row {
        const char* cls;
        void (*install)(int, HWND);
        WNDPROC skin;
        ControlList WindowRecord::*list;
    } rows[] = {{UPDOWN_CLASSA, InstallUpDowns, UpDownProc, &WindowRecord::UpDowns},
                {WC_HEADERA, InstallHeaders, HeaderProc, &WindowRecord::Headers}};
    for (const Row& row : rows) {
        ControlHost host;
        HWND c = host.Child(row.cls, 0, "", 10, 10, 40, 24);
        g_classProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(c, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc)));
        row.install(host.number, host.window);
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(row.skin), GetWindowLongPtrA(c, GWLP_WNDPROC))
            << row.cls;
        EXPECT_EQ(reinterpret_cast<INT_PTR>(RecordingProc), GetPropValue(c, kPropPreviousProc))
            << row.cls;
        // Messages the skin does not take reach the procedure before it.
        EXPECT_EQ(0, SendMessageA(c, WM_GETTEXTLENGTH, 0, 0)) << row.cls;
        g_teardown = {};
        DestroyWindow(c);
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(RecordingProc), g_teardown.procedureAtEnd)
            << row.cls;
        EXPECT_EQ(0, g_teardown.previous) << row.cls;
        EXPECT_EQ(nullptr, (host.record->*row.list).At(1)->Handle) << row.cls;
    }
    SkinControls = skinControls;
}

TEST_F(UpDownTest, OutOfRangeNumbersDoNothing) {
    ControlHost host;
    host.Compose();
    HWND c = host.Child(UPDOWN_CLASSA, 0, "", 10, 10, 17, 24);
    InstallUpDowns(host.number, host.window);
    struct Row {
        int n, k;
    } rows[] = {{0, 1}, {-1, 1}, {host.number + 1, 1}, {host.number, 0}, {host.number, 2},
                {host.number, -5}};
    DibCanvas canvas(17, 24);
    canvas.Fill(0x00FF00);
    const uint64_t before = WindowDcsTaken();
    for (const Row& row : rows) {
        DrawUpDown(row.n, row.k, true, true, MAKELPARAM(8, 18), canvas.dc());
        DrawUpDown(row.n, row.k);
        EXPECT_EQ(0, HitUpDownPart(row.n, row.k, MAKELPARAM(8, 18))) << row.n << "," << row.k;
    }
    EXPECT_EQ(0u, WindowDcsTaken() - before);
    EXPECT_EQ(0x00FF00u, canvas.Pixel(8, 12));
    EXPECT_EQ(1, HitUpDownPart(host.number, Position(c), MAKELPARAM(8, 18)));
    // An installer given no window record or no parent takes nothing.
    InstallUpDowns(host.number + 1, host.window);
    InstallUpDowns(host.number, nullptr);
    EXPECT_EQ(1, host.record->UpDowns.Count());
}

TEST_F(UpDownTest, HundredPaintAndHoverRoundsLeaveEveryBalanceUnchanged) {
    ControlHost host;
    host.Compose();
    HWND vertical = host.Child(UPDOWN_CLASSA, 0, "", 10, 10, 17, 24);
    HWND horizontal = host.Child(UPDOWN_CLASSA, UDS_HORZ, "", 40, 10, 30, 16);
    InstallUpDowns(host.number, host.window);
    auto round = [&] {
        for (HWND c : {vertical, horizontal}) {
            SendMessageA(c, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
            SendMessageA(c, WM_MOUSEMOVE, 0, MAKELPARAM(24, 14));
            SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(24, 14));
            SendMessageA(c, WM_LBUTTONUP, 0, MAKELPARAM(24, 14));
            SendMessageA(c, WM_MOUSELEAVE, 0, 0);
            SendMessageA(c, WM_PAINT, 0, 0);
        }
    };
    round();
    FlushEvents();
    const auto baseline = vostrel::dll::CountObjects();
    const int backdrops = BackdropDcCount();
    for (int i = 0; i < 100; ++i) {
        round();
        if (i % 20 == 0) FlushEvents();
    }
    FlushEvents();
    EXPECT_EQ("", vostrel::dll::ObjectChangesSince(baseline));
    EXPECT_EQ(backdrops, BackdropDcCount());
}

}  // namespace
