// The skins of child controls: the walk that finds a parent's standard
// controls and gives each one the procedure of its family, the push-button,
// check-box and radio-button skins, and the container (group box) skin.
//
// A control taken by an installer is registered in its family's list of the
// owning window record and carries three window properties: "Hw_hProc" (its
// previous procedure), "Hw_lbID" (its 1-based position in the list) and
// "Hw_FuID" (the window number of the skinned top-level window that holds
// it, also for controls inside a container).
#pragma once

#include <windows.h>

#include <string>

#include "gdiplus/dll.h"
#include "skin/controls/face_cache.h"
#include "skin/core/window_skin.h"

namespace vostrel::skin {

// ---------------------------------------------------------------------------
// Records.

// Kinds of controls in the button list.
enum ButtonKind : int {
    kPushButton = 0,
    kImageTextButton = 1,
    kImageButton = 3,
    kRadioButton = 4,
    kCheckBox = 5,
};

// Family codes of the hover state (WindowRecord::HotFamily).
enum ControlFamily : int {
    kFamilyButtons = 0,
    kFamilyEdits = 1,
    kFamilyTrackbars = 2,
    kFamilyComboBoxes = 3,
    kFamilyScrolled = 4,
    kFamilyUpDowns = 8,
    kFamilyHeaders = 9,
};

// One push button, check box or radio button of the button list.
struct ButtonRecord : ControlRecord {
    int Kind = kPushButton;
    // Encoded pictures of the image kinds: normal, hover, pressed, (unused),
    // disabled.
    Bytes Images[5];
    int ImageLayout = 0;   // image-and-text buttons: 1 image left, 0 above
    std::string Text;
    int Focused = 0;
    int Unused = 0;
    int Checked = 0;       // check boxes and radio buttons, at installation
    HWND Parent = nullptr; // check boxes and radio buttons: the walked parent
    SkinToolTip Tooltip;
    std::string FaceName;
    int FontSize = 0;
    int FontStyle = 0;
    FaceCache Faces;       // push buttons: faces drawn before, for repaints
};

// What ReadControlFont reports of a control's font.
struct ControlFont {
    std::string FaceName;
    int Size = 0;
    int Style = 0;   // GDI+ style bits: 1 bold, 2 italic, 4 underline, 8 strikeout
};

// ---------------------------------------------------------------------------
// Enumeration.

// Runs the eight installers over the direct children of `parent`, in order:
// push buttons; check boxes and radio buttons; edits and combo boxes;
// trackbars; progress bars; list-type controls; up-downs; headers. `n` is
// the window number of the skinned top-level window that holds the parent.
// Nothing happens while SkinControls is 0 or n is not a window number.
void SkinChildControls(int n, HWND parent);

void InstallPushButtons(int n, HWND parent);
void InstallCheckAndRadioButtons(int n, HWND parent);
void InstallEditsAndComboBoxes(int n, HWND parent);
void InstallTrackbars(int n, HWND parent);
void InstallProgressBars(int n, HWND parent);
void InstallScrolledControls(int n, HWND parent);
void InstallUpDowns(int n, HWND parent);
void InstallHeaders(int n, HWND parent);

// Calls f(child) for every direct child of `parent` of the class, in the
// order FindWindowExA gives. The next child is looked up from the one just
// handled, so f may subclass it.
template <typename F>
void WalkChildren(HWND parent, const char* className, F&& f) {
    HWND child = nullptr;
    while ((child = dll::FindWindowExA(parent, child, className, nullptr)) != nullptr) f(child);
}

// Registers a control taken by an installer: stores the handle in the
// record, subclasses the control with `procedure` (the record keeps the
// previous procedure) and sets "Hw_lbID" (position), "Hw_FuID" (n) and
// "Hw_hProc" (previous procedure).
void RegisterControl(int n, int position, ControlRecord& record, HWND control, WNDPROC procedure);

// Passes a message to the control's previous procedure ("Hw_hProc"), or to
// DefWindowProcA when it has none.
LRESULT PassToPreviousProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The record of a registered control, found through its "Hw_FuID" and
// "Hw_lbID" properties in the given list of its window record; nullptr when
// they do not lead back to this control (never registered, or its window
// record is gone). `n` receives the window number.
template <typename R>
R* FindRegisteredControl(HWND control, ControlList WindowRecord::*list, int* n = nullptr) {
    const int owner = static_cast<int>(GetPropValue(control, kPropOwnerNumber));
    const int position = static_cast<int>(GetPropValue(control, kPropNumber));
    WindowRecord* window = RecordOf(owner);
    if (!window) return nullptr;
    R* record = (window->*list).template Get<R>(position);
    if (!record || record->Handle != control) return nullptr;
    if (n) *n = owner;
    return record;
}

// The teardown of a registered control at its WM_NCDESTROY: the brush of its
// last colour reply is freed, its previous procedure put back (unless a
// procedure laid over `ours` since then heads the chain), the skin's
// properties removed and its record emptied (handle and procedure), and the
// hover forgotten when it pointed at this control (`family` and its
// position), so that nothing reads the handle after the system has handed
// the value to another window. Then the message goes on to the previous
// procedure. `record` and `owner` may be null.
LRESULT UnregisterControl(HWND window, WNDPROC ours, ControlRecord* record, WindowRecord* owner,
                          int family, WPARAM wParam, LPARAM lParam);

// The window text of a control ("" when it has none).
std::string ControlWindowText(HWND window);

// Position of the first record of `list` that holds `handle`, 0 if none.
int FindControlRecord(const ControlList& list, HWND handle);

// The control's font as GDI+ sees it (face, em size truncated, style bits).
ControlFont ReadControlFont(HWND control);

// floor(width of `text` in that font) + 1, measured by GDI+; 0 when the font
// cannot be made.
int MeasureTextWidth(const std::string& text, const std::string& face, int size, int style);

// Deletes the brush and bitmap of the control's last control-colour reply
// ("Kj_dxjb", "Kj_wtjb") and removes both properties. Stock objects are never
// deleted. Safe to call on any window, any number of times.
void FreeControlColourBrush(HWND control);

// FreeControlColourBrush for every direct child of `parent`.
void FreeChildColourBrushes(HWND parent);

// ---------------------------------------------------------------------------
// Push buttons, check boxes and radio buttons.

// Subclass procedure of every control in the button list.
LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// WM_DRAWITEM of a skinned parent (n = the parent's window number): draws the
// face of a push button of the button list; other items are left alone.
// True when it drew.
bool DrawButtonItem(int n, const DRAWITEMSTRUCT& item);

// Draws the control now through a DC of its own, with the hover look when
// `hover` is set (ODS_HOTLIGHT added to `state`).
void RepaintButton(HWND control, UINT state, bool hover);

// The face of a push button into `target` (which belongs to the caller):
// state bits ODS_SELECTED, ODS_DISABLED, ODS_FOCUS and ODS_HOTLIGHT.
void DrawPushButtonFace(HWND control, HDC target, UINT state, const RECT& rect);

// The whole check box / radio button, drawn through a DC of its own. Only
// ODS_HOTLIGHT changes the drawing.
void DrawCheckBox(HWND control, UINT state);
void DrawRadioButton(HWND control, UINT state);

// The file bytes of the two 13 x 13 check-box pictures (empty when the
// resource is missing).
const Bytes& CheckBoxPicture(bool checked);

// ---------------------------------------------------------------------------
// Containers.

// Registers and dresses a container of a skinned window (see
// WindowSkin::SkinContainer, which fills in the defaults). Nothing happens
// when it is registered already or has no skinned ancestor.
void InstallContainer(HWND container, int skinPainted, COLORREF tintColour, int tintAlpha,
                      int roundedBorder);

// Subclass procedure of a container.
LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The full paint of container k of window n into `dc` (its own DC when none).
void PaintContainer(int n, int k, HDC dc);

}  // namespace vostrel::skin
