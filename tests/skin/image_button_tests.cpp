// Image buttons and image-and-text buttons: what the two operations make of a
// button (record, subclassing, properties, tool tip), their faces by pixels
// in each state and layout, bad picture bytes, the container tint and text
// colour operations, and the balance of every object over many repaints.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "gdiplus/gdip.h"
#include "skin/controls/child_controls.h"
#include "skin/controls/image_button.h"
#include "skin/core/primitives.h"
#include "skin/core/window_skin.h"
#include "control_host.h"
#include "skinned_window.h"
#include "test_support.h"

using namespace vostrel::skin;
using vostrel::skin::test::ControlHost;
using vostrel::skin::test::ControlSkinTest;
using vostrel::skin::test::g_host;
using vostrel::skin::test::GlobalSettingsGuard;
using vostrel::skin::test::kBack;
using vostrel::skin::test::kTheme;
using vostrel::skin::test::MakePng;
using vostrel::skin::test::TestSkin;
using vostrel::test::ColourNear;
using vostrel::test::DibCanvas;
using vostrel::test::FlushEvents;

namespace {

// Backdrop colour as a pixel (kBack is RGB(0x10, 0x20, 0x30)).
constexpr uint32_t kBackPixel = 0x102030;
// Picture colours as pixels, and as the ARGB that makes them.
constexpr uint32_t kNormalPixel = 0x0000FF;   // blue
constexpr uint32_t kHoverPixel = 0x00FF00;    // green
constexpr uint32_t kPressedPixel = 0xFFFF00;  // yellow
constexpr uint32_t kDisabledPixel = 0x808080; // grey

Bytes SolidPng(uint32_t rgb, int size = 16) {
    return MakePng(size, size, [rgb](int, int) { return 0xFF000000u | rgb; });
}

const Bytes kNotAPicture = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'};

class ImageButtonTest : public ControlSkinTest {
protected:
    void SetUp() override {
        ControlSkinTest::SetUp();
        host_.Compose();
    }

    // The face of a registered image kind in a state, on a white canvas.
    std::unique_ptr<DibCanvas> Face(HWND button, UINT state, int w, int h) {
        auto canvas = std::make_unique<DibCanvas>(w, h);
        canvas->Fill(0xFFFFFF);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.hwndItem = button;
        item.hDC = canvas->dc();
        item.itemState = state;
        item.rcItem = RECT{0, 0, w, h};
        EXPECT_TRUE(DrawButtonItem(host_.number, item));
        GdiFlush();
        return canvas;
    }

    void Save(const DibCanvas& canvas, const std::string& name) {
        vostrel::test::SavePng(canvas, vostrel::test::ArtifactDir() + "/" + name + ".png");
    }

    ControlHost host_;
};

// ---------------------------------------------------------------------------
// The operations.

TEST_F(ImageButtonTest, UnregisteredButtonIsSubclassedWithItsPreviousProcedureKept) {
    HWND button = host_.Child("BUTTON", BS_PUSHBUTTON, "图片", 20, 20, 40, 40);
    const LONG_PTR original = GetWindowLongPtrA(button, GWLP_WNDPROC);
    ASSERT_EQ(1, TestSkin().MakeImageButton(button, SolidPng(kNormalPixel), {}, {}, {}, ""));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(ButtonProc), GetWindowLongPtrA(button, GWLP_WNDPROC));
    EXPECT_EQ(original, GetPropValue(button, kPropPreviousProc));
    EXPECT_EQ(host_.number, GetPropValue(button, kPropOwnerNumber));
    EXPECT_EQ(1, GetPropValue(button, kPropNumber));
    ButtonRecord* record = host_.Button(button);
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(kImageButton, record->Kind);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(original), record->PreviousProc);
    EXPECT_EQ("图片", record->Text);
    EXPECT_EQ(BS_OWNERDRAW, GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK);
    // Messages the skin does not consume reach the button class.
    SetWindowTextA(button, "新");
    char text[8]{};
    GetWindowTextA(button, text, sizeof text);
    EXPECT_STREQ("新", text);
    EXPECT_EQ("新", record->Text);
}

