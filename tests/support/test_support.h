// Helpers shared by the test binaries.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace vostrel::test {

// Dispatches every pending message of this thread, then keeps pumping for
// `ms` milliseconds (0: only what is pending now).
void FlushEvents(DWORD ms = 0);

// A 32-bit top-down DIB section with a memory DC selected into it; pixels
// read as 0x00RRGGBB.
class DibCanvas {
public:
    DibCanvas(int width, int height);
    ~DibCanvas();
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;
    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    uint32_t Pixel(int x, int y) const;   // 0x00RRGGBB (alpha byte masked off)
    uint32_t RawPixel(int x, int y) const;  // all four bytes, 0xAARRGGBB
    void Fill(uint32_t rgb);
    uint32_t* bits() const { return bits_; }

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
};

// True when the two 0x00RRGGBB colours differ by at most `tolerance` in each
// channel.
bool ColourNear(uint32_t a, uint32_t b, int tolerance);

// Writes the canvas as a 24-bit PNG (uncompressed deflate blocks; enough for
// screenshots taken by tests). Returns false on a write error.
bool SavePng(const DibCanvas& canvas, const std::string& path);

// Directory for artefacts written by tests (screenshots): the value of
// VOSTREL_ARTIFACTS, or the current directory.
std::string ArtifactDir();

}  // namespace vostrel::test
