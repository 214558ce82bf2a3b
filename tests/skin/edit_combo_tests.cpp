// The skin of edits and combo boxes: which children the installer takes and
// how, the hover protocol of both families, the border ring and the combo
// box's frame, drop button, arrow and text by pixels, the TransparentControls
// switch, teardown at WM_NCDESTROY, and the balance of every GDI and GDI+
// object over many paints and hovers.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gdiplus/dll.h"
#include "gdiplus/gdip.h"
#include "skin/controls/child_controls.h"
#include "skin/controls/edit_combo.h"
#include "skin/core/primitives.h"
#include "skin/core/window_skin.h"
#include "control_host.h"
#include "skinned_window.h"
#include "test_support.h"

using namespace vostrel::skin;
using vostrel::skin::test::ControlHost;
using vostrel::skin::test::ControlSkinTest;
using vostrel::skin::test::EnsureGdiplus;
using vostrel::skin::test::GlobalSettingsGuard;
using vostrel::skin::test::kBack;
using vostrel::skin::test::kTheme;
using vostrel::test::ColourNear;
using vostrel::test::DibCanvas;
using vostrel::test::FlushEvents;

namespace {

class EditComboTest : public ControlSkinTest {};

// 0x00RRGGBB colours, as the canvas reads them.
constexpr uint32_t kBackRgb = 0x102030;
constexpr uint32_t kThemeRgb = 0xFF0000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kMagenta = 0xFF00FF;

// `source` at `alpha` over `ground`, per channel.
uint32_t Over(uint32_t ground, uint32_t source, int alpha) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int g = (ground >> shift) & 0xFF, s = (source >> shift) & 0xFF;
        out |= static_cast<uint32_t>(g + (s - g) * alpha / 255) << shift;
    }
    return out;
}

const uint32_t kVeiled = Over(kBackRgb, kWhite, 160);

std::string Hex(uint32_t v) {
    char text[16];
    wsprintfA(text, "%06X", v);
    return text;
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

void Save(const DibCanvas& canvas, const std::string& name) {
    vostrel::test::SavePng(canvas, vostrel::test::ArtifactDir() + "/" + name + ".png");
}

HWND MakeCombo(const ControlHost& host, DWORD style, int x, int y, int w = 120, int h = 120,
               std::vector<const char*> items = {"alpha", "beta"}) {
    HWND combo = host.Child("ComboBox", style | WS_VSCROLL, "", x, y, w, h);
    for (const char* item : items)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    return combo;
}

// A shown host: the skin paints into the controls' window DCs, which only
// a shown window lets through to the screen. Hidden again before it is
// destroyed (destroying a shown window is slow on the virtual display).
struct ShownHost {
    explicit ShownHost(int w = 420, int h = 260) : host(WS_VISIBLE, w, h) { host.Compose(); }
    ~ShownHost() { ShowWindow(host.window, SW_HIDE); }
    void Settle() {
        RedrawWindow(host.window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        FlushEvents(30);
    }
    ControlHost host;
};

// ---------------------------------------------------------------------------
// Installation.

TEST_F(EditComboTest, InstallerTakesEditsAndComboBoxesWithTheirProperties) {
    ControlHost host;
    HWND edit = host.Child("Edit", WS_BORDER, "text");
    HWND multi = host.Child("Edit", WS_BORDER | ES_MULTILINE | WS_VSCROLL, "", 10, 50, 100, 60);
    HWND label = host.Child("Static", 0, "label", 10, 120);
    HWND combo = MakeCombo(host, CBS_DROPDOWNLIST, 150, 10);
    const LONG_PTR editClass = GetWindowLongPtrA(edit, GWLP_WNDPROC);
    const LONG_PTR comboClass = GetWindowLongPtrA(combo, GWLP_WNDPROC);
    SetPropValue(multi, kPropTextColour, 0x0000FF);
    SkinChildControls(host.number, host.window);

    struct Row {
        HWND control;
        int position;
        WNDPROC procedure;
        LONG_PTR previous;
    } rows[] = {
        {edit, 1, EditProc, editClass},
        {multi, 2, EditProc, editClass},
        {combo, 1, ComboBoxProc, comboClass},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(GetClassNameText(row.control));
        EXPECT_EQ(row.position, GetPropValue(row.control, kPropNumber));
        EXPECT_EQ(host.number, GetPropValue(row.control, kPropOwnerNumber));
        EXPECT_EQ(row.previous, GetPropValue(row.control, kPropPreviousProc));
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(row.procedure),
                  GetWindowLongPtrA(row.control, GWLP_WNDPROC));
    }
    EXPECT_EQ(2, host.record->Edits.Count());
    EXPECT_EQ(1, host.record->ComboBoxes.Count());
    EXPECT_EQ(edit, FindEditRecord(edit)->Handle);
    EXPECT_EQ(combo, FindComboBoxRecord(combo)->Handle);
    // The text colour starts black, unless one was given before the walk.
    EXPECT_EQ(0, GetPropValue(edit, kPropTextColour));
    EXPECT_EQ(0x0000FF, GetPropValue(multi, kPropTextColour));
    EXPECT_EQ(0, GetPropValue(label, kPropNumber));
    // The edits still edit.
    SetWindowTextA(edit, "changed");
    char text[32] = {};
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ("changed", text);
}

struct InnerEditCase {
    DWORD style;
    int transparent;
    bool innerEditTaken;
};

TEST_F(EditComboTest, EditInsideComboBoxIsTakenOnlyWhenTransparent) {
    const InnerEditCase cases[] = {
        {CBS_DROPDOWN, 1, true},  {CBS_SIMPLE, 1, true},        {CBS_DROPDOWNLIST, 1, false},
        {CBS_DROPDOWN, 0, false}, {CBS_SIMPLE, 0, false},
    };
    for (const InnerEditCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style << " transparent " << c.transparent);
        TransparentControls = c.transparent;
        ControlHost host;
        HWND combo = MakeCombo(host, c.style, 10, 10);
        SkinChildControls(host.number, host.window);
        HWND inner = FindWindowExA(combo, nullptr, "Edit", nullptr);
        ASSERT_EQ(c.style != CBS_DROPDOWNLIST, inner != nullptr);
        if (!inner) {
            EXPECT_EQ(nullptr, host.record->Edits.At(1)->Handle);
            continue;
        }
        EXPECT_EQ(c.innerEditTaken, FindEditRecord(inner) != nullptr);
        EXPECT_EQ(c.innerEditTaken, GetWindowLongPtrA(inner, GWLP_WNDPROC) ==
                                        reinterpret_cast<LONG_PTR>(EditProc));
    }
}

