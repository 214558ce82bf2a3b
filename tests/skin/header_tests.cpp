// The header skin: headers on a window and the column headers of list views
// taken with their styles, the hover protocol (one repaint per item entered,
// family code 9, the divider zone between items, the look held while the
// button is down), hot and pressed looks by pixels, the content's alignment,
// the list view's last column stretched, the image list left to its owner,
// the teardown when the header goes, and the balance of every GDI and GDI+
// object over many repaints.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "gdiplus/gdip.h"
#include "skin/controls/header.h"
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

class HeaderTest : public ControlSkinTest {
protected:
    HeaderTest() : ControlSkinTest(0) {}

    static HeaderRecord* Record(const ControlHost& host, HWND header) {
        return host.record->Headers.Get<HeaderRecord>(
            static_cast<int>(GetPropValue(header, kPropNumber)));
    }
};

uint64_t WindowDcsTaken() {
    return vostrel::dll::CountObjects().created[vostrel::dll::kWindowDc];
}

int Position(HWND control) { return static_cast<int>(GetPropValue(control, kPropNumber)); }

int Redness(uint32_t rgb) {
    return static_cast<int>((rgb >> 16) & 0xFF) - static_cast<int>((rgb >> 8) & 0xFF);
}
int Lightness(uint32_t rgb) {
    return static_cast<int>(((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF));
}

void AddItem(HWND header, const char* text, int width, int format = HDF_LEFT | HDF_STRING,
             int image = -1) {
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.pszText = const_cast<char*>(text);
    item.cxy = width;
    item.fmt = format;
    if (image >= 0) {
        item.mask |= HDI_IMAGE;
        item.iImage = image;
        item.fmt |= HDF_IMAGE;
    }
    const auto count = SendMessageA(header, HDM_GETITEMCOUNT, 0, 0);
    SendMessageA(header, HDM_INSERTITEMA, static_cast<WPARAM>(count),
                 reinterpret_cast<LPARAM>(&item));
}

// A header of three 100-pixel items at (10, 40).
HWND ThreeItemHeader(const ControlHost& host, DWORD style = HDS_BUTTONS, int width = 300,
                     int height = 24) {
    HWND header = host.Child(WC_HEADERA, HDS_HORZ | style, "", 10, 40, width, height);
    AddItem(header, "", 100);
    AddItem(header, "", 100);
    AddItem(header, "", 100);
    return header;
}

HWND ReportListView(const ControlHost& host, DWORD style = 0, int width = 300) {
    HWND list = host.Child(WC_LISTVIEWA, LVS_REPORT | style, "", 10, 40, width, 120);
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>("");
    column.cx = 100;
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    return list;
}

HWND HeaderOf(HWND list) { return FindWindowExA(list, nullptr, WC_HEADERA, nullptr); }

std::unique_ptr<DibCanvas> Paint(const ControlHost& host, HWND header) {
    RECT r{};
    GetClientRect(header, &r);
    auto canvas = std::make_unique<DibCanvas>(r.right, r.bottom);
    canvas->Fill(0x00FF00);
    DrawHeader(host.number, Position(header), canvas->dc());
    GdiFlush();
    return canvas;
}

// A 16 x 16 image list holding one solid green picture; the caller owns it.
HIMAGELIST GreenImageList() {
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    for (int i = 0; i < 256; ++i) static_cast<uint32_t*>(bits)[i] = 0xFF00C000;
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);  // all black: all opaque
    ImageList_Add(list, colour, mask);
    DeleteObject(colour);
    DeleteObject(mask);
    return list;
}

// ---------------------------------------------------------------------------