TEST_F(ImageButtonTest, RegisteredButtonKeepsItsRecordAndSubclassing) {
    HWND first = host_.Child("BUTTON", BS_PUSHBUTTON, "a", 10, 10);
    HWND button = host_.Child("BUTTON", BS_PUSHBUTTON, "b", 10, 50);
    SkinChildControls(host_.number, host_.window);
    const INT_PTR previous = GetPropValue(button, kPropPreviousProc);
    const int position = static_cast<int>(GetPropValue(button, kPropNumber));
    ASSERT_EQ(1, TestSkin().MakeImageTextButton(button, SolidPng(kNormalPixel), 1, ""));
    EXPECT_EQ(2, host_.record->Buttons.Count()) << "no second record";
    EXPECT_EQ(position, GetPropValue(button, kPropNumber));
    EXPECT_EQ(previous, GetPropValue(button, kPropPreviousProc));
    EXPECT_NE(reinterpret_cast<INT_PTR>(ButtonProc), previous);
    ButtonRecord* record = host_.Button(button);
    EXPECT_EQ(kImageTextButton, record->Kind);
    EXPECT_EQ(1, record->ImageLayout);
    EXPECT_EQ(kPushButton, host_.Button(first)->Kind);
    // Made again as an image button: the same record changes kind.
    ASSERT_EQ(1, TestSkin().MakeImageButton(button, SolidPng(kNormalPixel), {}, {}, {}, ""));
    EXPECT_EQ(kImageButton, host_.Button(button)->Kind);
    EXPECT_EQ(2, host_.record->Buttons.Count());
}

TEST_F(ImageButtonTest, HandlesThatAreNoButtonOfASkinnedWindowAreRefused) {
    HWND orphanParent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr,
                                        nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND orphan = CreateWindowExA(0, "BUTTON", "", WS_CHILD | BS_PUSHBUTTON, 0, 0, 20, 20,
                                  orphanParent, nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND edit = host_.Child("EDIT", 0, "");
    HWND gone = host_.Child("BUTTON", BS_PUSHBUTTON, "");
    DestroyWindow(gone);
    const Bytes png = SolidPng(kNormalPixel);
    for (HWND h : {static_cast<HWND>(nullptr), orphan, edit, gone, host_.window}) {
        EXPECT_EQ(0, TestSkin().MakeImageButton(h, png, png, png, png, "tip")) << h;
        EXPECT_EQ(0, TestSkin().MakeImageTextButton(h, png, 1, "tip")) << h;
    }
    EXPECT_EQ(0, GetPropValue(orphan, kPropNumber));
    EXPECT_EQ(0, GetPropValue(edit, kPropPreviousProc));
    EXPECT_EQ(1, host_.record->Buttons.Count());
    EXPECT_EQ(nullptr, host_.record->Buttons.At(1)->Handle);
    DestroyWindow(orphanParent);
}

TEST_F(ImageButtonTest, ToolTipIsGivenUpdatedAndDestroyedWithTheButton) {
    HWND button = host_.Child("BUTTON", BS_PUSHBUTTON, "", 20, 20, 40, 40);
    const Bytes png = SolidPng(kNormalPixel);
    ASSERT_EQ(1, TestSkin().MakeImageButton(button, png, {}, {}, {}, "打开"));
    ButtonRecord* record = host_.Button(button);
    HWND tip = record->Tooltip.Window();
    ASSERT_TRUE(IsWindow(tip));
    EXPECT_EQ(button, record->Tooltip.Owner());
    EXPECT_EQ(1, SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0));
    auto toolText = [&] {
        char text[64]{};
        TTTOOLINFOA info{};
        info.cbSize = TTTOOLINFOA_V1_SIZE;
        info.hwnd = button;
        info.uId = 1;
        info.lpszText = text;
        SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
        return std::string(text);
    };
    EXPECT_EQ("打开", toolText());
    // A second call updates the one tool; an empty text leaves it alone.
    ASSERT_EQ(1, TestSkin().MakeImageButton(button, png, {}, {}, {}, "关闭"));
    EXPECT_EQ(tip, record->Tooltip.Window());
    EXPECT_EQ(1, SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0));
    EXPECT_EQ("关闭", toolText());
    ASSERT_EQ(1, TestSkin().MakeImageTextButton(button, png, 0, ""));
    EXPECT_EQ("关闭", toolText());
    // The button goes before its window: its tool tip goes with it.
    DestroyWindow(button);
    EXPECT_FALSE(IsWindow(tip));
}

