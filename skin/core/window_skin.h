// The window skin engine's object, its global settings, the window table and
// the records it holds.
//
// One WindowSkin object exists per process (created at start-up). Its
// operations are ordinary member functions listed in slot order; Windows
// reaches the two that serve as callbacks (the window procedure and the
// caption-button action) through generated stubs bound to the object.
//
// Every skinned top-level window has one WindowRecord in the window table;
// its window number is its 1-based position there. Lists inside records are
// 1-based, created holding one zeroed record (the empty slot), and positions
// never change once given. Every operation that takes a window number or a
// list position checks it and does nothing (or returns 0) when it is out of
// range.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "skin/core/callback_thunk.h"
#include "common/unique_handle.h"

namespace vostrel {
class GdipGraphics;  // the GDI+ layer's graphics wrapper
}

namespace vostrel::skin {

using Bytes = std::vector<BYTE>;
using vostrel::GdipGraphics;

// A routine of the application, called by a caption button with no arguments.
using SkinRoutine = void (*)();

// ---------------------------------------------------------------------------
// Window property keys. Every value is handle-sized; an absent property reads
// as 0.

// Procedure the skin replaced (skinned windows, subclassed controls, containers).
inline constexpr char kPropPreviousProc[] = "Hw_hProc";
// Window number (top-level window) or list position (control, container).
inline constexpr char kPropNumber[] = "Hw_lbID";
// Window number of the owning top-level window (controls, containers).
inline constexpr char kPropOwnerNumber[] = "Hw_FuID";
// The same three for controls taken by SkinCommonControls.
inline constexpr char kPropOtherPreviousProc[] = "Kj_hProc";
inline constexpr char kPropOtherNumber[] = "Kj_lbID";
inline constexpr char kPropOtherOwnerNumber[] = "Kj_FuID";
// Text colour of a control whose background the skin draws (0 = black).
inline constexpr char kPropTextColour[] = "Kj_Ztys";
// Brush last returned for the control's control-colour message, and its bitmap.
inline constexpr char kPropColourBrush[] = "Kj_dxjb";
inline constexpr char kPropColourBrushBitmap[] = "Kj_wtjb";
// Object BackgroundDC held before its first bitmap, and its current bitmap.
inline constexpr char kPropBackgroundSaved[] = "Ck_Ycjdx";
inline constexpr char kPropBackgroundBitmap[] = "Ck_wtjbdx";
// Backdrop host ancestor of a container (0 if none).
inline constexpr char kPropContainerHost[] = "Mb_zpf";
// A window of this process, not dressed by the skin, that offers its composed
// image (read only; nothing in the program sets them).
inline constexpr char kPropHostMark[] = "Wxk_Zpf";
inline constexpr char kPropHostDc[] = "Wxk_Cj";

// Handle-sized property access; absent properties read as 0.
inline INT_PTR GetPropValue(HWND window, const char* key) {
    return reinterpret_cast<INT_PTR>(::GetPropA(window, key));
}
inline void SetPropValue(HWND window, const char* key, INT_PTR value) {
    ::SetPropA(window, key, reinterpret_cast<HANDLE>(value));
}

// ---------------------------------------------------------------------------
// 1-based growable list of plain records, created holding one zeroed record.
template <typename T>
class SlotList {
public:
    SlotList() { items_.emplace_back(); }

    int Count() const noexcept { return static_cast<int>(items_.size()); }
    bool InRange(int pos) const noexcept { return pos >= 1 && pos <= Count(); }
    // The record at a 1-based position, nullptr when out of range.
    T* At(int pos) noexcept { return InRange(pos) ? &items_[pos - 1] : nullptr; }
    const T* At(int pos) const noexcept { return InRange(pos) ? &items_[pos - 1] : nullptr; }

    // Appends and returns the new position.
    int Append(T value) {
        items_.push_back(std::move(value));
        return Count();
    }
    void InsertFront(T value) { items_.insert(items_.begin(), std::move(value)); }
    // Leaves the list without any record, not even the empty slot.
    void Clear() noexcept { items_.clear(); }

