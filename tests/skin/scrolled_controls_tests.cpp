// The skin of list-type controls: which controls the installer takes, the
// effects of transparent controls, the frame in the theme colour by pixels,
// the colour key of tree views, the hover protocol, the key-up capture rule,
// paints that end what they begin, a soak of every balance, and teardown.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "gdiplus/gdip.h"
#include "skin/controls/child_controls.h"
#include "skin/controls/scrolled_controls.h"
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
using vostrel::test::ColourNear;
using vostrel::test::DibCanvas;
using vostrel::test::FlushEvents;

namespace {

class ScrolledControlsTest : public ControlSkinTest {};

int Position(HWND control) { return static_cast<int>(GetPropValue(control, kPropNumber)); }

ScrolledControlRecord* RecordFor(const ControlHost& host, HWND control) {
    return host.record->ScrolledControls.Get<ScrolledControlRecord>(Position(control));
}

uint64_t WindowDcsTaken() {
    return vostrel::dll::CountObjects().created[vostrel::dll::kWindowDc];
}

// The control's whole window (frame included) as it is on the screen.
std::unique_ptr<DibCanvas> WindowPixels(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    auto canvas = std::make_unique<DibCanvas>(r.right - r.left, r.bottom - r.top);
    HDC dc = GetWindowDC(control);
    BitBlt(canvas->dc(), 0, 0, canvas->width(), canvas->height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(control, dc);
    GdiFlush();
    return canvas;
}

// 0x00RRGGBB of `top` (a COLORREF) at `alpha` over `under` (0x00RRGGBB).
uint32_t Over(COLORREF top, int alpha, uint32_t under) {
    const int t[3] = {GetRValue(top), GetGValue(top), GetBValue(top)};
    uint32_t out = 0;
    for (int i = 0; i < 3; ++i) {
        const int u = static_cast<int>((under >> (16 - 8 * i)) & 0xFF);
        const int c = (t[i] * alpha + u * (255 - alpha) + 127) / 255;
        out |= static_cast<uint32_t>(c) << (16 - 8 * i);
    }
    return out;
}

uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

void SaveShot(const DibCanvas& canvas, const std::string& name) {
    vostrel::test::SavePng(canvas, vostrel::test::ArtifactDir() + "/" + name + ".png");
}

// ---------------------------------------------------------------------------
// The installer.

struct Candidate {
    const char* cls;
    DWORD style;
    bool taken;       // the control itself is registered
    bool listTaken;   // its child "ComboLBox" is registered (combo boxes)
    const char* why;
};

TEST_F(ScrolledControlsTest, InstallerTakesListControlsByClassAndStyle) {
    const Candidate rows[] = {
        {"ListBox", WS_BORDER, true, false, "list box"},
        {"ListBox", LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, true, false, "owner-drawn list box"},
        {"SysListView32", LVS_REPORT, true, false, "list view"},
        {"SysListView32", LVS_REPORT | LVS_SORTASCENDING, false, false,
         "list view with the bit 0x10"},
        {"SysTreeView32", 0, true, false, "tree view"},
        {"SysIPAddress32", 0, true, false, "IP-address control"},
        {"SysDateTimePick32", 0, true, false, "date-time control"},
        {"ComboBox", CBS_SIMPLE, false, true, "simple combo box: its list"},
        {"ComboBox", CBS_SIMPLE | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, false, false,
         "owner-drawn list of a combo box"},
        {"ComboBox", CBS_DROPDOWNLIST, false, false, "drop-down list: no child list"},
        {"ComboBox", CBS_DROPDOWN, false, false, "drop-down combo: no child list"},
        {"STATIC", 0, false, false, "static"},
    };
    ControlHost host;
    std::vector<HWND> children;
    for (const Candidate& row : rows)
        children.push_back(host.Child(row.cls, row.style, "", 10, 10, 150, 100));
    InstallScrolledControls(host.number, host.window);
    int expected = 0;
    for (size_t i = 0; i < children.size(); ++i) {
        const Candidate& row = rows[i];
        SCOPED_TRACE(row.why);
        HWND child = children[i];
        HWND list = FindWindowExA(child, nullptr, "ComboLBox", nullptr);
        HWND registered = row.taken ? child : row.listTaken ? list : nullptr;
        if (row.taken) {
            EXPECT_NE(0, host.record->ScrolledControls.Find(child));
        } else {
            EXPECT_EQ(0, host.record->ScrolledControls.Find(child));
            EXPECT_EQ(0, GetPropValue(child, kPropNumber));
        }
        if (!row.listTaken && list) {
            EXPECT_EQ(0, host.record->ScrolledControls.Find(list));
        }
        if (!registered) continue;
        ++expected;
        ASSERT_NE(nullptr, RecordFor(host, registered));
        EXPECT_EQ(registered, RecordFor(host, registered)->Handle);
        EXPECT_EQ(host.number, GetPropValue(registered, kPropOwnerNumber));
        EXPECT_EQ(reinterpret_cast<INT_PTR>(RecordFor(host, registered)->PreviousProc),
                  GetPropValue(registered, kPropPreviousProc));
        EXPECT_NE(0, GetPropValue(registered, kPropPreviousProc));
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(ScrolledControlProc),
                  GetWindowLongPtrA(registered, GWLP_WNDPROC));
    }
    // The first control fills the empty slot; no record is made for a null
    // window.
    EXPECT_EQ(expected, host.record->ScrolledControls.Count());
}

TEST_F(ScrolledControlsTest, WalksRunInTheirOrderWhateverTheChildOrder) {
    ControlHost host;
    HWND date = host.Child("SysDateTimePick32", 0, "");
    HWND ip = host.Child("SysIPAddress32", 0, "");
    HWND tree = host.Child("SysTreeView32", 0, "");
    HWND view = host.Child("SysListView32", LVS_REPORT, "");
    HWND combo = host.Child("ComboBox", CBS_SIMPLE, "", 10, 10, 100, 100);
    HWND box = host.Child("ListBox", 0, "");
    SkinChildControls(host.number, host.window);
    const HWND order[] = {box, FindWindowExA(combo, nullptr, "ComboLBox", nullptr), view, tree,
                          ip, date};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(i + 1, Position(order[i])) << "walk " << i + 1;
    // A second walk takes nothing again: a control subclassed twice would
    // pass every message to itself.
    SkinChildControls(host.number, host.window);
    EXPECT_EQ(6, host.record->ScrolledControls.Count());
    EXPECT_NE(reinterpret_cast<INT_PTR>(ScrolledControlProc), GetPropValue(box, kPropPreviousProc));
    SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("item"));
    EXPECT_EQ(1, SendMessageA(box, LB_GETCOUNT, 0, 0));
}

