// The gallery window: its class and procedure, the controls of the layout
// table with their contents, the skin that dresses them, and the program's
// start-up, message loop and exit.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <memory>
#include <string>

#include "gallery.h"
#include "skin/controls/child_controls.h"
#include "skin/core/skin_images.h"
#include "skin/core/window_skin.h"

namespace vostrel::gallery {
namespace {

constexpr char kClassName[] = "VostrelGallery";
// The veil laid over control backgrounds: light enough for the picture to
// show through, dense enough for list texts to stay readable.
constexpr int kVeilAlpha = 110;
// Tint of the rounded container that holds the check boxes and radio buttons.
constexpr COLORREF kContainerTint = RGB(200, 225, 255);
constexpr int kContainerTintAlpha = 120;

// What one gallery window owns besides its controls: the font they share
// (deleted after they are gone) and how it ends.
struct GalleryState {
    unique_hfont font;
    bool quitOnClose = false;
};

// The gallery that the caption-button routines act on (they take no
// arguments): the one dressed last.
HWND g_dressed = nullptr;
size_t g_theme = 0;

GalleryState* StateOf(HWND window) {
    return reinterpret_cast<GalleryState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// ---------------------------------------------------------------------------
// Window procedure: one small handler a message.

void OnClose(HWND window) { DestroyWindow(window); }

void OnDestroy(HWND window) {
    if (GalleryState* state = StateOf(window); state && state->quitOnClose) PostQuitMessage(0);
    if (g_dressed == window) g_dressed = nullptr;
}

// The children are gone by now, so the font they used can go too.
void OnNcDestroy(HWND window) {
    delete StateOf(window);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
}

LRESULT CALLBACK GalleryProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE: OnClose(window); return 0;
        case WM_DESTROY: OnDestroy(window); return 0;
        case WM_NCDESTROY: OnNcDestroy(window); break;
        default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterGalleryClass() {
    static const bool registered = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = GalleryProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hIcon = LoadIconA(wc.hInstance, "DEFAULT_ICON");
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kClassName;
        return RegisterClassExA(&wc) != 0;
    }();
    return registered;
}

// ---------------------------------------------------------------------------
// Contents of the controls, one filler a control that needs one.

LRESULT Send(HWND control, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(control, message, wParam, lParam);
}
template <typename T>
LRESULT Send(HWND control, UINT message, WPARAM wParam, const T* data) {
    return SendMessageA(control, message, wParam, reinterpret_cast<LPARAM>(data));
}

void FillMultiLineEdit(HWND edit) {
    std::string text =
        "多行编辑框：带竖直和水平滚动条。这一行故意写得很长，长到需要向右滚动才能看到它的结尾。\r\n";
    for (int i = 1; i <= 16; ++i) text += "第 " + std::to_string(i) + " 行文字\r\n";
    SetWindowTextA(edit, text.c_str());
}

void FillComboBox(HWND combo) {
    static constexpr const char* kItems[] = {"爱奇艺", "芒果TV", "乐视", "腾讯视频",
                                             "搜狐", "优酷", "PPTV"};
    for (const char* item : kItems) Send(combo, CB_ADDSTRING, 0, item);
    Send(combo, CB_SETCURSEL, 3);
}

void FillListBox(HWND list) {
    for (int i = 1; i <= 24; ++i) {
        const std::string item = "列表项 " + std::to_string(i);
        Send(list, LB_ADDSTRING, 0, item.c_str());
    }
    Send(list, LB_SETCURSEL, 2);
}

HTREEITEM AddTreeItem(HWND tree, HTREEITEM parent, const char* text) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(text);
    return reinterpret_cast<HTREEITEM>(Send(tree, TVM_INSERTITEMA, 0, &insert));
}

void FillTreeView(HWND tree) {
    HTREEITEM sites = AddTreeItem(tree, TVI_ROOT, "视频网站");
    for (const char* site : {"爱奇艺", "芒果TV", "腾讯视频", "优酷"}) AddTreeItem(tree, sites, site);
    HTREEITEM interfaces = AddTreeItem(tree, TVI_ROOT, "解析接口");
    for (const char* name : {"接口 一", "接口 二", "接口 三"}) AddTreeItem(tree, interfaces, name);
    HTREEITEM closed = AddTreeItem(tree, TVI_ROOT, "收藏（折叠）");
    AddTreeItem(tree, closed, "电影");
    Send(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<const void*>(sites));
    Send(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<const void*>(interfaces));
    Send(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<const void*>(sites));
}

void FillListView(HWND view) {
    Send(view, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    static constexpr struct {
        const char* title;
        int width;
    } kColumns[] = {{"名称", 140}, {"类型", 90}, {"大小", 100}};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char*>(kColumns[i].title);
        column.cx = kColumns[i].width;
        column.iSubItem = i;
        Send(view, LVM_INSERTCOLUMNA, i, &column);
    }
    static constexpr const char* kKinds[] = {"视频", "图片", "文档"};
    for (int row = 0; row < 14; ++row) {
        const std::string name = "文件 " + std::to_string(row + 1);
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<char*>(name.c_str());
        Send(view, LVM_INSERTITEMA, 0, &item);
        const std::string size = std::to_string((row + 3) * 137) + " KB";
        const char* cells[] = {kKinds[row % 3], size.c_str()};
        for (int sub = 1; sub <= 2; ++sub) {
            item.iSubItem = sub;
            item.pszText = const_cast<char*>(cells[sub - 1]);
            Send(view, LVM_SETITEMTEXTA, row, &item);
        }
    }
    LVITEMA selected{};
    selected.stateMask = selected.state = LVIS_SELECTED | LVIS_FOCUSED;
    Send(view, LVM_SETITEMSTATE, 1, &selected);
}

void SetTrackbar(HWND bar, int low, int high, int position) {
    Send(bar, TBM_SETRANGEMIN, FALSE, low);
    Send(bar, TBM_SETRANGEMAX, FALSE, high);
    Send(bar, TBM_SETTICFREQ, 10);
    Send(bar, TBM_SETPAGESIZE, 0, 10);
    Send(bar, TBM_SETPOS, TRUE, position);
}

// Trackbar positions differ a little, so that the thumbs do not line up.
void FillTrackBottom(HWND bar) { SetTrackbar(bar, 0, 100, 30); }
void FillTrackTop(HWND bar) { SetTrackbar(bar, 0, 100, 50); }
void FillTrackBoth(HWND bar) { SetTrackbar(bar, 0, 100, 70); }
void FillTrackNoTicks(HWND bar) { SetTrackbar(bar, 0, 100, 40); }
void FillTrackVertical(HWND bar) { SetTrackbar(bar, 0, 100, 25); }
// A range that does not start at 0, with a selection inside it.
void FillTrackSelection(HWND bar) {
    SetTrackbar(bar, 10, 90, 50);
    Send(bar, TBM_SETSEL, TRUE, MAKELPARAM(30, 70));
}

void SetProgress(HWND bar, int position) {
    Send(bar, PBM_SETRANGE32, 0, 100);
    Send(bar, PBM_SETPOS, position);
}
void FillProgressHorz(HWND bar) { SetProgress(bar, 65); }
void FillProgressSmooth(HWND bar) { SetProgress(bar, 35); }
void FillProgressFull(HWND bar) { SetProgress(bar, 100); }
void FillProgressVert(HWND bar) { SetProgress(bar, 70); }
void FillProgressVertSmooth(HWND bar) { SetProgress(bar, 40); }

void FillUpDownRight(HWND updown) {
    Send(updown, UDM_SETRANGE32, 0, 100);
    Send(updown, UDM_SETPOS32, 0, 5);
}
void FillUpDownLeft(HWND updown) {
    Send(updown, UDM_SETRANGE32, 0, 100);
    Send(updown, UDM_SETPOS32, 0, 50);
}
void FillUpDownHorz(HWND updown) { Send(updown, UDM_SETRANGE32, 0, 10); }

// Check states are read when the skin takes the buttons.
void Check(HWND button) { Send(button, BM_SETCHECK, BST_CHECKED); }

void FillToolBar(HWND bar) {
    Send(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    Send(bar, TB_LOADIMAGES, IDB_STD_SMALL_COLOR, reinterpret_cast<LPARAM>(HINST_COMMCTRL));
    static constexpr int kImages[] = {STD_FILENEW, STD_FILEOPEN, STD_FILESAVE, -1, STD_CUT,
                                      STD_COPY, STD_PASTE, -1, STD_PRINT, STD_HELP};
    TBBUTTON buttons[std::size(kImages)]{};
    for (size_t i = 0; i < std::size(kImages); ++i) {
        buttons[i].iBitmap = kImages[i] < 0 ? 0 : kImages[i];
        buttons[i].idCommand = kImages[i] < 0 ? 0 : static_cast<int>(1000 + i);
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = kImages[i] < 0 ? BTNS_SEP : BTNS_BUTTON;
    }
    Send(bar, TB_ADDBUTTONSA, std::size(buttons), buttons);
    Send(bar, TB_CHECKBUTTON, 1001, TRUE);
}

// The calendar gets the size it asks for, at the table's position.
void FillMonthCalendar(HWND calendar) {
    RECT need{};
    if (Send(calendar, MCM_GETMINREQRECT, 0, &need) && need.right > 0)
        SetWindowPos(calendar, nullptr, 0, 0, need.right, need.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FillIpAddress(HWND address) { Send(address, IPM_SETADDRESS, 0, MAKEIPADDRESS(192, 168, 1, 10)); }

void FillTabControl(HWND tabs) {
    for (const char* title : {"常规", "高级", "关于"}) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(title);
        Send(tabs, TCM_INSERTITEMA, Send(tabs, TCM_GETITEMCOUNT), &item);
    }
}

void FillStatusBar(HWND bar) {
    const int parts[] = {110, 230, -1};
    Send(bar, SB_SETPARTS, std::size(parts), parts);
    Send(bar, SB_SETTEXTA, 0, "就绪");
    Send(bar, SB_SETTEXTA, 1, "第 1 行，第 1 列");
    Send(bar, SB_SETTEXTA, 2, "状态栏");
}

void FillRichEdit(HWND edit) {
    SetWindowTextA(edit,
                   "多格式编辑框\r\n"
                   "第一行是粗体、蓝色的标题；其余是普通文字。\r\n"
                   "滚动它时，整个控件重新画出，背景透出窗口的图片。\r\n\r\n"
                   "The quick brown fox jumps over the lazy dog.\r\n"
                   "0123456789\r\n\r\n第 8 行\r\n第 9 行\r\n第 10 行\r\n第 11 行\r\n第 12 行\r\n"
                   "第 13 行\r\n第 14 行\r\n第 15 行\r\n第 16 行\r\n第 17 行\r\n第 18 行");
    CHARFORMAT2A title{};
    title.cbSize = sizeof title;
    title.dwMask = CFM_BOLD | CFM_COLOR | CFM_SIZE;
    title.dwEffects = CFE_BOLD;
    title.crTextColor = RGB(20, 70, 190);
    title.yHeight = 14 * 20;
    CHARRANGE range{0, 6};
    Send(edit, EM_EXSETSEL, 0, &range);
    Send(edit, EM_SETCHARFORMAT, SCF_SELECTION, &title);
    range = {0, 0};
    Send(edit, EM_EXSETSEL, 0, &range);
}

struct Filler {
    int id;
    void (*fill)(HWND control);
};

constexpr Filler kFillers[] = {
    {kEditMulti, FillMultiLineEdit},
    {kComboSimple, FillComboBox},
    {kComboDropDown, FillComboBox},
    {kComboDropList, FillComboBox},
    {kListBox, FillListBox},
    {kTreeView, FillTreeView},
    {kListView, FillListView},
    {kTrackBottom, FillTrackBottom},
    {kTrackTop, FillTrackTop},
    {kTrackBoth, FillTrackBoth},
    {kTrackNoTicks, FillTrackNoTicks},
    {kTrackSelection, FillTrackSelection},
    {kTrackVertRight, FillTrackVertical},
    {kTrackVertLeft, FillTrackVertical},
    {kTrackVertBoth, FillTrackVertical},
    {kProgressHorz, FillProgressHorz},
    {kProgressSmooth, FillProgressSmooth},
    {kProgressFull, FillProgressFull},
    {kProgressVert, FillProgressVert},
    {kProgressVertSmooth, FillProgressVertSmooth},
    {kUpDownRight, FillUpDownRight},
    {kUpDownLeft, FillUpDownLeft},
    {kUpDownHorz, FillUpDownHorz},
    {kCheckChecked, Check},
    {kRadioOne, Check},
    {kToolBar, FillToolBar},
    {kMonthCalendar, FillMonthCalendar},
    {kIpAddress, FillIpAddress},
    {kTabControl, FillTabControl},
    {kStatusBar, FillStatusBar},
    {kRichEdit, FillRichEdit},
};

void Fill(int id, HWND control) {
    for (const Filler& f : kFillers)
        if (f.id == id) f.fill(control);
}

HWND CreateControl(HWND gallery, const ControlEntry& entry, HFONT font) {
    HWND parent = entry.parent ? GalleryControl(gallery, entry.parent) : gallery;
    if (!parent) return nullptr;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | entry.style;
    // Containers clip their children, so that the box repaints around them.
    if (entry.dressing == Dressing::Container) style |= WS_CLIPCHILDREN;
    HWND control = CreateWindowExA(entry.exStyle, entry.className, entry.text, style, entry.x, entry.y,
                                   entry.width, entry.height, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)),
                                   GetModuleHandleA(nullptr), nullptr);
    if (!control) return nullptr;
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    Fill(entry.id, control);
    return control;
}

// ---------------------------------------------------------------------------
// Caption-button routines.

void SayOnBar(const char* text) {
    if (skin::Skin && g_dressed) skin::Skin->SetBottomBarText(g_dressed, 3, text);
}

// The gallery's own button: the next theme colour, with the same picture.
void CycleTheme() {
    skin::WindowSkin* s = skin::Skin;
    if (!s || !g_dressed) return;
    const auto themes = ThemeColours();
    g_theme = (g_theme + 1) % themes.size();
    const skin::Bytes picture = skin::GlobalBackgroundImage;
    s->SetBackground(std::string(), picture, COLORREF{0}, themes[g_theme], 3);
    RedrawWindow(g_dressed, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    SayOnBar("主题色已更换：星形按钮是画廊用 AddCaptionButton 加上的");
}

void ShowHelp() {
    SayOnBar("帮助：把指针移到控件上看悬停效果；星形按钮更换主题色");
}

// The main menu, at the pointer.
void ShowMainMenu() {
    if (!g_dressed) return;
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    AppendMenuA(menu, MF_STRING, 1, "更换主题色");
    AppendMenuA(menu, MF_STRING, 2, "帮助");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, 3, "退出");
    POINT at{};
    GetCursorPos(&at);
    const HWND owner = g_dressed;
    const int choice = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr);
    DestroyMenu(menu);
    switch (choice) {
        case 1: CycleTheme(); break;
        case 2: ShowHelp(); break;
        case 3: PostMessageA(owner, WM_CLOSE, 0, 0); break;
        default: break;
    }
}

