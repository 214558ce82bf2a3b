// Form descriptions: what a window and its controls look like, as data.
//
// A description is parsed from a small line-based text (the format is
// documented at the top of form_description.cpp) and kept embedded in the
// program as a resource, one per window. Every text held here (names,
// captions, handler names) is GBK, the program's ANSI code page, so it
// compares equal to the program's own narrow literals.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vostrel::form {

enum class Unit { Window, Button, GroupBox, EditBox, TransLabel, HtmlViewer };

// Border style of a window unit.
enum class Border {
    None,     // no frame and no system caption: the window rectangle is the client area
    Fixed,    // dialog frame with a caption, not resizable
    Sizable,  // resizable frame with a caption
};

// Event numbers. The browser box's events are 0 to 9 (one per event of the
// web browser control); the others are shared by the units that raise them.
namespace event {
inline constexpr int kBeforeNavigate = 0;
inline constexpr int kNavigateComplete = 1;
inline constexpr int kDownloadBegin = 2;
inline constexpr int kProgressChange = 3;
inline constexpr int kDownloadComplete = 4;
inline constexpr int kDocumentComplete = 5;
inline constexpr int kStatusTextChange = 6;
inline constexpr int kTitleChange = 7;
inline constexpr int kCommandStateChange = 8;
inline constexpr int kNewWindow = 9;
inline constexpr int kCreated = 100;          // window: all controls exist, not yet shown
inline constexpr int kDestroying = 101;       // window: about to be destroyed
inline constexpr int kClicked = 102;          // Button
inline constexpr int kLeftButtonDown = 103;   // any control
inline constexpr int kRightButtonDown = 104;  // any control
}  // namespace event

// Name of an event as written in descriptions ("clicked", "0", ...).
std::string_view EventName(int event);
std::string_view UnitName(Unit unit);

struct EventBinding {
    int event = 0;
    std::string handler;  // name looked up in the handler table when the window is made
    int line = 0;         // where the binding was written, for error reports
};

struct UnitDescription {
    Unit unit = Unit::Window;
    std::string name;
    std::string parent;  // name of the containing unit; empty for the window itself
    int line = 0;
    int x = 0, y = 0;          // relative to the parent's client area
    int width = 0, height = 0;  // client size for a window
    std::string caption;
    bool visible = true;
    bool enabled = true;
    // Window units only.
    Border border = Border::Sizable;
    bool control_box = true;
    bool min_box = true;
    bool max_box = true;
    bool centred = false;  // centred on the screen; the stored position is then unused
    std::vector<EventBinding> events;
};

struct FormDescription {
    std::string form;  // the form's name, used in error reports
    UnitDescription window;
    std::vector<UnitDescription> controls;  // creation order; parents come first

    const UnitDescription* Find(std::string_view name) const;
};

// Parses a UTF-8 description. On failure returns nothing and sets `error`
// to "form <form>, line <n>: <problem>" (GBK).
std::optional<FormDescription> ParseFormDescription(std::string_view form,
                                                    std::string_view utf8_text,
                                                    std::string& error);

// Loads and parses the description kept as an RCDATA resource named
// `resource` in the program's module; the resource name is the form's name.
std::optional<FormDescription> LoadFormDescription(const char* resource, std::string& error);

// Text conversions between the descriptions' UTF-8 and the program's GBK.
// Return false when the input is not valid in its encoding or a character
// has no GBK form.
bool Utf8ToGbk(std::string_view utf8, std::string& gbk);
bool GbkToUtf8(std::string_view gbk, std::string& utf8);

}  // namespace vostrel::form
