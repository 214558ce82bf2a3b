// Drawing primitives shared by every painter of the skin: colour conversion,
// the two path shapes and the glow outline, the backdrop DC (a memory DC that
// already holds what lies behind a control), the lookups that lead from a
// control to the skinned window or container whose image forms its backdrop,
// a few window tests and the hit test of the caption-button strip.
//
// Every painter follows the same order: CreateBackdropDC, a graphics on the
// returned DC, draw, delete the graphics, BitBlt the DC to the target,
// ReleaseBackdropDC (or BackdropToBitmap, which releases it).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace vostrel {
class GdipGraphics;
class GdipPath;
}  // namespace vostrel

namespace vostrel::skin {

// ---- Colours ----------------------------------------------------------------

// COLORREF (0x00BBGGRR) to GDI+ ARGB (0xAARRGGBB). The top byte of the colour
// is ignored; the alpha is `alpha` when useAlpha is set, else 255.
uint32_t ArgbFromColorRef(COLORREF colour, int alpha, bool useAlpha);

// ARGB back to a COLORREF; the alpha byte goes to *alpha when given.
COLORREF ColorRefFromArgb(uint32_t argb, int* alpha = nullptr);

// ---- Path shapes --------------------------------------------------------------

// One closed rounded rectangle. `corner` is the side of each arc's square
// (clamped to 1..100), so the visible radius is corner / 2. The bottom-right
// arc is one pixel larger and one pixel further up and left than the others.
void AddRoundRectPath(GdipPath& path, float x, float y, float width, float height,
                      int corner);

// One open figure: up the left side, rounded top-left and top-right corners,
// down the right side; no bottom edge.
void AddTopRoundedPath(GdipPath& path, int x, int y, int width, int height, int corner);

// One open figure with only its top-right corner rounded (the close caption
// button's shape): up the left side, along the top, a 90-degree arc in the
// corner's square, down the right side.
void AddTopRightRoundedPath(GdipPath& path, int x, int y, int width, int height,
                            int corner);

// A halo along the path: `count` strokes of widths 1..count in the colour at
// `alpha`, strongest on the line and fading outwards over count / 2 pixels.
void DrawGlowOutline(GdipGraphics& graphics, GdipPath& path, int count,
                     COLORREF colour, int alpha);

// ---- Backdrop DCs ---------------------------------------------------------------

// A new 32-bit memory DC of the rectangle's size (the rectangle is in the
// control's window coordinates) holding what lies behind the control on its
// skinned window, with the tint of the container it sits in. 0 when the
// control has no skinned ancestor and no host. Release it with
// ReleaseBackdropDC (or BackdropToBitmap).
HDC CreateBackdropDC(HWND control, const RECT& rect);

// Frees a DC made by CreateBackdropDC. False for 0 or a DC that is not (or no
// longer) lent out.
bool ReleaseBackdropDC(HDC dc);

// A new device-dependent bitmap holding w x h pixels of the backdrop DC, which
// is released. The caller owns the bitmap.
HBITMAP BackdropToBitmap(HDC dc, int width, int height);

// The control's client area as a backdrop bitmap under the white veil.
HBITMAP CreateVeiledBackdropBitmap(HWND control);

// Number of backdrop DCs lent out now (normally 0 between messages).
int BackdropDcCount();

// ---- Lookups ------------------------------------------------------------------

// Window number of the nearest ancestor (parents only) that has a record.
int FindSkinnedAncestor(HWND window);
// List index of `window` in window n's container list, 0 if absent.
int FindContainerNumber(int n, HWND window);
// List index of the nearest ancestor container of `window` whose tint reaches
// its children, 0 when there is none before `stop`.
int FindTintedContainerAncestor(int n, HWND window, HWND stop);
// Walks from `window` up its parents to the first skinned window (returns 1
// with *n set), container or backdrop host (returns 0 with *n and
// *container, or *host, set). Outputs not named stay untouched.
int FindSkinHost(HWND window, int* n, int* container, HWND* host, bool honourHosts);

// `window`'s window rectangle relative to the origin of `reference`'s.
RECT RectRelativeTo(HWND reference, HWND window);
// The same relative to the root ancestor.
RECT RectRelativeToRoot(HWND window);
// The same relative to the nearest skinned ancestor; all zero for a window
// that itself has a record.
RECT RectInSkinnedWindow(HWND window);

// The client area in window coordinates, assuming equal borders on opposite
// sides and 17-pixel scroll bars.
RECT ClientRectInWindow(HWND window);

// ---- Window tests ---------------------------------------------------------------

std::string GetClassNameText(HWND window);
// Class "ListBox" (exactly) with an owner-drawn style.
bool IsOwnerDrawListBox(HWND window);
// The button style's low four bits are BS_AUTORADIOBUTTON.
bool IsAutoRadioButton(HWND window);

// True when the mouse position of a message (lParam, client coordinates)
// lies in window n's caption-button strip: L - 2 <= x <= L + W and y <= H,
// and never above the window (a negative y).
bool HitCaptionStrip(int n, LPARAM lParam);

}  // namespace vostrel::skin
