// The gallery's layout: one row per control, grouped by the box that holds
// it. Three columns: text and lists on the left, the value controls and the
// buttons in the middle, the other common controls on the right.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <algorithm>

#include "gallery.h"

namespace vostrel::gallery {
namespace {

constexpr DWORD kGroupBox = BS_GROUPBOX;
// Edits wear the sunken client edge, the border the edit skin dresses.
constexpr DWORD kEdit = WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kMultiLine = WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                             ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN;
constexpr DWORD kHorzTicks = TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP;
constexpr DWORD kVertTicks = TBS_VERT | TBS_AUTOTICKS | WS_TABSTOP;
constexpr DWORD kBareBar = CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;

constexpr ControlEntry kTable[] = {
    // Left column: edits, combo boxes, list controls.
    {kGroupEdits, 0, "Button", kGroupBox, "编辑框", 10, 40, 384, 196, Dressing::Container},
    {kEditSingle, kGroupEdits, "Edit", kEdit, "单行编辑框", 12, 22, 174, 24, Dressing::Installer, WS_EX_CLIENTEDGE},
    {kEditPassword, kGroupEdits, "Edit", kEdit | ES_PASSWORD, "secret", 198, 22, 174, 24,
     Dressing::Installer, WS_EX_CLIENTEDGE},
    {kEditMulti, kGroupEdits, "Edit", kMultiLine, "", 12, 54, 360, 130, Dressing::Installer, WS_EX_CLIENTEDGE},

    {kGroupCombos, 0, "Button", kGroupBox, "组合框", 10, 242, 384, 118, Dressing::Container},
    {kComboSimple, kGroupCombos, "ComboBox", CBS_SIMPLE | WS_VSCROLL | WS_TABSTOP, "", 12, 22,
     112, 88, Dressing::Installer},
    {kComboDropDown, kGroupCombos, "ComboBox", CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP, "", 136,
     22, 112, 160, Dressing::Installer},
    {kComboDropList, kGroupCombos, "ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, "",
     260, 22, 112, 160, Dressing::Installer},

    {kGroupLists, 0, "Button", kGroupBox, "列表框、树和列表视图", 10, 366, 384, 370,
     Dressing::Container},
    {kListBox, kGroupLists, "ListBox",
     WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, "", 12, 22, 130,
     140, Dressing::Installer},
    {kTreeView, kGroupLists, WC_TREEVIEWA,
     WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
     "", 152, 22, 220, 140, Dressing::Installer},
    {kListView, kGroupLists, WC_LISTVIEWA,
     WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL, "", 12, 172, 360,
     186, Dressing::Installer},

    // Middle column: trackbars, progress bars, up-downs, buttons, the tinted
    // container with check boxes and radio buttons.
    {kGroupTrackbars, 0, "Button", kGroupBox, "滑块：下、上、两侧、无刻度、选择范围；竖直", 406,
     40, 384, 250, Dressing::Container},
    {kTrackBottom, kGroupTrackbars, TRACKBAR_CLASSA, kHorzTicks | TBS_BOTTOM, "", 12, 22, 240, 36,
     Dressing::Installer},
    {kTrackTop, kGroupTrackbars, TRACKBAR_CLASSA, kHorzTicks | TBS_TOP, "", 12, 62, 240, 36,
     Dressing::Installer},
    {kTrackBoth, kGroupTrackbars, TRACKBAR_CLASSA, kHorzTicks | TBS_BOTH, "", 12, 102, 240, 42,
     Dressing::Installer},
    {kTrackNoTicks, kGroupTrackbars, TRACKBAR_CLASSA, TBS_HORZ | TBS_NOTICKS | WS_TABSTOP, "", 12,
     150, 240, 30, Dressing::Installer},
    {kTrackSelection, kGroupTrackbars, TRACKBAR_CLASSA, kHorzTicks | TBS_ENABLESELRANGE, "", 12,
     190, 240, 40, Dressing::Installer},
    {kTrackVertRight, kGroupTrackbars, TRACKBAR_CLASSA, kVertTicks | TBS_RIGHT, "", 260, 22, 34,
     216, Dressing::Installer},
    {kTrackVertLeft, kGroupTrackbars, TRACKBAR_CLASSA, kVertTicks | TBS_LEFT, "", 298, 22, 34, 216,
     Dressing::Installer},
    {kTrackVertBoth, kGroupTrackbars, TRACKBAR_CLASSA, kVertTicks | TBS_BOTH, "", 336, 22, 40, 216,
     Dressing::Installer},

    {kGroupProgress, 0, "Button", kGroupBox, "进度条", 406, 296, 384, 120, Dressing::Container},
    {kProgressHorz, kGroupProgress, PROGRESS_CLASSA, 0, "", 12, 24, 296, 20, Dressing::Installer},
    {kProgressSmooth, kGroupProgress, PROGRESS_CLASSA, PBS_SMOOTH, "", 12, 54, 296, 20,
     Dressing::Installer},
    {kProgressFull, kGroupProgress, PROGRESS_CLASSA, PBS_SMOOTH, "", 12, 84, 296, 20,
     Dressing::Installer},
    {kProgressVert, kGroupProgress, PROGRESS_CLASSA, PBS_VERTICAL, "", 324, 18, 18, 90,
     Dressing::Installer},
    {kProgressVertSmooth, kGroupProgress, PROGRESS_CLASSA, PBS_VERTICAL | PBS_SMOOTH, "", 352, 18,
     18, 90, Dressing::Installer},

    // An up-down made with UDS_AUTOBUDDY takes the sibling made just before
    // it as its buddy.
    {kGroupUpDowns, 0, "Button", kGroupBox, "上下控件与伙伴", 406, 422, 384, 64,
     Dressing::Container},
    {kUpDownRightBuddy, kGroupUpDowns, "Edit", kEdit | ES_NUMBER, "5", 12, 26, 100, 24,
     Dressing::Installer, WS_EX_CLIENTEDGE},
    {kUpDownRight, kGroupUpDowns, UPDOWN_CLASSA,
     UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS, "", 0, 0, 0, 0,
     Dressing::Installer},
    {kUpDownLeftBuddy, kGroupUpDowns, "Edit", kEdit | ES_NUMBER, "50", 132, 26, 100, 24,
     Dressing::Installer, WS_EX_CLIENTEDGE},
    {kUpDownLeft, kGroupUpDowns, UPDOWN_CLASSA,
     UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNLEFT | UDS_ARROWKEYS, "", 0, 0, 0, 0,
     Dressing::Installer},
    {kUpDownHorz, kGroupUpDowns, UPDOWN_CLASSA, UDS_HORZ | UDS_WRAP, "", 256, 26, 48, 24,
     Dressing::Installer},

    {kGroupButtons, 0, "Button", kGroupBox, "按钮、图像按钮、图文按钮", 406, 492, 384, 142,
     Dressing::Container},
    {kPushButton, kGroupButtons, "Button", BS_PUSHBUTTON | WS_TABSTOP, "普通按钮", 12, 24, 110,
     30, Dressing::Installer},
    {kDefaultButton, kGroupButtons, "Button", BS_DEFPUSHBUTTON | WS_TABSTOP, "默认按钮", 134, 24,
     110, 30, Dressing::Installer},
    {kDisabledButton, kGroupButtons, "Button", BS_PUSHBUTTON | WS_DISABLED, "禁用按钮", 256, 24,
     110, 30, Dressing::Installer},
    {kImageButton, kGroupButtons, "Button", BS_PUSHBUTTON | WS_TABSTOP, "", 12, 70, 40, 40,
     Dressing::ImageButton},
    {kImageButtonDisabled, kGroupButtons, "Button", BS_PUSHBUTTON | WS_DISABLED, "", 62, 70, 40,
     40, Dressing::ImageButton},
    {kImageTextLeft, kGroupButtons, "Button", BS_PUSHBUTTON | WS_TABSTOP, "图文按钮", 114, 72,
     120, 36, Dressing::ImageTextButton},
    {kImageTextAbove, kGroupButtons, "Button", BS_PUSHBUTTON | WS_TABSTOP, "上图下文", 256, 62,
     96, 66, Dressing::ImageTextButton},

    // Not a group box: dressed with a tint and a rounded border.
    {kTintedContainer, 0, "Static", SS_LEFT, "", 406, 642, 384, 94, Dressing::Container},
    {kCheckChecked, kTintedContainer, "Button", BS_AUTOCHECKBOX | WS_TABSTOP, "复选框（选中）",
     14, 10, 160, 22, Dressing::Installer},
    {kCheckPlain, kTintedContainer, "Button", BS_AUTOCHECKBOX | WS_TABSTOP, "复选框", 14, 36, 160,
     22, Dressing::Installer},
    {kCheckDisabled, kTintedContainer, "Button", BS_AUTOCHECKBOX | WS_DISABLED, "复选框（禁用）",
     14, 62, 160, 22, Dressing::Installer},
    {kRadioOne, kTintedContainer, "Button", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP,
     "单选钮 一", 200, 10, 160, 22, Dressing::Installer},
    {kRadioTwo, kTintedContainer, "Button", BS_AUTORADIOBUTTON, "单选钮 二", 200, 36, 160, 22,
     Dressing::Installer},
    {kRadioThree, kTintedContainer, "Button", BS_AUTORADIOBUTTON, "单选钮 三", 200, 62, 160, 22,
     Dressing::Installer},

    // Right column: the other common controls, the IP-address and
    // date-time controls, a rich edit.
    {kGroupCommon, 0, "Button", kGroupBox, "其他通用控件", 802, 40, 388, 410,
     Dressing::Container},
    {kToolBar, kGroupCommon, TOOLBARCLASSNAMEA, kBareBar | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS, "",
     12, 20, 364, 28, Dressing::CommonControl},
    {kMonthCalendar, kGroupCommon, MONTHCAL_CLASSA, WS_BORDER, "", 12, 54, 228, 162,
     Dressing::CommonControl},
    {kIpAddress, kGroupCommon, WC_IPADDRESSA, WS_TABSTOP, "", 250, 58, 126, 24,
     Dressing::Installer},
    {kDatePicker, kGroupCommon, DATETIMEPICK_CLASSA, DTS_SHORTDATEFORMAT | WS_TABSTOP, "", 250,
     92, 126, 24, Dressing::Installer},
    {kTimePicker, kGroupCommon, DATETIMEPICK_CLASSA, DTS_TIMEFORMAT | WS_TABSTOP, "", 250, 126,
     126, 24, Dressing::Installer},
    // Below the calendar, which takes the height it asks for (about 190).
    {kTabControl, kGroupCommon, WC_TABCONTROLA, WS_CLIPCHILDREN | WS_TABSTOP, "", 12, 252, 364,
     114, Dressing::CommonControl},
    {kTabPageEdit, kTabControl, "Edit", kEdit, "标签页里的编辑框", 12, 36, 200, 24,
     Dressing::Installer, WS_EX_CLIENTEDGE},
    {kTabPageCheck, kTabControl, "Button", BS_AUTOCHECKBOX | WS_TABSTOP, "标签页里的复选框", 12,
     70, 200, 22, Dressing::Installer},
    {kStatusBar, kGroupCommon, STATUSCLASSNAMEA, kBareBar, "", 12, 374, 364, 24,
     Dressing::CommonControl},

    {kGroupRichEdit, 0, "Button", kGroupBox, "多格式编辑框", 802, 456, 388, 280,
     Dressing::Container},
    {kRichEdit, kGroupRichEdit, "RichEdit20A",
     WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, "", 12,
     22, 364, 246, Dressing::CommonControl},
};

}  // namespace

std::span<const ControlEntry> ControlTable() { return kTable; }

const ControlEntry* FindSpec(int id) {
    auto it = std::find_if(std::begin(kTable), std::end(kTable),
                           [id](const ControlEntry& s) { return s.id == id; });
    return it == std::end(kTable) ? nullptr : &*it;
}

}  // namespace vostrel::gallery