TEST_F(EditComboTest, SelectedItemBecomesTheWindowTextAndNoSelectionKeepsIt) {
    ControlHost host;
    HWND selected = MakeCombo(host, CBS_DROPDOWN, 10, 10);
    SendMessageA(selected, CB_SETCURSEL, 1, 0);
    // The edit's text changed behind the selection's back.
    SetWindowTextA(FindWindowExA(selected, nullptr, "Edit", nullptr), "typed");
    HWND unselected = MakeCombo(host, CBS_DROPDOWN, 10, 50);
    SetWindowTextA(unselected, "kept");
    SkinChildControls(host.number, host.window);
    EXPECT_EQ("beta", ControlWindowText(selected));
    EXPECT_EQ(CB_ERR, SendMessageA(unselected, CB_GETCURSEL, 0, 0));
    EXPECT_EQ("kept", ControlWindowText(unselected));
}

TEST_F(EditComboTest, SecondWalkTakesNothingAgainAndNothingWhileControlsAreNotSkinned) {
    {
        ControlHost host;
        HWND edit = host.Child("Edit", WS_BORDER, "");
        HWND combo = MakeCombo(host, CBS_DROPDOWN, 10, 50);
        SkinChildControls(host.number, host.window);
        SkinChildControls(host.number, host.window);
        EXPECT_EQ(2, host.record->Edits.Count());  // the edit and the combo box's edit
        EXPECT_EQ(1, host.record->ComboBoxes.Count());
        EXPECT_NE(reinterpret_cast<INT_PTR>(ComboBoxProc), GetPropValue(combo, kPropPreviousProc));
        EXPECT_NE(reinterpret_cast<INT_PTR>(EditProc), GetPropValue(edit, kPropPreviousProc));
        // A combo box subclassed twice would call itself for every message.
        EXPECT_EQ(1, SendMessageA(combo, CB_SETCURSEL, 1, 0));
        EXPECT_EQ("beta", ControlWindowText(combo));
    }
    SkinControls = 0;
    ControlHost host;
    HWND edit = host.Child("Edit", WS_BORDER, "");
    MakeCombo(host, CBS_DROPDOWNLIST, 10, 50);
    SkinChildControls(host.number, host.window);
    EXPECT_EQ(0, GetPropValue(edit, kPropNumber));
    EXPECT_EQ(nullptr, host.record->Edits.At(1)->Handle);
    EXPECT_EQ(nullptr, host.record->ComboBoxes.At(1)->Handle);
}

// ---------------------------------------------------------------------------
// Messages.

