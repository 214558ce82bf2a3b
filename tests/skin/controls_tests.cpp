// Child-control skins as a window class's conformance test: which children
// the installers take and how, the messages of the button procedure, the
// push-button faces by pixels, the check box's own repaint, the container
// skin, and the balance of every GDI and GDI+ object over many hovers.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "gdiplus/gdip.h"
#include "skin/controls/child_controls.h"
#include "skin/core/primitives.h"
#include "skin/core/window_skin.h"
#include "control_host.h"
#include "skinned_window.h"
#include "test_support.h"

using namespace vostrel::skin;
using vostrel::skin::test::EnsureGdiplus;
using vostrel::skin::test::GlobalSettingsGuard;
using vostrel::skin::test::TestSkin;
using vostrel::test::DibCanvas;
using vostrel::test::FlushEvents;
using vostrel::skin::test::ControlHost;
using vostrel::skin::test::ControlSkinTest;
using vostrel::skin::test::g_host;
using vostrel::skin::test::kBack;
using vostrel::skin::test::kTheme;

namespace {

// The global settings these tests change, restored afterwards.
class ControlsTest : public ControlSkinTest {};

int ButtonType(HWND button) { return static_cast<int>(GetWindowLongA(button, GWL_STYLE) & 0x0F); }

uint64_t WindowDcsTaken() {
    return vostrel::dll::CountObjects().created[vostrel::dll::kWindowDc];
}

// ---------------------------------------------------------------------------
// The installers: which children are taken, as what, in which order.

struct Classification {
    const char* cls;
    DWORD style;
    int kind;      // ButtonKind, or -1: not taken
    int typeAfter; // the button type after the walk (-1: not a button)
};

TEST_F(ControlsTest, InstallersTakeChildrenByClassAndStyle) {
    const Classification rows[] = {
        {"BUTTON", BS_PUSHBUTTON, kPushButton, BS_OWNERDRAW},
        {"BUTTON", BS_DEFPUSHBUTTON, kPushButton, BS_OWNERDRAW},
        {"BUTTON", BS_USERBUTTON, kPushButton, BS_OWNERDRAW},
        {"BUTTON", BS_OWNERDRAW, -1, BS_OWNERDRAW},
        {"BUTTON", BS_CHECKBOX, kCheckBox, BS_CHECKBOX},
        {"BUTTON", BS_AUTOCHECKBOX, kCheckBox, BS_AUTOCHECKBOX},
        {"BUTTON", BS_PUSHBOX, kCheckBox, BS_PUSHBOX},
        {"BUTTON", BS_AUTORADIOBUTTON, kRadioButton, BS_AUTORADIOBUTTON},
        {"BUTTON", BS_RADIOBUTTON, -1, BS_RADIOBUTTON},
        {"BUTTON", BS_3STATE, -1, BS_3STATE},
        {"BUTTON", BS_AUTO3STATE, -1, BS_AUTO3STATE},
        {"BUTTON", BS_GROUPBOX, -1, BS_GROUPBOX},
        {"STATIC", SS_LEFT, -1, -1},
    };
    ControlHost host;
    std::vector<HWND> children;
    for (const Classification& row : rows) children.push_back(host.Child(row.cls, row.style, "x"));
    SkinChildControls(host.number, host.window);
    for (size_t i = 0; i < children.size(); ++i) {
        const Classification& row = rows[i];
        SCOPED_TRACE(testing::Message() << "row " << i << " style " << row.style);
        HWND child = children[i];
        if (row.kind < 0) {
            EXPECT_EQ(0, GetPropValue(child, kPropNumber));
            EXPECT_EQ(0, host.record->Buttons.Find(child));
        } else {
            ButtonRecord* b = host.Button(child);
            ASSERT_NE(nullptr, b);
            EXPECT_EQ(child, b->Handle);
            EXPECT_EQ(row.kind, b->Kind);
            EXPECT_EQ(host.number, GetPropValue(child, kPropOwnerNumber));
            EXPECT_EQ(reinterpret_cast<INT_PTR>(b->PreviousProc),
                      GetPropValue(child, kPropPreviousProc));
            EXPECT_EQ(reinterpret_cast<LONG_PTR>(ButtonProc),
                      GetWindowLongPtrA(child, GWLP_WNDPROC));
            EXPECT_EQ("x", b->Text);
        }
        if (row.typeAfter >= 0) {
            EXPECT_EQ(row.typeAfter, ButtonType(child));
        }
    }
}

TEST_F(ControlsTest, PushButtonsAreTakenBeforeCheckBoxesWhateverTheChildOrder) {
    ControlHost host;
    HWND check = host.Child("BUTTON", BS_AUTOCHECKBOX, "check");
    HWND push1 = host.Child("BUTTON", BS_PUSHBUTTON, "one");
    HWND radio = host.Child("BUTTON", BS_AUTORADIOBUTTON, "radio");
    HWND push2 = host.Child("BUTTON", BS_PUSHBUTTON, "two");
    SkinChildControls(host.number, host.window);
    // The first push button fills the empty slot; the walk of each installer
    // follows the child order.
    EXPECT_EQ(1, GetPropValue(push1, kPropNumber));
    EXPECT_EQ(2, GetPropValue(push2, kPropNumber));
    EXPECT_EQ(3, GetPropValue(check, kPropNumber));
    EXPECT_EQ(4, GetPropValue(radio, kPropNumber));
    EXPECT_EQ(4, host.record->Buttons.Count());
}

TEST_F(ControlsTest, SecondWalkTakesNothingAgainAndControlsStillWork) {
    ControlHost host;
    HWND push = host.Child("BUTTON", BS_PUSHBUTTON, "push");
    HWND check = host.Child("BUTTON", BS_AUTOCHECKBOX, "check");
    SkinChildControls(host.number, host.window);
    SkinChildControls(host.number, host.window);
    EXPECT_EQ(2, host.record->Buttons.Count());
    // A control subclassed twice would call itself for every message.
    EXPECT_NE(reinterpret_cast<INT_PTR>(ButtonProc), GetPropValue(check, kPropPreviousProc));
    SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(BST_CHECKED, SendMessageA(check, BM_GETCHECK, 0, 0));
    EXPECT_EQ(1, GetPropValue(push, kPropNumber));
}

TEST_F(ControlsTest, NothingIsTakenWhileControlsAreNotSkinned) {
    SkinControls = 0;
    ControlHost host;
    HWND push = host.Child("BUTTON", BS_PUSHBUTTON, "push");
    SkinChildControls(host.number, host.window);
    EXPECT_EQ(BS_PUSHBUTTON, ButtonType(push));
    EXPECT_EQ(0, GetPropValue(push, kPropNumber));
    // The list keeps its empty slot.
    ASSERT_EQ(1, host.record->Buttons.Count());
    EXPECT_EQ(nullptr, host.record->Buttons.At(1)->Handle);
}

TEST_F(ControlsTest, ControlFontIsReadThroughGdiplus) {
    ControlHost host;
    HWND push = host.Child("BUTTON", BS_PUSHBUTTON, "push");
    LOGFONTA lf{};
    lf.lfHeight = -16;
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = TRUE;
    lstrcpyA(lf.lfFaceName, "Arial");
    HFONT font = CreateFontIndirectA(&lf);
    SendMessageA(push, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const ControlFont read = ReadControlFont(push);
    EXPECT_EQ(16, read.Size);
    EXPECT_EQ(1 | 2, read.Style);
    EXPECT_FALSE(read.FaceName.empty());
    SkinChildControls(host.number, host.window);
    EXPECT_EQ(16, host.Button(push)->FontSize);
    DestroyWindow(push);
    DeleteObject(font);
}

// ---------------------------------------------------------------------------
// Messages of the button procedure.

TEST_F(ControlsTest, DoubleClickOnSkinnedButtonIsSwallowed) {
    ControlHost host;
    HWND skinned = host.Child("BUTTON", BS_PUSHBUTTON, "skinned", 10, 10);
    SkinChildControls(host.number, host.window);
    HWND plain = host.Child("BUTTON", BS_PUSHBUTTON, "plain", 10, 50);
    const LPARAM at = MAKELPARAM(5, 5);
    auto fastPair = [&](HWND button) {
        g_host.clicks = 0;
        SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(button, WM_LBUTTONUP, 0, at);
        SendMessageA(button, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        SendMessageA(button, WM_LBUTTONUP, 0, at);
        FlushEvents();
        return g_host.clicks;
    };
    EXPECT_EQ(2, fastPair(plain)) << "the system's button presses on the double click";
    EXPECT_EQ(1, fastPair(skinned));
}

TEST_F(ControlsTest, HoverLookRepaintsOncePerEntry) {
    ControlHost host;
    host.Compose();
    HWND a = host.Child("BUTTON", BS_PUSHBUTTON, "a", 10, 10);
    HWND b = host.Child("BUTTON", BS_PUSHBUTTON, "b", 10, 50);
    SkinChildControls(host.number, host.window);
    auto repaintsOf = [&](auto&& action) {
        const uint64_t before = WindowDcsTaken();
        action();
        return WindowDcsTaken() - before;
    };
    auto move = [](HWND w) { SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3)); };
    EXPECT_EQ(1u, repaintsOf([&] { move(a); move(a); move(a); }));
    EXPECT_EQ(1, host.record->HotControl);
    // Another control of the window: it repaints on its own entry...
    EXPECT_EQ(1u, repaintsOf([&] { move(b); move(b); }));
    EXPECT_EQ(2, host.record->HotControl);
    // ...and the old one on its leave.
    EXPECT_EQ(1u, repaintsOf([&] { SendMessageA(a, WM_MOUSELEAVE, 0, 0); }));
    EXPECT_EQ(0, host.record->HotControl);
    // After a click the next move shows the hover look again.
    move(b);
    SendMessageA(b, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(1u, repaintsOf([&] { move(b); }));
    FlushEvents();
}

TEST_F(ControlsTest, SetTextChangesTheRecordedCaption) {
    ControlHost host;
    HWND push = host.Child("BUTTON", BS_PUSHBUTTON, "before");
    SkinChildControls(host.number, host.window);
    SetWindowTextA(push, "之后");
    EXPECT_EQ("之后", host.Button(push)->Text);
    char text[16]{};
    GetWindowTextA(push, text, sizeof text);
    EXPECT_STREQ("之后", text);
}

TEST_F(ControlsTest, DrawItemDrawsOnlyRegisteredPushButtons) {
    ControlHost host;
    host.Compose();
    HWND push = host.Child("BUTTON", BS_PUSHBUTTON, "push");
    HWND check = host.Child("BUTTON", BS_AUTOCHECKBOX, "check");
    HWND other = host.Child("BUTTON", BS_OWNERDRAW, "other");
    SkinChildControls(host.number, host.window);
    DibCanvas canvas(100, 28);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.hDC = canvas.dc();
    item.rcItem = RECT{0, 0, 100, 28};
    struct Row {
        HWND control;
        UINT type;
        bool drawn;
    } rows[] = {{push, ODT_BUTTON, true},
                {push, ODT_STATIC, false},
                {check, ODT_BUTTON, false},
                {other, ODT_BUTTON, false}};
    for (const Row& row : rows) {
        item.hwndItem = row.control;
        item.CtlType = row.type;
        EXPECT_EQ(row.drawn, DrawButtonItem(host.number, item));
    }
    // The window number of another window does not lead to this button.
    item.hwndItem = push;
    item.CtlType = ODT_BUTTON;
    EXPECT_FALSE(DrawButtonItem(host.number + 1, item));
}

// ---------------------------------------------------------------------------
// Push-button faces by pixels, over a plain dark backdrop (kBack) with a red
// theme. No smoothing is set, so outlines are whole pixels.

struct FaceCase {
    const char* name;
    UINT state;
    int x, y;          // a pixel of the face
    uint32_t expected; // 0x00RRGGBB
    int tolerance;
};

TEST_F(ControlsTest, PushButtonFacesByState) {
    ControlHost host;
    host.Compose();
    HWND push = host.Child("BUTTON", BS_PUSHBUTTON, "", 20, 20, 80, 30);
    SkinChildControls(host.number, host.window);
    const FaceCase rows[] = {
        // The plain outline: black at alpha 120 over the face (the backdrop
        // under white at 120 and the gloss at 50).
        {"normal outline", 0, 40, 0, 0x515558, 6},
        // Hover: the outline in the theme colour, fully opaque.
        {"hover outline", 0x40, 40, 0, 0xFF0000, 0},
        // Focus: the cyan-yellow glow under a lighter black outline.
        {"focus outline", ODS_FOCUS, 40, 0, 0x4A8890, 40},
        // Pressed: the inset takes a red tinge from the theme.
        {"pressed inset", ODS_SELECTED, 40, 5, 0x9C6A74, 30},
        // Disabled: a square silver box; its corner is not the backdrop.
        {"disabled corner", ODS_DISABLED, 0, 0, 0xC0C0C0, 0},
        {"normal corner", 0, 0, 0, 0x102030, 0},
        // Hover beats focus.
        {"hover with focus", 0x40 | ODS_FOCUS, 40, 0, 0xFF0000, 0},
    };
    for (const FaceCase& row : rows) {
        DibCanvas canvas(80, 30);
        canvas.Fill(0xFFFFFF);
        DrawPushButtonFace(push, canvas.dc(), row.state, RECT{0, 0, 80, 30});
        GdiFlush();
        const uint32_t got = canvas.Pixel(row.x, row.y);
        EXPECT_TRUE(vostrel::test::ColourNear(row.expected, got, row.tolerance))
            << row.name << ": expected " << std::hex << row.expected << " got " << got;
    }
}

// Repaints copy a face drawn before, but only while everything it shows is
// unchanged: each change below must show in the next repaint at once.
TEST_F(ControlsTest, RepaintsReuseAFaceOnlyWhileNothingItShowsChanged) {
    ControlHost host;
    host.Compose();
    HWND push = host.Child("BUTTON", BS_PUSHBUTTON, "Aa", 20, 20, 80, 30);
    SkinChildControls(host.number, host.window);
    ButtonRecord* record = host.Button(push);
    ASSERT_NE(nullptr, record);
    auto face = [&] {
        DibCanvas canvas(80, 30);
        DrawPushButtonFace(push, canvas.dc(), 0x40, RECT{0, 0, 80, 30});
        GdiFlush();
        return std::vector<uint32_t>(canvas.bits(), canvas.bits() + 80 * 30);
    };
    struct Change {
        const char* name;
        void (*apply)(ControlHost&, HWND);
    } changes[] = {
        {"window image recomposed with another colour",
         [](ControlHost& h, HWND) {
             h.record->BackColour = 0x00106020;
             GlobalBackColour = 0x00106020;
             h.Compose();
         }},
        {"theme colour", [](ControlHost&, HWND) { ThemeColour = 0x0000FF00; }},
        {"caption", [](ControlHost&, HWND b) { SetWindowTextA(b, "Bb"); }},
        {"moved over another part of the picture",
         [](ControlHost& h, HWND b) {
             // A picture with a gradient, so another place has other pixels.
             h.record->DrawMode = 0;
             GlobalBackgroundImage = vostrel::skin::test::Picture(SkinImage::Background);
             h.Compose();
             SetWindowPos(b, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
         }},
    };
    std::vector<uint32_t> before = face();
    EXPECT_EQ(before, face()) << "the same face twice";
    EXPECT_GE(record->Faces.Count(), 1);
    for (const Change& change : changes) {
        change.apply(host, push);
        const std::vector<uint32_t> after = face();
        EXPECT_NE(before, after) << change.name;
        before = after;
    }
}

TEST_F(ControlsTest, HoverAndPressedDifferFromNormal) {
    ControlHost host;
    host.Compose();
    HWND push = host.Child("BUTTON", BS_PUSHBUTTON, "", 20, 20, 80, 30);
    SkinChildControls(host.number, host.window);
    auto face = [&](UINT state) {
        auto canvas = std::make_unique<DibCanvas>(80, 30);
        DrawPushButtonFace(push, canvas->dc(), state, RECT{0, 0, 80, 30});
        GdiFlush();
        return canvas;
    };
    auto normal = face(0), hover = face(0x40), pressed = face(ODS_SELECTED);
    // Inside the face the hover shading is redder than the plain face.
    auto redness = [](uint32_t c) {
        return static_cast<int>((c >> 16) & 0xFF) - static_cast<int>((c >> 8) & 0xFF);
    };
    const uint32_t n = normal->Pixel(40, 10), h = hover->Pixel(40, 10);
    EXPECT_GT(redness(h), redness(n) + 20) << std::hex << n << " " << h;
    // The pressed inset starts two pixels in: the top rows keep the normal look.
    EXPECT_EQ(normal->Pixel(40, 1), pressed->Pixel(40, 1));
    EXPECT_NE(normal->Pixel(40, 8), pressed->Pixel(40, 8));
}

// ---------------------------------------------------------------------------
// Check boxes: the pictures and the repaint after BM_SETCHECK.

TEST(CheckBoxPictures, AreDrawnPixelForPixel) {
    EnsureGdiplus();
    struct Pixel {
        bool checked;
        int x, y;
        uint32_t argb;
    } rows[] = {
        {false, 0, 0, 0xE6030303},   // border, alpha 230
        {false, 12, 6, 0xE6030303},
        {false, 1, 1, 0xFFDEDFD6},   // first shade
        {false, 11, 11, 0xFFFDFCFC}, // last shade (i + j = 20)
        {false, 6, 1, 0xFFE9E8E1},   // i + j = 5
        {false, 9, 3, 0xFFF4F1EC},   // no tick here
        {true, 0, 0, 0xFF185184},    // opaque blue border
        {true, 1, 1, 0xFFDEDFD6},
        {true, 9, 3, 0xFF246E75},    // the tick
        {true, 5, 9, 0xFF246E75},
        {true, 5, 5, 0xFFF0EDE8},    // inside the tick's bend: the shade
    };
    for (const Pixel& row : rows) {
        vostrel::GdipBitmap picture;
        ASSERT_TRUE(picture.CreateFromBytes(CheckBoxPicture(row.checked)));
        EXPECT_EQ(13u, picture.GetWidth());
        EXPECT_EQ(row.argb, picture.GetPixel(row.x, row.y))
            << (row.checked ? "checked" : "unchecked") << " at " << row.x << "," << row.y;
    }
}

// Reads the control's pixels from the screen: the window must be shown.
std::unique_ptr<DibCanvas> Screen(HWND control) {
    RECT r{};
    GetClientRect(control, &r);
    auto canvas = std::make_unique<DibCanvas>(r.right, r.bottom);
    HDC dc = GetDC(control);
    BitBlt(canvas->dc(), 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(control, dc);
    GdiFlush();
    return canvas;
}

TEST_F(ControlsTest, CheckedBoxShowsItsTickAtOnce) {
    // The one shown window of these tests: the pixels are read back from the
    // screen right after the message, before any paint message runs.
    ControlHost host(WS_VISIBLE, 200, 60);
    host.Compose();
    HWND box = host.Child("BUTTON", BS_CHECKBOX, "box", 10, 10, 120, 21);
    SkinChildControls(host.number, host.window);
    UpdateWindow(host.window);
    FlushEvents(50);
    const int top = (21 - 13) / 2;
    const uint32_t tick = 0x246E75;
    EXPECT_FALSE(vostrel::test::ColourNear(tick, Screen(box)->Pixel(9, top + 3), 8));
    SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
    auto after = Screen(box);
    EXPECT_TRUE(vostrel::test::ColourNear(tick, after->Pixel(9, top + 3), 8))
        << std::hex << after->Pixel(9, top + 3);
    EXPECT_TRUE(vostrel::test::ColourNear(0x185184, after->Pixel(0, top), 8));
    ShowWindow(host.window, SW_HIDE);
}

// ---------------------------------------------------------------------------
// Containers.

TEST_F(ControlsTest, ContainerSkinsItsButtonsAndRegistersOnce) {
    ControlHost host;
    host.Compose();
    HWND box = host.Child("BUTTON", BS_GROUPBOX, "", 10, 10, 200, 200);
    HWND inside = host.Child("BUTTON", BS_PUSHBUTTON, "site", 10, 20, 80, 28, box);
    // Attach walks only direct children: the group box's button is not one.
    SkinChildControls(host.number, host.window);
    EXPECT_EQ(0, GetPropValue(inside, kPropNumber));
    TestSkin().SkinContainer(box, 1, GetSysColor(COLOR_BTNFACE), 0, std::nullopt);
    const LONG_PTR procedure = GetWindowLongPtrA(box, GWLP_WNDPROC);
    const INT_PTR previous = GetPropValue(box, kPropPreviousProc);
    TestSkin().SkinContainer(box, 1, GetSysColor(COLOR_BTNFACE), 0, std::nullopt);
    ASSERT_EQ(1, host.record->Containers.Count());
    auto* c = host.record->Containers.Get<ContainerRecord>(1);
    ASSERT_NE(nullptr, c);
    EXPECT_EQ(box, c->Handle);
    EXPECT_EQ(1, c->IsGroupBox);
    EXPECT_EQ(0, c->TintAlpha);
    EXPECT_EQ(1, c->SkinPainted);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(ContainerProc), procedure);
    EXPECT_EQ(procedure, GetWindowLongPtrA(box, GWLP_WNDPROC));
    EXPECT_EQ(previous, GetPropValue(box, kPropPreviousProc));
    EXPECT_NE(reinterpret_cast<INT_PTR>(ContainerProc), previous);
    EXPECT_EQ(host.number, GetPropValue(box, kPropOwnerNumber));
    EXPECT_EQ(1, GetPropValue(box, kPropNumber));
    // The site button inside is now a skinned push button of the window.
    EXPECT_EQ(host.number, GetPropValue(inside, kPropOwnerNumber));
    EXPECT_EQ(BS_OWNERDRAW, ButtonType(inside));
    // ...which the box's procedure has drawn when the system asks.
    DibCanvas canvas(80, 28);
    DRAWITEMSTRUCT item{ODT_BUTTON, 0, 0, 0, 0, inside, canvas.dc(), RECT{0, 0, 80, 28}, 0};
    g_host.drawItems = 0;
    SendMessageA(box, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    GdiFlush();
    EXPECT_EQ(0, g_host.drawItems) << "the box draws its own buttons";
    EXPECT_NE(0u, canvas.Pixel(40, 0));
}

TEST_F(ControlsTest, ContainerWithoutSkinnedAncestorIsNotRegistered) {
    HWND lone = CreateWindowExA(0, "BUTTON", "", WS_POPUP | BS_GROUPBOX, 0, 0, 50, 50, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    const LONG_PTR procedure = GetWindowLongPtrA(lone, GWLP_WNDPROC);
    TestSkin().SkinContainer(lone, std::nullopt, 0, std::nullopt, std::nullopt);
    EXPECT_EQ(procedure, GetWindowLongPtrA(lone, GWLP_WNDPROC));
    TestSkin().SkinContainer(nullptr, std::nullopt, 0, std::nullopt, std::nullopt);
    DestroyWindow(lone);
}

TEST_F(ControlsTest, ContainerColourRepliesKeepOneBrushAndFreeItWithTheChildren) {
    ControlHost host;
    host.Compose();
    HWND box = host.Child("BUTTON", BS_GROUPBOX, "", 10, 10, 200, 200);
    HWND label = host.Child("STATIC", SS_LEFT, "label", 10, 20, 80, 20, box);
    HWND check = host.Child("BUTTON", BS_AUTOCHECKBOX, "check", 10, 50, 80, 20, box);
    TestSkin().SkinContainer(box, 1, 0, 0, std::nullopt);
    HDC dc = GetDC(box);
    const auto start = vostrel::dll::CountObjects();
    // Alternate the two replies: the transparent one hands out the stock
    // null brush, which must never be deleted.
    for (int i = 0; i < 20; ++i) {
        const auto brush = reinterpret_cast<HGDIOBJ>(
            SendMessageA(box, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(label)));
        EXPECT_NE(nullptr, brush);
        SendMessageA(box, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(check));
        SendMessageA(box, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(check));
    }
    const auto afterReplies = vostrel::dll::CountObjects();
    EXPECT_EQ(2, afterReplies.Live(vostrel::dll::kBrush) - start.Live(vostrel::dll::kBrush));
    EXPECT_EQ(2, afterReplies.Live(vostrel::dll::kBitmap) - start.Live(vostrel::dll::kBitmap));
    EXPECT_EQ(afterReplies.deleted[vostrel::dll::kOtherGdiObject],
              start.deleted[vostrel::dll::kOtherGdiObject]);
    ReleaseDC(box, dc);
    // Destroying the box frees its children's brushes while they exist.
    DestroyWindow(box);
    EXPECT_EQ("", vostrel::dll::ObjectChangesSince(start));
    FlushEvents();
}

TEST_F(ControlsTest, GroupBoxCaptionGapFollowsTheAlignmentBits) {
    struct Row {
        const char* name;
        DWORD align;
        int gapX, frameX;  // a column inside the caption gap, one on the frame
    } rows[] = {
        // Without alignment bits the caption sits on the right, like BS_RIGHT.
        {"no bits", 0, 200 - 12, 12},
        {"BS_RIGHT", BS_RIGHT, 200 - 12, 12},
        {"BS_LEFT", BS_LEFT, 12, 200 - 12},
        {"BS_CENTER", BS_CENTER, -1, 12},  // the gap's left edge, from the text width
    };
    LOGFONTA lf{};
    lf.lfHeight = -12;
    lstrcpyA(lf.lfFaceName, "SimSun");
    HFONT font = CreateFontIndirectA(&lf);
    for (const Row& row : rows) {
        ControlHost host;
        host.Compose();
        HWND box = host.Child("BUTTON", BS_GROUPBOX | row.align, "WWWW", 10, 10, 200, 100);
        SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        TestSkin().SkinContainer(box, 1, 0, 0, std::nullopt);
        DibCanvas canvas(200, 100);
        PaintContainer(host.number, 1, canvas.dc());
        GdiFlush();
        // Row 5 holds the outer frame line (black at alpha 40 over the
        // backdrop); the gap wipes it back to the backdrop.
        const ContainerRecord& c = *host.record->Containers.Get<ContainerRecord>(1);
        const int gapX =
            row.gapX >= 0
                ? row.gapX
                : (200 - MeasureTextWidth("WWWW", c.FaceName, c.FontSize, c.FontStyle)) / 2 + 2;
        EXPECT_EQ(0x102030u, canvas.Pixel(gapX, 5)) << row.name;
        EXPECT_NE(0x102030u, canvas.Pixel(row.frameX, 5)) << row.name;
        EXPECT_EQ(0x102030u, canvas.Pixel(100, 50)) << row.name << ": tint alpha 0";
        DestroyWindow(box);
    }
    DeleteObject(font);
}

// ---------------------------------------------------------------------------
// Soak: pointer enter/leave cycles over skinned buttons.

TEST_F(ControlsTest, TenThousandHoverCyclesLeaveEveryBalanceUnchanged) {
    ControlHost host;
    host.Compose();
    HWND box = host.Child("BUTTON", BS_GROUPBOX, "", 10, 10, 200, 120);
    // Small controls: the soak is about what each repaint makes and frees,
    // not about the pixels it fills.
    HWND inside = host.Child("BUTTON", BS_PUSHBUTTON, "", 10, 20, 16, 12, box);
    HWND direct = host.Child("BUTTON", BS_PUSHBUTTON, "", 220, 20, 16, 12);
    HWND check = host.Child("BUTTON", BS_AUTOCHECKBOX, "", 220, 60, 16, 13);
    SkinChildControls(host.number, host.window);
    TestSkin().SkinContainer(box, 1, GetSysColor(COLOR_BTNFACE), 0, std::nullopt);
    SetFocus(direct);
    auto cycle = [&](HWND w) {
        SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        SendMessageA(w, WM_MOUSELEAVE, 0, 0);
    };
    auto round = [&] {
        cycle(inside);
        cycle(direct);
        cycle(check);
    };
    round();
    FlushEvents();
    const auto baseline = vostrel::dll::CountObjects();
    const int backdrops = BackdropDcCount();
    for (int i = 1; i < 10000 / 3 + 1; ++i) {
        round();
        if (i % 500 == 0) FlushEvents();
    }
    FlushEvents();
    EXPECT_EQ("", vostrel::dll::ObjectChangesSince(baseline));
    EXPECT_EQ(backdrops, BackdropDcCount());
}

// ---------------------------------------------------------------------------
// The same subclassing on the 32-bit target: pointer-sized window longs and
// properties, the previous procedure called through CallWindowProcA.

TEST(ButtonSubclassI686, RoundTripThroughTheButtonProcedure) {
    EnsureGdiplus();
    const int skinControls = SkinControls;
    SkinControls = 1;
    {
        ControlHost host;
        HWND push = host.Child("BUTTON", BS_DEFPUSHBUTTON, "push");
        const LONG_PTR original = GetWindowLongPtrA(push, GWLP_WNDPROC);
        SkinChildControls(host.number, host.window);
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(ButtonProc), GetWindowLongPtrA(push, GWLP_WNDPROC));
        EXPECT_EQ(original, GetPropValue(push, kPropPreviousProc));
        ButtonRecord* b = host.Button(push);
        ASSERT_NE(nullptr, b);
        EXPECT_EQ(original, reinterpret_cast<LONG_PTR>(b->PreviousProc));
        EXPECT_EQ(BS_OWNERDRAW, ButtonType(push));
        SetWindowTextA(push, "round trip");
        EXPECT_EQ("round trip", b->Text);
        EXPECT_EQ(static_cast<LRESULT>(strlen("round trip")),
                  SendMessageA(push, WM_GETTEXTLENGTH, 0, 0));
        SendMessageA(push, WM_SETFOCUS, 0, 0);
        EXPECT_EQ(1, b->Focused);
        SendMessageA(push, WM_KILLFOCUS, 0, 0);
        EXPECT_EQ(0, b->Focused);
        EXPECT_EQ(1, SendMessageA(push, WM_NCPAINT, 1, 0));
    }
    SkinControls = skinControls;
}

}  // namespace