TEST_F(ImageButtonTest, ToolTipGoesWithTheWindowRecord) {
    HWND tip = nullptr;
    {
        ControlHost other;
        HWND button = other.Child("BUTTON", BS_PUSHBUTTON, "", 20, 20, 40, 40);
        ASSERT_EQ(1, TestSkin().MakeImageTextButton(button, SolidPng(kNormalPixel), 1, "提示"));
        tip = other.Button(button)->Tooltip.Window();
        ASSERT_TRUE(IsWindow(tip));
        // The record goes while the button still lives.
        ForgetSkinnedWindow(other.window);
        EXPECT_FALSE(IsWindow(tip));
        // The button, no longer skinned, still works through its own class.
        SetWindowTextA(button, "x");
        char text[4]{};
        GetWindowTextA(button, text, sizeof text);
        EXPECT_STREQ("x", text);
    }
    // The host fixture's window number is still valid (the other one came
    // after it).
    EXPECT_EQ(host_.record, RecordOf(host_.number));
}

// ---------------------------------------------------------------------------
// Image button faces by pixels: a 16 x 16 picture drawn at (2, 2).

struct ImageFaceCase {
    const char* name;
    bool allPictures;     // hover, pressed and disabled pictures given
    UINT state;
    uint32_t inPicture;   // pixel (10, 10)
    uint32_t frame;       // pixel (0, 10): the frame line, or the backdrop
    int frameTolerance;
};

TEST_F(ImageButtonTest, ImageButtonFacesByState) {
    HWND full = host_.Child("BUTTON", BS_PUSHBUTTON, "", 20, 20, 40, 40);
    HWND plain = host_.Child("BUTTON", BS_PUSHBUTTON, "", 80, 20, 40, 40);
    ASSERT_EQ(1, TestSkin().MakeImageButton(full, SolidPng(kNormalPixel), SolidPng(kHoverPixel),
                                            SolidPng(kPressedPixel), SolidPng(kDisabledPixel),
                                            ""));
    ASSERT_EQ(1, TestSkin().MakeImageButton(plain, SolidPng(kNormalPixel), {}, {}, {}, ""));
    const ImageFaceCase rows[] = {
        {"normal", true, 0, kNormalPixel, kBackPixel, 0},
        {"hover picture", true, 0x40, kHoverPixel, kBackPixel, 0},
        {"pressed picture", true, ODS_SELECTED, kPressedPixel, kBackPixel, 0},
        {"disabled picture", true, ODS_DISABLED, kDisabledPixel, kBackPixel, 0},
        // Disabled wins over hover and pressed; hover over pressed.
        {"disabled and hover", true, ODS_DISABLED | 0x40, kDisabledPixel, kBackPixel, 0},
        {"hover and pressed", true, 0x40 | ODS_SELECTED, kHoverPixel, kBackPixel, 0},
        // Focus has no look of its own.
        {"focus", true, ODS_FOCUS, kNormalPixel, kBackPixel, 0},
        // Only a normal picture: the normal picture inside a frame of the state.
        {"plain normal", false, 0, kNormalPixel, kBackPixel, 0},
        // The theme's red line, partly covered by the frame's fill.
        {"plain hover", false, 0x40, kNormalPixel, 0xEE3636, 0x18},
        {"plain pressed", false, ODS_SELECTED, kNormalPixel, 0xEE3636, 0x18},
    };
    for (const ImageFaceCase& row : rows) {
        auto canvas = Face(row.allPictures ? full : plain, row.state, 40, 40);
        EXPECT_EQ(row.inPicture, canvas->Pixel(10, 10)) << row.name;
        const uint32_t frame = canvas->Pixel(0, 10);
        EXPECT_TRUE(ColourNear(row.frame, frame, row.frameTolerance))
            << row.name << ": frame " << std::hex << frame;
        // Outside the picture and its frame: the window backdrop.
        EXPECT_EQ(kBackPixel, canvas->Pixel(30, 30)) << row.name;
    }
}

