#include "skin/core/skin_images.h"

namespace vostrel::skin {

const char* SkinImageName(SkinImage which) {
    switch (which) {
        case SkinImage::CaptionHelp: return "SKIN_CAPTION_HELP";
        case SkinImage::CaptionMenu: return "SKIN_CAPTION_MENU";
        case SkinImage::CaptionMinimise: return "SKIN_CAPTION_MINIMISE";
        case SkinImage::CaptionMaximise: return "SKIN_CAPTION_MAXIMISE";
        case SkinImage::CaptionRestore: return "SKIN_CAPTION_RESTORE";
        case SkinImage::CaptionClose: return "SKIN_CAPTION_CLOSE";
        case SkinImage::Background: return "SKIN_BACKGROUND";
        case SkinImage::ComboArrow: return "SKIN_COMBO_ARROW";
    }
    return "";
}

std::vector<BYTE> LoadSkinImage(SkinImage which) {
    // Resources live in the executable image (tests and bench link them in
    // too), so the module of the process is the one to search.
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC info = FindResourceA(module, SkinImageName(which), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    if (!info) return {};
    HGLOBAL data = LoadResource(module, info);
    const DWORD size = SizeofResource(module, info);
    const void* bytes = data ? LockResource(data) : nullptr;
    if (!bytes || size == 0) return {};
    const BYTE* begin = static_cast<const BYTE*>(bytes);
    return std::vector<BYTE>(begin, begin + size);
}

}  // namespace vostrel::skin
