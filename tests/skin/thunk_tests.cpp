// Callback stubs: their exact bytes, their placement in executable memory,
// and, in the build whose code they are, their behaviour when Windows or a
// caller calls them.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <vector>

#include "skin/core/callback_thunk.h"
#include "skin/core/window_skin.h"
#include "test_support.h"

using namespace vostrel::skin;
using Code = std::vector<uint8_t>;

namespace {

void Append(Code& code, std::initializer_list<uint8_t> bytes) {
    for (uint8_t b : bytes) code.push_back(b);
}
void Append32(Code& code, uint32_t v) {
    Append(code, {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
}

// The stub written out piece by piece, as the calling convention requires.
Code ExpectedStub(uint32_t object, uint32_t routine, int n, bool passEcx, bool callerPops) {
    Code c;
    Append(c, {0x55, 0x8B, 0xEC, 0x68});
    Append32(c, object);
    Append(c, {0x53, 0x51, 0x56, 0x57, 0x6A, 0x00, 0xD9, 0x3C, 0x24, 0xDB, 0xE3});
    if (n > 0) {
        Append(c, {0xB9});
        Append32(c, uint32_t(n * 4));
        Append(c, {0x2B, 0xE1, 0x8D, 0x75, 0x08, 0x8D, 0x3C, 0x24, 0xFC, 0xF3, 0xA4,
                   0x8B, 0x4D, 0xF4, 0x8B, 0x75, 0xF0, 0x8B, 0x7D, 0xEC});
    }
    if (passEcx) Append(c, {0x51});
    Append(c, {0x8D, 0x45, 0xFC, 0x50, 0xB8});
    Append32(c, routine);
    Append(c, {0xFF, 0xD0, 0x8B, 0x5D, 0xF8, 0x8B, 0x4D, 0xF4, 0x8B, 0x75, 0xF0, 0x8B, 0x7D,
               0xEC, 0xD9, 0x6D, 0xE8, 0x8B, 0xE5, 0x5D, 0xC2});
    const uint32_t r = callerPops ? 0 : uint32_t(n * 4);
    Append(c, {uint8_t(r), uint8_t(r >> 8)});
    return c;
}

}  // namespace

TEST(Thunk, BytesForArgumentCountsAndSwitches) {
    struct Case { int n; bool passEcx; bool callerPops; size_t size; };
    const Case cases[] = {
        {0, false, false, 51},     // no copy block at all
        {1, false, false, 76},
        {2, true, false, 77},      // caller's ECX handed on
        {4, false, false, 76},     // a window procedure
        {4, false, true, 76},      // caller pops: RET 0
        {4, true, true, 77},
        {256, false, false, 76},   // the largest accepted: RET 0x0400
    };
    const uint32_t object = 0x11223344, routine = 0xA1B2C3D4;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "N=" << c.n << " ecx=" << c.passEcx
                                        << " pops=" << c.callerPops);
        const Code code = BuildThunkCode(object, routine, c.n, c.passEcx, c.callerPops);
        EXPECT_EQ(ExpectedStub(object, routine, c.n, c.passEcx, c.callerPops), code);
        EXPECT_EQ(c.size, code.size());
    }
    const Code widest = BuildThunkCode(object, routine, 256);
    EXPECT_EQ(0xC2, widest[widest.size() - 3]);
    EXPECT_EQ(0x00, widest[widest.size() - 2]);
    EXPECT_EQ(0x04, widest[widest.size() - 1]);
}

