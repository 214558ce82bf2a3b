// The player's handlers.
#include "player.h"

#include <utility>

namespace vostrel::app {

using form::HandlerResult;
namespace property = form::property;

Player::Player() : Player(Options{}) {}

Player::Player(Options options) : options_(std::move(options)) {}

Player::~Player() { CloseMainWindow(); }

bool Player::OpenMainWindow(std::string& error) {
    std::optional<form::FormDescription> form = form::LoadFormDescription(kMainForm, error);
    if (!form) return false;
    main_.reset();
    // The created event runs inside Create, before `main_` is set: it gets
    // the window through its arguments.
    main_ = form::Window::Create(*form, Handlers(), error, {options_.show_windows});
    if (!main_) return false;
    main_->SetQuitOnDestroy(true);
    return true;
}

void Player::CloseMainWindow() { main_.reset(); }

void Player::SetMainWindowCreatedHook(std::function<void(form::Window&)> hook) {
    created_hook_ = std::move(hook);
}

void Player::ReleaseCurrentInterface() { std::string().swap(current_interface_); }

void Player::ReleaseLastPlayAddress() { std::string().swap(last_play_address_); }

form::HandlerTable Player::Handlers() {
    form::HandlerTable table;
    const auto nothing = [](const form::EventArgs&) -> HandlerResult { return std::nullopt; };
    const auto message = [](const char* text) {
        return [text](const form::EventArgs&) -> HandlerResult {
            form::ShowMessage(text);
            return std::nullopt;
        };
    };
    table["MainWindowCreated"] = [this](const form::EventArgs& args) -> HandlerResult {
        if (created_hook_) created_hook_(args.window);
        return std::nullopt;
    };
    table["MainWindowDestroying"] = nothing;
    table["ShowInstructions"] = message(kInstructionsText);
    table["ShowInterfaceNote"] = message(kInterfaceText);
    table["ShowContact"] = message(kContactText);
    table["GroupBoxLeftButtonDown"] = nothing;
    for (const Site& site : options_.sites)
        table[site.handler] = [this, &site](const form::EventArgs& args) {
            return SelectSite(args.window, site);
        };
    table["OpenCustomWindow"] = [this](const form::EventArgs&) { return OpenCustomWindow(); };
    table["Play"] = [this](const form::EventArgs& args) { return Play(args.window); };
    table["BrowserBeforeNavigate"] = nothing;
    table["BrowserDownloadComplete"] = nothing;
    table["BrowserDocumentComplete"] = nothing;
    table["BrowserNewWindow"] = [this](const form::EventArgs& args) { return NewWindow(args); };
    table["BrowserRightButtonDown"] = nothing;
    table["Send"] = [this](const form::EventArgs& args) { return Send(args); };
    return table;
}

// Opens the site's home page, selects its interface, and does the row's
// extra step.
HandlerResult Player::SelectSite(form::Window& main, const Site& site) {
    main.WriteText(kBrowserBox, property::kAddress, site.home);
    current_interface_ = site.interface_prefix;
    if (site.extra == ExtraStep::ShowBrowser) main.WriteValue(kBrowserBox, property::kVisible, 1);
    return std::nullopt;
}

// Sends the box to the interface followed by the address it shows now,
// joined as they are: no encoding, no trimming.
HandlerResult Player::Play(form::Window& main) {
    std::string address = main.ReadText(kBrowserBox, property::kAddress);
    std::string joined = current_interface_ + address;
    last_play_address_ = std::move(joined);
    main.Navigate(kBrowserBox, last_play_address_);
    return std::nullopt;
}

HandlerResult Player::OpenCustomWindow() {
    std::string error;
    std::optional<form::FormDescription> form = form::LoadFormDescription(kCustomForm, error);
    if (!form || !form::LoadModal(*form, Handlers(), error, {options_.show_windows}))
        form::ShowMessage(error);
    return std::nullopt;
}

// Sends the typed address to the main window's browser box. Only an empty
// text is refused; blanks are an address like any other.
HandlerResult Player::Send(const form::EventArgs& args) {
    if (args.window.ReadText(kAddressEdit, property::kContent).empty()) {
        form::ShowMessage(kEmptyAddressText);
        return std::nullopt;
    }
    if (main_)
        main_->WriteText(kBrowserBox, property::kAddress,
                         args.window.ReadText(kAddressEdit, property::kContent));
    return std::nullopt;
}

// A page asks for a new window: open its link, which the status text holds
// at this moment, in the box itself, and refuse the new window.
HandlerResult Player::NewWindow(const form::EventArgs& args) {
    std::string status = args.window.ReadText(kBrowserBox, property::kStatusText);
    args.window.WriteText(kBrowserBox, property::kAddress, status);
    return false;
}

}  // namespace vostrel::app
