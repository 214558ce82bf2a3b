// The skin object's storage: the window table and its records, the 1-based
// lists inside them, record teardown with renumbering, and tool-tip windows.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "gdiplus/dll.h"
#include "skin/core/window_skin.h"
#include "test_support.h"

using namespace vostrel::skin;
namespace dll = vostrel::dll;

namespace {

HWND MakeWindow(HWND parent = nullptr, const char* cls = "STATIC") {
    return CreateWindowExA(0, cls, "", parent ? WS_CHILD : WS_POPUP, 0, 0, 80, 40, parent,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

// A window with a record in the window table, as attach leaves it: its
// number in "Hw_lbID"; controls registered in its lists carry the number in
// "Hw_FuID" (or "Kj_FuID").
struct SkinnedWindow {
    HWND window = nullptr;
    HWND button = nullptr;
    HWND container = nullptr;
    HWND other = nullptr;
    int number = 0;

    SkinnedWindow() {
        window = MakeWindow();
        button = MakeWindow(window, "BUTTON");
        container = MakeWindow(window, "BUTTON");
        other = MakeWindow(window);
        auto record = std::make_unique<WindowRecord>();
        record->Handle = window;
        auto add = [](ControlList& list, HWND h, std::unique_ptr<ControlRecord> r) {
            r->Handle = h;
            return list.Choose(std::move(r));
        };
        add(record->Buttons, button, std::make_unique<ControlRecord>());
        add(record->Containers, container, std::make_unique<ContainerRecord>());
        add(record->OtherControls, other, std::make_unique<OtherControlRecord>());
        number = Windows.Append(std::move(record));
        SetPropValue(window, kPropNumber, number);
        SetPropValue(button, kPropOwnerNumber, number);
        SetPropValue(container, kPropOwnerNumber, number);
        SetPropValue(other, kPropOtherOwnerNumber, number);
    }
    ~SkinnedWindow() {
        for (HWND h : {button, container, other}) {
            RemovePropA(h, kPropOwnerNumber);
            RemovePropA(h, kPropOtherOwnerNumber);
        }
        RemovePropA(window, kPropNumber);
        DestroyWindow(window);
    }
};

class WindowTableTest : public testing::Test {
protected:
    void TearDown() override { Windows.Clear(); }
};

}  // namespace

TEST_F(WindowTableTest, OutOfRangeNumbersAndPositionsGiveNothing) {
    SkinnedWindow a, b;
    ASSERT_EQ(2, Windows.Count());
    for (int n : {-1, 0, 3, 1000}) {
        SCOPED_TRACE(n);
        EXPECT_EQ(nullptr, Windows.At(n));
        EXPECT_EQ(nullptr, RecordOf(n));
        EXPECT_EQ(nullptr, Windows.Remove(n));
        EXPECT_EQ(2, Windows.Count());
    }
    WindowRecord* record = Windows.At(1);
    ASSERT_NE(nullptr, record);
    for (int pos : {-1, 0, 2}) {
        SCOPED_TRACE(pos);
        EXPECT_EQ(nullptr, record->Buttons.At(pos));
        EXPECT_EQ(nullptr, record->Buttons.Get<ControlRecord>(pos));
        EXPECT_EQ(nullptr, record->CaptionButtons.At(pos));
        EXPECT_EQ(nullptr, record->DockedChildren.At(pos));
        EXPECT_EQ(nullptr, record->BarItems.At(pos));
    }
    // The family's own type is checked: a container list entry is not an
    // other-control record.
    EXPECT_NE(nullptr, record->Containers.Get<ContainerRecord>(1));
    EXPECT_EQ(nullptr, record->Containers.Get<OtherControlRecord>(1));
}

TEST_F(WindowTableTest, ListsStartWithOneEmptySlotThatTheFirstEntryFills) {
    WindowRecord record;
    ControlList* lists[] = {&record.Buttons, &record.Edits, &record.ScrolledControls,
                            &record.Trackbars, &record.ProgressBars, &record.ComboBoxes,
                            &record.UpDowns, &record.Headers, &record.OtherControls,
                            &record.Containers};
    for (ControlList* list : lists) {
        ASSERT_EQ(1, list->Count());
        EXPECT_EQ(nullptr, list->At(1)->Handle);
        EXPECT_EQ(0, list->Find(nullptr));  // the empty slot never matches
    }
    EXPECT_EQ(1, record.CaptionButtons.Count());
    EXPECT_EQ(1, record.BarItems.Count());
    EXPECT_EQ(1, record.BarItemRects.Count());
    EXPECT_EQ(1, record.DockedChildren.Count());

    // First record fills the slot, later ones append; positions stay.
    const HWND h1 = reinterpret_cast<HWND>(0x10), h2 = reinterpret_cast<HWND>(0x20);
    auto make = [](HWND h) {
        auto r = std::make_unique<ControlRecord>();
        r->Handle = h;
        return r;
    };
    EXPECT_EQ(1, record.Edits.Choose(make(h1)));
    EXPECT_EQ(2, record.Edits.Choose(make(h2)));
    EXPECT_EQ(3, record.Edits.Choose(make(h1)));
    EXPECT_EQ(1, record.Edits.Find(h1));
    EXPECT_EQ(2, record.Edits.Find(h2));
    EXPECT_EQ(0, record.Edits.Find(reinterpret_cast<HWND>(0x30)));
}

TEST_F(WindowTableTest, FindWindowNumberIsThePosition) {
    SkinnedWindow a, b;
    EXPECT_EQ(1, FindWindowNumber(a.window));
    EXPECT_EQ(2, FindWindowNumber(b.window));
    EXPECT_EQ(0, FindWindowNumber(a.button));
    EXPECT_EQ(0, FindWindowNumber(nullptr));
}

// Destroying the first of two skinned windows: the second becomes window
// number 1, and so do the numbers its controls carry.
TEST_F(WindowTableTest, ForgettingTheFirstWindowRenumbersTheSecond) {
    SkinnedWindow a, b;
    ASSERT_EQ(2, GetPropValue(b.window, kPropNumber));
    ForgetSkinnedWindow(a.window);
    ASSERT_EQ(1, Windows.Count());
    EXPECT_EQ(b.window, Windows.At(1)->Handle);
    EXPECT_EQ(1, FindWindowNumber(b.window));
    EXPECT_EQ(1, GetPropValue(b.window, kPropNumber));
    EXPECT_EQ(1, GetPropValue(b.button, kPropOwnerNumber));
    EXPECT_EQ(1, GetPropValue(b.container, kPropOwnerNumber));
    EXPECT_EQ(1, GetPropValue(b.other, kPropOtherOwnerNumber));
    EXPECT_EQ(0, GetPropValue(b.other, kPropOwnerNumber));  // its key is "Kj_FuID" only
    // The forgotten window no longer names a record.
    EXPECT_EQ(0, GetPropValue(a.window, kPropNumber));

    // A window without a record changes nothing.
    ForgetSkinnedWindow(a.window);
    ForgetSkinnedWindow(nullptr);
    EXPECT_EQ(1, Windows.Count());
    EXPECT_EQ(1, GetPropValue(b.window, kPropNumber));
}

// Teardown frees every GDI object the record owns: its three DCs with their
// bitmaps (the displaced objects selected back first) and the control-colour
// brush and bitmap of its edits.
TEST_F(WindowTableTest, ForgettingAWindowFreesItsObjects) {
    const auto before = dll::CountObjects();
    HDC background = nullptr, caption = nullptr;
    HBITMAP first = nullptr, second = nullptr;
    HWND window = MakeWindow();
    HWND edit = MakeWindow(window, "EDIT");
    {
        auto record = std::make_unique<WindowRecord>();
        record->Handle = window;
        auto editRecord = std::make_unique<ControlRecord>();
        editRecord->Handle = edit;
        record->Edits.Choose(std::move(editRecord));
        HDC screen = GetDC(nullptr);
        first = dll::CreateCompatibleBitmap(screen, 20, 10);
        second = dll::CreateCompatibleBitmap(screen, 30, 10);
        HBITMAP captionBitmap = dll::CreateCompatibleBitmap(screen, 30, 5);
        HBITMAP pattern = dll::CreateCompatibleBitmap(screen, 8, 8);
        ReleaseDC(nullptr, screen);
        record->BackgroundDC.SelectBitmap(first);
        const HGDIOBJ original = record->BackgroundDC.Saved();
        EXPECT_NE(nullptr, original);
        record->BackgroundDC.SelectBitmap(second);  // the first bitmap is deleted
        EXPECT_EQ(0u, GetObjectType(first));
        EXPECT_EQ(original, record->BackgroundDC.Saved());
        EXPECT_EQ(second, record->BackgroundDC.Bitmap());
        record->CaptionDC.SelectBitmap(captionBitmap);
        background = record->BackgroundDC.Dc();
        caption = record->CaptionDC.Dc();
        SetPropValue(window, kPropBackgroundSaved, reinterpret_cast<INT_PTR>(original));
        SetPropValue(window, kPropBackgroundBitmap, reinterpret_cast<INT_PTR>(second));
        SetPropValue(edit, kPropColourBrushBitmap, reinterpret_cast<INT_PTR>(pattern));
        SetPropValue(edit, kPropColourBrush,
                     reinterpret_cast<INT_PTR>(dll::CreatePatternBrush(pattern)));
        Windows.Append(std::move(record));
    }
    ForgetSkinnedWindow(window);
    EXPECT_EQ(0, Windows.Count());
    EXPECT_EQ(0u, GetObjectType(background));
    EXPECT_EQ(0u, GetObjectType(caption));
    EXPECT_EQ(0u, GetObjectType(second));
    EXPECT_EQ(0, GetPropValue(edit, kPropColourBrush));
    EXPECT_EQ(0, GetPropValue(edit, kPropColourBrushBitmap));
    EXPECT_EQ(0, GetPropValue(window, kPropBackgroundBitmap));
    EXPECT_EQ("", dll::ObjectChangesSince(before));
    DestroyWindow(window);
}

// ---------------------------------------------------------------------------
// Tool-tip windows belong to the window they describe.

namespace {

BOOL CALLBACK CountToolTip(HWND h, LPARAM p) {
    char name[64] = {};
    GetClassNameA(h, name, sizeof name);
    if (lstrcmpiA(name, TOOLTIPS_CLASSA) == 0) ++*reinterpret_cast<int*>(p);
    return TRUE;
}

// Top-level tool-tip windows of this thread.
int CountThreadToolTips() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountToolTip, reinterpret_cast<LPARAM>(&count));
    return count;
}

// Forgets the record at WM_NCDESTROY, as the skinned window's procedure does.
LRESULT CALLBACK ForgettingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    auto previous = reinterpret_cast<WNDPROC>(GetPropValue(h, kPropPreviousProc));
    if (m == WM_NCDESTROY) {
        ForgetSkinnedWindow(h);
        RemovePropA(h, kPropPreviousProc);
    }
    return CallWindowProcA(previous, h, m, w, l);
}