TEST_F(HeaderTest, InstallerTakesHeadersOnTheWindowAndInsideListViews) {
    ControlHost host;
    HIMAGELIST images = GreenImageList();
    struct Row {
        const char* name;
        HWND header;
        int buttons;
    };
    HWND plain = ThreeItemHeader(host, 0);
    HWND buttons = ThreeItemHeader(host, HDS_BUTTONS);
    SendMessageA(buttons, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    HWND sorting = ReportListView(host);
    HWND fixed = ReportListView(host, LVS_NOSORTHEADER);
    const Row rows[] = {{"header", plain, 0},
                        {"header with buttons", buttons, 1},
                        {"list view", HeaderOf(sorting), 1},
                        {"list view without sorting", HeaderOf(fixed), 0}};
    InstallHeaders(host.number, host.window);
    int position = 0;
    for (const Row& row : rows) {
        ASSERT_NE(nullptr, row.header) << row.name;
        HeaderRecord* record = Record(host, row.header);
        ASSERT_NE(nullptr, record) << row.name;
        EXPECT_EQ(++position, Position(row.header)) << row.name;
        EXPECT_EQ(row.header, record->Handle) << row.name;
        EXPECT_EQ(row.buttons, record->Buttons) << row.name;
        EXPECT_EQ(host.number, GetPropValue(row.header, kPropOwnerNumber)) << row.name;
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(HeaderProc),
                  GetWindowLongPtrA(row.header, GWLP_WNDPROC)) << row.name;
        EXPECT_EQ(reinterpret_cast<INT_PTR>(record->PreviousProc),
                  GetPropValue(row.header, kPropPreviousProc)) << row.name;
        // Every header gets a font to draw its text with.
        EXPECT_FALSE(record->FaceName.empty()) << row.name;
        EXPECT_GT(record->FontSize, 0) << row.name;
    }
    EXPECT_EQ(images, Record(host, buttons)->ImageList);
    EXPECT_EQ(nullptr, Record(host, plain)->ImageList);
    // A second walk takes nothing again.
    InstallHeaders(host.number, host.window);
    EXPECT_EQ(4, host.record->Headers.Count());
    DestroyWindow(buttons);
    ImageList_Destroy(images);
}

TEST_F(HeaderTest, NothingIsTakenWhileControlsAreNotSkinned) {
    ControlHost host;
    HWND header = ThreeItemHeader(host);
    HWND list = ReportListView(host);
    SkinControls = 0;
    InstallHeaders(host.number, host.window);
    EXPECT_EQ(0, GetPropValue(header, kPropNumber));
    EXPECT_EQ(0, GetPropValue(HeaderOf(list), kPropNumber));
    EXPECT_EQ(nullptr, host.record->Headers.At(1)->Handle);
}

TEST_F(HeaderTest, HitTestLeavesOutTheDividerZone) {
    ControlHost host;
    HWND header = ThreeItemHeader(host);
    InstallHeaders(host.number, host.window);
    const int rows[][2] = {{0, 0},   {4, 0},   {5, 1},   {95, 1},   {96, 0},  {104, 0},
                           {105, 2}, {195, 2}, {205, 3}, {295, 3},  {296, 0}, {-20, 0},
                           {500, 0}};
    for (const auto& row : rows)
        EXPECT_EQ(row[1], HitHeaderItem(host.number, Position(header), MAKELPARAM(row[0], 5)))
            << row[0];
}

TEST_F(HeaderTest, HoverRepaintsOncePerItemEntered) {
    ControlHost host;
    host.Compose();
    HWND header = ThreeItemHeader(host, HDS_BUTTONS);
    HWND plain = ThreeItemHeader(host, 0);
    InstallHeaders(host.number, host.window);
    HeaderRecord* record = Record(host, header);
    struct Step {
        HWND header;
        int x;
        int repaints;
        int hotItem;
    } steps[] = {
        {header, 50, 1, 1},   // entry: the first item lights
        {header, 60, 0, 1},   // same item
        {header, 150, 1, 2},  // the next item
        {header, 101, 1, 0},  // the divider zone clears the hot look
        {header, 99, 0, 0},   // and stays clear inside it
        {header, 250, 1, 3},
        {plain, 50, 0, 1},    // without HDS_BUTTONS there is no look to show
        {plain, 150, 0, 2},
    };
    for (const Step& step : steps) {
        const uint64_t before = WindowDcsTaken();
        SendMessageA(step.header, WM_MOUSEMOVE, 0, MAKELPARAM(step.x, 5));
        EXPECT_EQ(step.repaints, static_cast<int>(WindowDcsTaken() - before)) << step.x;
        EXPECT_EQ(step.hotItem, Record(host, step.header)->HotItem) << step.x;
        EXPECT_EQ(step.hotItem != 0 ? 1 : 0, Record(host, step.header)->Hover) << step.x;
        EXPECT_EQ(kFamilyHeaders, host.record->HotFamily);
        EXPECT_EQ(Position(step.header), host.record->HotControl);
    }
    SendMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM(50, 5));
    const uint64_t before = WindowDcsTaken();
    SendMessageA(header, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(1u, WindowDcsTaken() - before);
    EXPECT_EQ(0, host.record->HotControl);
    EXPECT_EQ(0, record->HotItem);
    EXPECT_EQ(0, record->LastHotItem);
    EXPECT_EQ(0, record->Hover);
}