TEST_F(ScrolledControlsTest, NothingIsTakenWhileControlsAreNotSkinnedOrTheNumberIsWrong) {
    ControlHost host;
    HWND box = host.Child("ListBox", 0, "");
    const LONG_PTR own = GetWindowLongPtrA(box, GWLP_WNDPROC);
    SkinControls = 0;
    InstallScrolledControls(host.number, host.window);
    SkinControls = 1;
    InstallScrolledControls(0, host.window);
    InstallScrolledControls(host.number + 5, host.window);
    InstallScrolledControls(host.number, nullptr);
    EXPECT_EQ(own, GetWindowLongPtrA(box, GWLP_WNDPROC));
    EXPECT_EQ(0, GetPropValue(box, kPropNumber));
}

TEST_F(ScrolledControlsTest, TransparentControlsSetTheListAndTreeBackgrounds) {
    // Transparent: list-view text on no background of its own, tree views
    // on the colour key. Opaque: both keep what they had.
    for (int transparent : {1, 0}) {
        SCOPED_TRACE(transparent ? "transparent" : "opaque");
        TransparentControls = transparent;
        ControlHost host;
        HWND view = host.Child("SysListView32", LVS_REPORT, "");
        HWND tree = host.Child("SysTreeView32", 0, "");
        const auto textBefore = static_cast<COLORREF>(SendMessageA(view, LVM_GETTEXTBKCOLOR, 0, 0));
        const auto treeBefore = static_cast<COLORREF>(SendMessageA(tree, TVM_GETBKCOLOR, 0, 0));
        InstallScrolledControls(host.number, host.window);
        EXPECT_EQ(transparent ? CLR_NONE : textBefore,
                  static_cast<COLORREF>(SendMessageA(view, LVM_GETTEXTBKCOLOR, 0, 0)));
        EXPECT_EQ(transparent ? COLORREF{0x00FF00FF} : treeBefore,
                  static_cast<COLORREF>(SendMessageA(tree, TVM_GETBKCOLOR, 0, 0)));
    }
}

enum class Erased { Nothing, Veil, OwnColour };

struct EraseCase {
    const char* cls;
    DWORD style;
    int transparent;
    Erased erased;
};

