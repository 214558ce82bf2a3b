// The skin of edits and combo boxes.
//
// Edits keep their own text handling and scroll bars; the skin draws their
// border ring (thin, theme-coloured on focus, double width on hover) over
// the window's backdrop and, while TransparentControls is on, a background
// of the window image under the white veil. Combo boxes are drawn whole by
// the skin: backdrop, frame, a rounded drop button with its arrow, and the
// text of a drop-down list. The areas of a combo box's own children (its
// edit, or its list in the simple style) are painted in the colour key
// magenta, which the final transparent copy skips, so the children show.
//
// A control taken here stays subclassed until its window goes: at
// WM_NCDESTROY its previous procedure is put back, the properties the skin
// set are removed and its record is emptied (the position stays reserved).
#pragma once

#include <windows.h>

#include <optional>

#include "skin/controls/child_controls.h"

namespace vostrel::skin {

// One edit of the edit list.
struct EditRecord : ControlRecord {
    int Focused = 0;    // 1 while the edit has the focus
    int Hover = 0;      // kept for the record's layout; nothing sets it
    int MouseDown = 0;  // 1 between WM_LBUTTONDOWN and WM_LBUTTONUP
    int Unused1 = 0;
    int Unused2 = 0;
};

// One combo box of the combo-box list.
struct ComboBoxRecord : ControlRecord {
    int Focused = 0;
    int Unused = 0;
};

// Subclass procedures of the two lists.
LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ComboBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The records of a registered edit / combo box (nullptr when the control is
// not, or no longer, in its list). `n` receives the window number.
EditRecord* FindEditRecord(HWND edit, int* n = nullptr);
ComboBoxRecord* FindComboBoxRecord(HWND combo, int* n = nullptr);

// The edit's border ring, drawn over its backdrop into its window DC. A
// value that is not given comes from the record (focus; the hover flag,
// which reads 0). Nothing is drawn for an edit that has no skinned ancestor.
void PaintEditFrame(HWND edit, std::optional<bool> focused = std::nullopt,
                    std::optional<bool> hover = std::nullopt);

// The outline part of the frame, for an edit of w x h pixels: on hover a
// 2-pixel theme frame, else a 1-pixel frame in the theme colour when focused,
// faint black otherwise.
void DrawEditOutline(HWND edit, std::optional<bool> focused, std::optional<bool> hover,
                     GdipGraphics& graphics, int width, int height);

// The edit's client area as the window image under the white veil: into
// (0, 0) of `dc` when intoGivenDc, else into its place in the edit's window DC.
void PaintEditBackground(HWND edit, HDC dc, bool intoGivenDc);

// A new region (screen coordinates) covering the edit's scroll bars, the
// corner box included; nullptr when it has none. The caller deletes it with
// dll::DeleteObject.
HRGN ScrollBarRegion(HWND edit);

// Draws combo box `position` of window n whole: hover 0 or 1; focus from the
// record when not given. Out-of-range numbers and positions draw nothing.
void DrawComboBox(int n, int position, bool hover, std::optional<bool> focused = std::nullopt);

// The window's rectangle relative to the top-left of its parent's window
// rectangle; all zero for a skinned top-level window.
RECT ChildRectInParent(HWND window);

// The style has WS_VSCROLL or WS_HSCROLL.
bool HasScrollBars(HWND window);

// The file bytes of the 7 x 4 drop-arrow picture (empty when the resource is
// missing).
const Bytes& ComboArrowPicture();

// One full skinned paint of a registered control, as its procedure does for
// WM_NCPAINT (and, for a transparent edit, WM_ERASEBKGND): for benchmarks and
// galleries. Controls that are not registered are left alone.
void PaintSkinnedEdit(HWND edit);
void PaintSkinnedComboBox(HWND combo);

}  // namespace vostrel::skin