TEST_F(HeaderTest, HeldButtonKeepsTheHotAndPressedItem) {
    ControlHost host;
    host.Compose();
    HWND header = ThreeItemHeader(host, HDS_BUTTONS);
    InstallHeaders(host.number, host.window);
    HeaderRecord* record = Record(host, header);
    SendMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM(50, 5));
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 5));
    EXPECT_EQ(1, record->MouseDown);
    EXPECT_EQ(1, record->PressedItem);
    const uint64_t before = WindowDcsTaken();
    SendMessageA(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(150, 5));
    EXPECT_EQ(0u, WindowDcsTaken() - before);
    EXPECT_EQ(1, record->HotItem);
    EXPECT_EQ(1, record->PressedItem);
    SendMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(150, 5));
    EXPECT_EQ(0, record->MouseDown);
    EXPECT_EQ(0, record->PressedItem);
    // A press whose capture is taken away ends without a button-up.
    SendMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM(50, 5));
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 5));
    ASSERT_EQ(header, GetCapture());
    SetCapture(host.window);
    EXPECT_EQ(0, record->MouseDown);
    EXPECT_EQ(0, record->PressedItem);
    ReleaseCapture();
    // A press on the divider zone presses no item.
    SendMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM(101, 5));
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(101, 5));
    EXPECT_EQ(0, record->PressedItem);
    SendMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(101, 5));
}

TEST_F(HeaderTest, HotAndPressedLooksByPixels) {
    ControlHost host;
    host.Compose();
    HWND header = ThreeItemHeader(host, HDS_BUTTONS);
    HWND plain = ThreeItemHeader(host, 0);
    MoveWindow(plain, 10, 100, 300, 24, FALSE);
    InstallHeaders(host.number, host.window);
    const int top = 2, bottom = 21;
    auto normal = Paint(host, header);
    SendMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM(50, 5));
    auto hot = Paint(host, header);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 5));
    auto pressed = Paint(host, header);
    SendMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(50, 5));
    SendMessageA(header, WM_MOUSELEAVE, 0, 0);
    auto after = Paint(host, header);
    vostrel::test::SavePng(*normal, vostrel::test::ArtifactDir() + "/header_normal.png");
    vostrel::test::SavePng(*hot, vostrel::test::ArtifactDir() + "/header_hot.png");
    vostrel::test::SavePng(*pressed, vostrel::test::ArtifactDir() + "/header_pressed.png");
    // Hot: the theme at the top of the item, darker at its bottom.
    EXPECT_GT(Redness(hot->Pixel(50, top)), Redness(normal->Pixel(50, top)) + 15);
    EXPECT_LT(Lightness(hot->Pixel(50, bottom)), Lightness(normal->Pixel(50, bottom)) - 15);
    // Pressed: darker at the top, lighter at the bottom than the hot look.
    EXPECT_LT(Lightness(pressed->Pixel(50, top)), Lightness(hot->Pixel(50, top)) - 15);
    EXPECT_GT(Lightness(pressed->Pixel(50, bottom)), Lightness(hot->Pixel(50, bottom)) + 15);
    // The other items and the look after the pointer left are the normal ones.
    for (int y : {top, bottom}) {
        EXPECT_EQ(normal->Pixel(150, y), hot->Pixel(150, y)) << y;
        EXPECT_EQ(normal->Pixel(150, y), pressed->Pixel(150, y)) << y;
        EXPECT_EQ(normal->Pixel(50, y), after->Pixel(50, y)) << y;
    }
    // The background of the window does not show through the opaque ground.
    EXPECT_NE(0x00FF00u, normal->Pixel(50, top));
    // Without HDS_BUTTONS no look shows, whatever the pointer does.
    auto plainNormal = Paint(host, plain);
    SendMessageA(plain, WM_MOUSEMOVE, 0, MAKELPARAM(50, 5));
    SendMessageA(plain, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 5));
    auto plainPressed = Paint(host, plain);
    SendMessageA(plain, WM_LBUTTONUP, 0, MAKELPARAM(50, 5));
    for (int y : {top, bottom})
        EXPECT_EQ(plainNormal->Pixel(50, y), plainPressed->Pixel(50, y)) << y;
    // The two kinds have their own grounds: white to theme, theme fading.
    EXPECT_NE(plainNormal->Pixel(50, top), normal->Pixel(50, top));
}