TEST_F(ImageButtonTest, NewPicturesReplaceTheFacesDrawnBefore) {
    HWND button = host_.Child("BUTTON", BS_PUSHBUTTON, "", 20, 20, 40, 40);
    ASSERT_EQ(1, TestSkin().MakeImageButton(button, SolidPng(kNormalPixel), SolidPng(kHoverPixel),
                                            {}, {}, ""));
    EXPECT_EQ(kNormalPixel, Face(button, 0, 40, 40)->Pixel(10, 10));
    EXPECT_EQ(kHoverPixel, Face(button, 0x40, 40, 40)->Pixel(10, 10));
    ASSERT_EQ(1, TestSkin().MakeImageButton(button, SolidPng(kPressedPixel), {}, {}, {}, ""));
    EXPECT_EQ(kPressedPixel, Face(button, 0, 40, 40)->Pixel(10, 10));
    EXPECT_EQ(kPressedPixel, Face(button, 0x40, 40, 40)->Pixel(10, 10)) << "inside the frame";
    // The same button as an image-and-text button: its own face, not the old one.
    ASSERT_EQ(1, TestSkin().MakeImageTextButton(button, SolidPng(kHoverPixel), 1, ""));
    EXPECT_EQ(kHoverPixel, Face(button, 0, 40, 40)->Pixel(20, 20));
}

