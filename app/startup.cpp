// Start-up and shutdown, in the order the program depends on.
#include "startup.h"

#include <windows.h>

#include <string>

#include "form/form.h"
#include "player.h"
#include "skin_hooks.h"

namespace vostrel::app {

int RunProgram() {
    // 1. The form runtime (OLE for the browser box, window classes).
    if (!form::Initialize()) {
        MessageBoxA(nullptr, "无法初始化窗体运行库 (OLE)。", form::kMessageTitle, MB_ICONERROR);
        return 1;
    }
    // 2. The skin object and its tables, empty.
    CreateSkinObject();

    // 3. The exit routine, run once when the message loop ends.
    Player player;
    form::SetExitRoutine([&player] {
        player.ReleaseCurrentInterface();
        DestroySkinObject();
        player.ReleaseLastPlayAddress();
        ReleaseSkinTables();
    });

    // 4. The skin module's initialiser.
    InitialiseSkinModule();

    // 5. The main window from its form; its created event dresses it.
    player.SetMainWindowCreatedHook(&DressMainWindow);
    std::string error;
    if (!player.OpenMainWindow(error)) {
        // A form the program cannot read is a broken build: say which.
        MessageBoxA(nullptr, error.c_str(), form::kMessageTitle, MB_ICONERROR);
        form::SetExitRoutine(nullptr);
        DestroySkinObject();
        ReleaseSkinTables();
        form::Shutdown();
        return 1;
    }

    // 6. The message loop, until the main window is closed.
    const int code = form::RunMessageLoop();
    player.CloseMainWindow();
    form::Shutdown();
    return code;
}

}  // namespace vostrel::app
