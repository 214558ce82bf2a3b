// Where the window skin joins the program's start-up and shutdown. Each
// function is one step of the order in startup.cpp; the skin engine fills
// them in.
#pragma once

#include "form/form.h"

namespace vostrel::app {

// Start-up step 2: the skin object and its window and backdrop DC tables.
void CreateSkinObject();
// Start-up step 4: the skin module's initialiser (GDI+, icon, settings).
void InitialiseSkinModule();
// The main window's created event: dress the window and its group box.
void DressMainWindow(form::Window& main);
// Exit step 2: destroy the skin object (shuts GDI+ down).
void DestroySkinObject();
// Exit step 4: the window table, the backdrop DC table, the global picture.
void ReleaseSkinTables();

}  // namespace vostrel::app