TEST_F(ScrolledControlsTest, EraseFollowsTheKindOfControl) {
    // Transparent lists leave the erase to the paint, which covers the whole
    // client area; IP-address and date-time controls erase to the veiled
    // window image; opaque controls erase themselves.
    const EraseCase rows[] = {
        {"SysTreeView32", 0, 1, Erased::Nothing},
        {"SysListView32", LVS_REPORT, 1, Erased::Nothing},
        {"ListBox", 0, 1, Erased::Nothing},
        {"SysIPAddress32", 0, 1, Erased::Veil},
        {"SysDateTimePick32", 0, 1, Erased::Veil},
        {"SysTreeView32", 0, 0, Erased::OwnColour},
        {"SysListView32", LVS_REPORT, 0, Erased::OwnColour},
    };
    for (const EraseCase& row : rows) {
        SCOPED_TRACE(testing::Message() << row.cls << (row.transparent ? " transparent" : " opaque"));
        TransparentControls = row.transparent;
        ControlHost host;
        host.Compose();
        HWND control = host.Child(row.cls, row.style, "", 10, 10, 60, 40);
        SetPropValue(control, kPropTextColour, RGB(1, 2, 3));
        InstallScrolledControls(host.number, host.window);
        if (row.erased == Erased::OwnColour) {
            SendMessageA(control, TVM_SETBKCOLOR, 0, RGB(0, 255, 0));
            SendMessageA(control, LVM_SETBKCOLOR, 0, RGB(0, 255, 0));
        }
        DibCanvas canvas(60, 40);
        canvas.Fill(0x123456);
        SetTextColor(canvas.dc(), RGB(9, 9, 9));
        const LRESULT result =
            SendMessageA(control, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0);
        GdiFlush();
        switch (row.erased) {
            case Erased::Nothing:
                EXPECT_EQ(1, result);
                EXPECT_EQ(0x123456u, canvas.Pixel(20, 20));
                break;
            case Erased::Veil:
                // The reply is the text colour the DC had; the DC now has
                // the control's own.
                EXPECT_EQ(static_cast<LRESULT>(RGB(9, 9, 9)), result);
                EXPECT_EQ(RGB(1, 2, 3), GetTextColor(canvas.dc()));
                EXPECT_TRUE(ColourNear(Over(0xFFFFFF, VeilAlpha, Rgb(kBack)), canvas.Pixel(20, 20), 4))
                    << std::hex << canvas.Pixel(20, 20);
                break;
            case Erased::OwnColour: EXPECT_EQ(0x00FF00u, canvas.Pixel(20, 20)); break;
        }
    }
}

// ---------------------------------------------------------------------------
// The frame, by pixels.

struct FrameCase {
    const char* look;
    int hover, focused;
    int x, y;          // a pixel of the frame
    COLORREF pen;      // its pen colour
    int alpha;         // and alpha
    int innerX;        // a pixel of the ring inside the pen (-1: none)
};

TEST_F(ScrolledControlsTest, FrameIsDrawnInTheThemeColourOverTheVeiledRing) {
    // WS_EX_CLIENTEDGE: a two-pixel ring around the client area.
    const FrameCase rows[] = {
        {"idle", 0, 0, 0, 20, 0x000000, 90, 1},
        {"focused", 0, 1, 0, 20, kTheme, 200, 1},
        {"hover", 1, 0, 0, 20, kTheme, 200, -1},
        {"hover (second pixel)", 1, 0, 1, 20, kTheme, 200, -1},
        {"hover wins over focus", 1, 1, 1, 20, kTheme, 200, -1},
    };
    ControlHost host(WS_VISIBLE, 200, 150);
    host.Compose();
    HWND box = CreateWindowExA(WS_EX_CLIENTEDGE, "ListBox", "", WS_CHILD | WS_VISIBLE, 20, 20,
                               120, 80, host.window, nullptr, GetModuleHandleA(nullptr), nullptr);
    InstallScrolledControls(host.number, host.window);
    UpdateWindow(host.window);
    FlushEvents(50);
    const uint32_t ring = Over(0xFFFFFF, VeilAlpha, Rgb(kBack));
    for (const FrameCase& row : rows) {
        SCOPED_TRACE(row.look);
        PaintScrolledFrame(host.number, Position(box), row.hover, row.focused);
        auto pixels = WindowPixels(box);
        SaveShot(*pixels, std::string("scrolled_frame_") + row.look);
        const uint32_t expected = Over(row.pen, row.alpha, ring);
        EXPECT_TRUE(ColourNear(expected, pixels->Pixel(row.x, row.y), 10))
            << std::hex << expected << " got " << pixels->Pixel(row.x, row.y);
        if (row.innerX >= 0) {
            EXPECT_TRUE(ColourNear(ring, pixels->Pixel(row.innerX, row.y), 10))
                << std::hex << ring << " got " << pixels->Pixel(row.innerX, row.y);
        }
    }
    ShowWindow(host.window, SW_HIDE);
}

