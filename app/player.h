// The player: the main window's and the custom window's handlers, the
// selected interface and the last play address.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "form/form.h"
#include "sites.h"

namespace vostrel::app {

// Names of the controls the handlers use (as the forms name them).
inline constexpr const char* kBrowserBox = "超文本浏览框1";
inline constexpr const char* kAddressEdit = "编辑框1";

// Texts of the message buttons and of the empty "发射".
inline constexpr const char* kInstructionsText =
    "当前属于Web浏览器提供,打开页面可能会出现卡顿/无响应,嫌麻烦可以自己去官网拿视频连接然后"
    "打开自定义输入粘贴上去即可播放!";
inline constexpr const char* kInterfaceText = "当前接口属于自动调整，无需更换接口";
// The maker's contact line; the seven trailing blanks belong to it.
inline constexpr const char* kContactText = "Vostrel 作者邮箱：vostrel@mail.example       ";
inline constexpr const char* kEmptyAddressText = "请正确输入地址后再发射";

// Resource names of the two forms.
inline constexpr const char* kMainForm = "MAIN_WINDOW";
inline constexpr const char* kCustomForm = "CUSTOM_WINDOW";

class Player {
public:
    struct Options {
        SiteTable sites = MakeSiteTable();
        bool show_windows = true;  // tests keep the windows hidden
    };

    Player();
    explicit Player(Options options);
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // Makes the main window from its form; the program ends when it closes.
    // False (with `error`) when the form cannot be read or made.
    bool OpenMainWindow(std::string& error);
    form::Window* MainWindow() const { return main_.get(); }
    // Destroys the main window if it is still open.
    void CloseMainWindow();

    // Called from the main window's created event, before it is shown.
    void SetMainWindowCreatedHook(std::function<void(form::Window&)> hook);

    const std::string& CurrentInterface() const { return current_interface_; }
    const std::string& LastPlayAddress() const { return last_play_address_; }
    void ReleaseCurrentInterface();
    void ReleaseLastPlayAddress();

    const SiteTable& Sites() const { return options_.sites; }
    // Every handler the two forms name.
    form::HandlerTable Handlers();

private:
    form::HandlerResult SelectSite(form::Window& main, const Site& site);
    form::HandlerResult Play(form::Window& main);
    form::HandlerResult OpenCustomWindow();
    form::HandlerResult Send(const form::EventArgs& args);
    form::HandlerResult NewWindow(const form::EventArgs& args);

    Options options_;
    std::unique_ptr<form::Window> main_;
    std::function<void(form::Window&)> created_hook_;
    std::string current_interface_;
    std::string last_play_address_;
};

}  // namespace vostrel::app
