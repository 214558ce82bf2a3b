// Taking an existing top-level window into the skin: its window record with
// the caption buttons and settings, the tool tips of the buttons, the caption
// and bottom-bar layout, the dressing of its direct children and finally the
// window procedure of the skin object.
#include <windows.h>

#include <algorithm>
#include <memory>

#include "gdiplus/dll.h"
#include "skin/controls/child_controls.h"
#include "skin/core/compose.h"
#include "skin/core/skin_images.h"
#include "skin/core/window_skin.h"

namespace vostrel::skin {
namespace {

constexpr int kMinCaptionHeight = 25;
constexpr int kStripHeight = 22;

// One row of the caption buttons a window can get, in strip order (left to
// right). The close button is always there.
struct CaptionButtonRow {
    int WindowRecord::*Condition;  // null: always
    int Width;
    SkinImage Image;
    bool HasRestoreImage;
    CaptionButtonKind Kind;
    const char* Name;
};

const CaptionButtonRow kCaptionButtonRows[] = {
    {&WindowRecord::HelpButton, 26, SkinImage::CaptionHelp, false, kCaptionHelp, "帮助"},
    {&WindowRecord::MenuButton, 26, SkinImage::CaptionMenu, false, kCaptionMenu, "主菜单"},
    {&WindowRecord::HasMinimize, 26, SkinImage::CaptionMinimise, false, kCaptionMinimise, "最小化"},
    {&WindowRecord::HasMaximize, 26, SkinImage::CaptionMaximise, true, kCaptionMaximise, "最大化"},
    {nullptr, 38, SkinImage::CaptionClose, false, kCaptionClose, "关闭"},
};

// The caption-button list of a new record and the strip geometry it gives.
void AddCaptionButtons(WindowRecord& record, int clientWidth, int sizingBorder) {
    record.CaptionButtons.Clear();
    int widthSum = 0, count = 0;
    for (const CaptionButtonRow& row : kCaptionButtonRows) {
        if (row.Condition && !(record.*row.Condition)) continue;
        CaptionButton button;
        button.Width = row.Width;
        button.Height = 18;
        button.Image = LoadSkinImage(row.Image);
        if (row.HasRestoreImage) button.AltImage = LoadSkinImage(SkinImage::CaptionRestore);
        button.Kind = row.Kind;
        button.Name = row.Name;
        widthSum += button.Width;
        ++count;
        record.CaptionButtons.Append(std::move(button));
    }
    // One pixel between neighbours and three of margin.
    record.StripWidth = widthSum + (count - 1) + 3;
    record.StripHeight = kStripHeight;
    record.StripTop = 0;
    // Provisional: LayoutCaptionButtons places the strip from the client
    // width once the record is in the table.
    record.StripLeft = clientWidth - sizingBorder - record.StripWidth - 2;
}

}  // namespace

// Operation 4.
void WindowSkin::AttachSkin(HWND window, const AttachOptions& options) {
    if (!window || !::IsWindow(window)) return;
    if (FindWindowNumber(window) >= 1) return;  // already skinned

    const LONG style = dll::GetWindowLongA(window, GWL_STYLE);
    RECT client{};
    dll::GetClientRect(window, &client);
    SizingBorder = 3;

    auto record = std::make_unique<WindowRecord>();
    record->Handle = window;
    record->CaptionHeight = std::max(options.CaptionHeight.value_or(0), kMinCaptionHeight);
    record->HelpButton = options.HelpButton.value_or(0);
    record->MenuButton = options.MenuButton.value_or(0);
    record->HasMinimize = (style & WS_MINIMIZEBOX) ? 1 : 0;
    record->HasMaximize = (style & WS_MAXIMIZEBOX) ? 1 : 0;
    record->HasClose = 1;
    record->HasCaption = options.HasCaption.value_or(1);
    record->Resizable = options.Resizable.value_or(1);
    record->ShowTitle = options.ShowTitle.value_or(1);
    record->CaptionGloss = options.CaptionGloss.value_or(0);
    record->DrawMode = options.DrawMode.value_or(GlobalDrawMode);
    record->MinTrackWidth = 200;
    record->MinTrackHeight = 150;
    record->MaxTrackWidth = ::GetSystemMetrics(SM_CXSCREEN);
    record->MaxTrackHeight = ::GetSystemMetrics(SM_CYSCREEN);
    record->TitleColour = 0xFFFFFF;
    record->TitleHaloColour = 0x808080;
    record->TitleFont = "宋体";
    record->TitleFontSize = 12;
    record->TitleBold = 1;

    // The own picture is prepared for the drawing mode set just above.
    if (options.Image && !options.Image->empty()) PrepareWindowImage(*record, *options.Image);

    AddCaptionButtons(*record, client.right - client.left, SizingBorder);

    // The taskbar button of a frameless window gets its system menu only
    // with WS_SYSMENU.
    dll::SetWindowLongA(window, GWL_STYLE, style | WS_SYSMENU);

    WindowRecord* r = record.get();
    const int n = Windows.Append(std::move(record));

    r->ToolTip.Create(window);
    int id = 0;
    for (const CaptionButton& button : r->CaptionButtons) {
        ++id;
        const RECT rect{static_cast<LONG>(button.Rect.x), static_cast<LONG>(button.Rect.y),
                        static_cast<LONG>(button.Rect.x + button.Rect.width),
                        static_cast<LONG>(button.Rect.y + button.Rect.height)};
        r->ToolTip.AddTool(rect, button.Name, static_cast<UINT_PTR>(id));
    }
    r->ToolCount = id;

    LayoutCaptionButtons(n);

    const int barHeight = options.BarHeight.value_or(0);
    if (barHeight >= 1) {
        SetBottomBar(n, barHeight, options.BarItems.value_or(std::vector<BarItem>{}));
        r->BarGlowTextColour = 0;
        r->BarGlowColour = 0xFFFFFF;
        r->BarFontName = "宋体";
        r->BarFontSize = 12;
    }
    LayoutBottomBar(n);

    SkinChildControls(n, window);

    r->Recompose = 1;

    // Subclass last: from here on Windows reaches the skin's procedure, which
    // finds the record through "Hw_lbID".
    const WNDPROC procedure = WindowProcedure();
    if (!procedure) return;  // no stub: the window keeps its own procedure
    r->OldWndProc = reinterpret_cast<WNDPROC>(
        dll::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
    SetPropValue(window, kPropPreviousProc, reinterpret_cast<INT_PTR>(r->OldWndProc));
    SetPropValue(window, kPropNumber, n);
}

}  // namespace vostrel::skin