TEST_F(ScrolledControlsTest, FrameFollowsFocusAndHoverMessages) {
    ControlHost host(WS_VISIBLE, 200, 150);
    host.Compose();
    HWND box = CreateWindowExA(WS_EX_CLIENTEDGE, "ListBox", "", WS_CHILD | WS_VISIBLE, 20, 20,
                               120, 80, host.window, nullptr, GetModuleHandleA(nullptr), nullptr);
    InstallScrolledControls(host.number, host.window);
    UpdateWindow(host.window);
    FlushEvents(50);
    const uint32_t ring = Over(0xFFFFFF, VeilAlpha, Rgb(kBack));
    const uint32_t theme = Over(kTheme, 200, ring);
    const uint32_t idle = Over(0x000000, 90, ring);
    auto edge = [&](int x) { return WindowPixels(box)->Pixel(x, 20); };

    SendMessageA(box, WM_SETFOCUS, 0, 0);
    EXPECT_EQ(1, RecordFor(host, box)->Focused);
    EXPECT_TRUE(ColourNear(theme, edge(0), 10)) << "focused: one-pixel theme frame";
    EXPECT_TRUE(ColourNear(ring, edge(1), 10));
    SendMessageA(box, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(ColourNear(theme, edge(1), 10)) << "hover: two-pixel theme frame";
    SendMessageA(box, WM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(ColourNear(theme, edge(0), 10)) << "left: the focus frame again";
    EXPECT_TRUE(ColourNear(ring, edge(1), 10));
    SendMessageA(box, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(0, RecordFor(host, box)->Focused);
    EXPECT_TRUE(ColourNear(idle, edge(0), 10));
    // A full repaint of the frame (the system's own non-client paint runs
    // after the skin's) keeps the skin's frame.
    SendMessageA(box, WM_SETFOCUS, 0, 0);
    RedrawWindow(box, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(ColourNear(theme, edge(0), 10)) << std::hex << edge(0);
    ShowWindow(host.window, SW_HIDE);
}

TEST_F(ScrolledControlsTest, ListsWithoutABorderAndTheListOfASimpleComboGetNoFrame) {
    ControlHost host;
    host.Compose();
    HWND bare = host.Child("ListBox", 0, "");
    HWND combo = host.Child("ComboBox", CBS_SIMPLE, "", 10, 50, 100, 100);
    HWND list = FindWindowExA(combo, nullptr, "ComboLBox", nullptr);
    InstallScrolledControls(host.number, host.window);
    ASSERT_NE(nullptr, list);
    ASSERT_NE(0, Position(list));
    const uint64_t before = WindowDcsTaken();
    for (HWND control : {bare, list}) {
        PaintScrolledFrame(host.number, Position(control), 1, 1);
        SendMessageA(control, WM_NCPAINT, 1, 0);
    }
    EXPECT_EQ(before, WindowDcsTaken());
}

TEST_F(ScrolledControlsTest, OutOfRangeNumbersAndPositionsDoNothing) {
    ControlHost host;
    host.Compose();
    HWND box = host.Child("ListBox", WS_BORDER, "");
    InstallScrolledControls(host.number, host.window);
    const int n = host.number;
    const int cases[][2] = {{0, 1}, {-1, 1}, {n + 1, 1}, {n, 0}, {n, -3}, {n, 2}, {n, 1000}};
    const uint64_t before = WindowDcsTaken();
    for (const auto& c : cases) PaintScrolledFrame(c[0], c[1], 1, 1);
    EXPECT_EQ(before, WindowDcsTaken());
    PaintScrolledControlOnce(host.window);  // not a scrolled control
    PaintScrolledFrame(n, Position(box), 1, 1);
    EXPECT_EQ(before + 1, WindowDcsTaken());
}

// ---------------------------------------------------------------------------
// Transparency: the window image shows through.

// The host draws the items of its owner-drawn list boxes as text alone, on
// no background of its own. (Wine clears the empty part of a list box that
// draws its own items with the DC's background colour, opaque whatever the
// brush; an owner-drawn list leaves it to the owner, so the image behind
// shows.)
LRESULT CALLBACK ListOwnerHost(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MEASUREITEM) {
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 16;
        return TRUE;
    }
    if (message == WM_DRAWITEM) {
        const auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (item.CtlType != ODT_LISTBOX) return FALSE;
        char text[64] = "";
        SendMessageA(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text));
        SetBkMode(item.hDC, TRANSPARENT);
        SetTextColor(item.hDC, RGB(0, 0, 0));
        RECT r = item.rcItem;
        DrawTextA(item.hDC, text, -1, &r, DT_SINGLELINE | DT_VCENTER);
        return TRUE;
    }
    return vostrel::skin::test::HostProc(window, message, wParam, lParam);
}

struct SeeThroughCase {
    const char* cls;
    DWORD style;
    int veil;
};

TEST_F(ScrolledControlsTest, WindowImageShowsThroughTransparentLists) {
    const SeeThroughCase rows[] = {
        {"SysTreeView32", TVS_HASLINES, 160},
        {"SysTreeView32", TVS_HASLINES, 0},
        {"ListBox", LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, 160},
        {"ListBox", LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, 0},
        {"SysListView32", LVS_LIST, 160},
    };
    ControlHost host(WS_VISIBLE, 220, 160);
    SetWindowLongPtrA(host.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListOwnerHost));
    host.Compose();
    for (const SeeThroughCase& row : rows) {
        SCOPED_TRACE(testing::Message() << row.cls << " veil " << row.veil);
        VeilAlpha = row.veil;
        HWND control = host.Child(row.cls, row.style, "", 20, 20, 160, 100);
        InstallScrolledControls(host.number, host.window);
        if (std::string(row.cls) == "SysTreeView32") {
            TVINSERTSTRUCTA item{};
            item.hParent = TVI_ROOT;
            item.hInsertAfter = TVI_LAST;
            item.item.mask = TVIF_TEXT;
            item.item.pszText = const_cast<char*>("first item");
            SendMessageA(control, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        } else if (std::string(row.cls) == "ListBox") {
            SendMessageA(control, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("first item"));
        } else {
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.pszText = const_cast<char*>("first item");
            SendMessageA(control, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
        RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        auto pixels = WindowPixels(control);
        SaveShot(*pixels, std::string("scrolled_see_through_") + row.cls + "_" +
                              std::to_string(row.veil));
        // Far from the item: the window image under the veil, no key colour.
        const uint32_t image = Over(0xFFFFFF, row.veil, Rgb(kBack));
        EXPECT_TRUE(ColourNear(image, pixels->Pixel(80, 80), 6))
            << std::hex << image << " got " << pixels->Pixel(80, 80);
        // The item's text is still there.
        int ink = 0;
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < 80; ++x)
                if (!ColourNear(image, pixels->Pixel(x, y), 40)) ++ink;
        EXPECT_GT(ink, 10);
        EXPECT_FALSE(GetUpdateRect(control, nullptr, FALSE)) << "the paint validated the control";
        DestroyWindow(control);
    }
    ShowWindow(host.window, SW_HIDE);
}

// ---------------------------------------------------------------------------
// The hover protocol (family code 4).

TEST_F(ScrolledControlsTest, HoverFrameIsPaintedOncePerEntry) {
    ControlHost host;
    host.Compose();
    HWND box = host.Child("ListBox", WS_BORDER, "", 10, 10, 100, 80);
    HWND tree = host.Child("SysTreeView32", WS_BORDER, "", 120, 10, 100, 80);
    InstallScrolledControls(host.number, host.window);
    WindowRecord& owner = *host.record;
    ScrolledControlRecord& record = *RecordFor(host, box);

    uint64_t before = WindowDcsTaken();
    for (int i = 0; i < 5; ++i) SendMessageA(box, WM_MOUSEMOVE, 0, MAKELPARAM(5 + i, 5));
    EXPECT_EQ(before + 1, WindowDcsTaken()) << "five moves, one hover paint";
    EXPECT_EQ(1, record.Hover);
    EXPECT_EQ(Position(box), owner.HotControl);
    EXPECT_EQ(Position(box), owner.PointerControl);
    EXPECT_EQ(kFamilyScrolled, owner.HotFamily);

    SendMessageA(box, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(0, owner.HotControl);
    EXPECT_EQ(0, record.Hover);
    EXPECT_EQ(before + 2, WindowDcsTaken()) << "the leave paints the frame without hover";

    // Another family's control at the same position was hot: entering the
    // list still paints its hover look.
    owner.HotControl = Position(box);
    owner.HotFamily = kFamilyButtons;
    before = WindowDcsTaken();
    SendMessageA(box, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageA(box, WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
    EXPECT_EQ(before + 1, WindowDcsTaken());
    EXPECT_EQ(kFamilyScrolled, owner.HotFamily);

    // Moving on to the tree hands the hover over: one paint for the tree.
    before = WindowDcsTaken();
    SendMessageA(tree, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageA(tree, WM_MOUSEMOVE, 0, MAKELPARAM(7, 5));
    EXPECT_EQ(before + 1, WindowDcsTaken());
    EXPECT_EQ(Position(tree), owner.HotControl);
    FlushEvents();
}

// ---------------------------------------------------------------------------
// Key-up and the mouse capture.

struct KeyUpCase {
    const char* what;
    bool arrowFirst;     // an arrow key went down before
    bool buttonDown;     // the left button is held (a drag-select)
    WPARAM key;          // the key that comes up
    bool captureKept;
};

TEST_F(ScrolledControlsTest, KeyUpReleasesOnlyTheCaptureOfAnArrowKey) {
    const KeyUpCase rows[] = {
        {"Ctrl up during a drag-select", false, true, VK_CONTROL, true},
        {"Shift up during a drag-select", false, true, VK_SHIFT, true},
        {"Ctrl up, no arrow key, no button", false, false, VK_CONTROL, true},
        {"arrow up with the button held", true, true, VK_DOWN, true},
        {"Shift up after an arrow, button held", true, true, VK_SHIFT, true},
        {"arrow up, no button", true, false, VK_DOWN, false},
    };
    ControlHost host;
    HWND box = host.Child("ListBox", WS_BORDER | LBS_EXTENDEDSEL, "", 10, 10, 100, 80);
    for (int i = 0; i < 5; ++i)
        SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("item"));
    InstallScrolledControls(host.number, host.window);
    ScrolledControlRecord& record = *RecordFor(host, box);
    BYTE saved[256]{};
    GetKeyboardState(saved);
    for (const KeyUpCase& row : rows) {
        SCOPED_TRACE(row.what);
        BYTE keys[256]{};
        memcpy(keys, saved, sizeof keys);
        keys[VK_LBUTTON] = row.buttonDown ? 0x80 : 0;
        SetKeyboardState(keys);
        if (row.arrowFirst) {
            SendMessageA(box, WM_KEYDOWN, VK_DOWN, 0);
            EXPECT_EQ(1, record.ArrowKeyDown);
        }
        SetCapture(box);
        ASSERT_EQ(box, GetCapture());
        SendMessageA(box, WM_KEYUP, row.key, 0xC0000001);
        EXPECT_EQ(row.captureKept, GetCapture() == box);
        EXPECT_EQ(0, record.ArrowKeyDown);
        ReleaseCapture();
    }
    SetKeyboardState(saved);
    MSG m;
    while (PeekMessageA(&m, box, kScrolledRepaint, kScrolledRepaint, PM_REMOVE)) {}
}

TEST_F(ScrolledControlsTest, KeyUpLeavesAnotherWindowsCaptureAlone) {
    ControlHost host;
    HWND box = host.Child("ListBox", WS_BORDER, "");
    HWND other = host.Child("STATIC", 0, "");
    InstallScrolledControls(host.number, host.window);
    SendMessageA(box, WM_KEYDOWN, VK_UP, 0);
    SetCapture(other);
    SendMessageA(box, WM_KEYUP, VK_UP, 0xC0000001);
    EXPECT_EQ(other, GetCapture());
    ReleaseCapture();
    FlushEvents();
}

TEST_F(ScrolledControlsTest, ArrowKeysRepaintTransparentListsWhole) {
    // Shown: a hidden window keeps no update region.
    ControlHost host(WS_VISIBLE, 200, 150);
    host.Compose();
    HWND box = host.Child("ListBox", WS_BORDER, "", 10, 10, 100, 80);
    InstallScrolledControls(host.number, host.window);
    ScrolledControlRecord& record = *RecordFor(host, box);
    UpdateWindow(host.window);
    FlushEvents(50);
    MSG m;
    // An arrow key asks for the repaint after the list has moved.
    SendMessageA(box, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_TRUE(PeekMessageA(&m, box, kScrolledRepaint, kScrolledRepaint, PM_REMOVE));
    SendMessageA(box, WM_KEYDOWN, 'A', 0);
    EXPECT_FALSE(PeekMessageA(&m, box, kScrolledRepaint, kScrolledRepaint, PM_NOREMOVE));
    struct {
        int transparent, arrow;
        bool invalidated;
    } rows[] = {{1, 1, true}, {1, 0, false}, {0, 1, false}};
    for (const auto& row : rows) {
        TransparentControls = row.transparent;
        record.ArrowKeyDown = row.arrow;
        ValidateRect(box, nullptr);
        SendMessageA(box, kScrolledRepaint, 0, 0);
        EXPECT_EQ(row.invalidated, GetUpdateRect(box, nullptr, FALSE) != FALSE)
            << "transparent " << row.transparent << " arrow " << row.arrow;
    }
    record.ArrowKeyDown = 0;
    FlushEvents();
    ShowWindow(host.window, SW_HIDE);
}

// ---------------------------------------------------------------------------
// Every paint ends what it begins.

TEST_F(ScrolledControlsTest, TransparentPaintEndsEveryPaintItBegins) {
    struct {
        const char* cls;
        DWORD style;
        bool beginsPaint;  // the skin itself begins the paint when transparent
    } rows[] = {{"ListBox", WS_BORDER, true},
                {"ListBox", WS_BORDER | WS_VSCROLL | WS_HSCROLL | LBS_DISABLENOSCROLL, true},
                {"ListBox", WS_BORDER | LBS_OWNERDRAWFIXED, true},
                {"SysListView32", LVS_REPORT | WS_BORDER, true},
                {"SysTreeView32", WS_BORDER, false},
                {"SysIPAddress32", WS_BORDER, false},
                {"SysDateTimePick32", 0, false}};
    for (int transparent : {1, 0}) {
        TransparentControls = transparent;
        ControlHost host;
        host.Compose();
        std::vector<HWND> controls;
        for (const auto& row : rows)
            controls.push_back(host.Child(row.cls, row.style, "", 10, 10, 120, 90));
        InstallScrolledControls(host.number, host.window);
        for (size_t i = 0; i < controls.size(); ++i) {
            SCOPED_TRACE(testing::Message() << rows[i].cls << " style " << std::hex
                                            << rows[i].style
                                            << (transparent ? " transparent" : " opaque"));
            HWND control = controls[i];
            const auto baseline = vostrel::dll::CountObjects();
            // Hidden windows get no paint messages of their own: send them.
            SendMessageA(control, WM_NCPAINT, 1, 0);
            SendMessageA(control, WM_PAINT, 0, 0);
            // Every BeginPaint has its EndPaint (a paint DC given back with
            // ReleaseDC would show as one paint DC too many and one window
            // DC too few).
            EXPECT_EQ("", vostrel::dll::ObjectChangesSince(baseline));
            const uint64_t begun = vostrel::dll::CountObjects().created[vostrel::dll::kPaintDc] -
                                   baseline.created[vostrel::dll::kPaintDc];
            EXPECT_EQ(transparent && rows[i].beginsPaint ? 1u : 0u, begun);
        }
    }
}

// ---------------------------------------------------------------------------
// Soak and teardown.

TEST_F(ScrolledControlsTest, PaintScrollHoverSoakLeavesEveryBalanceUnchanged) {
    ControlHost host;
    host.Compose();
    HWND box = host.Child("ListBox", WS_BORDER | WS_VSCROLL, "", 10, 10, 80, 60);
    HWND view = host.Child("SysListView32", LVS_REPORT | WS_BORDER, "", 100, 10, 80, 60);
    HWND tree = host.Child("SysTreeView32", WS_BORDER | TVS_HASLINES, "", 190, 10, 80, 60);
    HWND ip = host.Child("SysIPAddress32", WS_BORDER, "", 10, 80, 120, 24);
    HWND date = host.Child("SysDateTimePick32", 0, "", 140, 80, 120, 24);
    for (int i = 0; i < 20; ++i) {
        SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("item"));
        TVINSERTSTRUCTA item{};
        item.hParent = TVI_ROOT;
        item.hInsertAfter = TVI_LAST;
        item.item.mask = TVIF_TEXT;
        item.item.pszText = const_cast<char*>("node");
        SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    InstallScrolledControls(host.number, host.window);
    const HWND controls[] = {box, view, tree, ip, date};
    auto round = [&] {
        for (HWND c : controls) {
            SendMessageA(c, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
            SendMessageA(c, WM_VSCROLL, SB_LINEDOWN, 0);
            SendMessageA(c, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
            SendMessageA(c, WM_KEYDOWN, VK_DOWN, 0);
            SendMessageA(c, WM_KEYUP, VK_DOWN, 0xC0000001);
            SendMessageA(c, WM_SETFOCUS, 0, 0);
            SendMessageA(c, WM_NCPAINT, 1, 0);
            SendMessageA(c, WM_PAINT, 0, 0);
            SendMessageA(c, WM_KILLFOCUS, 0, 0);
            SendMessageA(c, WM_MOUSELEAVE, 0, 0);
        }
        FlushEvents();
    };
    round();
    const auto baseline = vostrel::dll::CountObjects();
    const int backdrops = BackdropDcCount();
    for (int i = 0; i < 100; ++i) round();
    EXPECT_EQ("", vostrel::dll::ObjectChangesSince(baseline));
    EXPECT_EQ(backdrops, BackdropDcCount());
}

// A procedure under the skin's: at the control's last message it checks that
// the skin has given the procedure back and removed its properties.
struct TeardownProbe {
    WNDPROC original = nullptr;
    bool reached = false;
    LONG_PTR procedure = 0;
    INT_PTR previous = -1, number = -1, owner = -1;
};
TeardownProbe g_probe;

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        g_probe.reached = true;
        g_probe.procedure = GetWindowLongPtrA(window, GWLP_WNDPROC);
        g_probe.previous = GetPropValue(window, kPropPreviousProc);
        g_probe.number = GetPropValue(window, kPropNumber);
        g_probe.owner = GetPropValue(window, kPropOwnerNumber);
    }
    return CallWindowProcA(g_probe.original, window, message, wParam, lParam);
}

TEST_F(ScrolledControlsTest, DestroyedControlGivesItsProcedureAndPropertiesBack) {
    for (const char* cls : {"ListBox", "SysListView32", "SysTreeView32", "SysIPAddress32",
                            "SysDateTimePick32"}) {
        SCOPED_TRACE(cls);
        ControlHost host;
        HWND control = host.Child(cls, WS_BORDER, "");
        g_probe = {};
        g_probe.original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ProbeProc)));
        InstallScrolledControls(host.number, host.window);
        const int position = Position(control);
        ASSERT_NE(0, position);
        SendMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));  // the control is hot
        DestroyWindow(control);
        EXPECT_TRUE(g_probe.reached);
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(ProbeProc), g_probe.procedure);
        EXPECT_EQ(0, g_probe.previous);
        EXPECT_EQ(0, g_probe.number);
        EXPECT_EQ(0, g_probe.owner);
        // The record keeps its position but names no window any more, and
        // no hover points at a window that is gone.
        ASSERT_TRUE(host.record->ScrolledControls.InRange(position));
        EXPECT_EQ(nullptr, host.record->ScrolledControls.At(position)->Handle);
        EXPECT_EQ(0, host.record->HotControl);
        PaintScrolledFrame(host.number, position, 1, 1);  // nothing to paint
        FlushEvents();
    }
}

TEST_F(ScrolledControlsTest, ControlOutlivingItsWindowRecordStillWorksAndTearsDown) {
    auto host = std::make_unique<ControlHost>();
    HWND box = host->Child("ListBox", WS_BORDER, "");
    InstallScrolledControls(host->number, host->window);
    // The record goes first (the window is forgotten while the list lives
    // on, as when its parent is re-parented away).
    SetParent(box, nullptr);
    host.reset();
    EXPECT_EQ(0, SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("still a list")));
    SendMessageA(box, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    SendMessageA(box, WM_PAINT, 0, 0);
    DestroyWindow(box);
    EXPECT_FALSE(IsWindow(box));
    FlushEvents();
}

TEST(ScrolledSubclassI686, ProcedureRoundTripAndTeardown) {
    // Pointer-sized window longs and properties: the previous procedure is
    // stored, called, and given back before the control's own procedure sees
    // its last message (the probe under the skin's procedure looks).
    vostrel::skin::test::EnsureGdiplus();
    const int skinControls = SkinControls;
    SkinControls = 1;
    {
        ControlHost host;
        HWND box = host.Child("ListBox", WS_BORDER, "");
        g_probe = {};
        g_probe.original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ProbeProc)));
        InstallScrolledControls(host.number, host.window);
        EXPECT_EQ(reinterpret_cast<INT_PTR>(ProbeProc), GetPropValue(box, kPropPreviousProc));
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(ScrolledControlProc),
                  GetWindowLongPtrA(box, GWLP_WNDPROC));
        EXPECT_EQ(0, SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("one")));
        EXPECT_EQ(1, SendMessageA(box, LB_GETCOUNT, 0, 0));
        SendMessageA(box, WM_NCPAINT, 1, 0);
        SendMessageA(box, WM_PAINT, 0, 0);
        SendMessageA(box, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        EXPECT_EQ(kFamilyScrolled, host.record->HotFamily);
        DestroyWindow(box);
        EXPECT_TRUE(g_probe.reached);
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(ProbeProc), g_probe.procedure);
        EXPECT_EQ(0, g_probe.previous);
        EXPECT_EQ(0, g_probe.number);
        FlushEvents();
    }
    SkinControls = skinControls;
}

}  // namespace
