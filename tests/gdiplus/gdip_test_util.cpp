#include "gdip_test_util.h"

namespace vostrel::gdiptest {

namespace {
// GDI+ is started once for the whole binary, as the program does at start.
class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_NE(0u, StartGdiplus()); }
    void TearDown() override { StopGdiplus(); }
};
[[maybe_unused]] auto* const g_environment = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);
}  // namespace

int CountDifferent(const test::DibCanvas& canvas, uint32_t rgb, int tolerance, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (!test::ColourNear(canvas.Pixel(x, y), rgb, tolerance)) ++n;
    return n;
}

bool MakePatternBitmap(GdipBitmap& bitmap, int width, int height) {
    if (!bitmap.Create(width, height)) return false;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const gp::ARGB c = 0xFF000000u | (static_cast<uint32_t>(x * 9 & 0xFF) << 16) |
                               (static_cast<uint32_t>(y * 13 & 0xFF) << 8) | static_cast<uint32_t>((x + y) * 5 & 0xFF);
            if (!bitmap.SetPixel(x, y, c)) return false;
        }
    return true;
}

}  // namespace vostrel::gdiptest
