// A hidden frameless top-level window whose own procedure records every
// message it receives as {message, wParam, lParam} (with the time), for
// message-level tests of the skin's window procedure: once the skin is
// attached, everything the skin passes on reaches this recorder.
//
// The recorder swallows WM_SYSCOMMAND (after recording it) unless told
// otherwise, so that a minimise, maximise or close command shows up in the
// log without showing, moving or destroying the window.
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "skinned_window.h"

namespace vostrel::skin::test {

struct RecordedMessage {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
};

class RecordingWindow {
public:
    // A hidden WS_POPUP window with the given client size and extra style.
    explicit RecordingWindow(int width, int height, DWORD style = WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
                             const char* title = "Vostrel V1.0", HWND parent = nullptr) {
        EnsureGdiplus();
        RegisterClassOnce();
        window = CreateWindowExA(0, kClassName, title, WS_POPUP | style, 0, 0, width, height,
                                 parent, nullptr, GetModuleHandleA(nullptr), this);
    }
    ~RecordingWindow() {
        if (window && IsWindow(window)) DestroyWindow(window);
    }
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;

    // The messages recorded so far whose message is one of `which`.
    std::vector<RecordedMessage> Of(std::initializer_list<UINT> which) const {
        std::vector<RecordedMessage> out;
        for (const RecordedMessage& m : log)
            for (UINT w : which)
                if (m.message == w) out.push_back(m);
        return out;
    }

    HWND window = nullptr;
    std::vector<RecordedMessage> log;
    bool swallowSysCommand = true;
    // Called after a message is recorded (before the default handling).
    std::function<void(const RecordedMessage&)> onMessage;

private:
    static constexpr const char* kClassName = "VostrelRecordingWindow";

    static void RegisterClassOnce() {
        static const ATOM atom = [] {
            WNDCLASSA wc{};
            wc.style = CS_DBLCLKS;
            wc.lpfnWndProc = Procedure;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
            wc.lpszClassName = kClassName;
            return RegisterClassA(&wc);
        }();
        (void)atom;
    }

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
            SetWindowLongPtrA(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self) {
            self->log.push_back({message, wParam, lParam, GetTickCount()});
            if (self->onMessage) self->onMessage(self->log.back());
            if (message == WM_SYSCOMMAND && self->swallowSysCommand) return 0;
            if (message == WM_NCDESTROY) self->window = nullptr;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
};

// "WM_SYSCOMMAND(0xF001)" style text of the messages, for sequence checks
// that print the whole expected and actual sequences on a difference.
inline std::vector<std::string> Describe(const std::vector<RecordedMessage>& messages) {
    std::vector<std::string> out;
    for (const RecordedMessage& m : messages) {
        const char* name = nullptr;
        switch (m.message) {
            case WM_SYSCOMMAND: name = "WM_SYSCOMMAND"; break;
            case WM_NCLBUTTONDOWN: name = "WM_NCLBUTTONDOWN"; break;
            case WM_TIMER: name = "WM_TIMER"; break;
            default: break;
        }
        char text[64];
        if (name)
            std::snprintf(text, sizeof text, "%s(0x%llX)", name,
                          static_cast<unsigned long long>(m.wParam));
        else
            std::snprintf(text, sizeof text, "0x%04X(0x%llX)", m.message,
                          static_cast<unsigned long long>(m.wParam));
        out.emplace_back(text);
    }
    return out;
}

inline LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

}  // namespace vostrel::skin::test
