// The site table: one row per site button.
#pragma once

#include <array>
#include <string>

namespace vostrel::app {

// What a site button does besides opening the home page and choosing the
// interface.
enum class ExtraStep { None, ShowBrowser };

struct Site {
    const char* button;    // caption of the site's button
    const char* handler;   // the button's handler name in the main window's form
    const char* home;      // the site's portal as a bare host; the browser completes it
    std::string interface_prefix;  // "http://" + interface host + path ending in "url="
    ExtraStep extra;
};

using SiteTable = std::array<Site, 7>;
// The five parse interface hosts, in the order the table numbers them.
using InterfaceHosts = std::array<std::string, 5>;

// The hosts the program ships with (see sites.cpp).
InterfaceHosts DefaultInterfaceHosts();
// The site table with the given interface hosts. Sites that share an
// interface get the same prefix text.
SiteTable MakeSiteTable(const InterfaceHosts& hosts = DefaultInterfaceHosts());

}  // namespace vostrel::app