TEST_F(EditComboTest, HoverRepaintsOncePerEntryWithTheFamilyCode) {
    ControlHost host;
    host.Compose();
    HWND a = host.Child("Edit", WS_BORDER, "", 10, 10);
    HWND b = host.Child("Edit", WS_BORDER, "", 10, 50);
    HWND combo = MakeCombo(host, CBS_DROPDOWNLIST, 150, 10);
    SkinChildControls(host.number, host.window);
    auto move = [](HWND w) { SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3)); };
    auto leave = [](HWND w) { SendMessageA(w, WM_MOUSELEAVE, 0, 0); };
    struct Step {
        const char* what;
        HWND control;
        bool isLeave;
        int repeats;
        uint64_t repaints;
        int hotControl, hotFamily;
    } steps[] = {
        {"enter edit a", a, false, 3, 1, 1, kFamilyEdits},
        {"enter edit b", b, false, 2, 1, 2, kFamilyEdits},
        {"enter the combo box", combo, false, 3, 1, 1, kFamilyComboBoxes},
        {"leave the combo box", combo, true, 1, 1, 0, kFamilyComboBoxes},
        // Same position as the combo box, other family: a new entry.
        {"enter edit a again", a, false, 2, 1, 1, kFamilyEdits},
        {"leave edit a", a, true, 1, 1, 0, kFamilyEdits},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        const uint64_t before = WindowDcsTaken();
        for (int i = 0; i < s.repeats; ++i) s.isLeave ? leave(s.control) : move(s.control);
        EXPECT_EQ(s.repaints, WindowDcsTaken() - before);
        EXPECT_EQ(s.hotControl, host.record->HotControl);
        EXPECT_EQ(s.hotFamily, host.record->HotFamily);
    }
    // An edit of another parent at the same position and family is a new
    // entry too.
    move(a);
    EXPECT_EQ(reinterpret_cast<INT_PTR>(host.window), host.record->HotParent);
    host.record->HotParent = 12345;
    const uint64_t before = WindowDcsTaken();
    move(a);
    EXPECT_EQ(1u, WindowDcsTaken() - before);
    FlushEvents();
}

