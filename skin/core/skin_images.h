// The skin's embedded pictures: the six caption-button PNGs, the main
// window's background JPEG and the combo box's drop arrow, carried as RCDATA
// resources of the program.
#pragma once

#include <windows.h>

#include <vector>

namespace vostrel::skin {

enum class SkinImage {
    CaptionHelp,
    CaptionMenu,
    CaptionMinimise,
    CaptionMaximise,
    CaptionRestore,
    CaptionClose,
    Background,
    ComboArrow,
};

// The resource name of a picture ("SKIN_CAPTION_CLOSE", ...).
const char* SkinImageName(SkinImage which);

// A copy of the picture's file bytes from the program's resources; empty when
// the resource is missing.
std::vector<BYTE> LoadSkinImage(SkinImage which);

}  // namespace vostrel::skin
