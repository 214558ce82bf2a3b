// The routines behind the theme colour, the background picture and the
// composition of a skinned window's image (the WindowSkin operations
// SetWindowBackground to DrawWindowBackground use them).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "skin/core/window_skin.h"

namespace vostrel {
class GdipBitmap;
}

namespace vostrel::skin {

// Average colour of `count` pseudo-random pixels of a picture (the file when
// a name is given, else the bytes), as 0xFF000000 | RGB(r, g, b). A picture
// that does not decode counts every sample as black.
COLORREF SampleAverageColour(const std::string& fileName, const Bytes& bytes, int count);

// The picture with its right (left-aligned) or left (right-aligned) edge and
// its bottom edge faded into the back colour, as PNG bytes; empty when the
// picture does not decode.
Bytes FadeImageEdges(const std::string& fileName, const Bytes& bytes, COLORREF backColour,
                     bool rightAligned);

// Gives a window record its own picture prepared for its drawing mode, and
// the back colour sampled from it. Empty bytes change nothing.
void PrepareWindowImage(WindowRecord& record, const Bytes& bytes);

// The window's picture (its own, else the global one) ready to draw for a
// client area `clientWidth` wide; mode 4 tiles it across that width with
// every second tile mirrored. Null when there is no picture, it does not
// decode, or the mode draws nothing.
std::unique_ptr<GdipBitmap> LoadBackgroundBitmap(int n, int clientWidth);

// Gives the window a region of its client size with rounded corners.
void ApplyWindowRegion(HWND window);

// Invalidates the skinned controls that are direct children of window n.
void RefreshChildControls(int n);

// Invalidates (without erase) every header control of window n.
void InvalidateHeaders(int n);

// Copies a rectangle of the window's composed image (BackgroundDC) to the
// window itself (GetDC, BitBlt, ReleaseDC).
void CopyToWindow(const WindowRecord& record, int x, int y, int width, int height);

// The drawing mode and back colour in force for a window: its own when it has
// its own picture, else the global ones.
int EffectiveDrawMode(const WindowRecord& record);
COLORREF EffectiveBackColour(const WindowRecord& record);

}  // namespace vostrel::skin
