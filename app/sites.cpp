// The site table and the parse interfaces.
#include "sites.h"

#include <cstddef>

namespace vostrel::app {

namespace {

// The parse interfaces: web services that play the page whose address
// follows "url=". The hosts below are placeholders under the reserved
// documentation domain: no service is vouched for here. A distributor puts
// the real interface hosts in this list (the paths stay as they are).
constexpr const char* kInterfaceHosts[5] = {
    "jx1.example",  // interface 1
    "jx2.example",  // interface 2
    "jx3.example",  // interface 3
    "jx4.example",  // interface 4
    "jx5.example",  // interface 5
};
constexpr const char* kInterfacePaths[5] = {
    "/xlls/index.php?url=",
    "/?url=",
    "/index.php?url=",
    "/api/?url=",
    "/jx/ty.php?url=",
};

struct SiteRow {
    const char* button;
    const char* handler;
    const char* home;
    std::size_t interface;  // 0-based into the interface lists above
    ExtraStep extra;
};

// One row per site button, in the order of the buttons.
constexpr SiteRow kSiteRows[7] = {
    {"爱奇艺", "SelectIqiyi", "www.iqiyi.com", 0, ExtraStep::ShowBrowser},
    {"芒果", "SelectMango", "www.mgtv.com", 1, ExtraStep::None},
    {"乐视", "SelectLetv", "www.le.com", 0, ExtraStep::None},
    {"腾讯", "SelectTencent", "v.qq.com", 2, ExtraStep::None},
    {"搜狐", "SelectSohu", "tv.sohu.com", 3, ExtraStep::None},
    {"优酷", "SelectYouku", "www.youku.com", 4, ExtraStep::None},
    {"PPTV", "SelectPptv", "www.pptv.com", 2, ExtraStep::None},
};

}  // namespace

InterfaceHosts DefaultInterfaceHosts() {
    InterfaceHosts hosts;
    for (std::size_t i = 0; i < hosts.size(); ++i) hosts[i] = kInterfaceHosts[i];
    return hosts;
}

SiteTable MakeSiteTable(const InterfaceHosts& hosts) {
    SiteTable table;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const SiteRow& row = kSiteRows[i];
        table[i] = Site{row.button, row.handler, row.home,
                        "http://" + hosts[row.interface] + kInterfacePaths[row.interface],
                        row.extra};
    }
    return table;
}

}  // namespace vostrel::app