    auto begin() noexcept { return items_.begin(); }
    auto end() noexcept { return items_.end(); }
    auto begin() const noexcept { return items_.begin(); }
    auto end() const noexcept { return items_.end(); }

private:
    std::vector<T> items_;
};

// ---------------------------------------------------------------------------
// Per-control records. Every family's record begins with the control's handle
// and its previous window procedure; the families derive their own records
// from ControlRecord.
struct ControlRecord {
    HWND Handle = nullptr;
    WNDPROC PreviousProc = nullptr;
    virtual ~ControlRecord() = default;
};

// One (window handle, top offset) pair of a docked-children list.
struct DockedChild {
    HWND Handle = nullptr;
    int Top = 0;
};

// A container (group box) dressed by SkinContainer.
struct ContainerRecord : ControlRecord {
    COLORREF TintColour = 0;   // 0 = no tint
    BYTE TintAlpha = 0;
    int RoundedBorder = 0;
    int RepaintPending = 0;
    int IsGroupBox = 0;
    int Unused = 0;
    int SkinPainted = 0;       // the tint reaches the backdrops of its children
    std::string FaceName;
    int FontSize = 0;
    int FontStyle = 0;
    SlotList<DockedChild> DockedChildren;
};

// A control taken by SkinCommonControls.
struct OtherControlRecord : ControlRecord {
    COLORREF ColourKey = 0;
};

// 1-based list of per-control records of one family, created holding one
// zeroed record. Positions never change.
class ControlList {
public:
    ControlList() { items_.push_back(std::make_unique<ControlRecord>()); }

    int Count() const noexcept { return static_cast<int>(items_.size()); }
    bool InRange(int pos) const noexcept { return pos >= 1 && pos <= Count(); }
    ControlRecord* At(int pos) const noexcept {
        return InRange(pos) ? items_[pos - 1].get() : nullptr;
    }
    // The record at a position as the family's own type (the caller knows the
    // family of the list); nullptr when out of range or still the empty slot.
    template <typename R>
    R* Get(int pos) const noexcept {
        return InRange(pos) ? dynamic_cast<R*>(items_[pos - 1].get()) : nullptr;
    }
    // Position of the first record holding the handle, 0 if none. The empty
    // slot (handle 0) never matches.
    int Find(HWND handle) const noexcept {
        if (!handle) return 0;
        for (int i = 0; i < Count(); ++i)
            if (items_[i]->Handle == handle) return i + 1;
        return 0;
    }
    // Takes a new record: it fills the empty slot while the list holds only
    // that, else it is appended. Returns its position.
    int Choose(std::unique_ptr<ControlRecord> record) {
        if (items_.size() == 1 && items_[0]->Handle == nullptr) {
            items_[0] = std::move(record);
            return 1;
        }
        items_.push_back(std::move(record));
        return Count();
    }

    auto begin() const noexcept { return items_.begin(); }
    auto end() const noexcept { return items_.end(); }

private:
    std::vector<std::unique_ptr<ControlRecord>> items_;
};

// ---------------------------------------------------------------------------
// The tool-tip window of a skinned window's caption buttons (or of an image
// button). The tool-tip window is owned by the window it describes, so it
// goes with that window; the object destroys it when it is freed.
class SkinToolTip {
public:
    SkinToolTip() = default;
    SkinToolTip(const SkinToolTip&) = delete;
    SkinToolTip& operator=(const SkinToolTip&) = delete;
    SkinToolTip(SkinToolTip&& other) noexcept;
    SkinToolTip& operator=(SkinToolTip&& other) noexcept;
    ~SkinToolTip() { Destroy(); }

    // Creates the tool-tip window owned by `owner`. False when it cannot be
    // made. A second Create replaces the first window.
    bool Create(HWND owner, bool balloon = false);
    // With `subclass` the tool tip watches the owner's mouse messages by
    // laying its own procedure over the owner's; without it the owner hands
    // them over with RelayEvent.
    bool AddTool(const RECT& rect, const std::string& text, UINT_PTR id, bool subclass = true);
    // Hands one of the owner's mouse messages to the tool tip.
    void RelayEvent(HWND from, UINT message, WPARAM wParam, LPARAM lParam) const;
    void SetToolRect(UINT_PTR id, const RECT& rect);
    void SetToolText(UINT_PTR id, const std::string& text);
    // Destroys the tool-tip window (when it still exists).
    void Destroy() noexcept;

