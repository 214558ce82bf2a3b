// Finding and driving real windows from tests: by caption, by class, by
// process; waiting with a time limit; and steps run from a timer inside
// whatever modal loop is running (a message box, a modal window).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace vostrel::test {

inline std::string TextOf(HWND hwnd) {
    if (!hwnd) return {};
    std::string text(static_cast<size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

inline std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

// The first descendant of `parent` whose caption is `caption`.
inline HWND FindChildByCaption(HWND parent, const std::string& caption) {
    struct Search {
        const std::string* caption;
        HWND found;
    } s{&caption, nullptr};
    struct Callback {
        static BOOL CALLBACK Visit(HWND h, LPARAM lp) {
            auto* s = reinterpret_cast<Search*>(lp);
            if (TextOf(h) != *s->caption) return TRUE;
            s->found = h;
            return FALSE;
        }
    };
    EnumChildWindows(parent, &Callback::Visit, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// A top-level window of process `pid` (0: this process) with the class
// and/or caption given (null: any).
inline HWND FindTopLevel(DWORD pid, const char* cls, const char* caption) {
    struct Search {
        DWORD pid;
        const char* cls;
        const char* caption;
        HWND found;
    } s{pid ? pid : GetCurrentProcessId(), cls, caption, nullptr};
    struct Callback {
        static BOOL CALLBACK Visit(HWND h, LPARAM lp) {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD owner_pid = 0;
            GetWindowThreadProcessId(h, &owner_pid);
            if (owner_pid != s->pid) return TRUE;
            if (s->cls && lstrcmpiA(ClassOf(h).c_str(), s->cls) != 0) return TRUE;
            if (s->caption && TextOf(h) != s->caption) return TRUE;
            s->found = h;
            return FALSE;
        }
    };
    EnumWindows(&Callback::Visit, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// The visible message box of process `pid` (class "#32770"), or null.
inline HWND FindMessageBox(DWORD pid) {
    HWND box = FindTopLevel(pid, "#32770", nullptr);
    return box && IsWindowVisible(box) ? box : nullptr;
}

// The text of a message box: its static control with identifier 0xFFFF.
inline std::string MessageBoxText(HWND box) { return TextOf(GetDlgItem(box, 0xFFFF)); }

// Polls `done` (pumping this thread's messages) until it holds or `ms`
// milliseconds pass. Returns its last answer.
inline bool WaitFor(const std::function<bool()>& done, DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        if (done()) return true;
        if (GetTickCount64() > end) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
}

// Steps run one after another from a thread timer, so they run inside any
// modal loop of this thread. A step returns true when it is done (false:
// try again at the next tick). Steps only post clicks, never send them, so
// no step blocks inside the timer. If the steps are not all done within the
// time limit, every window of the thread is closed so the test can go on
// and fail instead of hanging.
class TimerScript {
public:
    explicit TimerScript(std::vector<std::function<bool()>> steps, DWORD limit_ms = 15000)
        : steps_(std::move(steps)), end_(GetTickCount64() + limit_ms) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 20, &TimerScript::Tick);
    }
    ~TimerScript() {
        KillTimer(nullptr, timer_);
        if (current_ == this) current_ = nullptr;
    }
    bool Finished() const { return next_ == steps_.size(); }
    bool TimedOut() const { return timed_out_; }
    size_t StepsDone() const { return next_; }

private:
    static BOOL CALLBACK CloseWindowOfThread(HWND h, LPARAM) {
        if (ClassOf(h) == "#32770") PostMessageA(h, WM_COMMAND, IDOK, 0);
        else PostMessageA(h, WM_CLOSE, 0, 0);
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        TimerScript* s = current_;
        if (!s || s->running_) return;
        s->running_ = true;
        if (s->next_ < s->steps_.size() && GetTickCount64() > s->end_) {
            s->timed_out_ = true;
            s->next_ = s->steps_.size();
            EnumThreadWindows(GetCurrentThreadId(), &CloseWindowOfThread, 0);
        }
        if (s->next_ < s->steps_.size() && s->steps_[s->next_]()) ++s->next_;
        s->running_ = false;
    }

    static inline TimerScript* current_ = nullptr;
    std::vector<std::function<bool()>> steps_;
    ULONGLONG end_;
    size_t next_ = 0;
    bool running_ = false;
    bool timed_out_ = false;
    UINT_PTR timer_ = 0;
};

}  // namespace vostrel::test
