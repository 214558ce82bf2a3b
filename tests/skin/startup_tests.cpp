// Start-up and shutdown of the skin module: the object, the settings, GDI+
// and the program icon come up; the exit routine releases every object the
// skin made.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "gdiplus/dll.h"
#include "gdiplus/gdip_object.h"
#include "skin/core/window_skin.h"

using namespace vostrel::skin;
namespace dll = vostrel::dll;

TEST(Startup, ModuleComesUpWithItsDefaultSettings) {
    // Settings changed by an earlier run are put back by the initialiser.
    FirstSizePending = 0;
    SkinControls = 0;
    VeilAlpha = 3;
    ThemeColour = 0;
    TrackbarFrames = 0;
    ASSERT_TRUE(StartSkinModule());
    ASSERT_NE(nullptr, Skin);
    EXPECT_TRUE(Skin->Valid());
    EXPECT_EQ(0, Skin->SizingBorder);
    EXPECT_EQ(0, Skin->HotCaptionButton);
    EXPECT_NE(0u, GdiplusToken);
    EXPECT_NE(nullptr, AppIcon);
    EXPECT_EQ(1, FirstSizePending);
    EXPECT_EQ(1, SkinControls);
    EXPECT_EQ(160, VeilAlpha);
    EXPECT_EQ(0xDDCA22u, ThemeColour);
    EXPECT_EQ(1, TrackbarFrames);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), GlobalBackColour);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), Skin->GetGlobalBackColour());
    EXPECT_EQ(0, Windows.Count());

    // The program icon is the 32 x 32 "DEFAULT_ICON" (there is no icon 129).
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(AppIcon, &info));
    BITMAP bm{};
    GetObjectA(info.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(32, bm.bmWidth);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);

    RunSkinExitRoutine();
    EXPECT_EQ(nullptr, Skin);
}

// After the exit routine every GDI and GDI+ object the skin made is gone:
// the GDI+ session, the records' DCs and bitmaps, their tool-tip windows,
// the program icon, the stubs and the global picture.
TEST(Startup, ExitRoutineReleasesEverythingTheSkinMade) {
    const auto before = dll::CountObjects();
    ASSERT_TRUE(StartSkinModule());
    EXPECT_EQ(1, dll::CountObjects().Live(dll::kGdiplusSession) - before.Live(dll::kGdiplusSession));
    const HICON icon = AppIcon;
    void* stub = Skin->WndProcThunk.Entry();

    // Two skinned windows with composed DCs and tool tips, as the exit
    // routine finds them when the windows still exist.
    HWND windows[2];
    HDC dcs[2];
    HWND tips[2];
    for (int i = 0; i < 2; ++i) {
        windows[i] = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
        auto record = std::make_unique<WindowRecord>();
        record->Handle = windows[i];
        HDC screen = GetDC(nullptr);
        record->BackgroundDC.SelectBitmap(dll::CreateCompatibleBitmap(screen, 50, 50));
        record->BottomBarDC.SelectBitmap(dll::CreateCompatibleBitmap(screen, 50, 8));
        ReleaseDC(nullptr, screen);
        record->ToolTip.Create(windows[i]);
        dcs[i] = record->BackgroundDC.Dc();
        tips[i] = record->ToolTip.Window();
        Windows.Append(std::move(record));
    }
    GlobalBackgroundImage.assign(4096, 0x42);

    RunSkinExitRoutine();

    EXPECT_EQ(nullptr, Skin);
    EXPECT_EQ(0u, GdiplusToken);
    EXPECT_EQ(0, Windows.Count());
    EXPECT_TRUE(GlobalBackgroundImage.empty());
    EXPECT_EQ(0u, GlobalBackgroundImage.capacity());
    EXPECT_EQ(nullptr, AppIcon);
    // The icon is loaded outside the counted calls; it is destroyed through
    // them, so its kind shows one delete. Everything else balances.
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(icon, &info));
    auto after = dll::CountObjects();
    EXPECT_EQ(before.Live(dll::kIcon) - 1, after.Live(dll::kIcon));
    after.deleted[dll::kIcon] -= 1;
    std::string changes;
    for (int k = 0; k < dll::kObjectKindCount; ++k)
        if (after.Live(static_cast<dll::ObjectKind>(k)) != before.Live(static_cast<dll::ObjectKind>(k)))
            changes += dll::ObjectKindName(static_cast<dll::ObjectKind>(k)) + std::string(" ");
    EXPECT_EQ("", changes);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(0u, GetObjectType(dcs[i]));
        EXPECT_FALSE(IsWindow(tips[i]));
        DestroyWindow(windows[i]);
    }
    MEMORY_BASIC_INFORMATION mem{};
    VirtualQuery(stub, &mem, sizeof mem);
    EXPECT_NE(static_cast<DWORD>(MEM_COMMIT), mem.State);

    // A second exit routine finds nothing left to release.
    RunSkinExitRoutine();
    EXPECT_EQ(0, Windows.Count());
}
