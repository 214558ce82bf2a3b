// The walk over a parent's standard child controls: eight installers, one per
// family, each taking the children of its classes into the family's list of
// the owning window record and subclassing them with the family's procedure.
#include "skin/controls/child_controls.h"

#include <cmath>
#include <memory>
#include <vector>

#include "gdiplus/gdip.h"
#include "skin/core/primitives.h"

namespace vostrel::skin {

namespace {

// The low four bits of a button's style.
int ButtonType(HWND button) {
    return static_cast<int>(dll::GetWindowLongA(button, GWL_STYLE) & 0x0F);
}

bool IsStockObject(HGDIOBJ object) {
    for (int i = WHITE_BRUSH; i <= DC_PEN; ++i)
        if (object == dll::GetStockObject(i)) return true;
    return false;
}

}  // namespace

std::string ControlWindowText(HWND window) {
    const int length = dll::GetWindowTextLengthA(window);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int got = dll::GetWindowTextA(window, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

LRESULT PassToPreviousProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto previous = reinterpret_cast<WNDPROC>(GetPropValue(window, kPropPreviousProc));
    if (!previous) return dll::DefWindowProcA(window, message, wParam, lParam);
    return dll::CallWindowProcA(previous, window, message, wParam, lParam);
}

LRESULT UnregisterControl(HWND window, WNDPROC ours, ControlRecord* record, WindowRecord* owner,
                          int family, WPARAM wParam, LPARAM lParam) {
    FreeControlColourBrush(window);
    auto previous = reinterpret_cast<WNDPROC>(GetPropValue(window, kPropPreviousProc));
    const int position = static_cast<int>(GetPropValue(window, kPropNumber));
    if (previous &&
        reinterpret_cast<WNDPROC>(dll::GetWindowLongPtrA(window, GWLP_WNDPROC)) == ours)
        dll::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    for (const char* key : {kPropPreviousProc, kPropNumber, kPropOwnerNumber, kPropTextColour})
        ::RemovePropA(window, key);
    if (record) {
        record->Handle = nullptr;
        record->PreviousProc = nullptr;
        if (owner && owner->HotFamily == family && owner->HotControl == position)
            owner->HotControl = 0;
    }
    if (!previous) return dll::DefWindowProcA(window, WM_NCDESTROY, wParam, lParam);
    return dll::CallWindowProcA(previous, window, WM_NCDESTROY, wParam, lParam);
}

void RegisterControl(int n, int position, ControlRecord& record, HWND control, WNDPROC procedure) {
    record.Handle = control;
    auto previous = reinterpret_cast<WNDPROC>(dll::SetWindowLongPtrA(
        control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
    record.PreviousProc = previous;
    SetPropValue(control, kPropNumber, position);
    SetPropValue(control, kPropOwnerNumber, n);
    SetPropValue(control, kPropPreviousProc, reinterpret_cast<INT_PTR>(previous));
}

// ---------------------------------------------------------------------------

void SkinChildControls(int n, HWND parent) {
    InstallPushButtons(n, parent);
    InstallCheckAndRadioButtons(n, parent);
    InstallEditsAndComboBoxes(n, parent);
    InstallTrackbars(n, parent);
    InstallProgressBars(n, parent);
    InstallScrolledControls(n, parent);
    InstallUpDowns(n, parent);
    InstallHeaders(n, parent);
}

int FindControlRecord(const ControlList& list, HWND handle) { return list.Find(handle); }

void InstallPushButtons(int n, HWND parent) {
    WindowRecord* record = RecordOf(n);
    if (!SkinControls || !record || !parent) return;
    WalkChildren(parent, "BUTTON", [&](HWND child) {
        const int type = ButtonType(child);
        if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON && type != BS_USERBUTTON) return;
        if (FindControlRecord(record->Buttons, child) != 0) return;
        auto button = std::make_unique<ButtonRecord>();
        ButtonRecord* b = button.get();
        const int position = record->Buttons.Choose(std::move(button));
        b->Kind = kPushButton;
        b->Text = ControlWindowText(child);
        RegisterControl(n, position, *b, child, ButtonProc);
        // Owner-drawn from now on: the parent's skin draws the face.
        dll::SetWindowLongA(child, GWL_STYLE, dll::GetWindowLongA(child, GWL_STYLE) | 0x0B);
        ControlFont font = ReadControlFont(child);
        b->FaceName = font.FaceName.empty() ? std::string("宋体") : font.FaceName;
        b->FontSize = font.Size == 0 ? 12 : font.Size;
        b->FontStyle = font.Style;
    });
}

void InstallCheckAndRadioButtons(int n, HWND parent) {
    WindowRecord* record = RecordOf(n);
    if (!SkinControls || !record || !parent) return;
    WalkChildren(parent, "BUTTON", [&](HWND child) {
        const int type = ButtonType(child);
        int kind;
        if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_PUSHBOX)
            kind = kCheckBox;
        else if (type == BS_AUTORADIOBUTTON)
            kind = kRadioButton;
        else
            return;
        // A control walked a second time keeps its one record: subclassing it
        // again would store ButtonProc as its own previous procedure, and
        // every message would then recurse until the stack overflows.
        if (FindControlRecord(record->Buttons, child) != 0) return;
        auto button = std::make_unique<ButtonRecord>();
        ButtonRecord* b = button.get();
        const int position = record->Buttons.Choose(std::move(button));
        b->Text = ControlWindowText(child);
        b->Checked = dll::SendMessageA(child, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
        b->Parent = parent;
        b->Kind = kind;
        ControlFont font = ReadControlFont(child);
        b->FaceName = font.FaceName;
        b->FontSize = font.Size;
        b->FontStyle = font.Style;
        RegisterControl(n, position, *b, child, ButtonProc);
    });
}

// The other installers live with their families' skins (edit_combo.cpp,
// trackbar.cpp, progress_bar.cpp, scrolled_controls.cpp, up_down.cpp,
// header.cpp).

// ---------------------------------------------------------------------------

ControlFont ReadControlFont(HWND control) {
    ControlFont result;
    auto font = reinterpret_cast<HFONT>(dll::SendMessageA(control, WM_GETFONT, 0, 0));
    HDC dc = dll::GetDC(control);
    if (!dc) return result;
    GdipFont gpFont;
    LOGFONTA logFont{};
    if (font && dll::GetObjectA(font, sizeof logFont, &logFont) > 0)
        gpFont.CreateFromLogFontA(dc, &logFont);
    else
        gpFont.CreateFromDC(dc);
    if (gpFont.Native()) {
        result.Size = static_cast<int>(gpFont.GetSize());
        result.Style = gpFont.GetStyle();
        GdipFontFamily family;
        if (gpFont.GetFamily(family)) result.FaceName = family.GetFamilyName();
        family.Delete();
        gpFont.Delete();
    }
    dll::ReleaseDC(control, dc);
    return result;
}

int MeasureTextWidth(const std::string& text, const std::string& face, int size, int style) {
    HDC dc = dll::CreateCompatibleDC(nullptr);
    if (!dc) return 0;
    int width = 0;
    {
        GdipGraphics graphics;
        GdipFont font;
        if (graphics.CreateFromHDC(dc) &&
            font.CreateFromName(face, static_cast<float>(size), style, gp::UnitWorld)) {
            gp::RectF bounds{};
            if (graphics.MeasureString(text, font, gp::RectF(0, 0, 0, 0), nullptr, bounds))
                width = static_cast<int>(std::floor(bounds.Width)) + 1;
        }
        font.Delete();
        graphics.Delete();
    }
    dll::DeleteDC(dc);
    return width;
}

void FreeControlColourBrush(HWND control) {
    if (!control) return;
    auto brush = reinterpret_cast<HGDIOBJ>(::RemovePropA(control, kPropColourBrush));
    auto bitmap = reinterpret_cast<HGDIOBJ>(::RemovePropA(control, kPropColourBrushBitmap));
    // The brush first: it holds a reference to its pattern bitmap.
    if (brush && !IsStockObject(brush)) dll::DeleteObject(brush);
    if (bitmap && !IsStockObject(bitmap)) dll::DeleteObject(bitmap);
}

void FreeChildColourBrushes(HWND parent) {
    if (!parent) return;
    HWND child = nullptr;
    while ((child = dll::FindWindowExA(parent, child, nullptr, nullptr)) != nullptr)
        FreeControlColourBrush(child);
}

}  // namespace vostrel::skin