int AddSkinnedWindowWithToolTip(HWND window) {
    auto record = std::make_unique<WindowRecord>();
    record->Handle = window;
    EXPECT_TRUE(record->ToolTip.Create(window));
    EXPECT_EQ(window, GetWindow(record->ToolTip.Window(), GW_OWNER));
    const RECT rect{0, 0, 26, 18};
    EXPECT_TRUE(record->ToolTip.AddTool(rect, "关闭", 1));
    record->ToolTip.SetToolRect(1, RECT{2, 1, 28, 19});
    record->ToolTip.SetToolText(1, "最小化");
    const int n = Windows.Append(std::move(record));
    SetPropValue(window, kPropNumber, n);
    return n;
}

}  // namespace

TEST_F(WindowTableTest, ToolTipWindowsDoNotOutliveTheirWindows) {
    const int before = CountThreadToolTips();
    for (int i = 0; i < 100; ++i) {
        HWND window = MakeWindow();
        ASSERT_NE(nullptr, window);
        SetPropValue(window, kPropPreviousProc, GetWindowLongPtrA(window, GWLP_WNDPROC));
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForgettingProc));
        AddSkinnedWindowWithToolTip(window);
        ASSERT_EQ(before + 1, CountThreadToolTips());
        DestroyWindow(window);
        ASSERT_EQ(0, Windows.Count());
    }
    EXPECT_EQ(before, CountThreadToolTips());

    // Records freed while their windows live (the exit routine): the record
    // takes its tool-tip window with it.
    HWND windows[3];
    for (HWND& w : windows) {
        w = MakeWindow();
        AddSkinnedWindowWithToolTip(w);
    }
    EXPECT_EQ(before + 3, CountThreadToolTips());
    Windows.Clear();
    EXPECT_EQ(before, CountThreadToolTips());
    for (HWND w : windows) DestroyWindow(w);
}

TEST_F(WindowTableTest, ToolTipWithoutWindowIgnoresCalls) {
    SkinToolTip tip;
    EXPECT_FALSE(tip.AddTool(RECT{}, "x", 1));
    tip.SetToolRect(1, RECT{});
    tip.SetToolText(1, "x");
    tip.Destroy();
    EXPECT_EQ(nullptr, tip.Window());
}
