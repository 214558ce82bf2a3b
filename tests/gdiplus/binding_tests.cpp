// The late-bound function table: binding, search order, failure report,
// call counts, object accounting, start-up and shutdown.
#include "gdip_test_util.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace vostrel::gdiptest {
namespace {

using dll::Row;

// Exports the table names that this Wine does not have, with the reason. A row
// listed here is still bound on Windows; the list is empty when Wine has all.
const std::set<std::string> kMissingUnderWine = {};

TEST(BindingI686, EveryRowBindsByName) {
    std::string missing;
    for (int i = 0; i < dll::kRowCount; ++i) {
        const dll::RowInfo& row = dll::kRowInfo[i];
        if (kMissingUnderWine.count(row.name)) continue;
        HMODULE module = nullptr;
        void* p = dll::BindExport(row.library, row.name, &module);
        if (!p) missing += std::string(" ") + row.library + "!" + row.name;
        else EXPECT_EQ(p, dll::BindRow(static_cast<Row>(i))) << row.name;
        EXPECT_EQ(dll::BoundAddress(static_cast<Row>(i)) != nullptr, p != nullptr) << row.name;
    }
    EXPECT_EQ("", missing);
}

TEST(BindingI686, SuffixedPenExportsAreBoundByTheirOwnNames) {
    for (Row row : {Row::GdipSetPenLineCap197819, Row::GdipSetPenDashCap197819, Row::GdipGetPenDashCap197819}) {
        const dll::RowInfo& info = dll::kRowInfo[static_cast<int>(row)];
        EXPECT_STREQ("197819", info.name + std::strlen(info.name) - 6);
        EXPECT_NE(nullptr, dll::BindRow(row)) << info.name;
    }
    // And they work: a round trip of the dash cap through the two of them.
    GdipPen pen;
    ASSERT_TRUE(pen.Create(0xFF000000, 2));
    EXPECT_TRUE(pen.SetDashCap(gp::DashCapRound));
    EXPECT_EQ(gp::DashCapRound, pen.GetDashCap());
}

// An empty library name takes the first of Kernel32, Gdi32, User32, Advapi32,
// Mpr, Shell32 that exports the name; every library before it lacks it.
TEST(BindingI686, EmptyLibraryNameSearchesInOrder) {
    struct Case {
        const char* name;
        const char* expected;
    } const cases[] = {
        {"SendMessageA", "User32.dll"},         {"GetCurrentProcessId", "Kernel32.dll"},
        {"DeleteObject", "Gdi32.dll"},          {"GetUserNameA", "Advapi32.dll"},
        {"WNetGetConnectionA", "Mpr.dll"},      {"ShellExecuteA", "Shell32.dll"},
    };
    for (const Case& c : cases) {
        HMODULE module = nullptr;
        ASSERT_NE(nullptr, dll::BindExport("", c.name, &module)) << c.name;
        EXPECT_EQ(GetModuleHandleA(c.expected), module) << c.name;
        for (const char* library : dll::kSearchLibraries) {
            if (_stricmp(library, c.expected) == 0) break;
            HMODULE earlier = LoadLibraryA(library);
            ASSERT_NE(nullptr, earlier) << library;
            EXPECT_EQ(nullptr, reinterpret_cast<void*>(GetProcAddress(earlier, c.name))) << library << " " << c.name;
            FreeLibrary(earlier);
        }
    }
    // The table's own SendMessageA row is written without a library.
    EXPECT_STREQ("", dll::kRowInfo[static_cast<int>(Row::SendMessageA)].library);
    ASSERT_NE(nullptr, dll::BindRow(Row::SendMessageA));
    EXPECT_EQ(GetModuleHandleA("user32.dll"), dll::BoundModule(Row::SendMessageA));
}

struct Failure {
    std::string library, name;
    int calls = 0;
};
Failure g_failure;
void RecordFailure(const char* library, const char* name) {
    g_failure.library = library;
    g_failure.name = name;
    ++g_failure.calls;
}

TEST(BindingI686, UnboundExportIsReportedWithItsNameAndLibrary) {
    struct Case {
        const char* library;
        const char* name;
        const char* mentions;
    } const cases[] = {
        {"gdiplus.dll", "GdipNoSuchFunction", "gdiplus.dll"},
        {"no_such_library.dll", "GdipCreatePath", "no_such_library.dll"},
        {"", "NoSuchExportAnywhere", "Kernel32.dll, Gdi32.dll, User32.dll, Advapi32.dll, Mpr.dll, Shell32.dll"},
    };
    const dll::BindFailureHandler previous = dll::SetBindFailureHandler(&RecordFailure);
    for (const Case& c : cases) {
        g_failure = {};
        HMODULE module = nullptr;
        EXPECT_EQ(nullptr, dll::ResolveOrStop(c.library, c.name, &module));
        EXPECT_EQ(1, g_failure.calls);
        EXPECT_EQ(c.library, g_failure.library);
        EXPECT_EQ(c.name, g_failure.name);
        const std::string message = dll::BindFailureMessage(c.library, c.name);
        EXPECT_NE(std::string::npos, message.find(c.name)) << message;
        EXPECT_NE(std::string::npos, message.find(c.mentions)) << message;
    }
    // A bound export never reaches the handler.
    g_failure = {};
    EXPECT_NE(nullptr, dll::ResolveOrStop("gdiplus.dll", "GdipCreatePath", nullptr));
    EXPECT_EQ(0, g_failure.calls);
    dll::SetBindFailureHandler(previous);
}

TEST(BindingI686, TypedCallsReachTheRealFunctionAndAreCounted) {
    const uint64_t before = dll::CallCount(Row::GetCurrentProcessId);
    EXPECT_EQ(::GetCurrentProcessId(), dll::GetCurrentProcessId());
    EXPECT_EQ(::GetCurrentProcessId(), dll::GetCurrentProcessId());
    EXPECT_EQ(before + 2, dll::CallCount(Row::GetCurrentProcessId));

    // A stdcall GDI+ function with many arguments, through its row.
    gp::GpBitmap* bitmap = nullptr;
    ASSERT_EQ(gp::Ok, dll::GdipCreateBitmapFromScan0(7, 5, 0, PixelFormat32bppARGB, nullptr, &bitmap));
    UINT w = 0, h = 0;
    EXPECT_EQ(gp::Ok, dll::GdipGetImageWidth(bitmap, &w));
    EXPECT_EQ(gp::Ok, dll::GdipGetImageHeight(bitmap, &h));
    EXPECT_EQ(7u, w);
    EXPECT_EQ(5u, h);
    EXPECT_EQ(gp::Ok, dll::GdipDisposeImage(bitmap));
}

// ---------------------------------------------------------------------------
// Object accounting

TEST(ObjectAccounting, GdiObjectsAreCountedByKind) {
    struct Case {
        const char* name;
        dll::ObjectKind kind;
        HGDIOBJ (*create)();
    } const cases[] = {
        {"compatible bitmap", dll::kBitmap, [] {
             HDC screen = dll::GetDC(nullptr);
             HGDIOBJ h = dll::CreateCompatibleBitmap(screen, 4, 4);
             dll::ReleaseDC(nullptr, screen);
             return h;
         }},
        {"solid brush", dll::kBrush, []() -> HGDIOBJ { return dll::CreateSolidBrush(RGB(1, 2, 3)); }},
        {"pen", dll::kPen, []() -> HGDIOBJ { return dll::CreatePen(PS_SOLID, 1, 0); }},
        {"rect region", dll::kRegion, []() -> HGDIOBJ { return dll::CreateRectRgn(0, 0, 5, 5); }},
        {"round region", dll::kRegion, []() -> HGDIOBJ { return dll::CreateRoundRectRgn(0, 0, 9, 9, 3, 3); }},
        {"font", dll::kFont, []() -> HGDIOBJ {
             LOGFONTA lf{};
             lf.lfHeight = 12;
             return dll::CreateFontIndirectA(&lf);
         }},
    };
    for (const Case& c : cases) {
        const auto before = dll::CountObjects();
        HGDIOBJ h = c.create();
        ASSERT_NE(nullptr, h) << c.name;
        EXPECT_EQ(1, dll::CountObjects().Live(c.kind) - before.Live(c.kind)) << c.name;
        EXPECT_NE("", dll::ObjectChangesSince(before)) << c.name;
        EXPECT_TRUE(dll::DeleteObject(h)) << c.name;
        EXPECT_EQ("", dll::ObjectChangesSince(before)) << c.name;
        EXPECT_EQ(before.deleted[c.kind] + 1, dll::CountObjects().deleted[c.kind]) << c.name;
    }
}

TEST(ObjectAccounting, ChangesNameTheKindAndTheCounts) {
    LeakCheck check;
    HDC dc = dll::CreateCompatibleDC(nullptr);
    ASSERT_NE(nullptr, dc);
    GdipPath path;
    ASSERT_TRUE(path.Create());
    EXPECT_EQ("Dc +1 (1 created, 0 deleted); GpPath +1 (1 created, 0 deleted)", check.Changes());
    EXPECT_TRUE(dll::DeleteDC(dc));
    EXPECT_TRUE(path.Delete());
    EXPECT_EQ("", check.Changes());
    // A failed delete or create is no change.
    EXPECT_FALSE(dll::DeleteObject(nullptr));
    gp::GpBitmap* none = nullptr;
    EXPECT_NE(gp::Ok, dll::GdipCreateBitmapFromScan0(0, 0, 0, PixelFormat32bppARGB, nullptr, &none));
    EXPECT_EQ("", check.Changes());
}

TEST(ObjectAccounting, WindowRegionAndGlobalMemoryAreBalanced) {
    LeakCheck check;
    HWND hwnd = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, hwnd);
    HRGN region = dll::CreateRectRgn(0, 0, 10, 10);
    ASSERT_TRUE(dll::SetWindowRgn(hwnd, region, FALSE));  // the window owns it now
    HGLOBAL memory = dll::GlobalAlloc(GMEM_MOVEABLE, 16);
    ASSERT_NE(nullptr, memory);
    EXPECT_EQ(nullptr, dll::GlobalFree(memory));
    HDC windowDc = dll::GetDC(hwnd);
    EXPECT_NE("", check.Changes());
    dll::ReleaseDC(hwnd, windowDc);
    EXPECT_EQ("", check.Changes());
    DestroyWindow(hwnd);
}

