// Helpers of the GDI+ layer's tests.
#pragma once

#include <gtest/gtest.h>

#include "gdiplus/gdip.h"
#include "test_support.h"

#include <cstdint>
#include <string>

namespace vostrel::gdiptest {

namespace gp = ::Gdiplus;

// 0xAARRGGBB colour to the 0x00RRGGBB a DibCanvas pixel reads as.
constexpr uint32_t Rgb(gp::ARGB argb) { return argb & 0x00FFFFFFu; }

// Counts the canvas pixels inside [x0,x1)x[y0,y1) that differ from `rgb` by
// more than `tolerance` in some channel.
int CountDifferent(const test::DibCanvas& canvas, uint32_t rgb, int tolerance, int x0, int y0, int x1, int y1);

// A leak check over one scope: every GDI and GDI+ object counted by the
// function table must be back where it was when the check was made.
class LeakCheck {
public:
    LeakCheck() : before_(dll::CountObjects()) {}
    [[nodiscard]] std::string Changes() const { return dll::ObjectChangesSince(before_); }

private:
    dll::ObjectCounts before_;
};

// A bitmap of the given size filled with a pattern that tells every pixel
// apart (for exact round trips).
bool MakePatternBitmap(GdipBitmap& bitmap, int width, int height);

}  // namespace vostrel::gdiptest