    HWND Window() const noexcept { return window_; }
    HWND Owner() const noexcept { return owner_; }

private:
    HWND window_ = nullptr;
    HWND owner_ = nullptr;
};

// ---------------------------------------------------------------------------
// A memory DC kept by a window record, with the bitmap selected into it and
// the object that the first bitmap displaced. Reset selects the displaced
// object back, deletes the bitmap, then the DC.
class RecordDc {
public:
    RecordDc() = default;
    RecordDc(const RecordDc&) = delete;
    RecordDc& operator=(const RecordDc&) = delete;
    ~RecordDc() { Reset(); }

    HDC Dc() const noexcept { return dc_; }
    HBITMAP Bitmap() const noexcept { return bitmap_; }
    HGDIOBJ Saved() const noexcept { return saved_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

    // Creates the DC (compatible with the screen) when there is none yet.
    bool Create();
    // Selects the bitmap (taken over) into the DC; the previous bitmap is
    // deleted, the object displaced by the first one is kept for Reset.
    void SelectBitmap(HBITMAP bitmap);
    void Reset() noexcept;

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ saved_ = nullptr;
};

// ---------------------------------------------------------------------------
struct FloatRect {
    float x = 0, y = 0, width = 0, height = 0;
};
struct IntRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// Kinds of caption buttons.
enum CaptionButtonKind : int {
    kCaptionClose = 0,
    kCaptionMaximise = 1,
    kCaptionMinimise = 2,
    kCaptionMenu = 3,
    kCaptionHelp = 4,
    kCaptionApplication = 5,
};

struct CaptionButton {
    int Width = 0;
    int Height = 0;
    Bytes Image;            // PNG file bytes
    Bytes AltImage;         // the restore picture of the maximise button
    int Kind = 0;           // CaptionButtonKind
    std::string Name;       // tool-tip text
    SkinRoutine Routine = nullptr;  // kind 5 only
    FloatRect Rect;         // hot area in client coordinates
};

// One item of a bottom bar.
struct BarItem {
    int WidthSpec = 0;      // pixels, or -1: all the width left
    std::string Text;
    Bytes Picture;
    COLORREF Colour = 0;
};

// A (caption button number, step) pair of a fade.
struct FadeState {
    int Button = 0;
    int Step = 0;
};

// ---------------------------------------------------------------------------
// One skinned top-level window. Freeing the record frees everything it owns:
// its DCs and their bitmaps, its tool-tip window, its lists and records.
struct WindowRecord {
    HWND Handle = nullptr;
    int CaptionHeight = 0;
    int HelpButton = 0;
    int MenuButton = 0;
    int HasMinimize = 0;
    int HasMaximize = 0;
    int HasClose = 0;
    int ShowTitle = 0;
    int CaptionGloss = 0;
    WNDPROC OldWndProc = nullptr;
    Bytes BackgroundImage;
    int DrawMode = 0;
    COLORREF BackColour = 0;
    SlotList<CaptionButton> CaptionButtons;
    int StripLeft = 0, StripTop = 0, StripWidth = 0, StripHeight = 0;
    int Maximized = 0;
    int Minimized = 0;
    int MinTrackWidth = 0, MinTrackHeight = 0;
    int MaxTrackWidth = 0, MaxTrackHeight = 0;
    int Resizable = 0;
    int HasCaption = 0;
    COLORREF TitleColour = 0;
    COLORREF TitleHaloColour = 0;
    std::string TitleFont;
    int TitleFontSize = 0;
    int TitleBold = 0;
    int LitCaptionButton = 0;
    int HotFamily = 0, HotParent = 0;
    SkinRoutine HelpRoutine = nullptr;
    SkinRoutine MenuRoutine = nullptr;
    SkinToolTip ToolTip;

    // Bottom bar.
    int BarHeight = 0;
    IntRect BarRect;
    SlotList<BarItem> BarItems;
    SlotList<IntRect> BarItemRects;
    int BarInverseText = 0;
    int BarGlow = 0;
    COLORREF BarGlowTextColour = 0;
    COLORREF BarGlowColour = 0;
    std::string BarFontName;
    int BarFontSize = 0;

    // Per-family control records.
    ControlList Buttons;
    ControlList Edits;
    ControlList ScrolledControls;
    ControlList Trackbars;
    ControlList ProgressBars;
    ControlList ComboBoxes;
    ControlList UpDowns;
    ControlList Headers;
    ControlList OtherControls;   // OtherControlRecord

