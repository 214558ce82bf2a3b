// Paint time of each family of skinned control against the system's own
// paint of the same control left unskinned, measured in one run on two
// galleries built from the same layout: one dressed by the skin, one not.
// Each control is invalidated and painted at once (UpdateWindow, then the
// messages the paint left pending), on a visible window, since hidden
// windows are not painted. GDI+ under Wine is software-rendered, so only the
// ratios mean anything; a family above 3x is flagged.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench.h"
#include "gallery.h"
#include "skin/core/window_skin.h"

using namespace vostrel;
using namespace vostrel::bench;

namespace {

struct FamilyRow {
    const char* family;
    int id;
    bool header;  // the list view's header rather than the list view
};

constexpr FamilyRow kRows[] = {
    {"push button", gallery::kPushButton, false},
    {"check box", gallery::kCheckChecked, false},
    {"radio button", gallery::kRadioOne, false},
    {"image button", gallery::kImageButton, false},
    {"image-and-text button", gallery::kImageTextLeft, false},
    {"group box", gallery::kGroupUpDowns, false},
    {"tinted container", gallery::kTintedContainer, false},
    {"edit", gallery::kEditSingle, false},
    {"multi-line edit", gallery::kEditMulti, false},
    {"combo box (drop-down)", gallery::kComboDropDown, false},
    {"combo box (drop list)", gallery::kComboDropList, false},
    {"combo box (simple)", gallery::kComboSimple, false},
    {"list box", gallery::kListBox, false},
    {"tree view", gallery::kTreeView, false},
    {"list view", gallery::kListView, false},
    {"header", gallery::kListView, true},
    {"IP address", gallery::kIpAddress, false},
    {"date-time", gallery::kDatePicker, false},
    {"up-down", gallery::kUpDownRight, false},
    {"trackbar", gallery::kTrackBoth, false},
    {"trackbar (vertical)", gallery::kTrackVertBoth, false},
    {"progress bar", gallery::kProgressHorz, false},
    {"progress bar (vertical)", gallery::kProgressVert, false},
    {"month calendar", gallery::kMonthCalendar, false},
    {"tab control", gallery::kTabControl, false},
    {"tool bar", gallery::kToolBar, false},
    {"status bar", gallery::kStatusBar, false},
    {"rich edit", gallery::kRichEdit, false},
};

constexpr int kRounds = 5;
constexpr int kPaintsPerRound = 20;

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void Settle(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    do {
        Pump();
        Sleep(5);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

HWND ControlOf(HWND gallery, const FamilyRow& row) {
    HWND control = gallery::GalleryControl(gallery, row.id);
    if (control && row.header)
        control = reinterpret_cast<HWND>(SendMessageA(control, LVM_GETHEADER, 0, 0));
    return control;
}

// The fastest round's mean time of one full paint of the control, in ms.
double PaintTime(HWND control) {
    double best = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        const double t = TimeEach(kPaintsPerRound, [control] {
            InvalidateRect(control, nullptr, TRUE);
            UpdateWindow(control);
            Pump();
        });
        best = std::min(best, t);
    }
    return best * 1000.0;
}

// Every family's paint time on one gallery, shown alone on the screen.
std::vector<double> MeasureGallery(HWND gallery) {
    ShowWindow(gallery, SW_SHOWNORMAL);
    UpdateWindow(gallery);
    Settle(500);
    std::vector<double> times;
    for (const FamilyRow& row : kRows) {
        HWND control = ControlOf(gallery, row);
        times.push_back(control ? PaintTime(control) : 0.0);
    }
    ShowWindow(gallery, SW_HIDE);
    Settle(100);
    return times;
}

VOSTREL_BENCH(ControlFamilyPaintAgainstSystem) {
    gallery::PrepareControlClasses();
    const bool ownSkin = skin::Skin == nullptr;
    if (ownSkin && !skin::StartSkinModule()) {
        std::printf("skin module did not start\n");
        return;
    }
    SetCursorPos(0, 0);  // no hover look during the paints
    HWND plain = gallery::CreateGalleryWindow({false, false});
    HWND dressed = gallery::CreateGallery({false, false});
    if (!plain || !dressed) {
        std::printf("gallery windows could not be made\n");
    } else {
        const std::vector<double> system = MeasureGallery(plain);
        const std::vector<double> skinned = MeasureGallery(dressed);
        std::printf("%-26s %12s %12s %8s\n", "family", "skinned ms", "system ms", "ratio");
        int flagged = 0;
        for (size_t i = 0; i < std::size(kRows); ++i) {
            const double ratio = system[i] > 0 ? skinned[i] / system[i] : 0.0;
            const bool slow = ratio > 3.0;
            flagged += slow ? 1 : 0;
            std::printf("%-26s %12.3f %12.3f %7.2fx%s\n", kRows[i].family, skinned[i], system[i],
                        ratio, slow ? "  > 3x" : "");
            Report(std::string("family paint ratio: ") + kRows[i].family, ratio, "x");
        }
        std::printf("%d of %zu families above 3x\n", flagged, std::size(kRows));
    }
    if (plain) DestroyWindow(plain);
    if (dressed) DestroyWindow(dressed);
    Settle(50);
    if (ownSkin) skin::RunSkinExitRoutine();
}

}  // namespace
