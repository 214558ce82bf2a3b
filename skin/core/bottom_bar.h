// The glow-text renderer of the bottom bar.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "gdiplus/gdip.h"

namespace vostrel::skin {

// Draws `text` into r with a soft halo in the glow colour: the text blurred
// over about s pixels (drawn, shrunk by s and stretched back), shifted down a
// little, with a faint one-pixel outline; then the text itself on top. An
// empty font name means "宋体", no size 12, no style regular.
void DrawGlowText(GdipGraphics& target, const std::string& text, const gp::RectF& r,
                  COLORREF textColour, COLORREF glowColour, float s, const std::string& fontName,
                  std::optional<int> fontStyle, std::optional<float> fontSize,
                  gp::StringAlignment alignment, gp::StringAlignment lineAlignment);

}  // namespace vostrel::skin
