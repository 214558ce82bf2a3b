// Start-up of the real program, measured from outside as the user sees it:
// the time from process creation to the main window being shown, and to its
// first composed paint reaching the screen (the caption band with the
// program's icon). The program is the one built beside this benchmark.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench.h"

using namespace vostrel::bench;

namespace {

std::string ProgramPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    p.erase(p.find_last_of("\\/") + 1);
    return p + "..\\app\\vostrel.exe";
}

struct Found {
    DWORD pid;
    HWND window;
};

BOOL CALLBACK FindMain(HWND window, LPARAM data) {
    auto* f = reinterpret_cast<Found*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char title[32] = {};
    GetWindowTextA(window, title, sizeof title);
    if (pid == f->pid && std::string(title) == "Vostrel V1.0" && IsWindowVisible(window)) {
        f->window = window;
        return FALSE;
    }
    return TRUE;
}

// The program's icon is a blue tile at the left of the caption band: the
// screen shows it once the composed image has been painted.
bool IconOnScreen(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, r.left + 12, r.top + 12);
    ReleaseDC(nullptr, screen);
    return c != CLR_INVALID && GetBValue(c) > GetRValue(c) + 60;
}

}  // namespace

VOSTREL_BENCH(ProgramStartToFirstComposedPaint) {
    const std::string program = ProgramPath();
    if (GetFileAttributesA(program.c_str()) == INVALID_FILE_ATTRIBUTES) {
        Report("program not found beside the benchmark", 0, "");
        return;
    }
    std::vector<double> shown, painted;
    for (int run = 0; run < 3; ++run) {
        std::string command = "\"" + program + "\"";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        const double start = Now();
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &si, &pi))
            break;
        CloseHandle(pi.hThread);
        Found f{pi.dwProcessId, nullptr};
        double tShown = 0, tPainted = 0;
        while (Now() - start < 60) {
            if (!f.window) {
                EnumWindows(FindMain, reinterpret_cast<LPARAM>(&f));
                if (f.window) tShown = Now() - start;
            }
            if (f.window && IconOnScreen(f.window)) {
                tPainted = Now() - start;
                break;
            }
            Sleep(1);
        }
        if (f.window) PostMessageA(f.window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hProcess);
        if (tShown > 0) shown.push_back(tShown);
        if (tPainted > 0) painted.push_back(tPainted);
    }
    auto best = [](const std::vector<double>& v) {
        return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end());
    };
    Report("process start to main window shown (best of 3)", best(shown) * 1e3, "ms");
    Report("process start to first composed paint on screen (best of 3)", best(painted) * 1e3,
           "ms");
}
