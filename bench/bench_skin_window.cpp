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
    const double cpu0 = CpuTime(), wall0 = Now();
    SendMessageA(window, WM_MOUSEMOVE, 0, onClose);
    RunLoop(window, 5.0, [&] { return record->FadeIn.Step >= 8; });
    const double cpu = CpuTime() - cpu0, wall = Now() - wall0;
    Report("caption-button fade-in (8 steps), CPU time", cpu * 1e3, "ms");
    Report("caption-button fade-in (8 steps), wall time", wall * 1e3, "ms");
    Report("fade-in CPU / wall (target < 5%)", 100.0 * cpu / wall, "%");

    // The pointer leaves: the fade-out runs, then the timer stops.
    SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    const double out0 = Now();
    RunLoop(window, 5.0, [&] { return record->FadeTimer == 0 && record->FadeOut.Button == 0; });
    Report("caption-button fade-out after leave, wall time", (Now() - out0) * 1e3, "ms");

    const double idleCpu0 = CpuTime();
    const int timers = RunLoop(window, 10.0, [] { return false; });
    Report("CPU time idle 10 s after the pointer left (target 0)", (CpuTime() - idleCpu0) * 1e3,
           "ms");
    Report("fade-timer messages while idle (target 0)", timers, "");

    DestroyWindow(window);
    vostrel::StopGdiplus(token);
}