// ---------------------------------------------------------------------------
// Start-up and shutdown

TEST(StartupI686, StartReturnsATokenAndStopShutsDownOncePerToken) {
    const uint64_t shutdowns = dll::CallCount(Row::GdiplusShutdown);
    const ULONG_PTR outer = LastGdiplusToken;

    const ULONG_PTR token = StartGdiplus();
    EXPECT_NE(0u, token);
    EXPECT_EQ(token, LastGdiplusToken);

    StopGdiplus(ULONG_PTR{0});  // token 0: nothing
    EXPECT_EQ(shutdowns, dll::CallCount(Row::GdiplusShutdown));

    // Wine hands out the same token for every start-up: then the binary's own
    // start-up (made by the test environment) shares it, and each of the two
    // start-ups is ended once, never more.
    const int starts = token == outer ? 2 : 1;
    for (int stop = 1; stop <= 3; ++stop) {
        StopGdiplus(token);
        EXPECT_EQ(shutdowns + std::min(stop, starts), dll::CallCount(Row::GdiplusShutdown)) << stop;
    }

    // A stop without a token takes LastGdiplusToken and clears it.
    const uint64_t before = dll::CallCount(Row::GdiplusShutdown);
    EXPECT_NE(0u, StartGdiplus(1));
    StopGdiplus();
    EXPECT_EQ(0u, LastGdiplusToken);
    EXPECT_EQ(before + 1, dll::CallCount(Row::GdiplusShutdown));
    StopGdiplus();
    EXPECT_EQ(before + 1, dll::CallCount(Row::GdiplusShutdown));

    // GDI+ stays started for the rest of the binary.
    if (starts == 2) EXPECT_EQ(outer, StartGdiplus());
    else LastGdiplusToken = outer;
    GdipBitmap bitmap;
    EXPECT_TRUE(bitmap.Create(3, 3));
}