// ---------------------------------------------------------------------------
// Dressing, one step a kind of row.

void DressContainer(skin::WindowSkin& s, HWND control) {
    if ((GetWindowLongA(control, GWL_STYLE) & 0xF) == BS_GROUPBOX)
        // Group boxes as the program's own: an invisible tint.
        s.SkinContainer(control, 1, GetSysColor(COLOR_BTNFACE), 0, std::nullopt);
    else
        s.SkinContainer(control, 1, kContainerTint, kContainerTintAlpha, 1);
}

// The colour each common control paints its background with becomes
// transparent: the window colour for the calendar, the rich edit and the
// tab control's page, the face colour for the bars.
COLORREF ColourKeyOf(int id) {
    const bool window = id == kMonthCalendar || id == kRichEdit || id == kTabControl;
    return GetSysColor(window ? COLOR_WINDOW : COLOR_BTNFACE);
}

void DressImageButton(skin::WindowSkin& s, const ControlEntry& entry, HWND control) {
    if (entry.dressing == Dressing::ImageButton) {
        s.MakeImageButton(control, DrawGalleryPicture(GalleryPicture::Normal),
                          DrawGalleryPicture(GalleryPicture::Hover),
                          DrawGalleryPicture(GalleryPicture::Pressed),
                          DrawGalleryPicture(GalleryPicture::Disabled), "图像按钮");
    } else {
        // The wide one shows its picture left of the text, the tall one above.
        const int layout = entry.id == kImageTextLeft ? 1 : 0;
        s.MakeImageTextButton(control, DrawGalleryPicture(GalleryPicture::Small), layout,
                              "图文按钮");
    }
}

}  // namespace

