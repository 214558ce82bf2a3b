// SkinToolTip: one tool-tip window, owned by the window whose tools it shows.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "skin/core/window_skin.h"

namespace vostrel::skin {
namespace {

void EnsureToolTipClass() {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
        return ::InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)registered;
}

TTTOOLINFOA ToolInfo(HWND owner, UINT_PTR id) {
    TTTOOLINFOA info{};
    // The first version of the record: every version of the control takes it.
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.hwnd = owner;
    info.uId = id;
    return info;
}

// True when `window` is still the tool-tip window this object made: the
// owner's destruction destroys it first, and a handle is only ours while it
// names a live tool-tip window.
bool IsLiveToolTip(HWND window) {
    if (!window || !::IsWindow(window)) return false;
    char name[32] = {};
    ::GetClassNameA(window, name, sizeof name);
    return ::lstrcmpiA(name, TOOLTIPS_CLASSA) == 0;
}

}  // namespace

SkinToolTip::SkinToolTip(SkinToolTip&& other) noexcept
    : window_(other.window_), owner_(other.owner_) {
    other.window_ = nullptr;
    other.owner_ = nullptr;
}

SkinToolTip& SkinToolTip::operator=(SkinToolTip&& other) noexcept {
    if (this != &other) {
        Destroy();
        window_ = other.window_;
        owner_ = other.owner_;
        other.window_ = nullptr;
        other.owner_ = nullptr;
    }
    return *this;
}

bool SkinToolTip::Create(HWND owner, bool balloon) {
    Destroy();
    EnsureToolTipClass();
    owner_ = owner;
    const DWORD style = TTS_ALWAYSTIP | (balloon ? TTS_BALLOON : 0);
    window_ = ::CreateWindowExA(0, TOOLTIPS_CLASSA, "", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                ::GetModuleHandleA(nullptr), nullptr);
    return window_ != nullptr;
}

bool SkinToolTip::AddTool(const RECT& rect, const std::string& text, UINT_PTR id,
                          bool subclass) {
    if (!window_) return false;
    TTTOOLINFOA info = ToolInfo(owner_, id);
    info.uFlags = subclass ? TTF_SUBCLASS : 0;
    info.rect = rect;
    info.lpszText = const_cast<char*>(text.c_str());  // copied by the control
    return ::SendMessageA(window_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

void SkinToolTip::SetToolRect(UINT_PTR id, const RECT& rect) {
    if (!window_) return;
    TTTOOLINFOA info = ToolInfo(owner_, id);
    info.rect = rect;
    ::SendMessageA(window_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&info));
}

void SkinToolTip::SetToolText(UINT_PTR id, const std::string& text) {
    if (!window_) return;
    TTTOOLINFOA info = ToolInfo(owner_, id);
    info.lpszText = const_cast<char*>(text.c_str());
    ::SendMessageA(window_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

void SkinToolTip::RelayEvent(HWND from, UINT message, WPARAM wParam, LPARAM lParam) const {
    if (!window_) return;
    MSG msg{from, message, wParam, lParam, 0, {}};
    ::SendMessageA(window_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

void SkinToolTip::Destroy() noexcept {
    if (IsLiveToolTip(window_)) ::DestroyWindow(window_);
    window_ = nullptr;
    owner_ = nullptr;
}

}  // namespace vostrel::skin
