// Figures of the skin object's plumbing: the cost a window-procedure stub
// adds to every message of a skinned window, and the cost of one
// working-set trim through the utility against the in-process trim.
#include <windows.h>

#include <string>

#include "bench.h"
#include "skin/core/window_skin.h"

using namespace vostrel::bench;
using namespace vostrel::skin;

namespace {

constexpr UINT kProbe = WM_APP + 5;

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProbe) return wParam + 1;
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWindow() {
    static const ATOM atom = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = PlainProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VostrelBenchStub";
        return RegisterClassA(&wc);
    }();
    (void)atom;
    return CreateWindowExA(0, "VostrelBenchStub", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

// One SendMessageA to a window whose procedure is the object's stub (which
// passes the message on to the plain procedure), against the same message
// sent to the plain procedure directly.
VOSTREL_BENCH(SkinWindowProcStub) {
    WindowSkin skin;
    HWND window = MakeWindow();
    constexpr int kMessages = 20000;
    const double direct = TimeEach(kMessages, [&] { SendMessageA(window, kProbe, 1, 0); });
    auto previous = GetWindowLongPtrA(window, GWLP_WNDPROC);
    SetPropValue(window, kPropPreviousProc, previous);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(skin.WindowProcedure()));
    const double stubbed = TimeEach(kMessages, [&] { SendMessageA(window, kProbe, 1, 0); });
    // The skin's procedure reads window properties for every message; their
    // cost depends on the platform (a server round trip under Wine).
    const double property = TimeEach(kMessages, [&] { GetPropA(window, kPropPreviousProc); });
    SetWindowLongPtrA(window, GWLP_WNDPROC, previous);
    RemovePropA(window, kPropPreviousProc);
    DestroyWindow(window);
    Report("SendMessage, plain procedure", direct * 1e6, "us");
    Report("SendMessage, through the object's stub", stubbed * 1e6, "us");
    Report("stub / plain", stubbed / direct, "x");
    Report("one GetPropA", property * 1e6, "us");
}

// One trim through the utility (written once, then run each time; a process
// start per trim) against the in-process trim that replaces it when the file
// is not ours.
VOSTREL_BENCH(SkinTrimWorkingSet) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string dir = std::string(temp) + "vostrel bench trim " +
                            std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    const double first = TimeEach(1, [&] { TrimWorkingSetIn(dir); });
    const double run = TimeEach(5, [&] { TrimWorkingSetIn(dir); });
    const double inProcess = TimeEach(5, [&] { TrimWorkingSetIn(""); });
    DeleteFileA((dir + "\\empty.exe").c_str());
    RemoveDirectoryA(dir.c_str());
    Report("trim, first (write and run the utility)", first * 1e3, "ms");
    Report("trim, utility present", run * 1e3, "ms");
    Report("trim, in-process", inProcess * 1e3, "ms");
}