// ---------------------------------------------------------------------------

bool PrepareControlClasses() {
    static const bool ready = [] {
        INITCOMMONCONTROLSEX classes{};
        classes.dwSize = sizeof classes;
        classes.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_DATE_CLASSES |
                        ICC_INTERNET_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                        ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES |
                        ICC_TREEVIEW_CLASSES;
        InitCommonControlsEx(&classes);
        // Kept loaded for the life of the process: its windows may outlive
        // any one gallery.
        return LoadLibraryA("riched20.dll") != nullptr;
    }();
    return ready;
}

HWND GalleryControl(HWND gallery, int id) {
    const ControlEntry* entry = FindSpec(id);
    if (!gallery || !entry) return nullptr;
    HWND parent = entry->parent ? GalleryControl(gallery, entry->parent) : gallery;
    return parent ? GetDlgItem(parent, id) : nullptr;
}

HWND CreateGalleryWindow(const GalleryOptions& options) {
    PrepareControlClasses();
    if (!RegisterGalleryClass()) return nullptr;
    auto state = std::make_unique<GalleryState>();
    state->quitOnClose = options.quitOnClose;
    state->font.reset(CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, "宋体"));
    const int x = (GetSystemMetrics(SM_CXSCREEN) - kGalleryWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kGalleryHeight) / 2;
    HWND gallery = CreateWindowExA(0, kClassName, kGalleryTitle,
                                   WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
                                   x < 0 ? 0 : x, y < 0 ? 0 : y, kGalleryWidth, kGalleryHeight,
                                   nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!gallery) return nullptr;
    const HFONT font = state->font.get();
    SetWindowLongPtrA(gallery, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.release()));
    for (const ControlEntry& entry : ControlTable()) CreateControl(gallery, entry, font);
    if (options.visible) ShowWindow(gallery, SW_SHOWNORMAL);
    return gallery;
}