TEST_F(EditComboTest, EditProcedureKeepsFocusAndPressState) {
    ControlHost host;
    host.Compose();
    HWND edit = host.Child("Edit", WS_BORDER, "abc");
    SkinChildControls(host.number, host.window);
    EditRecord* record = FindEditRecord(edit);
    ASSERT_NE(nullptr, record);
    SetFocus(edit);
    EXPECT_EQ(1, record->Focused);
    SendMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_EQ(1, record->MouseDown);
    SendMessageA(edit, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(0, record->MouseDown);
    SetFocus(host.window);
    EXPECT_EQ(0, record->Focused);
    // The hover flag of the record is never set: the hover look lives in
    // the window record's hover state.
    SendMessageA(edit, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(0, record->Hover);
    FlushEvents();
}

// ---------------------------------------------------------------------------
// Pixels.

struct RingCase {
    const char* name;
    DWORD exStyle;
    int transparent;
    bool focused, hover;
    uint32_t outer;  // pixel (0, middle)
    uint32_t inner;  // pixel (1, middle): the second ring pixel of a 2-pixel border
};

TEST_F(EditComboTest, EditRingInTheThemeColourOnFocusAndDoubleOnHover) {
    const uint32_t white = kWhite;
    const RingCase cases[] = {
        {"normal", WS_EX_CLIENTEDGE, 1, false, false, Over(kVeiled, kBlack, 80), kVeiled},
        {"focused", WS_EX_CLIENTEDGE, 1, true, false, Over(kVeiled, kThemeRgb, 180), kVeiled},
        {"hover", WS_EX_CLIENTEDGE, 1, false, true, Over(kVeiled, kThemeRgb, 180),
         Over(kVeiled, kThemeRgb, 180)},
        {"opaque normal", WS_EX_CLIENTEDGE, 0, false, false, Over(white, kBlack, 80), white},
        {"opaque focused", WS_EX_CLIENTEDGE, 0, true, false, Over(white, kThemeRgb, 180), white},
    };
    ShownHost shown;
    ControlHost& host = shown.host;
    std::vector<HWND> edits;
    for (size_t i = 0; i < std::size(cases); ++i) {
        edits.push_back(CreateWindowExA(cases[i].exStyle, "Edit", "", WS_CHILD | WS_VISIBLE, 10,
                                        10 + static_cast<int>(i) * 34, 120, 26, host.window,
                                        nullptr, GetModuleHandleA(nullptr), nullptr));
    }
    SkinChildControls(host.number, host.window);
    shown.Settle();
    for (size_t i = 0; i < std::size(cases); ++i) {
        const RingCase& c = cases[i];
        SCOPED_TRACE(c.name);
        TransparentControls = c.transparent;
        PaintEditFrame(edits[i], c.focused, c.hover);
        auto pixels = WindowPixels(edits[i]);
        Save(*pixels, std::string("edit_ring_") + c.name);
        const int middle = pixels->height() / 2;
        EXPECT_TRUE(ColourNear(c.outer, pixels->Pixel(0, middle), 3))
            << Hex(pixels->Pixel(0, middle)) << " expected " << Hex(c.outer);
        EXPECT_TRUE(ColourNear(c.inner, pixels->Pixel(1, middle), 3))
            << Hex(pixels->Pixel(1, middle)) << " expected " << Hex(c.inner);
        // The right and bottom edges too.
        EXPECT_TRUE(ColourNear(c.outer, pixels->Pixel(pixels->width() - 1, middle), 3));
        EXPECT_TRUE(ColourNear(c.outer, pixels->Pixel(pixels->width() / 2, pixels->height() - 1), 3));
    }
}

TEST_F(EditComboTest, FocusChangesRepaintTheRingAtOnce) {
    ShownHost shown;
    ControlHost& host = shown.host;
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", "abc", WS_CHILD | WS_VISIBLE, 10, 10,
                                120, 26, host.window, nullptr, GetModuleHandleA(nullptr), nullptr);
    SkinChildControls(host.number, host.window);
    shown.Settle();
    const int middle = 13;
    SetFocus(edit);
    EXPECT_TRUE(ColourNear(Over(kVeiled, kThemeRgb, 180), WindowPixels(edit)->Pixel(0, middle), 3))
        << Hex(WindowPixels(edit)->Pixel(0, middle));
    SetFocus(host.window);
    FlushEvents(30);
    EXPECT_TRUE(ColourNear(Over(kVeiled, kBlack, 80), WindowPixels(edit)->Pixel(0, middle), 3))
        << Hex(WindowPixels(edit)->Pixel(0, middle));
    // The system's own border never comes back over the ring.
    SendMessageA(edit, WM_NCPAINT, 1, 0);
    DefWindowProcA(edit, WM_NCPAINT, 1, 0);  // what the system would draw
    const uint32_t system = WindowPixels(edit)->Pixel(0, middle);
    SendMessageA(edit, WM_NCPAINT, 1, 0);
    EXPECT_TRUE(ColourNear(Over(kVeiled, kBlack, 80), WindowPixels(edit)->Pixel(0, middle), 3))
        << Hex(WindowPixels(edit)->Pixel(0, middle)) << " system's " << Hex(system);
}

TEST_F(EditComboTest, EditWithScrollBarsKeepsTheSystemScrollBars) {
    ShownHost shown;
    ControlHost& host = shown.host;
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8",
                                WS_CHILD | WS_VISIBLE | ES_MULTILINE | WS_VSCROLL | WS_HSCROLL,
                                10, 10, 160, 90, host.window, nullptr, GetModuleHandleA(nullptr),
                                nullptr);
    SkinChildControls(host.number, host.window);
    shown.Settle();
    SendMessageA(edit, WM_NCPAINT, 1, 0);
    auto pixels = WindowPixels(edit);
    Save(*pixels, "edit_scroll_bars");
    const int w = pixels->width(), h = pixels->height();
    // The ring is the skin's...
    EXPECT_TRUE(ColourNear(Over(kVeiled, kBlack, 80), pixels->Pixel(0, h / 2), 3))
        << Hex(pixels->Pixel(0, h / 2));
    EXPECT_TRUE(ColourNear(Over(kVeiled, kBlack, 80), pixels->Pixel(w - 1, h / 2), 3));
    // ...and the scroll bars, in the system's face colour, are the system's.
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetScrollBarInfo(edit, OBJID_VSCROLL, &info));
    RECT window{};
    GetWindowRect(edit, &window);
    const int x = (info.rcScrollBar.left + info.rcScrollBar.right) / 2 - window.left;
    const int y = (info.rcScrollBar.top + info.rcScrollBar.bottom) / 2 - window.top;
    // The bar's arrow glyph is there, drawn by the system: dark pixels in
    // its top button, where the skin would have left the veil.
    const int buttonTop = info.rcScrollBar.top - window.top;
    int dark = 0;
    for (int yy = buttonTop; yy < buttonTop + info.dxyLineButton; ++yy)
        for (int xx = info.rcScrollBar.left - window.left; xx < info.rcScrollBar.right - window.left; ++xx)
            dark += (pixels->Pixel(xx, yy) & 0xFF) < 0x80;
    EXPECT_GT(dark, 0);
    EXPECT_NE(kVeiled, pixels->Pixel(x, y));
}

TEST_F(EditComboTest, ArrowPictureIsASevenByFourBlackTriangle) {
    vostrel::GdipBitmap picture;
    ASSERT_TRUE(picture.CreateFromBytes(ComboArrowPicture()));
    ASSERT_EQ(7u, picture.GetWidth());
    ASSERT_EQ(4u, picture.GetHeight());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 7; ++x) {
            const bool inside = x >= y && x < 7 - y;
            EXPECT_EQ(inside ? 0xFF000000u : 0u, picture.GetPixel(x, y) & (inside ? ~0u : 0xFF000000u))
                << x << "," << y;
        }
}