    int Recompose = 0;
    // Composed client image, saved caption band, saved bottom-bar area. The
    // background's saved object and bitmap are also published in the window
    // properties "Ck_Ycjdx" and "Ck_wtjbdx".
    RecordDc BackgroundDC;
    RecordDc CaptionDC;
    RecordDc BottomBarDC;
    int HotControl = 0, PointerControl = 0;
    int ToolCount = 0;
    ControlList Containers;      // ContainerRecord
    SlotList<DockedChild> DockedChildren;
    int PointerInside = 0;
    FadeState FadeIn, FadeOut;
    int FadeTimer = 0;

    // The lists whose elements carry the window number in "Hw_FuID", in the
    // order the renumbering walks them.
    template <typename F>
    void ForEachNumberedList(F&& f) {
        f(ScrolledControls); f(Buttons); f(Edits); f(ComboBoxes); f(Headers);
        f(UpDowns); f(Trackbars); f(ProgressBars); f(Containers);
    }
};

// ---------------------------------------------------------------------------
// The window table: window records by 1-based window number.
class WindowTable {
public:
    int Count() const noexcept { return static_cast<int>(records_.size()); }
    bool InRange(int n) const noexcept { return n >= 1 && n <= Count(); }
    // The record of window number n, nullptr when out of range.
    WindowRecord* At(int n) const noexcept { return InRange(n) ? records_[n - 1].get() : nullptr; }
    // Window number of the record whose handle is `window`, 0 if none.
    int Find(HWND window) const noexcept;
    // Appends a record and returns its window number.
    int Append(std::unique_ptr<WindowRecord> record);
    // Removes record n (later records move one place forward) and hands it
    // back; nullptr when n is out of range.
    std::unique_ptr<WindowRecord> Remove(int n);
    // Frees every record and what it owns.
    void Clear() noexcept;

private:
    std::vector<std::unique_ptr<WindowRecord>> records_;
};

// ---------------------------------------------------------------------------
// Arguments of AttachSkin; an argument left empty takes its default.
struct AttachOptions {
    std::optional<int> CaptionHeight;     // at least 25
    std::optional<int> HasCaption;        // 1
    std::optional<int> Resizable;         // 1
    std::optional<int> HelpButton;        // 0
    std::optional<int> MenuButton;        // 0
    std::optional<int> ShowTitle;         // 1
    std::optional<int> CaptionGloss;      // 0
    std::optional<int> BarHeight;         // 0
    std::optional<std::vector<BarItem>> BarItems;
    std::optional<Bytes> Image;
    std::optional<int> DrawMode;          // GlobalDrawMode
};

// SetBackground's theme argument that derives the theme colour from the
// picture's average colour.
inline constexpr COLORREF kThemeFromPicture = static_cast<COLORREF>(-1);

// ---------------------------------------------------------------------------
class WindowSkin {
public:
    // Builds both stubs and takes GlobalBackColour. Check Valid() afterwards.
    WindowSkin();
    ~WindowSkin();
    WindowSkin(const WindowSkin&) = delete;
    WindowSkin& operator=(const WindowSkin&) = delete;

    // True when both stubs were built.
    bool Valid() const noexcept { return WndProcThunk && ActionThunk; }

