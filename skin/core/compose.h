// The routines behind the theme colour, the background picture and the
// composition of a skinned window's image (the WindowSkin operations
// SetWindowBackground to DrawWindowBackground use them).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "gdiplus/gdip.h"
#include "skin/core/window_skin.h"

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
// decode, or the mode draws nothing. The bitmap reads pixels kept for the
// next call: dispose of it before calling again.
std::unique_ptr<GdipBitmap> LoadBackgroundBitmap(int n, int clientWidth);

// A small picture (PNG bytes) ready to draw, decoded once and kept as pixels;
// null when it does not decode. The bitmap reads the kept pixels: dispose of
// it before the next call.
std::unique_ptr<GdipBitmap> LoadPicture(const Bytes& bytes);

// Frees the decoded pixels kept for the next composition and drawing.
void ReleasePreparedPicture();

// Gives the window a region of its client size with rounded corners.
void ApplyWindowRegion(HWND window);

// Invalidates the skinned controls that are direct children of window n.
void RefreshChildControls(int n);

// Invalidates (without erase) every header control of window n.
void InvalidateHeaders(int n);

// A graphics that draws on a record DC's image. When the DC holds a 32-bit
// DIB section the graphics draws straight into its pixel memory (a GDI+
// bitmap over the same bits), several times cheaper than a graphics on the
// DC; otherwise it is made on the DC. The DC's bitmap must stay selected
// while the canvas lives.
class ImageCanvas {
public:
    explicit ImageCanvas(const RecordDc& dc);
    ~ImageCanvas() { Release(); }
    ImageCanvas(const ImageCanvas&) = delete;
    ImageCanvas& operator=(const ImageCanvas&) = delete;

    GdipGraphics& Graphics() { return *graphics_; }
    // Deletes the graphics (and the bitmap over the pixels); the drawing is
    // in the DC's image from then on.
    void Release();

private:
    std::unique_ptr<GdipBitmap> view_;
    std::unique_ptr<GdipGraphics> graphics_;
};

// Copies a rectangle of the window's composed image (BackgroundDC) to the
// window itself (GetDC, BitBlt, ReleaseDC).
void CopyToWindow(const WindowRecord& record, int x, int y, int width, int height);

// The drawing mode and back colour in force for a window: its own when it has
// its own picture, else the global ones.
int EffectiveDrawMode(const WindowRecord& record);
COLORREF EffectiveBackColour(const WindowRecord& record);

}  // namespace vostrel::skin