struct ComboCase {
    const char* name;
    DWORD style;
    bool button;        // the skin draws a drop button
    int buttonWidth;    // 17 or 18
};

TEST_F(EditComboTest, ComboBoxStylesFrameButtonArrowAndHoles) {
    const ComboCase cases[] = {
        {"drop_down_list", CBS_DROPDOWNLIST, true, 17},
        {"drop_down", CBS_DROPDOWN, true, 18},
        {"simple", CBS_SIMPLE, false, 0},
    };
    ShownHost shown(460, 200);
    ControlHost& host = shown.host;
    std::vector<HWND> combos;
    for (size_t i = 0; i < std::size(cases); ++i)
        combos.push_back(MakeCombo(host, cases[i].style, 10 + static_cast<int>(i) * 150, 10, 140,
                                   cases[i].style == CBS_SIMPLE ? 100 : 120));
    HWND edit = host.Child("Edit", WS_BORDER, "edit", 10, 140, 130, 24);
    HWND multi = CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", "1\r\n2\r\n3\r\n4\r\n5",
                                 WS_CHILD | WS_VISIBLE | ES_MULTILINE | WS_VSCROLL, 160, 130, 130,
                                 60, host.window, nullptr, GetModuleHandleA(nullptr), nullptr);
    SkinChildControls(host.number, host.window);
    shown.Settle();
    SetFocus(edit);
    SendMessageA(multi, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    FlushEvents(20);
    Save(*WindowPixels(host.window), "edit_combo_overview");
    SetFocus(host.window);
    SendMessageA(multi, WM_MOUSELEAVE, 0, 0);
    const uint32_t frame = Over(kVeiled, kBlack, 80);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const ComboCase& c = cases[i];
        SCOPED_TRACE(c.name);
        HWND combo = combos[i];
        RedrawWindow(combo, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        FlushEvents(20);
        auto pixels = WindowPixels(combo);
        Save(*pixels, std::string("combo_") + c.name);
        const int w = pixels->width(), h = pixels->height();
        // The frame, on the left edge below the edit.
        EXPECT_TRUE(ColourNear(frame, pixels->Pixel(0, h - 2), 3)) << Hex(pixels->Pixel(0, h - 2));
        // The colour key never reaches the screen.
        int magenta = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) magenta += pixels->Pixel(x, y) == kMagenta;
        EXPECT_EQ(0, magenta);
        if (!c.button) {
            // No drop button: nothing dark where it would be.
            for (int y = 2; y < 18; ++y)
                for (int x = w - 19; x < w - 2; ++x)
                    EXPECT_NE(kBlack, pixels->Pixel(x, y)) << x << "," << y;
            continue;
        }
        const int bx = w - c.buttonWidth - 2, by = 2, bh = h - 4;
        // The button's left outline is where its width puts it.
        EXPECT_TRUE(ColourNear(frame, pixels->Pixel(bx, h / 2), 6)) << Hex(pixels->Pixel(bx, h / 2));
        // The arrow: a black triangle of rows 7, 5, 3 and 1 pixels wide,
        // centred in the button (GDI+ places a half-pixel position on
        // either neighbour).
        auto blackRun = [&](int y, int* first) {
            int count = 0;
            *first = -1;
            for (int x = bx; x < bx + c.buttonWidth; ++x) {
                if (pixels->Pixel(x, y) != kBlack) continue;
                if (*first < 0) *first = x;
                ++count;
            }
            return count;
        };
        int top = -1, first = -1;
        for (int y = by; y < by + bh && top < 0; ++y)
            if (blackRun(y, &first) > 0) top = y;
        ASSERT_GE(top, 0) << "no arrow";
        const double ax = bx + (c.buttonWidth - 7) / 2.0, ay = by + (bh - 4) / 2.0;
        EXPECT_LE(std::abs(top - ay), 0.5) << top;
        const int widths[] = {7, 5, 3, 1, 0};
        for (int row = 0; row < 5; ++row) {
            int start = -1;
            EXPECT_EQ(widths[row], blackRun(top + row, &start)) << "row " << row;
            if (row == 0) {
                EXPECT_LE(std::abs(start - ax), 0.5) << start;
            } else if (widths[row] > 0) {
                EXPECT_EQ(first + row, start) << "row " << row;
            }
        }
    }
}

