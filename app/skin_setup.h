// The skin set-up of the main window, run by its created event: the global
// background picture and theme colour, the control options, the skin on the
// main window and on the group box that holds the site buttons.
#pragma once

#include <windows.h>

#include "form/form.h"

namespace vostrel::app {

// The group box of the main window that holds the site buttons.
inline constexpr const char* kSiteGroupBox = "分组框1";

// Dresses `main` and its group box. Does nothing while the skin object does
// not exist.
void SkinSetUp(HWND main, HWND groupBox);
// The same for the main window as the form runtime built it.
void SkinSetUp(form::Window& main);

}  // namespace vostrel::app