// ---------------------------------------------------------------------------
// Texts and GUIDs

TEST(Conversion, EmptyAnsiTextIsALoneTerminator) {
    const std::wstring wide = AnsiToWide("");
    EXPECT_EQ(0u, wide.size());
    EXPECT_EQ(L'\0', wide.c_str()[0]);
    EXPECT_EQ(0, dll::lstrlenW(wide.c_str()));
    EXPECT_EQ("", WideToAnsi(L""));
    EXPECT_EQ("", WideToAnsi(static_cast<const wchar_t*>(nullptr)));
}

TEST(Conversion, AnsiTextsRoundTripThroughUtf16) {
    const char* const texts[] = {"abc", "宋体", "播放视频 Play", "自定义"};
    const wchar_t* const wides[] = {L"abc", L"宋体", L"播放视频 Play", L"自定义"};
    for (size_t i = 0; i < std::size(texts); ++i) {
        EXPECT_EQ(std::wstring(wides[i]), AnsiToWide(texts[i])) << i;
        EXPECT_EQ(std::string(texts[i]), WideToAnsi(wides[i])) << i;
    }
}

TEST(Conversion, GuidTextsAreRegistryFormUpperCase) {
    struct Case {
        GUID guid;
        const char* text;
    } const cases[] = {
        {{0xB96B3CAF, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}},
         "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}"},
        {{0x1D5BE4B5, 0xFA4A, 0x452D, {0x9C, 0xDD, 0x5D, 0xB3, 0x51, 0x05, 0xE7, 0xEB}},
         "{1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}"},
        {GUID{}, "{00000000-0000-0000-0000-000000000000}"},
    };
    for (const Case& c : cases) {
        const std::string text = GuidToText(c.guid);
        EXPECT_EQ(c.text, text);
        EXPECT_EQ(38u, text.size());
        const GUID back = TextToGuid(c.text);
        EXPECT_EQ(0, std::memcmp(&back, &c.guid, sizeof back)) << c.text;
    }
    // Not a GUID: the all-zero GUID.
    for (const char* bad : {"", "B96B3CAF-0728-11D3-9D7B-0000F81EF32E", "{nonsense}"}) {
        const GUID g = TextToGuid(bad);
        const GUID zero{};
        EXPECT_EQ(0, std::memcmp(&g, &zero, sizeof g)) << bad;
    }
}