TEST(Thunk, RejectsBadArgumentCountsAndMissingRoutine) {
    struct Case { uint32_t routine; int n; };
    const Case cases[] = {{0x1000, -1}, {0x1000, 257}, {0x1000, 1 << 30}, {0, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        EXPECT_TRUE(BuildThunkCode(0x1234, c.routine, c.n).empty());
    }
}

TEST(Thunk, OnlyTheCallbackOperationsHaveStubEntries) {
    WindowSkin skin;
    for (int position = -1; position <= WindowSkin::kOperationCount + 1; ++position) {
        SCOPED_TRACE(position);
        const bool callback = position == 3 || position == 4;  // slots 2 and 3
        EXPECT_EQ(callback, WindowSkin::OperationEntry(position) != nullptr);
        EXPECT_EQ(callback, static_cast<bool>(BuildThunk(&skin, position, 2)));
    }
}

// The stubs live in pages of their own, execute-read (never writable while
// executable), and the program runs with data-execution prevention on.
TEST(Thunk, StubsAreInExecutableMemoryAndFreedWithTheObject) {
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(GetModuleHandleA(nullptr));
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        reinterpret_cast<const BYTE*>(dos) + dos->e_lfanew);
    EXPECT_TRUE(nt->OptionalHeader.DllCharacteristics & IMAGE_DLLCHARACTERISTICS_NX_COMPAT);

    WindowSkin skin;
    ASSERT_TRUE(skin.Valid());
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(skin.ActionThunk.Entry()), skin.ActionThunkEntry);
    void* entries[] = {skin.WndProcThunk.Entry(), skin.ActionThunk.Entry()};
    for (void* entry : entries) {
        MEMORY_BASIC_INFORMATION info{};
        ASSERT_NE(0u, VirtualQuery(entry, &info, sizeof info));
        EXPECT_EQ(static_cast<DWORD>(PAGE_EXECUTE_READ), info.Protect);
        EXPECT_EQ(static_cast<DWORD>(MEM_PRIVATE), info.Type);
    }
    skin.Destroy();
    EXPECT_FALSE(skin.Valid());
    EXPECT_EQ(0u, skin.ActionThunkEntry);
    for (void* entry : entries) {
        MEMORY_BASIC_INFORMATION info{};
        VirtualQuery(entry, &info, sizeof info);
        EXPECT_NE(static_cast<DWORD>(MEM_COMMIT), info.State);
    }
}

// ---------------------------------------------------------------------------
// Calling stubs. The window-procedure case runs in both builds through the
// object's own stubs; the others exercise the generated code of each build.

namespace {

struct Delivered {
    HWND window = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    int count = 0;
};
Delivered g_delivered;
constexpr UINT kProbe = WM_APP + 17;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProbe) {
        g_delivered = {window, message, wParam, lParam, g_delivered.count + 1};
        return 0x5A5A;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeProbeWindow() {
    static const ATOM atom = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VostrelThunkProbe";
        return RegisterClassA(&wc);
    }();
    (void)atom;
    return CreateWindowExA(0, "VostrelThunkProbe", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

// The object's window-procedure stub installed as a real window procedure:
// every message reaches the object, which passes it on to the procedure it
// replaced with the same arguments and hands back its result.
TEST(Thunk, WindowProcedureStubDeliversMessagesToTheObject) {
    auto skin = std::make_unique<WindowSkin>();
    ASSERT_TRUE(skin->Valid());
    HWND window = MakeProbeWindow();
    ASSERT_NE(nullptr, window);
    auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    SetPropValue(window, kPropPreviousProc, reinterpret_cast<INT_PTR>(previous));
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(skin->WindowProcedure()));

    g_delivered = {};
    EXPECT_EQ(0x5A5A, SendMessageA(window, kProbe, 11, -22));
    EXPECT_EQ(window, g_delivered.window);
    EXPECT_EQ(11u, g_delivered.wParam);
    EXPECT_EQ(-22, g_delivered.lParam);
    PostMessageA(window, kProbe, 33, 44);
    vostrel::test::FlushEvents();
    EXPECT_EQ(2, g_delivered.count);
    EXPECT_EQ(33u, g_delivered.wParam);

    // A copy has stubs of its own, bound to itself: it keeps working when
    // the source is gone.
    std::unique_ptr<WindowSkin> copy = skin->Copy();
    ASSERT_TRUE(copy->Valid());
    EXPECT_NE(skin->WndProcThunk.Entry(), copy->WndProcThunk.Entry());
    EXPECT_NE(skin->ActionThunkEntry, copy->ActionThunkEntry);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(copy->WindowProcedure()));
    skin.reset();
    EXPECT_EQ(0x5A5A, SendMessageA(window, kProbe, 5, 6));
    EXPECT_EQ(3, g_delivered.count);

    auto action = reinterpret_cast<LRESULT(WINAPI*)(int, int)>(copy->ActionThunkEntry);
    EXPECT_EQ(0, action(1, 1));
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropA(window, kPropPreviousProc);
    DestroyWindow(window);
}

