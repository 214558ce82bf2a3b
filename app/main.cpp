// Vostrel's entry point.
#include <windows.h>

#include "startup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return vostrel::app::RunProgram(); }
