// The other common controls taken by SkinCommonControls: registration and
// properties for each class, controls with children dressed as containers,
// the colour key by pixels on the screen, the rich edit's repaint after a
// scroll, bad handles, and the end of the subclassing with the window.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <memory>
#include <string>

#include "skin/controls/child_controls.h"
#include "skin/controls/common_controls.h"
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
using vostrel::skin::test::TestSkin;
using vostrel::test::ColourNear;
using vostrel::test::DibCanvas;
using vostrel::test::FlushEvents;

namespace {

constexpr uint32_t kBackPixel = 0x102030;

void EnsureCommonClasses() {
    static const bool ready = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES |
                                                 ICC_TAB_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&icc);
        return LoadLibraryA("riched20.dll") != nullptr;
    }();
    (void)ready;
}

class CommonControlsTest : public ControlSkinTest {
protected:
    void SetUp() override {
        ControlSkinTest::SetUp();
        EnsureCommonClasses();
    }
};

struct ClassCase {
    const char* cls;
    DWORD style;
    const char* text;
};

const ClassCase kClasses[] = {
    {"SysMonthCal32", 0, ""},
    {"SysTabControl32", 0, ""},
    {"ToolbarWindow32", CCS_NORESIZE | CCS_NODIVIDER, ""},
    {"msctls_statusbar32", CCS_NORESIZE | CCS_NOPARENTALIGN, "状态"},
    {"RichEdit20A", ES_MULTILINE | WS_VSCROLL, "文本"},
};

// ---------------------------------------------------------------------------

TEST_F(CommonControlsTest, EachClassIsRegisteredWithItsKey) {
    ControlHost host;
    int position = 0;
    for (const ClassCase& row : kClasses) {
        HWND control = host.Child(row.cls, row.style, row.text, 10, 10, 200, 150);
        ASSERT_NE(nullptr, control) << row.cls;
        const LONG_PTR original = GetWindowLongPtrA(control, GWLP_WNDPROC);
        EXPECT_EQ(0, TestSkin().SkinCommonControls(control, 0x00FFFFFF, 0, std::nullopt))
            << row.cls << ": no child window";
        ++position;
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(OtherControlProc),
                  GetWindowLongPtrA(control, GWLP_WNDPROC)) << row.cls;
        EXPECT_EQ(original, GetPropValue(control, kPropOtherPreviousProc)) << row.cls;
        EXPECT_EQ(position, GetPropValue(control, kPropOtherNumber)) << row.cls;
        EXPECT_EQ(host.number, GetPropValue(control, kPropOtherOwnerNumber)) << row.cls;
        OtherControlRecord* record = FindOtherControlRecord(control);
        ASSERT_NE(nullptr, record) << row.cls;
        EXPECT_EQ(0x00FFFFFFu, record->ColourKey);
        EXPECT_EQ(reinterpret_cast<WNDPROC>(original), record->PreviousProc);
        // Not a container: no child window.
        EXPECT_EQ(0, FindContainerNumber(host.number, control)) << row.cls;
    }
    EXPECT_EQ(position, host.record->OtherControls.Count());
}

TEST_F(CommonControlsTest, DefaultKeyIsTheSystemButtonFaceAndASecondCallOnlyChangesTheKey) {
    ControlHost host;
    HWND status = host.Child("msctls_statusbar32", CCS_NORESIZE | CCS_NOPARENTALIGN, "s");
    TestSkin().SkinCommonControls(status, std::nullopt, 0, std::nullopt);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), FindOtherControlRecord(status)->ColourKey);
    TestSkin().SkinCommonControls(status, 0x00FF00FF, 0, std::nullopt);
    EXPECT_EQ(0x00FF00FFu, FindOtherControlRecord(status)->ColourKey);
    EXPECT_EQ(1, host.record->OtherControls.Count());
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(OtherControlProc), GetWindowLongPtrA(status, GWLP_WNDPROC));
    EXPECT_NE(reinterpret_cast<INT_PTR>(OtherControlProc),
              GetPropValue(status, kPropOtherPreviousProc));
    // Still works: the class answers its own messages through the chain.
    SendMessageA(status, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("新"));
    char text[8]{};
    SendMessageA(status, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ("新", text);
}

