// Image buttons and image-and-text buttons: push buttons of the button list
// turned by MakeImageButton / MakeImageTextButton into buttons that show the
// application's pictures. ButtonProc serves them like any push button (hover,
// focus, text updates); DrawButtonItem and RepaintButton call the two faces
// below for the kinds kImageButton and kImageTextButton.
#pragma once

#include <windows.h>

namespace vostrel::skin {

// The face of an image button (kind 3) into `target`, which belongs to the
// caller: the hover, pressed or disabled picture when the record has one, else
// the normal picture inside a frame of that state. Bytes that are not a
// picture draw nothing of the picture.
void DrawImageButtonFace(HWND control, HDC target, UINT state, const RECT& rect);

// The face of an image-and-text button (kind 1): the picture left of the text
// (layout 1) or above it (layout 0); a translucent highlight on focus and
// hover, a grey shade when disabled, and nothing of its own otherwise.
void DrawImageTextButtonFace(HWND control, HDC target, UINT state, const RECT& rect);

}  // namespace vostrel::skin