TEST_F(HeaderTest, DividerAndTheGroundRightOfTheLastItem) {
    ControlHost host;
    host.Compose();
    HWND header = host.Child(WC_HEADERA, HDS_HORZ | HDS_BUTTONS, "", 10, 40, 300, 24);
    AddItem(header, "", 100);
    HWND list = ReportListView(host, 0, 300);
    MoveWindow(list, 10, 100, 300, 120, FALSE);
    InstallHeaders(host.number, host.window);
    auto direct = Paint(host, header);
    // The divider is the item's last column, darkest at the top.
    EXPECT_LT(Lightness(direct->Pixel(99, 1)), Lightness(direct->Pixel(60, 1)) - 20);
    // Right of the last item: the ground without a divider.
    EXPECT_NE(0x00FF00u, direct->Pixel(250, 10));
    EXPECT_TRUE(ColourNear(direct->Pixel(60, 10), direct->Pixel(250, 10), 2))
        << std::hex << direct->Pixel(60, 10) << " " << direct->Pixel(250, 10);
    // In a list view the last column reaches the right edge: its divider
    // moves there.
    HWND inside = HeaderOf(list);
    RECT client{};
    GetClientRect(list, &client);
    auto stretched = Paint(host, inside);
    vostrel::test::SavePng(*stretched, vostrel::test::ArtifactDir() + "/header_list_view.png");
    EXPECT_TRUE(ColourNear(stretched->Pixel(60, 1), stretched->Pixel(99, 1), 2));
    EXPECT_LT(Lightness(stretched->Pixel(client.right - 1, 1)),
              Lightness(stretched->Pixel(60, 1)) - 20);
}

TEST_F(HeaderTest, ImageSitsWhereTheItemsAlignmentPutsIt) {
    ControlHost host;
    host.Compose();
    HIMAGELIST images = GreenImageList();
    HWND header = host.Child(WC_HEADERA, HDS_HORZ | HDS_BUTTONS, "", 10, 40, 300, 24);
    SendMessageA(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    AddItem(header, "", 100, HDF_LEFT, 0);
    AddItem(header, "", 100, HDF_CENTER, 0);
    AddItem(header, "", 100, HDF_RIGHT, 0);
    InstallHeaders(host.number, host.window);
    const int margin = static_cast<int>(SendMessageA(header, HDM_GETBITMAPMARGIN, 0, 0));
    auto canvas = Paint(host, header);
    vostrel::test::SavePng(*canvas, vostrel::test::ArtifactDir() + "/header_images.png");
    // An empty text measures 1 pixel wide.
    const int tw = 1;
    struct Row {
        const char* name;
        int itemLeft, x0;
    } rows[] = {{"left", 0, margin},
                {"centre", 100, (100 - 16 - margin - tw) / 2},
                {"right", 200, 100 - 16 - tw}};
    auto green = [](uint32_t rgb) { return ColourNear(rgb, 0x00C000, 24); };
    for (const Row& row : rows) {
        const int x = row.itemLeft + row.x0;
        EXPECT_TRUE(green(canvas->Pixel(x + 1, 12))) << row.name << std::hex << " " << canvas->Pixel(x + 1, 12);
        EXPECT_TRUE(green(canvas->Pixel(x + 14, 12))) << row.name;
        EXPECT_FALSE(green(canvas->Pixel(x - 2, 12))) << row.name;
        EXPECT_FALSE(green(canvas->Pixel(x + 17, 12))) << row.name;
        EXPECT_TRUE(green(canvas->Pixel(x + 8, (24 - 16) / 2))) << row.name;
    }
    DestroyWindow(header);
    ImageList_Destroy(images);
}

TEST_F(HeaderTest, TextThatDoesNotFitStaysOnOneLine) {
    ControlHost host;
    host.Compose();
    HWND header = host.Child(WC_HEADERA, HDS_HORZ | HDS_BUTTONS, "", 10, 40, 300, 44);
    AddItem(header, "一二三四五六七八九十", 70);
    AddItem(header, "名称", 100);
    InstallHeaders(host.number, host.window);
    auto canvas = Paint(host, header);
    vostrel::test::SavePng(*canvas, vostrel::test::ArtifactDir() + "/header_text.png");
    auto dark = [&](int x0, int x1, int y0, int y1) {
        int count = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) count += Lightness(canvas->Pixel(x, y)) < 300;
        return count;
    };
    // Text in the first line of both items, nothing below it (the divider
    // column left out).
    EXPECT_GT(dark(0, 68, 0, 20), 10);
    EXPECT_GT(dark(100, 198, 0, 20), 10);
    EXPECT_EQ(0, dark(0, 68, 22, 44));
}