TEST_F(EditComboTest, DropDownListShowsItsTextAndHoverAndFocusTheTheme) {
    ShownHost shown(300, 120);
    ControlHost& host = shown.host;
    HWND list = MakeCombo(host, CBS_DROPDOWNLIST, 10, 10, 160, 120, {"文字", "第二"});
    SendMessageA(list, CB_SETCURSEL, 0, 0);
    SkinChildControls(host.number, host.window);
    shown.Settle();
    const int n = host.number;
    auto dark = [](const DibCanvas& pixels, int right) {
        int count = 0;
        for (int y = 2; y < pixels.height() - 2; ++y)
            for (int x = 2; x < right; ++x) count += (pixels.Pixel(x, y) & 0xFF) < 0x50;
        return count;
    };
    DrawComboBox(n, 1, false);
    auto idle = WindowPixels(list);
    Save(*idle, "combo_list_idle");
    const int w = idle->width(), h = idle->height();
    EXPECT_GT(dark(*idle, w - 20), 10) << "the selected item's text";
    EXPECT_TRUE(ColourNear(Over(kVeiled, kBlack, 80), idle->Pixel(0, h / 2), 3));

    DrawComboBox(n, 1, true);
    auto hover = WindowPixels(list);
    Save(*hover, "combo_list_hover");
    EXPECT_TRUE(ColourNear(Over(kVeiled, kThemeRgb, 200), hover->Pixel(0, h / 2), 3))
        << Hex(hover->Pixel(0, h / 2));
    // The hovered button's outline turns to the theme too.
    EXPECT_TRUE(ColourNear(Over(kVeiled, kThemeRgb, 200), hover->Pixel(w - 19, h / 2), 6))
        << Hex(hover->Pixel(w - 19, h / 2));

    DrawComboBox(n, 1, false, true);
    EXPECT_TRUE(ColourNear(Over(kVeiled, kThemeRgb, 200), WindowPixels(list)->Pixel(0, h / 2), 3));

    // No selection: no text.
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    DrawComboBox(n, 1, false);
    EXPECT_EQ(0, dark(*WindowPixels(list), w - 20));
}

struct SwitchCase {
    int transparent;
    uint32_t ground;            // a combo box's own ground, inside its frame
    bool colourReplyIsSkins;    // WM_CTLCOLOREDIT answered with the veiled brush
    bool eraseIsSkins;          // an edit's WM_ERASEBKGND answered by the skin
};

TEST_F(EditComboTest, TransparentControlsSwitchesGroundsAndReplies) {
    const SwitchCase cases[] = {
        {1, kVeiled, true, true},
        {0, kWhite, false, false},
    };
    for (const SwitchCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "transparent " << c.transparent);
        TransparentControls = c.transparent;
        ShownHost shown(300, 120);
        ControlHost& host = shown.host;
        HWND list = MakeCombo(host, CBS_DROPDOWNLIST, 10, 10, 160);
        HWND edit = host.Child("Edit", WS_BORDER, "", 10, 60, 100, 24);
        SkinChildControls(host.number, host.window);
        shown.Settle();
        DrawComboBox(host.number, 1, false);
        auto pixels = WindowPixels(list);
        EXPECT_TRUE(ColourNear(c.ground, pixels->Pixel(4, 3), 3)) << Hex(pixels->Pixel(4, 3));

        HDC dc = GetDC(edit);
        const LRESULT reply =
            SendMessageA(list, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit));
        EXPECT_EQ(c.colourReplyIsSkins, reply != 0 && reply == GetPropValue(edit, kPropColourBrush));
        // The edit's background: the veil over the window image, from (0, 0)
        // of the DC it is given.
        DibCanvas canvas(40, 10);
        canvas.Fill(0x00FF00);
        const LRESULT erased = SendMessageA(edit, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0);
        GdiFlush();
        if (c.eraseIsSkins) {
            EXPECT_EQ(1, erased);
            EXPECT_TRUE(ColourNear(kVeiled, canvas.Pixel(5, 5), 3)) << Hex(canvas.Pixel(5, 5));
        } else {
            EXPECT_NE(kVeiled, canvas.Pixel(5, 5));
        }
        ReleaseDC(edit, dc);
        FreeControlColourBrush(edit);
    }
}

TEST_F(EditComboTest, VeilAlphaZeroShowsTheWindowImageUnveiled) {
    VeilAlpha = 0;
    ShownHost shown(300, 120);
    ControlHost& host = shown.host;
    HWND list = MakeCombo(host, CBS_DROPDOWNLIST, 10, 10, 160);
    SkinChildControls(host.number, host.window);
    shown.Settle();
    DrawComboBox(host.number, 1, false);
    EXPECT_TRUE(ColourNear(kBackRgb, WindowPixels(list)->Pixel(4, 3), 2))
        << Hex(WindowPixels(list)->Pixel(4, 3));
}

// ---------------------------------------------------------------------------
// Bad input.