TEST_F(CommonControlsTest, ControlWithChildrenIsAlsoDressedAsAContainer) {
    ControlHost host;
    HWND tab = host.Child("SysTabControl32", 0, "", 10, 10, 250, 150);
    HWND button = host.Child("BUTTON", BS_PUSHBUTTON, "页", 20, 40, 60, 24, tab);
    EXPECT_EQ(1, TestSkin().SkinCommonControls(tab, 0x00FFFFFF, 0x0000FF, 90));
    const int k = FindContainerNumber(host.number, tab);
    ASSERT_GT(k, 0);
    auto* container = host.record->Containers.Get<ContainerRecord>(k);
    EXPECT_EQ(0x0000FFu, container->TintColour);
    EXPECT_EQ(90, container->TintAlpha);
    EXPECT_EQ(0, container->SkinPainted);
    // The container skin took the children with the installers.
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(ButtonProc), GetWindowLongPtrA(button, GWLP_WNDPROC));
    EXPECT_EQ(kPushButton, host.Button(button)->Kind);
    // The container procedure lies over the other-control procedure and
    // passes on to it.
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(ContainerProc), GetWindowLongPtrA(tab, GWLP_WNDPROC));
    EXPECT_EQ(reinterpret_cast<INT_PTR>(OtherControlProc), GetPropValue(tab, kPropPreviousProc));
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>("一");
    EXPECT_EQ(0, SendMessageA(tab, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(1, SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
}

TEST_F(CommonControlsTest, SwitchesDecideWhoPaintsAndErases) {
    ControlHost host;
    host.Compose();
    HWND status = host.Child("msctls_statusbar32", CCS_NORESIZE | CCS_NOPARENTALIGN, "s", 10, 10,
                             120, 24);
    TestSkin().SkinCommonControls(status, std::nullopt, 0, std::nullopt);
    struct Row {
        int skinControls, transparent;
        bool throughBackdrop;  // WM_PAINT made a backdrop DC
        bool erased;           // WM_ERASEBKGND painted the given DC
    } rows[] = {
        {1, 1, true, false},
        {1, 0, true, true},
        {0, 1, false, false},
        {0, 0, false, true},
    };
    for (const Row& row : rows) {
        SkinControls = row.skinControls;
        TransparentControls = row.transparent;
        const auto before = vostrel::dll::CountObjects();
        InvalidateRect(status, nullptr, FALSE);
        SendMessageA(status, WM_PAINT, 0, 0);
        const auto after = vostrel::dll::CountObjects();
        EXPECT_EQ(row.throughBackdrop,
                  after.created[vostrel::dll::kDc] > before.created[vostrel::dll::kDc])
            << row.skinControls << row.transparent;
        DibCanvas canvas(120, 24);
        canvas.Fill(0x00FF00);
        SendMessageA(status, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0);
        GdiFlush();
        EXPECT_EQ(row.erased, canvas.Pixel(60, 12) != 0x00FF00u)
            << row.skinControls << row.transparent;
    }
}

TEST_F(CommonControlsTest, BadHandlesTakeNothingAndReturnZero) {
    ControlHost host;
    HWND orphanParent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr,
                                        nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND orphan = CreateWindowExA(0, "msctls_statusbar32", "", WS_CHILD | CCS_NORESIZE, 0, 0, 50,
                                  20, orphanParent, nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND gone = host.Child("msctls_statusbar32", CCS_NORESIZE, "");
    DestroyWindow(gone);
    const LONG_PTR orphanProc = GetWindowLongPtrA(orphan, GWLP_WNDPROC);
    for (HWND h : {static_cast<HWND>(nullptr), orphan, gone, host.window})
        EXPECT_EQ(0, TestSkin().SkinCommonControls(h, std::nullopt, 0, std::nullopt)) << h;
    EXPECT_EQ(orphanProc, GetWindowLongPtrA(orphan, GWLP_WNDPROC));
    EXPECT_EQ(0, GetPropValue(orphan, kPropOtherNumber));
    EXPECT_EQ(nullptr, host.record->OtherControls.At(1)->Handle);
    EXPECT_EQ(1, host.record->OtherControls.Count());
    DestroyWindow(orphanParent);
}

// Laid over a control: after the procedures below it have handled
// WM_NCDESTROY, notes whether the skin's properties are still there and
// which procedure the window would run next.
struct DestroyWatch {
    WNDPROC next = nullptr;
    bool propertiesLeft = true;
    LONG_PTR procedureAfter = 0;
};
DestroyWatch g_watch;
LRESULT CALLBACK WatchDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcA(g_watch.next, window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        g_watch.propertiesLeft = GetPropA(window, kPropOtherNumber) ||
                                 GetPropA(window, kPropOtherOwnerNumber) ||
                                 GetPropA(window, kPropOtherPreviousProc);
        g_watch.procedureAfter = GetWindowLongPtrA(window, GWLP_WNDPROC);
    }
    return result;
}
void Watch(HWND control) {
    g_watch = {};
    g_watch.next = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchDestroy)));
}