// Reads the control's whole window from the screen: the window must be shown.
std::unique_ptr<DibCanvas> Screen(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    auto canvas = std::make_unique<DibCanvas>(r.right - r.left, r.bottom - r.top);
    HDC dc = GetWindowDC(control);
    BitBlt(canvas->dc(), 0, 0, r.right - r.left, r.bottom - r.top, dc, 0, 0, SRCCOPY);
    ReleaseDC(control, dc);
    GdiFlush();
    return canvas;
}

// On a shown window the class's own painting never shows: what reaches the
// screen after the paint messages and a click is the skin's drawing.
TEST_F(HeaderTest, ScreenShowsTheSkinAfterPaintAndClick) {
    ControlHost host(WS_VISIBLE, 340, 200);
    host.Compose();
    HWND list = ReportListView(host, 0, 300);
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>("名称");
    column.cx = 120;
    SendMessageA(list, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
    InstallHeaders(host.number, host.window);
    HWND header = HeaderOf(list);
    RedrawWindow(host.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    FlushEvents(50);
    auto shown = Screen(header);
    auto expected = Paint(host, header);
    vostrel::test::SavePng(*shown, vostrel::test::ArtifactDir() + "/header_screen.png");
    for (int x : {5, 50, 99, 150, 250})
        for (int y : {2, 10}) EXPECT_EQ(expected->Pixel(x, y), shown->Pixel(x, y)) << x << "," << y;
    SendMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM(50, 5));
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 5));
    auto pressed = Screen(header);
    auto pressedExpected = Paint(host, header);
    SendMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(50, 5));
    for (int x : {5, 50, 150})
        for (int y : {2, 10})
            EXPECT_EQ(pressedExpected->Pixel(x, y), pressed->Pixel(x, y)) << x << "," << y;
    EXPECT_NE(expected->Pixel(50, 2), pressed->Pixel(50, 2));
    ShowWindow(host.window, SW_HIDE);
}

TEST_F(HeaderTest, ClassHotTrackingNeverPaintsOverTheSkin) {
    ControlHost host(WS_VISIBLE, 340, 100);
    host.Compose();
    HWND header = ThreeItemHeader(host, HDS_BUTTONS | HDS_HOTTRACK);
    InstallHeaders(host.number, host.window);
    EXPECT_EQ(1, Record(host, header)->Buttons);
    RedrawWindow(host.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    FlushEvents(50);
    // The class tracks its own hot item, which changes at the border of two
    // items inside the skin's divider zone; whatever it repaints for that
    // goes through the skin, so the screen always shows the skin's look.
    for (int x : {50, 98, 102, 150, 202}) {
        SendMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM(x, 5));
        auto shown = Screen(header);
        auto expected = Paint(host, header);
        for (int px : {20, 50, 120, 150, 250})
            EXPECT_EQ(expected->Pixel(px, 3), shown->Pixel(px, 3)) << "at " << x << ": " << px;
    }
    ShowWindow(host.window, SW_HIDE);
}