namespace {

struct CallRecord {
    void* object = nullptr;
    int args[5] = {};
    void* ecx = nullptr;
};
CallRecord g_call;
int g_sentinel;

#if !defined(_WIN64)

// What the routine sees of the floating-point unit: the stub resets it.
uint16_t g_controlWordInside;

uint16_t ControlWord() {
    uint16_t word = 0;
    asm volatile("fnstcw %0" : "=m"(word));
    return word;
}
void LoadControlWord(uint16_t word) { asm volatile("fldcw %0" : : "m"(word)); }

int WINAPI TwoArguments(void** cell, int a, int b) {
    g_call.object = *cell;
    g_call.args[0] = a;
    g_call.args[1] = b;
    g_controlWordInside = ControlWord();
    return a * 100 + b;
}

int WINAPI WithEcx(void** cell, void* ecx, int a) {
    g_call.object = *cell;
    g_call.ecx = ecx;
    g_call.args[0] = a;
    return a + 1;
}

LRESULT WINAPI WindowRoutine(void** cell, HWND window, UINT message, WPARAM wParam,
                             LPARAM lParam) {
    if (message == kProbe) {
        g_call.object = *cell;
        g_call.args[0] = static_cast<int>(wParam);
        g_call.args[1] = static_cast<int>(lParam);
        return 77;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

uint32_t Address(const void* p) { return reinterpret_cast<uint32_t>(p); }

// Calls through `fn` and returns the stack pointer difference across the
// call: 0 when the stub dropped exactly what the convention requires.
template <typename F>
int32_t StackDrift(F&& call) {
    uint32_t before = 0, after = 0;
    asm volatile("mov %%esp, %0" : "=r"(before));
    call();
    asm volatile("mov %%esp, %0" : "=r"(after));
    return static_cast<int32_t>(after - before);
}

#endif

}  // namespace

#if !defined(_WIN64)

TEST(Thunk, I686StubCallsRoutineWithObjectCellFirst) {
    ExecutableStub stub = ExecutableStub::Place(
        BuildThunkCode(Address(&g_sentinel), Address(reinterpret_cast<void*>(&TwoArguments)), 2));
    ASSERT_TRUE(stub);
    auto fn = reinterpret_cast<int(WINAPI*)(int, int)>(stub.Entry());
    const uint16_t outside = 0x027F;  // double precision, all exceptions masked
    const uint16_t saved = ControlWord();
    LoadControlWord(outside);
    g_call = {};
    int result = 0;
    EXPECT_EQ(0, StackDrift([&] { result = fn(7, 9); }));
    EXPECT_EQ(outside, ControlWord());  // the caller's control word is restored
    LoadControlWord(saved);
    EXPECT_EQ(709, result);
    EXPECT_EQ(&g_sentinel, g_call.object);
    EXPECT_EQ(7, g_call.args[0]);
    EXPECT_EQ(9, g_call.args[1]);
    EXPECT_EQ(0x037F, g_controlWordInside);  // the routine starts from a reset unit
}

TEST(Thunk, I686CallerPopsAndPassEcx) {
    // Caller pops: called as __cdecl, the stub leaves the arguments.
    ExecutableStub cdeclStub = ExecutableStub::Place(BuildThunkCode(
        Address(&g_sentinel), Address(reinterpret_cast<void*>(&TwoArguments)), 2, false, true));
    auto cdeclFn = reinterpret_cast<int(__cdecl*)(int, int)>(cdeclStub.Entry());
    int result = 0;
    EXPECT_EQ(0, StackDrift([&] { result = cdeclFn(3, 4); }));
    EXPECT_EQ(304, result);

    // Pass ECX: a __thiscall caller's ECX arrives between the cell and the
    // arguments.
    ExecutableStub ecxStub = ExecutableStub::Place(BuildThunkCode(
        Address(&g_sentinel), Address(reinterpret_cast<void*>(&WithEcx)), 1, true, false));
    auto thiscallFn = reinterpret_cast<int(__thiscall*)(void*, int)>(ecxStub.Entry());
    g_call = {};
    EXPECT_EQ(0, StackDrift([&] { result = thiscallFn(&g_call, 41); }));
    EXPECT_EQ(42, result);
    EXPECT_EQ(&g_sentinel, g_call.object);
    EXPECT_EQ(&g_call, g_call.ecx);
    EXPECT_EQ(41, g_call.args[0]);
}

TEST(Thunk, I686StubAsRealWindowProcedure) {
    ExecutableStub stub = ExecutableStub::Place(BuildThunkCode(
        Address(&g_sentinel), Address(reinterpret_cast<void*>(&WindowRoutine)), 4));
    ASSERT_TRUE(stub);
    HWND window = MakeProbeWindow();
    ASSERT_NE(nullptr, window);
    auto previous = SetWindowLongPtrA(window, GWLP_WNDPROC,
                                      reinterpret_cast<LONG_PTR>(stub.Entry()));
    g_call = {};
    EXPECT_EQ(77, SendMessageA(window, kProbe, 123, 456));
    EXPECT_EQ(&g_sentinel, g_call.object);
    EXPECT_EQ(123, g_call.args[0]);
    EXPECT_EQ(456, g_call.args[1]);
    // Every other message reaches it too: the window paints, moves and is
    // destroyed through the stub.
    SetWindowPos(window, nullptr, 10, 10, 60, 60, SWP_NOZORDER | SWP_NOACTIVATE);
    vostrel::test::FlushEvents();
    SetWindowLongPtrA(window, GWLP_WNDPROC, previous);
    DestroyWindow(window);
}

#else

namespace {

LRESULT WindowRoutine64(void** cell, intptr_t a, intptr_t b, intptr_t c, intptr_t d) {
    g_call.object = *cell;
    g_call.args[0] = static_cast<int>(a);
    g_call.args[1] = static_cast<int>(b);
    g_call.args[2] = static_cast<int>(c);
    g_call.args[3] = static_cast<int>(d);
    return a + b + c + d;
}

}  // namespace

TEST(Thunk, X64StubShiftsArgumentsBehindTheObjectCell) {
    EXPECT_TRUE(BuildThunkCode64(1, 2, 5).empty());
    EXPECT_TRUE(BuildThunkCode64(1, 0, 2).empty());
    for (int n = 0; n <= 4; ++n) {
        SCOPED_TRACE(n);
        ExecutableStub stub = ExecutableStub::Place(
            BuildThunkCode64(reinterpret_cast<uint64_t>(&g_sentinel),
                             reinterpret_cast<uint64_t>(&WindowRoutine64), n),
            8);
        ASSERT_TRUE(stub);
        g_call = {};
        auto fn = reinterpret_cast<LRESULT (*)(intptr_t, intptr_t, intptr_t, intptr_t)>(
            stub.Entry());
        const LRESULT result = fn(1, 20, 300, 4000);
        EXPECT_EQ(&g_sentinel, g_call.object);
        // The arguments the callback was given reach the routine in order.
        const int expected[] = {1, 20, 300, 4000};
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(expected[i], g_call.args[i]);
        }
        if (n == 4) {
            EXPECT_EQ(4321, result);
        }
    }
}

#endif
