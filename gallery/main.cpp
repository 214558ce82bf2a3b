// The skin gallery's entry point.
#include <windows.h>

#include "gallery.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return vostrel::gallery::RunGallery(); }