// A header never owns its image list: the list view (or the application that
// gave it the list) frees it. The list stays usable after the header goes.
TEST_F(HeaderTest, ImageListOutlivesTheHeader) {
    struct Row {
        const char* name;
        bool listView;
        DWORD listStyle;
        bool destroyListView;  // else only the header
        bool ownedByTest;
    } rows[] = {
        {"header on the window", false, 0, false, true},
        {"header of a list view sharing its list", true, LVS_SHAREIMAGELISTS, true, true},
        {"header of a list view, the header alone destroyed", true, 0, false, false},
    };
    for (const Row& row : rows) {
        ControlHost host;
        HIMAGELIST images = GreenImageList();
        HWND list = nullptr, header = nullptr;
        if (row.listView) {
            list = ReportListView(host, row.listStyle);
            SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
            header = HeaderOf(list);
        } else {
            header = ThreeItemHeader(host);
            SendMessageA(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
        }
        InstallHeaders(host.number, host.window);
        ASSERT_NE(nullptr, Record(host, header)) << row.name;
        EXPECT_EQ(images, Record(host, header)->ImageList) << row.name;
        DestroyWindow(row.destroyListView ? list : header);
        EXPECT_EQ(1, ImageList_GetImageCount(images)) << row.name;
        HICON icon = ImageList_GetIcon(images, 0, ILD_TRANSPARENT);
        EXPECT_NE(nullptr, icon) << row.name;
        if (icon) DestroyIcon(icon);
        if (row.ownedByTest) {
            EXPECT_TRUE(ImageList_Destroy(images)) << row.name;
        } else {
            EXPECT_EQ(images, reinterpret_cast<HIMAGELIST>(
                                  SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0)))
                << row.name;
        }
    }
}

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

TEST_F(HeaderTest, DestroyedHeaderTakesItsSubclassingAlong) {
    ControlHost host;
    HWND header = ThreeItemHeader(host);
    g_classProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(header, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc)));
    InstallHeaders(host.number, host.window);
    SendMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM(50, 5));
    ASSERT_EQ(1, host.record->HotControl);
    g_teardown = {};
    DestroyWindow(header);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(RecordingProc), g_teardown.procedureAtEnd);
    EXPECT_EQ(0, g_teardown.number);
    EXPECT_EQ(0, g_teardown.owner);
    EXPECT_EQ(0, g_teardown.previous);
    EXPECT_EQ(nullptr, host.record->Headers.At(1)->Handle);
    EXPECT_EQ(0, host.record->HotControl);
    const uint64_t before = WindowDcsTaken();
    DrawHeader(host.number, 1);
    EXPECT_EQ(0u, WindowDcsTaken() - before);
}

TEST_F(HeaderTest, OutOfRangeNumbersDoNothing) {
    ControlHost host;
    host.Compose();
    HWND header = ThreeItemHeader(host);
    InstallHeaders(host.number, host.window);
    struct Row {
        int n, k;
    } rows[] = {{0, 1}, {-1, 1}, {host.number + 1, 1}, {host.number, 0}, {host.number, 2},
                {host.number, -3}};
    DibCanvas canvas(300, 24);
    canvas.Fill(0x00FF00);
    const uint64_t before = WindowDcsTaken();
    for (const Row& row : rows) {
        DrawHeader(row.n, row.k, canvas.dc());
        DrawHeader(row.n, row.k);
        EXPECT_EQ(0, HitHeaderItem(row.n, row.k, MAKELPARAM(50, 5))) << row.n << "," << row.k;
    }
    EXPECT_EQ(0u, WindowDcsTaken() - before);
    EXPECT_EQ(0x00FF00u, canvas.Pixel(50, 10));
    EXPECT_EQ(1, HitHeaderItem(host.number, Position(header), MAKELPARAM(50, 5)));
    InstallHeaders(host.number + 1, host.window);
    InstallHeaders(host.number, nullptr);
    EXPECT_EQ(1, host.record->Headers.Count());
}

TEST_F(HeaderTest, HundredPaintAndHoverRoundsLeaveEveryBalanceUnchanged) {
    ControlHost host;
    host.Compose();
    HIMAGELIST images = GreenImageList();
    HWND header = host.Child(WC_HEADERA, HDS_HORZ | HDS_BUTTONS, "", 10, 40, 200, 24);
    SendMessageA(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    AddItem(header, "名称", 100, HDF_LEFT | HDF_STRING, 0);
    AddItem(header, "Size", 100, HDF_RIGHT | HDF_STRING);
    HWND list = ReportListView(host);
    MoveWindow(list, 10, 100, 200, 100, FALSE);
    InstallHeaders(host.number, host.window);
    HWND inside = HeaderOf(list);
    auto round = [&] {
        for (HWND h : {header, inside}) {
            SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(50, 5));
            SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 5));
            SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(50, 5));
            SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(150, 5));
            SendMessageA(h, WM_MOUSELEAVE, 0, 0);
            SendMessageA(h, WM_PAINT, 0, 0);
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
    DestroyWindow(header);
    ImageList_Destroy(images);
}

}  // namespace
