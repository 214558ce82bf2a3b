// The skin's steps of start-up and shutdown (empty until the skin engine
// is joined to the program).
#include "skin_hooks.h"

namespace vostrel::app {

void CreateSkinObject() {}

void InitialiseSkinModule() {}

void DressMainWindow(form::Window&) {}

void DestroySkinObject() {}

void ReleaseSkinTables() {}

}  // namespace vostrel::app
