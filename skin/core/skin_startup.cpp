// Start-up and shutdown of the skin module, in the order the program comes
// up and goes down: object and tables first, then GDI+, the icon and the
// settings; at exit the object (icon, GDI+, stubs), then the tables and the
// global picture.
#include "skin/core/window_skin.h"

#include "gdiplus/gdip_object.h"

namespace vostrel::skin {
namespace {

// The program's own object; Skin points to it while it lives.
std::unique_ptr<WindowSkin> g_skin;

}  // namespace

bool CreateSkinObject() {
    if (g_skin) return true;
    auto skin = std::make_unique<WindowSkin>();
    if (!skin->Valid()) return false;
    g_skin = std::move(skin);
    Skin = g_skin.get();
    Windows.Clear();
    FreeBackdropDcTable();
    return true;
}

void InitialiseSkinModule() {
    GdiplusToken = StartGdiplus();
    HINSTANCE module = ::GetModuleHandleA(nullptr);
    // Loaded as an icon of our own (not a shared one), so that Destroy's
    // DestroyIcon really frees it.
    auto load = [module](const char* name) {
        return static_cast<HICON>(::LoadImageA(module, name, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    };
    AppIcon = load(MAKEINTRESOURCEA(129));
    if (!AppIcon) AppIcon = load("DEFAULT_ICON");
    FirstSizePending = 1;
    SkinControls = 1;
    VeilAlpha = 160;
    ThemeColour = 0xDDCA22;
    TrackbarFrames = 1;
}

bool StartSkinModule() {
    if (!CreateSkinObject()) return false;
    InitialiseSkinModule();
    return true;
}

void DestroySkinObject() {
    if (!g_skin) return;
    g_skin->Destroy();
    Skin = nullptr;
    g_skin.reset();
}

void FreeSkinTables() {
    Windows.Clear();
    FreeBackdropDcTable();
    GlobalBackgroundImage.clear();
    GlobalBackgroundImage.shrink_to_fit();
}

void RunSkinExitRoutine() {
    DestroySkinObject();
    FreeSkinTables();
}

}  // namespace vostrel::skin