TEST_F(CommonControlsTest, SubclassingEndsWithTheWindowAndOutlivesNoRecord) {
    ControlHost host;
    HWND first = host.Child("msctls_statusbar32", CCS_NORESIZE | CCS_NOPARENTALIGN, "a");
    HWND second = host.Child("SysMonthCal32", 0, "", 10, 40, 200, 150);
    TestSkin().SkinCommonControls(first, std::nullopt, 0, std::nullopt);
    TestSkin().SkinCommonControls(second, std::nullopt, 0, std::nullopt);
    OtherControlRecord* record = FindOtherControlRecord(first);
    ASSERT_NE(nullptr, record);
    Watch(first);
    DestroyWindow(first);
    EXPECT_FALSE(g_watch.propertiesLeft);
    // A procedure laid over the skin's is never cut out of the chain.
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(WatchDestroy), g_watch.procedureAfter);
    EXPECT_EQ(nullptr, record->Handle) << "the record no longer names a dead handle";
    EXPECT_EQ(2, host.record->OtherControls.Count()) << "positions stay";
    EXPECT_EQ(second, host.record->OtherControls.At(2)->Handle);
    // The window record goes while a control lives: the control passes its
    // messages on through its own previous procedure.
    ForgetSkinnedWindow(host.window);
    EXPECT_EQ(nullptr, FindOtherControlRecord(second));
    RedrawWindow(second, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    SYSTEMTIME today{};
    EXPECT_NE(0, SendMessageA(second, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&today)));
    Watch(second);
    DestroyWindow(second);
    EXPECT_FALSE(g_watch.propertiesLeft) << "also without its window record";
}

// ---------------------------------------------------------------------------
// By pixels, on the screen: a shown window (its destruction is slow, so one
// window holds every class).

struct KeyCase {
    const char* cls;
    DWORD style;
    const char* text;
    RECT place;
    COLORREF key;
    POINT probe;         // a point of the control's background
    uint32_t expected;   // the window image there (veiled or not)
    int tolerance;
};

// Union of the update rectangles of the paints a control received.
RECT g_painted{};
WNDPROC g_recorderNext = nullptr;
LRESULT CALLBACK PaintRecorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        RECT update{};
        if (GetUpdateRect(window, &update, FALSE)) UnionRect(&g_painted, &g_painted, &update);
    }
    return CallWindowProcA(g_recorderNext, window, message, wParam, lParam);
}

// The backdrop under the white veil at alpha 160.
constexpr uint32_t Veiled(uint32_t rgb) {
    auto v = [](uint32_t c) { return (c * 95 + 255 * 160) / 255; };
    return (v((rgb >> 16) & 0xFF) << 16) | (v((rgb >> 8) & 0xFF) << 8) | v(rgb & 0xFF);
}