TEST_F(EditComboTest, UnknownNumbersPositionsAndHandlesDrawNothing) {
    ControlHost host;
    host.Compose();
    HWND edit = host.Child("Edit", WS_BORDER, "");
    const auto before = vostrel::dll::CountObjects();
    for (int n : {0, -1, host.number + 5})
        DrawComboBox(n, 1, true);
    for (int position : {0, -3, 1, 2, 99}) DrawComboBox(host.number, position, true);
    PaintEditFrame(nullptr, true, true);
    PaintEditBackground(nullptr, nullptr, true);
    PaintSkinnedEdit(edit);   // not registered
    PaintSkinnedComboBox(nullptr);
    EXPECT_EQ(nullptr, ScrollBarRegion(edit));
    EXPECT_EQ(0u, vostrel::dll::ObjectChangesSince(before).size())
        << vostrel::dll::ObjectChangesSince(before);
    EXPECT_EQ(0u, vostrel::dll::CountObjects().created[vostrel::dll::kWindowDc] -
                      before.created[vostrel::dll::kWindowDc]);
    const RECT zero = ChildRectInParent(host.window);
    EXPECT_TRUE(IsRectEmpty(&zero));
}

// ---------------------------------------------------------------------------
// Teardown.

struct SpyState {
    WNDPROC classProc = nullptr;
    bool sawNcDestroy = false;
    LONG_PTR procedureAtNcDestroy = 0;
    int propertiesLeft = 0;
};
SpyState g_spy;

LRESULT CALLBACK SpyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        g_spy.sawNcDestroy = true;
        g_spy.procedureAtNcDestroy = GetWindowLongPtrA(window, GWLP_WNDPROC);
        for (const char* key : {kPropPreviousProc, kPropNumber, kPropOwnerNumber, kPropTextColour,
                                kPropColourBrush, kPropColourBrushBitmap})
            g_spy.propertiesLeft += GetPropA(window, key) != nullptr;
    }
    return CallWindowProcA(g_spy.classProc, window, message, wParam, lParam);
}

TEST_F(EditComboTest, TeardownPutsTheProcedureBackAndFreesEverything) {
    for (const char* cls : {"Edit", "ComboBox"}) {
        SCOPED_TRACE(cls);
        ControlHost host;
        host.Compose();
        HWND control = host.Child(cls, std::string(cls) == "Edit" ? WS_BORDER : CBS_DROPDOWN, "",
                                  10, 10, 120, 100);
        // A procedure of the application's own, under the skin's.
        g_spy = {};
        g_spy.classProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SpyProc)));
        const auto before = vostrel::dll::CountObjects();
        SkinChildControls(host.number, host.window);
        const int position = static_cast<int>(GetPropValue(control, kPropNumber));
        ASSERT_GT(position, 0);
        ControlList& list =
            std::string(cls) == "Edit" ? host.record->Edits : host.record->ComboBoxes;
        ASSERT_EQ(control, list.At(position)->Handle);
        // Paints, a hover and a colour reply that leaves a brush on the edit
        // (the combo box's own reply, or one as the skinned parent leaves it).
        const bool isEdit = std::string(cls) == "Edit";
        HWND edit = isEdit ? control : FindWindowExA(control, nullptr, "Edit", nullptr);
        if (isEdit) {
            HBITMAP bitmap = CreateVeiledBackdropBitmap(edit);
            SetPropValue(edit, kPropColourBrushBitmap, reinterpret_cast<INT_PTR>(bitmap));
            SetPropValue(edit, kPropColourBrush,
                         reinterpret_cast<INT_PTR>(vostrel::dll::CreatePatternBrush(bitmap)));
        } else {
            HDC dc = GetDC(edit);
            SendMessageA(control, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(edit));
            ReleaseDC(edit, dc);
        }
        EXPECT_NE(0, GetPropValue(edit, kPropColourBrush));
        SendMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        SendMessageA(control, WM_NCPAINT, 1, 0);
        DestroyWindow(control);
        FlushEvents();
        EXPECT_TRUE(g_spy.sawNcDestroy);
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(SpyProc), g_spy.procedureAtNcDestroy);
        EXPECT_EQ(0, g_spy.propertiesLeft);
        EXPECT_EQ(nullptr, list.At(position)->Handle);
        EXPECT_EQ(0, host.record->HotControl);
        EXPECT_EQ("", vostrel::dll::ObjectChangesSince(before));
    }
}

