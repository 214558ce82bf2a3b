// Figures of a skinned window's caption-button fade: the CPU time one whole
// fade-in (eight steps on the window's 20 ms timer) costs against its wall
// time, and the CPU time the window costs while idle once the pointer has
// left (the fade timer must be stopped then).
#include <windows.h>

#include "bench.h"
#include "gdiplus/gdip_object.h"
#include "skin/core/window_skin.h"

using namespace vostrel::bench;
using namespace vostrel::skin;

namespace {

HWND MakeWindow() {
    static const ATOM atom = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = "VostrelBenchSkinWindow";
        return RegisterClassA(&wc);
    }();
    (void)atom;
    return CreateWindowExA(0, "VostrelBenchSkinWindow", "Vostrel V1.0", WS_POPUP | WS_MINIMIZEBOX,
                           0, 0, 1104, 504, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// CPU time (user + kernel) of the calling thread, which runs the message
// loop, the skin and GDI+. Wine answers the process-wide figure with 0, the
// thread's own from the system.
double ThreadCpuTime() {
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
    auto seconds = [](FILETIME t) {
        return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) * 1e-7;
    };
    return seconds(kernel) + seconds(user);
}

// Runs the message loop until `done` or `seconds` have passed, sleeping in
// the wait like the program's own loop. Returns how many WM_TIMER messages of
// `window` it dispatched.
template <typename Done>
int RunLoop(HWND window, double seconds, Done done) {
    int timers = 0;
    const double end = Now() + seconds;
    while (!done()) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TIMER && msg.hwnd == window) ++timers;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const double left = end - Now();
        if (left <= 0) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left * 1000) + 1,
                                  QS_ALLINPUT);
    }
    return timers;
}

}  // namespace

VOSTREL_BENCH(SkinCaptionButtonFade) {
    const ULONG_PTR token = vostrel::StartGdiplus();
    WindowSkin skin;
    HWND window = MakeWindow();
    AttachOptions options;
    options.CaptionHeight = 30;
    options.Resizable = 0;
    skin.AttachSkin(window, options);
    WindowRecord* record = RecordOf(FindWindowNumber(window));
    SendMessageA(window, WM_PAINT, 0, 0);  // composes the image once
    const CaptionButton& close = *record->CaptionButtons.At(record->CaptionButtons.Count());
    const LPARAM onClose = MAKELPARAM(static_cast<int>(close.Rect.x + 10), 10);

    // The pointer rests on the close button: eight steps, 20 ms apart.
    SendMessageA(window, WM_MOUSEHOVER, 0, 0);
    const double cpu0 = ThreadCpuTime(), wall0 = Now();
    SendMessageA(window, WM_MOUSEMOVE, 0, onClose);
    const int inTicks = RunLoop(window, 5.0, [&] { return record->FadeIn.Step >= 8; });
    const double cpu = ThreadCpuTime() - cpu0, wall = Now() - wall0;
    Report("caption-button fade-in (8 steps), wall time", wall * 1e3, "ms");
    Report("caption-button fade-in, timer ticks", inTicks, "");
    Report("caption-button fade-in, CPU time (10 ms clock)", cpu * 1e3, "ms");

    // The pointer leaves: the fade-out runs, then the timer stops.
    SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    const double out0 = Now();
    const int outTicks = RunLoop(
        window, 5.0, [&] { return record->FadeTimer == 0 && record->FadeOut.Button == 0; });
    Report("caption-button fade-out after leave, wall time", (Now() - out0) * 1e3, "ms");
    Report("caption-button fade-out, timer ticks", outTicks, "");

    // The thread clock ticks in 10 ms steps: many fades in a row give the
    // figure of one. Each round fades the close button in and out again.
    constexpr int kRounds = 10;
    const double roundsCpu0 = ThreadCpuTime(), roundsWall0 = Now();
    for (int i = 0; i < kRounds; ++i) {
        SendMessageA(window, WM_MOUSEHOVER, 0, 0);
        SendMessageA(window, WM_MOUSEMOVE, 0, onClose);
        RunLoop(window, 5.0, [&] { return record->FadeIn.Step >= 8; });
        SendMessageA(window, WM_MOUSELEAVE, 0, 0);
        RunLoop(window, 5.0,
                [&] { return record->FadeTimer == 0 && record->FadeOut.Button == 0; });
    }
    const double fades = 2.0 * kRounds;
    const double fadeCpu = (ThreadCpuTime() - roundsCpu0) / fades;
    const double fadeWall = (Now() - roundsWall0) / fades;
    Report("one eight-step fade, CPU time (mean of 20)", fadeCpu * 1e3, "ms");
    Report("one eight-step fade, wall time (mean of 20)", fadeWall * 1e3, "ms");
    Report("fade CPU / its 160 ms (target < 5%)", 100.0 * fadeCpu / 0.160, "%");
    Report("fade CPU / its measured wall time", 100.0 * fadeCpu / fadeWall, "%");

    const double idleCpu0 = ThreadCpuTime(), processCpu0 = CpuTime();
    const int timers = RunLoop(window, 10.0, [] { return false; });
    Report("GUI thread CPU time idle 10 s after the pointer left (target 0)",
           (ThreadCpuTime() - idleCpu0) * 1e3, "ms");
    Report("process CPU time over the same 10 s", (CpuTime() - processCpu0) * 1e3, "ms");
    Report("fade-timer messages while idle (target 0)", timers, "");

    DestroyWindow(window);
    vostrel::StopGdiplus(token);
}
