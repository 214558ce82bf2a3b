// The skin's steps of start-up and shutdown, in the order startup.cpp runs
// them.
#include "skin_hooks.h"

#include "skin/core/window_skin.h"
#include "skin_setup.h"

namespace vostrel::app {

void CreateSkinObject() { skin::CreateSkinObject(); }

void InitialiseSkinModule() { skin::InitialiseSkinModule(); }

void DressMainWindow(form::Window& main) { SkinSetUp(main); }

void DestroySkinObject() { skin::DestroySkinObject(); }

void ReleaseSkinTables() { skin::FreeSkinTables(); }

}  // namespace vostrel::app