TEST_F(EditComboTest, WindowGoingWithItsControlsLeavesNothingBehind) {
    const auto before = vostrel::dll::CountObjects();
    HWND inner = nullptr;
    {
        ControlHost host;
        host.Compose();
        HWND combo = MakeCombo(host, CBS_DROPDOWN, 10, 10);
        host.Child("Edit", ES_MULTILINE | WS_VSCROLL, "", 10, 50, 80, 60);
        SkinChildControls(host.number, host.window);
        inner = FindWindowExA(combo, nullptr, "Edit", nullptr);
        HDC dc = GetDC(inner);
        SendMessageA(combo, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(inner));
        ReleaseDC(inner, dc);
        ASSERT_NE(0, GetPropValue(inner, kPropColourBrush));
        SendMessageA(combo, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    }
    EXPECT_FALSE(IsWindow(inner));
    EXPECT_EQ("", vostrel::dll::ObjectChangesSince(before));
    EXPECT_EQ(0, BackdropDcCount());
}

// ---------------------------------------------------------------------------
// Soak: paints, focus changes and hovers over every kind.

TEST_F(EditComboTest, PaintFocusAndHoverRoundsLeaveEveryBalanceUnchanged) {
    ControlHost host;
    host.Compose();
    // Small controls: the soak is about what each paint makes and frees,
    // not about the pixels it fills.
    std::vector<HWND> controls = {
        host.Child("Edit", WS_BORDER, "plain", 10, 10, 30, 16),
        CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", "1\r\n2\r\n3\r\n4",
                        WS_CHILD | WS_VISIBLE | ES_MULTILINE | WS_VSCROLL | WS_HSCROLL, 10, 40, 50,
                        50, host.window, nullptr, GetModuleHandleA(nullptr), nullptr),
        MakeCombo(host, CBS_DROPDOWNLIST, 100, 10, 40),
        MakeCombo(host, CBS_DROPDOWN, 170, 10, 40),
        MakeCombo(host, CBS_SIMPLE, 240, 10, 40, 60),
    };
    SendMessageA(controls[2], CB_SETCURSEL, 0, 0);
    SkinChildControls(host.number, host.window);
    HWND inner = FindWindowExA(controls[3], nullptr, "Edit", nullptr);
    controls.push_back(inner);
    auto round = [&] {
        for (HWND w : controls) {
            SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
            SendMessageA(w, WM_NCPAINT, 1, 0);
            InvalidateRect(w, nullptr, TRUE);
            UpdateWindow(w);
            SendMessageA(w, WM_MOUSELEAVE, 0, 0);
        }
        SetFocus(controls[0]);
        SetFocus(controls[2]);
        HDC dc = GetDC(inner);
        SendMessageA(controls[3], WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(inner));
        ReleaseDC(inner, dc);
        SendMessageA(controls[0], WM_ERASEBKGND, 0, 0);
    };
    round();
    FlushEvents();
    const auto baseline = vostrel::dll::CountObjects();
    const int backdrops = BackdropDcCount();
    for (int i = 1; i < 150; ++i) {
        round();
        if (i % 50 == 0) FlushEvents();
    }
    FlushEvents();
    EXPECT_EQ("", vostrel::dll::ObjectChangesSince(baseline));
    EXPECT_EQ(backdrops, BackdropDcCount());
    SetFocus(nullptr);
}

// ---------------------------------------------------------------------------
// The same subclassing on the 32-bit target: pointer-sized window longs and
// properties, the hover parent kept in a 32-bit field, the procedure put
// back at WM_NCDESTROY.

TEST(EditComboSubclassI686, RoundTripThroughBothProcedures) {
    EnsureGdiplus();
    const int skinControls = SkinControls;
    SkinControls = 1;
    {
        ControlHost host;
        HWND edit = host.Child("Edit", WS_BORDER, "");
        HWND combo = MakeCombo(host, CBS_DROPDOWNLIST, 10, 50);
        const LONG_PTR editClass = GetWindowLongPtrA(edit, GWLP_WNDPROC);
        SkinChildControls(host.number, host.window);
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(EditProc), GetWindowLongPtrA(edit, GWLP_WNDPROC));
        EXPECT_EQ(editClass, GetPropValue(edit, kPropPreviousProc));
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(ComboBoxProc), GetWindowLongPtrA(combo, GWLP_WNDPROC));
        SetWindowTextA(edit, "round trip");
        EXPECT_EQ(10, SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0));
        EXPECT_EQ(1, SendMessageA(combo, CB_SETCURSEL, 1, 0));
        SendMessageA(edit, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        EXPECT_EQ(static_cast<int>(reinterpret_cast<INT_PTR>(host.window)), host.record->HotParent);
        g_spy = {};
        g_spy.classProc = reinterpret_cast<WNDPROC>(editClass);
        SetPropValue(edit, kPropPreviousProc, reinterpret_cast<INT_PTR>(SpyProc));
        DestroyWindow(edit);
        EXPECT_TRUE(g_spy.sawNcDestroy);
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(SpyProc), g_spy.procedureAtNcDestroy);
    }
    SkinControls = skinControls;
}

}  // namespace
