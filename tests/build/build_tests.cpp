// Checks that the build and the test runner give the program the
// environment it is written for.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "test_support.h"

TEST(Build, NarrowLiteralsAreGbk) {
    const char text[] = "播放视频";
    const unsigned char expected[] = {0xB2, 0xA5, 0xB7, 0xC5, 0xCA, 0xD3, 0xC6, 0xB5, 0};
    ASSERT_EQ(sizeof text, sizeof expected);
    EXPECT_EQ(0, std::memcmp(text, expected, sizeof expected));
}

TEST(Build, AnsiCodePageIsGbk) { EXPECT_EQ(936u, GetACP()); }

TEST(Build, PointerSizeMatchesTarget) {
#ifdef _WIN64
    EXPECT_EQ(8u, sizeof(void*));
#else
    EXPECT_EQ(4u, sizeof(void*));
#endif
}

TEST(Build, WindowOnVirtualDisplay) {
    HWND hwnd = CreateWindowExA(0, "STATIC", "probe", WS_POPUP, 0, 0, 10, 10,
                                nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, hwnd);
    vostrel::test::FlushEvents();
    EXPECT_TRUE(DestroyWindow(hwnd));
}

TEST(Build, ProgramIconResource) {
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), "DEFAULT_ICON");
    ASSERT_NE(nullptr, icon);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bm{};
    GetObjectA(info.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(32, bm.bmWidth);
    EXPECT_EQ(32, bm.bmHeight);
    EXPECT_EQ(32, bm.bmBitsPixel);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}
