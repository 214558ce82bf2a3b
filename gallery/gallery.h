// The skin gallery: a frameless window dressed by the skin that holds at
// least one control of every family the skin serves, laid out in labelled
// group boxes, so that a developer sees the whole skin at once.
//
// The window is built in two steps so that tests and benchmarks can compare
// a dressed gallery with an undressed one: CreateGalleryWindow makes the
// window and every control of the layout table with its contents;
// DressGallery attaches the skin, dresses the group boxes and the other
// common controls and turns the image buttons into image buttons.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <vector>

namespace vostrel::gallery {

// Control identifiers of the layout table. A control's identifier is also
// its dialog identifier (GetDlgItem on its parent finds it).
enum ControlId : int {
    // Group boxes and the tinted container, direct children of the window.
    kGroupEdits = 100,
    kGroupCombos,
    kGroupLists,
    kGroupTrackbars,
    kGroupProgress,
    kGroupUpDowns,
    kGroupButtons,
    kTintedContainer,
    kGroupCommon,
    kGroupRichEdit,

    kEditSingle = 200,
    kEditPassword,
    kEditMulti,

    kComboSimple = 220,
    kComboDropDown,
    kComboDropList,

    kListBox = 240,
    kTreeView,
    kListView,

    kTrackBottom = 260,
    kTrackTop,
    kTrackBoth,
    kTrackNoTicks,
    kTrackSelection,
    kTrackVertRight,
    kTrackVertLeft,
    kTrackVertBoth,

    kProgressHorz = 280,
    kProgressSmooth,
    kProgressFull,
    kProgressVert,
    kProgressVertSmooth,

    kUpDownRightBuddy = 300,
    kUpDownRight,
    kUpDownLeftBuddy,
    kUpDownLeft,
    kUpDownHorz,

    kPushButton = 320,
    kDefaultButton,
    kDisabledButton,
    kImageButton,
    kImageButtonDisabled,
    kImageTextLeft,
    kImageTextAbove,

    kCheckChecked = 340,
    kCheckPlain,
    kCheckDisabled,
    kRadioOne,
    kRadioTwo,
    kRadioThree,

    kToolBar = 360,
    kMonthCalendar,
    kIpAddress,
    kDatePicker,
    kTimePicker,
    kTabControl,
    kTabPageEdit,
    kTabPageCheck,
    kStatusBar,
    kRichEdit,
};

// How a control is dressed beyond what the installers do by themselves.
enum class Dressing : int {
    Installer,       // taken by the skin's installers when its parent is dressed
    Container,       // group box or container: SkinContainer
    CommonControl,   // SkinCommonControls
    ImageButton,     // MakeImageButton
    ImageTextButton, // MakeImageTextButton
    None,            // labels: the skin answers their colour messages only
};

// One row of the layout: a control, its parent (0 = the gallery window) and
// its rectangle in the parent's client coordinates.
struct ControlEntry {
    int id;
    int parent;
    const char* className;
    DWORD style;       // WS_CHILD | WS_VISIBLE are added
    const char* text;
    int x, y, width, height;
    Dressing dressing;
    DWORD exStyle = 0;
};

// Client size of the gallery window.
inline constexpr int kGalleryWidth = 1200;
inline constexpr int kGalleryHeight = 790;
// Caption band and bottom bar heights.
inline constexpr int kCaptionHeight = 30;
inline constexpr int kBottomBarHeight = 24;

// The title of the gallery window.
inline constexpr const char* kGalleryTitle = "Vostrel 控件画廊";

// Every control of the gallery, parents before their children.
std::span<const ControlEntry> ControlTable();

// The layout row of an identifier, nullptr when there is none.
const ControlEntry* FindSpec(int id);

// Registers the common-control classes the gallery uses and loads the rich
// edit library (once per process). False when the rich edit library is
// missing.
bool PrepareControlClasses();

struct GalleryOptions {
    bool visible = true;       // shown at once (tests keep it hidden)
    bool quitOnClose = true;   // the message loop ends when it is destroyed
};

// Makes the gallery window and every control of the layout, with contents
// (list items, ranges, positions), not yet dressed. 0 on failure.
HWND CreateGalleryWindow(const GalleryOptions& options = {});

// Dresses a window made by CreateGalleryWindow with the skin: background and
// control options, AttachSkin with a bottom bar, help and main-menu buttons
// and a caption button of its own, the containers, the other common controls
// and the image buttons. Needs the skin module started.
void DressGallery(HWND gallery);

// CreateGalleryWindow then DressGallery.
HWND CreateGallery(const GalleryOptions& options = {});

// The control of an identifier in a gallery window, 0 if none.
HWND GalleryControl(HWND gallery, int id);

// The gallery program: start-up of the skin module, the dressed gallery, the
// message loop until the window is closed, the skin's exit routine. Returns
// the process exit code.
int RunGallery();

// Pictures drawn at start-up with GDI+ and encoded as PNG bytes: the four
// faces of the image button (normal, hover, pressed, disabled), the small
// picture of the image-and-text buttons and the glyph of the gallery's own
// caption button.
enum class GalleryPicture { Normal, Hover, Pressed, Disabled, Small, Caption };
std::vector<BYTE> DrawGalleryPicture(GalleryPicture which);

// Theme colours the gallery's own caption button cycles through.
std::span<const COLORREF> ThemeColours();

}  // namespace vostrel::gallery