TEST_F(CommonControlsTest, ColourKeyLetsTheWindowImageShowThrough) {
    ControlHost host(WS_VISIBLE, 640, 420);
    host.Compose();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF white = GetSysColor(COLOR_WINDOW);
    const KeyCase rows[] = {
        // Classes that paint into the given DC: the key colour shows the
        // veiled backdrop.
        {"msctls_statusbar32", CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, "状态栏",
         {10, 10, 300, 34}, face, {250, 12}, Veiled(kBackPixel), 4},
        {"SysMonthCal32", 0, "", {10, 50, 260, 230}, white, {5, 170}, Veiled(kBackPixel), 4},
        // The tab control's page is white here.
        {"SysTabControl32", 0, "", {320, 10, 620, 200}, white, {150, 120}, Veiled(kBackPixel), 4},
        // An empty tool bar paints nothing in WM_PAINT (its background is
        // erased, which the skin swallows): the backdrop shows unveiled.
        {"ToolbarWindow32", CCS_NORESIZE | CCS_NODIVIDER | TBSTYLE_FLAT, "",
         {320, 220, 620, 250}, face, {150, 15}, kBackPixel, 4},
        // A rich edit paints the screen itself: its key colour shows the
        // backdrop as it is.
        {"RichEdit20A", ES_MULTILINE, "", {10, 260, 300, 400}, white, {150, 100}, kBackPixel, 4},
    };
    std::vector<HWND> controls;
    for (const KeyCase& row : rows) {
        HWND control = host.Child(row.cls, row.style, row.text, row.place.left, row.place.top,
                                  row.place.right - row.place.left,
                                  row.place.bottom - row.place.top);
        ASSERT_NE(nullptr, control) << row.cls;
        TestSkin().SkinCommonControls(control, row.key, 0, std::nullopt);
        controls.push_back(control);
    }
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>("标签");
    SendMessageA(controls[2], TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    RedrawWindow(host.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    FlushEvents(100);
    // The whole window as the screen shows it.
    DibCanvas screen(640, 420);
    HDC dc = GetDC(host.window);
    BitBlt(screen.dc(), 0, 0, 640, 420, dc, 0, 0, SRCCOPY);
    ReleaseDC(host.window, dc);
    GdiFlush();
    vostrel::test::SavePng(screen, vostrel::test::ArtifactDir() + "/common_controls.png");
    for (size_t i = 0; i < std::size(rows); ++i) {
        const KeyCase& row = rows[i];
        RECT client{};
        GetClientRect(controls[i], &client);
        POINT p = row.probe;
        MapWindowPoints(controls[i], host.window, &p, 1);
        const uint32_t got = screen.Pixel(p.x, p.y);
        EXPECT_TRUE(ColourNear(row.expected, got, row.tolerance))
            << row.cls << ": expected " << std::hex << row.expected << " got " << got;
    }
    // The status bar's text stays: some dark pixels in its first part.
    int dark = 0;
    for (int y = 12; y < 32; ++y)
        for (int x = 12; x < 80; ++x)
            if ((screen.Pixel(x, y) & 0xFF) < 0x60) ++dark;
    EXPECT_GT(dark, 5);
    // A rich edit repaints itself entirely after a scroll message: a
    // recorder laid over the skin notes the update rectangle of each paint.
    HWND rich = controls[4];
    g_painted = RECT{};
    g_recorderNext = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(rich, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PaintRecorder)));
    ValidateRect(rich, nullptr);
    SendMessageA(rich, WM_VSCROLL, SB_LINEDOWN, 0);
    FlushEvents(20);
    SetWindowLongPtrA(rich, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_recorderNext));
    RECT client{};
    GetClientRect(rich, &client);
    EXPECT_TRUE(EqualRect(&g_painted, &client))
        << g_painted.left << "," << g_painted.top << "," << g_painted.right << ","
        << g_painted.bottom;
}

TEST_F(CommonControlsTest, RepeatedRepaintsLeaveEveryBalanceUnchanged) {
    ControlHost host(WS_VISIBLE, 420, 200);
    host.Compose();
    HWND status = host.Child("msctls_statusbar32", CCS_NORESIZE | CCS_NOPARENTALIGN, "s", 10,
                             10, 200, 24);
    HWND rich = host.Child("RichEdit20A", ES_MULTILINE, "r", 10, 50, 200, 60);
    HWND tab = host.Child("SysTabControl32", 0, "", 220, 10, 180, 150);
    host.Child("BUTTON", BS_PUSHBUTTON, "b", 10, 40, 50, 20, tab);
    for (HWND w : {status, rich, tab}) TestSkin().SkinCommonControls(w, std::nullopt, 0x0000FF, 60);
    auto round = [&] {
        for (HWND w : {status, rich, tab}) {
            SendMessageA(w, WM_MOVE, 0, 0);
            PaintOtherControlOnce(w);
        }
        SendMessageA(rich, WM_VSCROLL, SB_LINEDOWN, 0);
    };
    round();
    FlushEvents();
    const auto baseline = vostrel::dll::CountObjects();
    const int backdrops = BackdropDcCount();
    // A paint that leaks leaks on every round; 300 rounds of these shown,
    // full-size paints take as long as thousands of button faces.
    for (int i = 1; i < 300; ++i) {
        round();
        if (i % 100 == 0) FlushEvents();
    }
    FlushEvents();
    EXPECT_EQ("", vostrel::dll::ObjectChangesSince(baseline));
    EXPECT_EQ(backdrops, BackdropDcCount());
}

}  // namespace
