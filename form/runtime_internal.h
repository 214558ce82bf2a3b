// Shared between the runtime's own files; not for the application.
#pragma once

#include <windows.h>

namespace vostrel::form {

// The window class of every form window.
inline constexpr const char* kFormClass = "VostrelForm";

WNDPROC WindowProcForForms();
bool IsFormWindow(HWND hwnd);
// The font given to every control (owned by the runtime).
HFONT ControlFont();

}  // namespace vostrel::form