    // Operations, in slot order.
    /* 0 */ void Destroy();
    /* 1 */ std::unique_ptr<WindowSkin> Copy() const;
    /* 2 */ LRESULT SkinWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    /* 3 */ LRESULT CaptionButtonAction(int n, int button);
    /* 4 */ void AttachSkin(HWND window, const AttachOptions& options = {});
    /* 5 */ int AddCaptionButton(HWND window, const Bytes& image, const std::string& toolTip,
                                 SkinRoutine routine);
    /* 6 */ int SetTitleStyle(HWND window, std::optional<std::string> fontName,
                              std::optional<int> fontSize, std::optional<COLORREF> textColour,
                              std::optional<COLORREF> outlineColour, std::optional<int> bold);
    /* 7 */ int SetWindowBackground(HWND window, const Bytes& picture,
                                    std::optional<int> drawMode = std::nullopt);
    /* 8 */ void SetBackground(const std::string& fileName, const Bytes& picture,
                               std::optional<COLORREF> backColour,
                               std::optional<COLORREF> themeColour,
                               std::optional<int> drawMode);
    /* 9 */ int SetControlOptions(int skinControls, std::optional<int> veilAlpha = std::nullopt,
                                  std::optional<int> trackbarFrames = std::nullopt);
    /* 10 */ void ComposeWindow(int n, HDC dc, bool present);
    /* 11 */ void PresentWindow(int n, HDC dc);
    /* 12 */ void DrawWindowBackground(GdipGraphics* graphics, int n);
    /* 13 */ void DrawWindowFrame(int n, GdipGraphics* graphics);
    /* 14 */ void DrawCaptionSeparators(int n, int button, GdipGraphics* graphics);
    /* 15 */ void RestoreCaptionArea(int n, const RECT& rect);
    /* 16 */ void RestoreBarArea(int n, const RECT& rect);
    /* 17 */ void DrawCaptionButton(int n, int button, GdipGraphics* graphics, bool inCompose,
                                    bool pressed, int hoverAlpha);
    /* 18 */ void DrawCaptionButtonHover(GdipGraphics* graphics, int n, int button, int alpha);
    /* 19 */ void LayoutCaptionButtons(int n);
    /* 20 */ int CaptionButtonAt(int n, int x, int y);
    /* 21 */ int FindMaximiseButton(int n);
    /* 22 */ int PressOnFrame(int n, LPARAM lParam, const RECT& client);
    /* 23 */ void SetFrameCursor(int n, LPARAM lParam, const RECT& client);
    /* 24 */ SkinRoutine SetHelpRoutine(HWND window, SkinRoutine routine);
    /* 25 */ SkinRoutine SetMenuRoutine(HWND window, SkinRoutine routine);
    /* 26 */ void DrawTitle(int n, GdipGraphics* graphics, bool inCompose,
                            std::optional<std::string> title = std::nullopt);
    /* 27 */ void SetBottomBar(int n, int height, const std::vector<BarItem>& items = {});
    /* 28 */ void LayoutBottomBar(int n);
    /* 29 */ void DrawBottomBar(int n, GdipGraphics* graphics, bool inCompose,
                                std::optional<int> item = std::nullopt);
    /* 30 */ int SetBottomBarText(HWND window, int item, const std::string& text,
                                  std::optional<Bytes> picture = std::nullopt,
                                  std::optional<COLORREF> colour = std::nullopt);
    /* 31 */ int SetBottomBarStyle(HWND window, std::optional<int> inverseText,
                                   std::optional<int> glow, std::optional<COLORREF> glowTextColour,
                                   std::optional<COLORREF> glowColour,
                                   std::optional<std::string> fontName,
                                   std::optional<int> fontSize);
    /* 32 */ int MakeImageTextButton(HWND button, const Bytes& picture, int imageLayout,
                                     const std::string& toolTip);
    /* 33 */ int MakeImageButton(HWND button, const Bytes& normal, const Bytes& hover,
                                 const Bytes& pressed, const Bytes& disabled,
                                 const std::string& toolTip);
    /* 34 */ void SkinContainer(HWND container, std::optional<int> skinPainted,
                                COLORREF tintColour, std::optional<int> tintAlpha,
                                std::optional<int> roundedBorder);
    /* 35 */ void SetContainerTintAlpha(HWND container, int alpha);
    /* 36 */ RECT GetCaptionStripRect(HWND window);
    /* 37 */ int SkinCommonControls(HWND control, std::optional<COLORREF> colourKey,
                                    COLORREF tintColour, std::optional<int> tintAlpha);
    /* 38 */ void LayoutDockedChildren(int n);
    /* 39 */ void SetControlTextColour(HWND control, COLORREF colour);
    /* 40 */ COLORREF GetGlobalBackColour();
    /* 41 */ int SetSystemButtonImages(HWND window, std::optional<Bytes> minimise,
                                       std::optional<Bytes> maximise,
                                       std::optional<Bytes> restore,
                                       std::optional<Bytes> close);

    static constexpr int kOperationCount = 42;

    // Entry address of the operation at a 1-based position (slot + 1) for a
    // stub: the routine a stub calls with the object cell first. Only the
    // operations Windows calls have one; 0 for the others and out of range.
    static const void* OperationEntry(int position) noexcept;

