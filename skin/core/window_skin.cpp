// The WindowSkin object: construction with its two stubs, Destroy and Copy,
// the stub entries of the operations Windows calls, and the global settings.
#include "skin/core/window_skin.h"

#include "gdiplus/dll.h"
#include "gdiplus/gdip_object.h"

namespace vostrel::skin {

// Global settings with their initial values.
ULONG_PTR GdiplusToken = 0;
HICON AppIcon = nullptr;
int FirstSizePending = 1;
int SkinControls = 1;
int VeilAlpha = 160;
COLORREF ThemeColour = 0xDDCA22;
int TrackbarFrames = 1;
COLORREF GlobalBackColour = 0;
int TransparentControls = 0;
int GlobalDrawMode = 0;
Bytes GlobalBackgroundImage;
WindowSkin* Skin = nullptr;

namespace {

// The routines a stub calls: the object cell first, then the callback's own
// arguments; they hand the call to the object the cell names.
LRESULT WINAPI WindowProcEntry(WindowSkin** cell, HWND window, UINT message, WPARAM wParam,
                               LPARAM lParam) {
    return (*cell)->SkinWindowProc(window, message, wParam, lParam);
}

LRESULT WINAPI CaptionButtonActionEntry(WindowSkin** cell, int n, int button) {
    return (*cell)->CaptionButtonAction(n, button);
}

// Argument counts of the two callbacks.
constexpr int kWindowProcArguments = 4;
constexpr int kActionArguments = 2;

}  // namespace

const void* WindowSkin::OperationEntry(int position) noexcept {
    switch (position) {
        case 3: return reinterpret_cast<const void*>(&WindowProcEntry);
        case 4: return reinterpret_cast<const void*>(&CaptionButtonActionEntry);
        default: return nullptr;
    }
}

ExecutableStub BuildThunk(WindowSkin* object, int position, int argumentCount, bool passEcx,
                          bool callerPops) {
    const void* routine = WindowSkin::OperationEntry(position);
    if (!routine) return {};
#if defined(_WIN64)
    // The x64 build binds the object the same way with x64 code: the cell
    // inside the stub, the callback's arguments passed on after it.
    (void)passEcx;
    (void)callerPops;
    return ExecutableStub::Place(
        BuildThunkCode64(reinterpret_cast<uint64_t>(object), reinterpret_cast<uint64_t>(routine),
                         argumentCount),
        8);
#else
    return ExecutableStub::Place(BuildThunkCode(reinterpret_cast<uint32_t>(object),
                                                reinterpret_cast<uint32_t>(routine),
                                                argumentCount, passEcx, callerPops));
#endif
}

WindowSkin::WindowSkin() {
    BuildStubs();
    GlobalBackColour = ::GetSysColor(COLOR_BTNFACE);
}

WindowSkin::WindowSkin(const WindowSkin& source, CopyTag)
    : SizingBorder(source.SizingBorder), HotCaptionButton(source.HotCaptionButton) {
    BuildStubs();
}

WindowSkin::~WindowSkin() = default;

bool WindowSkin::BuildStubs() {
    WndProcThunk = BuildThunk(this, 3, kWindowProcArguments);
    ActionThunk = BuildThunk(this, 4, kActionArguments);
    ActionThunkEntry = reinterpret_cast<UINT_PTR>(ActionThunk.Entry());
    return Valid();
}

// Operation 0.
void WindowSkin::Destroy() {
    if (AppIcon) dll::DestroyIcon(AppIcon);
    AppIcon = nullptr;
    StopGdiplus(GdiplusToken);
    GdiplusToken = 0;
    WndProcThunk.Reset();
    ActionThunk.Reset();
    ActionThunkEntry = 0;
}

// Operation 1. The copy's stubs are bound to the copy itself, so that it
// stays usable once the source is destroyed.
std::unique_ptr<WindowSkin> WindowSkin::Copy() const {
    return std::unique_ptr<WindowSkin>(new WindowSkin(*this, CopyTag{}));
}

}  // namespace vostrel::skin
