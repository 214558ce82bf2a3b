// The program's start-up, message loop and exit routine.
#pragma once

namespace vostrel::app {

// Runs Vostrel: start-up, the message loop until the main window closes,
// then the exit routine. Returns the process exit code.
int RunProgram();

}  // namespace vostrel::app