void DressGallery(HWND gallery) {
    skin::WindowSkin* s = skin::Skin;
    if (!s || !gallery) return;
    // The program's picture and blue theme; controls skinned under a light
    // veil.
    s->SetBackground(std::string(), skin::LoadSkinImage(skin::SkinImage::Background),
                     COLORREF{0}, ThemeColours()[g_theme], 3);
    s->SetControlOptions(1, kVeilAlpha);

    skin::AttachOptions options;
    options.CaptionHeight = kCaptionHeight;
    options.HelpButton = 1;
    options.MenuButton = 1;
    options.BarHeight = kBottomBarHeight;
    options.BarItems = std::vector<skin::BarItem>{
        {150, "Vostrel 控件画廊", {}, 0xFFFFFF},
        {190, "每一族控件都由皮肤绘制", {}, 0xFFFFFF},
        {-1, "把指针移到控件上看悬停效果", {}, 0xFFFFFF},
    };
    s->AttachSkin(gallery, options);
    s->AddCaptionButton(gallery, DrawGalleryPicture(GalleryPicture::Caption), "更换主题色",
                        &CycleTheme);
    s->SetHelpRoutine(gallery, &ShowHelp);
    s->SetMenuRoutine(gallery, &ShowMainMenu);
    g_dressed = gallery;

    // Parents come before their children in the table, so every container
    // is dressed before the common controls and buttons inside it.
    for (const ControlEntry& entry : ControlTable())
        if (entry.dressing == Dressing::Container)
            if (HWND control = GalleryControl(gallery, entry.id)) DressContainer(*s, control);
    for (const ControlEntry& entry : ControlTable()) {
        HWND control = GalleryControl(gallery, entry.id);
        if (!control) continue;
        switch (entry.dressing) {
            case Dressing::CommonControl:
                s->SkinCommonControls(control, ColourKeyOf(entry.id), GetSysColor(COLOR_BTNFACE), 0);
                break;
            case Dressing::ImageButton:
            case Dressing::ImageTextButton: DressImageButton(*s, entry, control); break;
            default: break;
        }
    }
    RedrawWindow(gallery, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

HWND CreateGallery(const GalleryOptions& options) {
    HWND gallery = CreateGalleryWindow(options);
    DressGallery(gallery);
    return gallery;
}

int RunGallery() {
    if (!PrepareControlClasses())
        MessageBoxA(nullptr, "找不到多格式编辑框的库 riched20.dll。", kGalleryTitle, MB_ICONWARNING);
    if (!skin::StartSkinModule()) {
        MessageBoxA(nullptr, "无法启动皮肤模块。", kGalleryTitle, MB_ICONERROR);
        return 1;
    }
    int code = 1;
    if (CreateGallery()) {
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        code = static_cast<int>(message.wParam);
    }
    skin::RunSkinExitRoutine();
    return code;
}

}  // namespace vostrel::gallery