// ---------------------------------------------------------------------------
// Record layouts handed to GDI+ differ between the targets.

TEST(LayoutI686, NativeRecordsHaveThePlatformLayout) {
    const bool wide = sizeof(void*) == 8;
    EXPECT_EQ(wide ? 32u : 28u, sizeof(gp::EncoderParameter));
    EXPECT_EQ(wide ? 24u : 16u, sizeof(gp::GdiplusStartupInput));
    EXPECT_EQ(wide ? 104u : 76u, sizeof(gp::ImageCodecInfo));
    EXPECT_EQ(wide ? 24u : 16u, sizeof(gp::PropertyItem));
    // The JPEG encoder's parameter list is read through these layouts; every
    // value holds exactly the bytes its type and count call for.
    GdipBitmap bitmap;
    ASSERT_TRUE(bitmap.Create(8, 8));
    EncoderParameterSet set;
    EXPECT_EQ(16u, EncoderValueSize(gp::EncoderParameterValueTypeLong, 4));
    if (!bitmap.GetEncoderParameterList(kImageFormatJPEG, set)) {
        // Wine's GDI+ lists no encoder parameters (NotImplemented).
        EXPECT_EQ(gp::NotImplemented, GdipLastStatus);
        EXPECT_EQ(0u, set.Count);
        return;
    }
    EXPECT_EQ(set.Count, set.Parameters.size());
    ASSERT_GT(set.Count, 0u);
    for (const EncoderParameterRecord& p : set.Parameters) {
        EXPECT_EQ(38u, p.Guid.size());
        EXPECT_EQ(EncoderValueSize(p.Type, p.NumberOfValues), p.Value.size()) << p.Guid;
    }
}

}  // namespace
}  // namespace vostrel::gdiptest

namespace vostrel::gdiptest {
namespace {

// gdiplus.dll is reached through the table only: the binary itself must load
// on a system without it.
TEST(BindingI686, BinaryDoesNotImportGdiplus) {
    const auto* base = reinterpret_cast<const BYTE*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    ASSERT_NE(0u, dir.VirtualAddress);
    std::string imports;
    for (const auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
        std::string name = reinterpret_cast<const char*>(base + d->Name);
        for (char& c : name) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        imports += name + " ";
    }
    EXPECT_EQ(std::string::npos, imports.find("gdiplus")) << imports;
    EXPECT_NE(std::string::npos, imports.find("kernel32")) << imports;
}

}  // namespace
}  // namespace vostrel::gdiptest