TEST_F(ImageButtonTest, FramesWithoutStatePicturesDifferByState) {
    HWND plain = host_.Child("BUTTON", BS_PUSHBUTTON, "", 80, 20, 40, 40);
    ASSERT_EQ(1, TestSkin().MakeImageButton(plain, SolidPng(kNormalPixel), {}, {}, {}, ""));
    auto hover = Face(plain, 0x40, 40, 40);
    auto pressed = Face(plain, ODS_SELECTED, 40, 40);
    auto disabled = Face(plain, ODS_DISABLED, 40, 40);
    Save(*hover, "image_button_hover_frame");
    Save(*pressed, "image_button_pressed_frame");
    Save(*disabled, "image_button_disabled_frame");
    auto brightness = [](uint32_t c) {
        return static_cast<int>(((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF));
    };
    // Inside the frame, above the picture: light on hover, dark when pressed.
    const uint32_t h = hover->Pixel(10, 1), p = pressed->Pixel(10, 1), d = disabled->Pixel(10, 1);
    EXPECT_GT(brightness(h), brightness(p) + 150) << std::hex << h << " " << p;
    // Disabled: a grey frame, not the theme's red, and not the bare backdrop.
    EXPECT_NE(kBackPixel, d);
    EXPECT_LT(static_cast<int>((d >> 16) & 0xFF) - static_cast<int>(d & 0xFF), 30)
        << std::hex << d;
    EXPECT_EQ(kNormalPixel, disabled->Pixel(10, 10));
    // The frames are the picture's size plus 3 (hover, pressed) or 2 (disabled).
    EXPECT_EQ(kBackPixel, hover->Pixel(21, 10));
    EXPECT_NE(kBackPixel, hover->Pixel(19, 10));
}

TEST_F(ImageButtonTest, BytesThatAreNoPictureDrawTheFaceWithoutIt) {
    HWND button = host_.Child("BUTTON", BS_PUSHBUTTON, "", 20, 20, 40, 40);
    HWND text = host_.Child("BUTTON", BS_PUSHBUTTON, "文字", 20, 70, 100, 40);
    ASSERT_EQ(1, TestSkin().MakeImageButton(button, kNotAPicture, kNotAPicture, Bytes{0x89, 'P'},
                                            kNotAPicture, ""));
    ASSERT_EQ(1, TestSkin().MakeImageTextButton(text, kNotAPicture, 1, ""));
    auto drawAll = [&] {
        for (UINT state : {0u, 0x40u, static_cast<UINT>(ODS_SELECTED),
                           static_cast<UINT>(ODS_DISABLED), static_cast<UINT>(ODS_FOCUS)}) {
            auto canvas = Face(button, state, 40, 40);
            EXPECT_EQ(kBackPixel, canvas->Pixel(10, 10)) << state;
            auto withText = Face(text, state, 100, 40);
            EXPECT_NE(0xFFFFFFu, withText->Pixel(50, 30)) << "the face was drawn";
        }
    };
    drawAll();
    const auto start = vostrel::dll::CountObjects();
    // Made again (the faces kept for repaints go), every face is drawn anew.
    ASSERT_EQ(1, TestSkin().MakeImageButton(button, kNotAPicture, kNotAPicture, Bytes{0x89, 'P'},
                                            kNotAPicture, ""));
    ASSERT_EQ(1, TestSkin().MakeImageTextButton(text, kNotAPicture, 1, ""));
    drawAll();
    // The pictures that failed to decode left nothing behind.
    EXPECT_EQ("", vostrel::dll::ObjectChangesSince(start));
}

// ---------------------------------------------------------------------------
// Image-and-text buttons.

struct LayoutCase {
    const char* name;
    int layout;
    const char* text;
    int w, h;
    int pictureX, pictureY;  // a pixel inside the picture
    int emptyX, emptyY;      // a pixel with no picture (backdrop or text)
    int textTop, textBottom, textLeft, textRight;  // where the text must show
};

TEST_F(ImageButtonTest, ImageAndTextLayouts) {
    const LayoutCase rows[] = {
        // Layout 1: side = 0.8 x 40 = 32 at (3, 4); the text right of it.
        {"image left", 1, "文字", 120, 40, 19, 20, 60, 3, 2, 38, 40, 120},
        // Layout 1 without text: the picture centred at (44, 4).
        {"image centred", 1, "", 120, 40, 60, 20, 19, 20, 0, 0, 0, 0},
        // Layout 0: side = 0.8 x (60 - 12 - 2) = 36 at (42, 3); text below.
        {"image above", 0, "文字", 120, 60, 60, 20, 20, 20, 41, 60, 0, 120},
    };
    for (const LayoutCase& row : rows) {
        HWND button = host_.Child("BUTTON", BS_PUSHBUTTON, row.text, 10, 10, row.w, row.h);
        ASSERT_EQ(1, TestSkin().MakeImageTextButton(button, SolidPng(kNormalPixel), row.layout, ""));
        ButtonRecord* record = host_.Button(button);
        record->FaceName = "宋体";
        record->FontSize = 12;
        TestSkin().SetControlTextColour(button, 0xFFFFFF);
        auto canvas = Face(button, 0, row.w, row.h);
        Save(*canvas, std::string("image_text_") + std::to_string(row.layout) +
                          (row.text[0] ? "_text" : "_empty"));
        EXPECT_EQ(kNormalPixel, canvas->Pixel(row.pictureX, row.pictureY)) << row.name;
        EXPECT_NE(kNormalPixel, canvas->Pixel(row.emptyX, row.emptyY)) << row.name;
        // Normal state: no face of its own, only picture and text.
        EXPECT_EQ(kBackPixel, canvas->Pixel(1, 1)) << row.name;
        if (row.textBottom > row.textTop) {
            int light = 0;
            for (int y = row.textTop; y < row.textBottom; ++y)
                for (int x = row.textLeft; x < row.textRight; ++x)
                    if (((canvas->Pixel(x, y) >> 8) & 0xFF) > 0x80) ++light;
            EXPECT_GT(light, 10) << row.name << ": the white text";
        }
        DestroyWindow(button);
    }
}

TEST_F(ImageButtonTest, ImageAndTextHighlightsByState) {
    HWND button = host_.Child("BUTTON", BS_PUSHBUTTON, "", 10, 10, 100, 40);
    ASSERT_EQ(1, TestSkin().MakeImageTextButton(button, SolidPng(kNormalPixel), 1, ""));
    struct Row {
        const char* name;
        UINT state;
        bool lit;  // pixel (10, 10) lighter than the backdrop
    } rows[] = {
        {"normal", 0, false},
        {"pressed has no look of its own", ODS_SELECTED, false},
        {"focus", ODS_FOCUS, true},
        {"hover", 0x40, true},
    };
    for (const Row& row : rows) {
        auto canvas = Face(button, row.state, 100, 40);
        const uint32_t c = canvas->Pixel(10, 10);
        EXPECT_EQ(row.lit, (c & 0xFF) > 0x50) << row.name << " " << std::hex << c;
    }
    // Hover adds the bright line near the bottom, strongest in the middle.
    auto hover = Face(button, 0x40, 100, 40), focus = Face(button, ODS_FOCUS, 100, 40);
    Save(*hover, "image_text_hover");
    EXPECT_GT(hover->Pixel(50, 36) & 0xFF, focus->Pixel(50, 36) & 0xFF);
    EXPECT_GT(hover->Pixel(50, 36) & 0xFF, hover->Pixel(5, 36) & 0xFF);
    // Disabled: a grey shade over the backdrop, no highlight.
    auto disabled = Face(button, ODS_DISABLED, 100, 40);
    EXPECT_NE(kBackPixel, disabled->Pixel(10, 6));
    EXPECT_LT(disabled->Pixel(10, 6) & 0xFF, 0x60u);
}

// ---------------------------------------------------------------------------
// The hover protocol through ButtonProc.

TEST_F(ImageButtonTest, HoverRepaintsOncePerEntryThroughTheImageFace) {
    HWND button = host_.Child("BUTTON", BS_PUSHBUTTON, "", 20, 20, 40, 40);
    ASSERT_EQ(1, TestSkin().MakeImageButton(button, SolidPng(kNormalPixel), SolidPng(kHoverPixel),
                                            {}, {}, ""));
    auto dcsTaken = [] { return vostrel::dll::CountObjects().created[vostrel::dll::kWindowDc]; };
    const auto before = dcsTaken();
    for (int i = 0; i < 3; ++i) SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(1u, dcsTaken() - before);
    EXPECT_EQ(1, host_.record->HotControl);
    SendMessageA(button, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(2u, dcsTaken() - before);
    EXPECT_EQ(0, host_.record->HotControl);
    FlushEvents();
}

TEST_F(ImageButtonTest, TheSystemsStatesReachTheFaceOnTheScreen) {
    // A shown window: the button class itself asks for each face.
    ControlHost shown(WS_VISIBLE, 200, 100);
    shown.Compose();
    HWND button = shown.Child("BUTTON", BS_PUSHBUTTON, "", 20, 20, 40, 40);
    ASSERT_EQ(1, TestSkin().MakeImageButton(button, SolidPng(kNormalPixel), SolidPng(kHoverPixel),
                                            SolidPng(kPressedPixel), SolidPng(kDisabledPixel),
                                            ""));
    auto onScreen = [&] {
        FlushEvents(30);
        HDC dc = GetDC(button);
        const COLORREF c = GetPixel(dc, 10, 10);
        ReleaseDC(button, dc);
        return static_cast<uint32_t>((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
    };
    EXPECT_EQ(kNormalPixel, onScreen());
    SendMessageA(button, BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(kPressedPixel, onScreen());
    SendMessageA(button, BM_SETSTATE, FALSE, 0);
    EXPECT_EQ(kNormalPixel, onScreen());
    SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(kHoverPixel, onScreen());
    SendMessageA(button, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(kNormalPixel, onScreen());
    EnableWindow(button, FALSE);
    EXPECT_EQ(kDisabledPixel, onScreen());
    g_host.number = host_.number;
}

// ---------------------------------------------------------------------------
// The other operations.

TEST_F(ImageButtonTest, ContainerTintAlphaChangesTheTintOfItsChildrensBackdrops) {
    HWND box = host_.Child("BUTTON", BS_GROUPBOX, "", 10, 10, 200, 120);
    HWND inside = host_.Child("BUTTON", BS_PUSHBUTTON, "", 20, 30, 40, 20, box);
    HWND plainBox = host_.Child("BUTTON", BS_GROUPBOX, "", 220, 10, 150, 120);
    TestSkin().SkinContainer(box, 1, 0x0000FF, 0, std::nullopt);
    TestSkin().SkinContainer(plainBox, 1, 0, 0, std::nullopt);
    const int k = FindContainerNumber(host_.number, box);
    auto* record = host_.record->Containers.Get<ContainerRecord>(k);
    ASSERT_NE(nullptr, record);
    auto backdropPixel = [&] {
        HDC back = CreateBackdropDC(inside, RECT{0, 0, 40, 20});
        const COLORREF c = GetPixel(back, 5, 5);
        ReleaseBackdropDC(back);
        return c;
    };
    EXPECT_EQ(kBack, backdropPixel()) << "alpha 0: the tint is invisible";
    TestSkin().SetContainerTintAlpha(box, 255);
    EXPECT_EQ(255, record->TintAlpha);
    EXPECT_EQ(0x0000FFu, backdropPixel()) << "alpha 255: all red";
    TestSkin().SetContainerTintAlpha(box, 128);
    const COLORREF half = backdropPixel();
    EXPECT_NEAR(0x10 + (0xFF - 0x10) / 2, GetRValue(half), 3);
    EXPECT_NEAR(0x20 / 2, GetGValue(half), 3);
    // Out of range, a container without tint, unknown handles: nothing.
    for (int alpha : {-1, 256, 1000}) TestSkin().SetContainerTintAlpha(box, alpha);
    EXPECT_EQ(128, record->TintAlpha);
    TestSkin().SetContainerTintAlpha(plainBox, 200);
    EXPECT_EQ(0, host_.record->Containers
                     .Get<ContainerRecord>(FindContainerNumber(host_.number, plainBox))
                     ->TintAlpha);
    TestSkin().SetContainerTintAlpha(nullptr, 10);
    TestSkin().SetContainerTintAlpha(inside, 10);       // a control, not a container
    TestSkin().SetContainerTintAlpha(host_.window, 10); // the window itself
    EXPECT_EQ(128, record->TintAlpha);
}

TEST_F(ImageButtonTest, ContainerTintAlphaRepaintsTheContainerAndItsChildren) {
    ControlHost shown(WS_VISIBLE, 300, 200);
    shown.Compose();
    HWND box = shown.Child("BUTTON", BS_GROUPBOX, "", 10, 10, 200, 120);
    HWND inside = shown.Child("BUTTON", BS_PUSHBUTTON, "", 20, 30, 40, 20, box);
    TestSkin().SkinContainer(box, 1, 0x0000FF, 0, std::nullopt);
    FlushEvents(50);
    RECT update{};
    ASSERT_FALSE(GetUpdateRect(box, &update, FALSE));
    TestSkin().SetContainerTintAlpha(box, 255);
    EXPECT_TRUE(GetUpdateRect(box, &update, FALSE));
    EXPECT_TRUE(GetUpdateRect(inside, &update, FALSE));
    FlushEvents(50);
    // The container's visible pixels now carry the red tint.
    HDC dc = GetDC(box);
    const COLORREF c = GetPixel(dc, 150, 100);
    ReleaseDC(box, dc);
    EXPECT_EQ(0x0000FFu, c) << std::hex << c;
    g_host.number = host_.number;
}

TEST_F(ImageButtonTest, TextColourIsStoredAndUsedByTheVeiledReply) {
    HWND box = host_.Child("BUTTON", BS_GROUPBOX, "", 10, 10, 200, 120);
    HWND label = host_.Child("STATIC", 0, "标签", 10, 20, 80, 20, box);
    HWND combo = host_.Child("COMBOBOX", CBS_DROPDOWN, "", 10, 50, 100, 100, box);
    HWND list = host_.Child("COMBOBOX", CBS_DROPDOWNLIST, "", 10, 80, 100, 100, box);
    TestSkin().SkinContainer(box, 1, GetSysColor(COLOR_BTNFACE), 0, std::nullopt);
    TestSkin().SetControlTextColour(label, 0x123456);
    EXPECT_EQ(0x123456, GetPropValue(label, kPropTextColour));
    DibCanvas canvas(80, 20);
    SetTextColor(canvas.dc(), 0);
    const LRESULT brush = SendMessageA(box, WM_CTLCOLORSTATIC,
                                       reinterpret_cast<WPARAM>(canvas.dc()),
                                       reinterpret_cast<LPARAM>(label));
    EXPECT_NE(0, brush);
    EXPECT_EQ(0x123456u, GetTextColor(canvas.dc()));
    EXPECT_EQ(TRANSPARENT, GetBkMode(canvas.dc()));
    // A combo box's colour goes to its edit; a drop-down list has none.
    TestSkin().SetControlTextColour(combo, 0x00FF00);
    HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
    ASSERT_NE(nullptr, edit);
    EXPECT_EQ(0x00FF00, GetPropValue(edit, kPropTextColour));
    EXPECT_EQ(0, GetPropValue(combo, kPropTextColour));
    TestSkin().SetControlTextColour(list, 0x00FF00);
    EXPECT_EQ(0, GetPropValue(list, kPropTextColour));
    TestSkin().SetControlTextColour(nullptr, 0x00FF00);  // nothing, no crash
    EXPECT_EQ(kBack, TestSkin().GetGlobalBackColour());
    // The children's reply brushes go with them.
    const auto start = vostrel::dll::CountObjects();
    DestroyWindow(box);
    const auto after = vostrel::dll::CountObjects();
    EXPECT_LT(after.Live(vostrel::dll::kBrush), start.Live(vostrel::dll::kBrush));
}

// ---------------------------------------------------------------------------
// Soak: hovers and paints of every image kind, good and bad pictures.

TEST_F(ImageButtonTest, ThousandHoversAndPaintsLeaveEveryBalanceUnchanged) {
    HWND image = host_.Child("BUTTON", BS_PUSHBUTTON, "", 10, 10, 20, 20);
    HWND plain = host_.Child("BUTTON", BS_PUSHBUTTON, "", 40, 10, 20, 20);
    HWND text = host_.Child("BUTTON", BS_PUSHBUTTON, "字", 70, 10, 60, 20);
    HWND bad = host_.Child("BUTTON", BS_PUSHBUTTON, "", 140, 10, 20, 20);
    const Bytes png = SolidPng(kNormalPixel, 8);
    ASSERT_EQ(1, TestSkin().MakeImageButton(image, png, SolidPng(kHoverPixel, 8),
                                            SolidPng(kPressedPixel, 8), png, "图"));
    ASSERT_EQ(1, TestSkin().MakeImageButton(plain, png, {}, {}, {}, ""));
    ASSERT_EQ(1, TestSkin().MakeImageTextButton(text, png, 1, "字"));
    ASSERT_EQ(1, TestSkin().MakeImageButton(bad, kNotAPicture, {}, {}, {}, ""));
    DibCanvas canvas(60, 20);
    auto round = [&] {
        for (HWND w : {image, plain, text, bad}) {
            SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
            SendMessageA(w, WM_MOUSELEAVE, 0, 0);
            DRAWITEMSTRUCT item{};
            item.CtlType = ODT_BUTTON;
            item.hwndItem = w;
            item.hDC = canvas.dc();
            item.itemState = ODS_SELECTED | ODS_FOCUS;
            item.rcItem = RECT{0, 0, 20, 20};
            DrawButtonItem(host_.number, item);
        }
    };
    round();
    FlushEvents();
    const auto baseline = vostrel::dll::CountObjects();
    const int backdrops = BackdropDcCount();
    for (int i = 1; i < 1000; ++i) {
        // Faces are kept for repaints; new pictures every tenth round make
        // the faces be drawn (and the pictures decoded) again.
        if (i % 10 == 0) {
            TestSkin().MakeImageButton(image, png, SolidPng(kHoverPixel, 8),
                                       SolidPng(kPressedPixel, 8), png, "图");
            TestSkin().MakeImageTextButton(text, png, 1, "字");
        }
        round();
        if (i % 250 == 0) FlushEvents();
    }
    FlushEvents();
    EXPECT_EQ("", vostrel::dll::ObjectChangesSince(baseline));
    EXPECT_EQ(backdrops, BackdropDcCount());
}

}  // namespace