    // Fields, in order.
    ExecutableStub WndProcThunk;   // window procedure of skinned windows
    int SizingBorder = 0;
    int HotCaptionButton = 0;
    ExecutableStub ActionThunk;    // caption-button action (window number, button)
    UINT_PTR ActionThunkEntry = 0; // first code byte of ActionThunk

    // The window procedure to install on a skinned top-level window.
    WNDPROC WindowProcedure() const noexcept {
        return reinterpret_cast<WNDPROC>(WndProcThunk.Entry());
    }

private:
    struct CopyTag {};
    WindowSkin(const WindowSkin& source, CopyTag);
    bool BuildStubs();
};

// Builds a stub that calls operation `position` (1-based) of the object with
// the object cell first, for a callback of `argumentCount` arguments (see
// callback_thunk.h). An empty stub when the operation has no entry, N < 0 or
// N * 4 > 1024.
ExecutableStub BuildThunk(WindowSkin* object, int position, int argumentCount,
                          bool passEcx = false, bool callerPops = false);

// ---------------------------------------------------------------------------
// Global settings, one each for the process.
extern ULONG_PTR GdiplusToken;
extern HICON AppIcon;
extern int FirstSizePending;     // 1
extern int SkinControls;         // 1
extern int VeilAlpha;            // 160
extern COLORREF ThemeColour;     // 0xDDCA22
extern int TrackbarFrames;       // 1
extern COLORREF GlobalBackColour;  // COLOR_BTNFACE when the object is made
extern int TransparentControls;  // 0
extern int GlobalDrawMode;       // 0
extern Bytes GlobalBackgroundImage;

// The window table.
extern WindowTable Windows;

// The one WindowSkin object (null before start-up and after the exit routine).
extern WindowSkin* Skin;

// ---------------------------------------------------------------------------
// Window-table lookups and teardown.

// Window number of `window`, 0 if it has no record.
int FindWindowNumber(HWND window);
// Window record of a window number, nullptr when out of range.
inline WindowRecord* RecordOf(int n) { return Windows.At(n); }
// Tears the record of a destroyed window down: frees its DCs and bitmaps, the
// control-colour brushes of its edits and everything the record owns, removes
// it from the table and renumbers the windows after it (their "Hw_lbID" and
// their controls' "Hw_FuID" / "Kj_FuID").
void ForgetSkinnedWindow(HWND window);
// Rewrites every window-number property to the records' positions.
void RenumberSkinnedWindows();

// ---------------------------------------------------------------------------
// Start-up and shutdown.

// Creates the WindowSkin object (stubs, GlobalBackColour) and empties the
// window table and the backdrop DC table. False when the object cannot be made.
bool CreateSkinObject();
// The skin module's initialiser: starts GDI+, loads AppIcon and sets the
// default settings.
void InitialiseSkinModule();
// CreateSkinObject then InitialiseSkinModule.
bool StartSkinModule();
// Destroys the object: AppIcon destroyed, GDI+ shut down, stubs released.
void DestroySkinObject();
// Frees the window table with every record, the backdrop DC table, then
// GlobalBackgroundImage.
void FreeSkinTables();
// The skin's part of the exit routine: DestroySkinObject then FreeSkinTables.
void RunSkinExitRoutine();

// Releases every memory DC still lent out in the backdrop DC table and empties
// it (defined with the backdrop DC table).
void FreeBackdropDcTable();

// ---------------------------------------------------------------------------
// Working-set trim.

enum class TrimOutcome {
    RanUtility,        // the utility was run and reported success
    TrimmedInProcess,  // the file was foreign or could not be written or run
};

// Writes the embedded utility to "\empty.exe" in `directory` when it is
// missing (or a cut-short copy of ours), runs it hidden with this process's id
// and waits for it, but only when the file's bytes equal the embedded utility;
// otherwise empties the working set in-process. Never run on a file that
// differs from ours.
TrimOutcome TrimWorkingSetIn(const std::string& directory);
// The same in the Windows directory. Safe to call from any thread.
TrimOutcome TrimWorkingSet();
// Thread routine form for SHCreateThread.
DWORD WINAPI TrimWorkingSetThread(void*);
// The bytes of the embedded utility (empty when the resource is missing).
Bytes EmbeddedTrimUtility();

}  // namespace vostrel::skin
