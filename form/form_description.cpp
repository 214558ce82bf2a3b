// Form descriptions: parser and resource loader.
//
// FORMAT
//
// A form description is UTF-8 text with one statement a line. Blank lines
// and lines whose first non-blank character is '#' are ignored; blanks at the
// start and end of a line do not count (indentation is only for the reader).
//
//   <Unit> <name>              starts a unit. The first unit is the form's
//                              only `window`; every later one is a control:
//                              Button, GroupBox, EditBox, TransLabel or
//                              HtmlViewer. Names are unique within a form.
//   <property> = <value>       sets a property of the unit above it.
//   on <event> = <handler>     binds an event of the unit above it to the
//                              application's handler of that name.
//
// Properties (each at most once per unit):
//   position = x, y            pixels, relative to the parent's client area
//   size = width, height       pixels; for a window its client size. Required.
//   caption = "text"           quoted; \" and \\ are the only escapes
//   visible = yes|no           default yes
//   enabled = yes|no           default yes
//   parent = <name>            controls only: a window or GroupBox named
//                              above; default the window
//   border = none|fixed|sizable         window only, default sizable
//   controlbox|minbox|maxbox = yes|no   window only, default yes
//   centred = yes|no           window only: centre on the screen when made
//                              (the position is then unused); default no
//   Every unit but HtmlViewer takes a caption (an EditBox's is its text).
//
// Events: a window raises `created` (its controls exist, it is not shown
// yet) and `destroying`; a Button raises `clicked`; every control raises
// `leftdown` and `rightdown`; an HtmlViewer raises 0 to 9, named by number
// (the web browser control's events, see html_viewer.h).
//
// Numbers are decimal integers from -32768 to 32767 (sizes from 0). Texts are
// turned into GBK, the program's ANSI code page, when the description is read:
// a character GBK lacks is an error. Any error stops the parse and is
// reported as "form <form>, line <n>: <problem>".
#include "form_description.h"

#include <windows.h>

#include <charconv>
#include <utility>

namespace vostrel::form {

namespace {

constexpr UINT kGbk = 936;

struct UnitKind {
    std::string_view name;
    Unit unit;
};
constexpr UnitKind kUnits[] = {
    {"window", Unit::Window},         {"Button", Unit::Button},
    {"GroupBox", Unit::GroupBox},     {"EditBox", Unit::EditBox},
    {"TransLabel", Unit::TransLabel}, {"HtmlViewer", Unit::HtmlViewer},
};

struct EventKind {
    std::string_view name;
    int event;
};
constexpr EventKind kEvents[] = {
    {"0", event::kBeforeNavigate},     {"1", event::kNavigateComplete},
    {"2", event::kDownloadBegin},      {"3", event::kProgressChange},
    {"4", event::kDownloadComplete},   {"5", event::kDocumentComplete},
    {"6", event::kStatusTextChange},   {"7", event::kTitleChange},
    {"8", event::kCommandStateChange}, {"9", event::kNewWindow},
    {"created", event::kCreated},      {"destroying", event::kDestroying},
    {"clicked", event::kClicked},      {"leftdown", event::kLeftButtonDown},
    {"rightdown", event::kRightButtonDown},
};

bool UnitRaises(Unit unit, int ev) {
    switch (unit) {
    case Unit::Window: return ev == event::kCreated || ev == event::kDestroying;
    case Unit::Button:
        return ev == event::kClicked || ev == event::kLeftButtonDown ||
               ev == event::kRightButtonDown;
    case Unit::HtmlViewer:
        return (ev >= event::kBeforeNavigate && ev <= event::kNewWindow) ||
               ev == event::kLeftButtonDown || ev == event::kRightButtonDown;
    default: return ev == event::kLeftButtonDown || ev == event::kRightButtonDown;
    }
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool ToWide(UINT code_page, std::string_view in, std::wstring& out) {
    out.clear();
    if (in.empty()) return true;
    const int n = MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, in.data(),
                                      static_cast<int>(in.size()), nullptr, 0);
    if (n <= 0) return false;
    out.resize(n);
    return MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, in.data(),
                               static_cast<int>(in.size()), out.data(), n) == n;
}

// Parses one description; `fail` records the first error.
class Parser {
public:
    Parser(std::string_view form, std::string& error) : form_(form), error_(error) {}

    std::optional<FormDescription> Run(std::string_view text) {
        if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
        size_t pos = 0;
        for (int number = 1;; ++number) {
            const size_t end = text.find('\n', pos);
            line_ = number;
            if (!Statement(Trim(text.substr(pos, end == std::string_view::npos ? end : end - pos))))
                return std::nullopt;
            if (end == std::string_view::npos) break;
            pos = end + 1;
        }
        line_ = 0;
        if (!have_window_) {
            Fail(0, "the form has no window unit");
            return std::nullopt;
        }
        if (!CheckComplete(form_desc_.window)) return std::nullopt;
        for (const auto& c : form_desc_.controls)
            if (!CheckComplete(c)) return std::nullopt;
        form_desc_.form = Gbk(form_);
        return std::move(form_desc_);
    }

private:
    bool Statement(std::string_view s) {
        if (s.empty() || s.front() == '#') return true;
        std::wstring probe;
        if (!ToWide(CP_UTF8, s, probe)) return Fail(line_, "the line is not valid UTF-8");
        if (s.substr(0, 3) == "on " || s.substr(0, 3) == "on\t") return EventStatement(s.substr(3));
        const size_t eq = s.find('=');
        if (eq != std::string_view::npos) return Property(Trim(s.substr(0, eq)), Trim(s.substr(eq + 1)));
        return UnitStatement(s);
    }

    bool UnitStatement(std::string_view s) {
        const size_t gap = s.find_first_of(" \t");
        const std::string_view kind = s.substr(0, gap);
        const std::string_view name =
            gap == std::string_view::npos ? std::string_view{} : Trim(s.substr(gap));
        const UnitKind* found = nullptr;
        for (const auto& u : kUnits)
            if (u.name == kind) found = &u;
        if (!found) return Fail(line_, "unknown unit '" + std::string(kind) + "'");
        if (name.empty()) return Fail(line_, std::string(kind) + " unit without a name");
        if (name.find_first_of(" \t") != std::string_view::npos)
            return Fail(line_, "unit name '" + std::string(name) + "' holds a blank");
        if (found->unit == Unit::Window && have_window_)
            return Fail(line_, "a second window unit; a form has exactly one");
        if (found->unit != Unit::Window && !have_window_)
            return Fail(line_, "control '" + std::string(name) + "' comes before the window unit");
        std::string gbk_name;
        if (!Utf8ToGbk(name, gbk_name))
            return Fail(line_, "unit name has a character that GBK cannot hold");
        if (form_desc_.Find(gbk_name))
            return Fail(line_, "duplicate unit name '" + std::string(name) + "'");
        UnitDescription unit;
        unit.unit = found->unit;
        unit.name = std::move(gbk_name);
        unit.line = line_;
        if (found->unit == Unit::Window) {
            form_desc_.window = std::move(unit);
            have_window_ = true;
            current_ = &form_desc_.window;
        } else {
            unit.parent = form_desc_.window.name;
            form_desc_.controls.push_back(std::move(unit));
            current_ = &form_desc_.controls.back();
        }
        seen_.clear();
        return true;
    }

    bool Property(std::string_view key, std::string_view value) {
        if (!current_) return Fail(line_, "property '" + std::string(key) + "' before any unit");
        UnitDescription& u = *current_;
        const bool window = u.unit == Unit::Window;
        const std::string k(key);
        for (const auto& s : seen_)
            if (s == k) return Fail(line_, "property '" + k + "' is set twice");
        seen_.push_back(k);
        if (key == "position") return Pair(key, value, u.x, u.y, -32768);
        if (key == "size") {
            size_given_.push_back(u.name);
            return Pair(key, value, u.width, u.height, 0);
        }
        if (key == "caption" && u.unit != Unit::HtmlViewer) return Quoted(value, u.caption);
        if (key == "visible") return YesNo(key, value, u.visible);
        if (key == "enabled") return YesNo(key, value, u.enabled);
        if (key == "parent" && !window) return Parent(value, u);
        if (window) {
            if (key == "controlbox") return YesNo(key, value, u.control_box);
            if (key == "minbox") return YesNo(key, value, u.min_box);
            if (key == "maxbox") return YesNo(key, value, u.max_box);
            if (key == "centred") return YesNo(key, value, u.centred);
            if (key == "border") {
                if (value == "none") u.border = Border::None;
                else if (value == "fixed") u.border = Border::Fixed;
                else if (value == "sizable") u.border = Border::Sizable;
                else return Fail(line_, "border must be none, fixed or sizable, not '" + std::string(value) + "'");
                return true;
            }
        }
        return Fail(line_, "unknown property '" + k + "' for unit " + std::string(UnitName(u.unit)));
    }

    bool EventStatement(std::string_view s) {
        if (!current_) return Fail(line_, "event binding before any unit");
        const size_t eq = s.find('=');
        if (eq == std::string_view::npos)
            return Fail(line_, "event binding without '=': write on <event> = <handler>");
        const std::string_view name = Trim(s.substr(0, eq));
        const std::string_view handler = Trim(s.substr(eq + 1));
        const EventKind* found = nullptr;
        for (const auto& e : kEvents)
            if (e.name == name) found = &e;
        if (!found || !UnitRaises(current_->unit, found->event))
            return Fail(line_, "unit " + std::string(UnitName(current_->unit)) +
                                   " has no event '" + std::string(name) + "'");
        if (handler.empty() || handler.find_first_of(" \t") != std::string_view::npos)
            return Fail(line_, "bad handler name '" + std::string(handler) + "'");
        for (const auto& b : current_->events)
            if (b.event == found->event)
                return Fail(line_, "event '" + std::string(name) + "' is bound twice");
        EventBinding binding;
        binding.event = found->event;
        binding.line = line_;
        if (!Utf8ToGbk(handler, binding.handler))
            return Fail(line_, "handler name has a character that GBK cannot hold");
        current_->events.push_back(std::move(binding));
        return true;
    }

    bool Parent(std::string_view value, UnitDescription& u) {
        std::string gbk;
        if (!Utf8ToGbk(value, gbk)) return Fail(line_, "parent name has a character that GBK cannot hold");
        const UnitDescription* p = form_desc_.Find(gbk);
        if (!p || p == &u)
            return Fail(line_, "parent '" + std::string(value) + "' is not a unit defined above");
        if (p->unit != Unit::Window && p->unit != Unit::GroupBox)
            return Fail(line_, "parent '" + std::string(value) + "' is a " +
                                   std::string(UnitName(p->unit)) + ", which cannot hold controls");
        u.parent = std::move(gbk);
        return true;
    }

    bool Number(std::string_view key, std::string_view text, int& out, int lowest) {
        text = Trim(text);
        int v = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
        if (text.empty() || ec != std::errc{} || end != text.data() + text.size() || v < lowest ||
            v > 32767)
            return Fail(line_, "bad number '" + std::string(text) + "' for " + std::string(key));
        out = v;
        return true;
    }

    bool Pair(std::string_view key, std::string_view value, int& a, int& b, int lowest) {
        const size_t comma = value.find(',');
        if (comma == std::string_view::npos)
            return Fail(line_, std::string(key) + " needs two numbers separated by a comma");
        return Number(key, value.substr(0, comma), a, lowest) &&
               Number(key, value.substr(comma + 1), b, lowest);
    }

    bool YesNo(std::string_view key, std::string_view value, bool& out) {
        if (value == "yes") out = true;
        else if (value == "no") out = false;
        else return Fail(line_, std::string(key) + " must be yes or no, not '" + std::string(value) + "'");
        return true;
    }

    bool Quoted(std::string_view value, std::string& out) {
        if (value.size() < 2 || value.front() != '"' || value.back() != '"')
            return Fail(line_, "caption must be a quoted text");
        std::string utf8;
        for (size_t i = 1; i + 1 < value.size(); ++i) {
            char c = value[i];
            if (c == '\\') {
                if (i + 2 >= value.size() || (value[i + 1] != '"' && value[i + 1] != '\\'))
                    return Fail(line_, "bad escape in caption (only \\\" and \\\\)");
                c = value[++i];
            } else if (c == '"') {
                return Fail(line_, "unescaped quote inside caption");
            }
            utf8 += c;
        }
        if (!Utf8ToGbk(utf8, out)) return Fail(line_, "caption has a character that GBK cannot hold");
        return true;
    }

    bool CheckComplete(const UnitDescription& u) {
        for (const auto& n : size_given_)
            if (n == u.name) return true;
        std::string name;
        GbkToUtf8(u.name, name);
        return Fail(u.line, std::string(UnitName(u.unit)) + " '" + name + "' has no size");
    }

    std::string Gbk(std::string_view utf8) {
        std::string out;
        if (!Utf8ToGbk(utf8, out)) out.assign(utf8);
        return out;
    }

    // Errors are composed in UTF-8 (the quoted pieces come from the source
    // text) and handed out in GBK like every other text of the program.
    bool Fail(int line, const std::string& problem) {
        std::string utf8 = "form " + std::string(form_);
        if (line > 0) utf8 += ", line " + std::to_string(line);
        utf8 += ": " + problem;
        std::wstring wide;
        if (!ToWide(CP_UTF8, utf8, wide)) {
            error_ = utf8;
        } else {
            const int n = WideCharToMultiByte(kGbk, 0, wide.data(), static_cast<int>(wide.size()),
                                              nullptr, 0, nullptr, nullptr);
            error_.assign(n, '\0');
            WideCharToMultiByte(kGbk, 0, wide.data(), static_cast<int>(wide.size()), error_.data(),
                                n, nullptr, nullptr);
        }
        return false;
    }

    std::string_view form_;
    std::string& error_;
    FormDescription form_desc_;
    bool have_window_ = false;
    UnitDescription* current_ = nullptr;
    std::vector<std::string> seen_;
    std::vector<std::string> size_given_;  // units whose size is set
    int line_ = 0;
};

}  // namespace

std::string_view UnitName(Unit unit) {
    for (const auto& u : kUnits)
        if (u.unit == unit) return u.name;
    return "?";
}

std::string_view EventName(int ev) {
    for (const auto& e : kEvents)
        if (e.event == ev) return e.name;
    return "?";
}

const UnitDescription* FormDescription::Find(std::string_view name) const {
    if (!window.name.empty() && window.name == name) return &window;
    for (const auto& c : controls)
        if (c.name == name) return &c;
    return nullptr;
}

bool Utf8ToGbk(std::string_view utf8, std::string& gbk) {
    gbk.clear();
    std::wstring wide;
    if (!ToWide(CP_UTF8, utf8, wide)) return false;
    if (wide.empty()) return true;
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(),
                                      static_cast<int>(wide.size()), nullptr, 0, nullptr, &lossy);
    if (n <= 0 || lossy) return false;
    gbk.assign(n, '\0');
    return WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                               gbk.data(), n, nullptr, &lossy) == n &&
           !lossy;
}

bool GbkToUtf8(std::string_view gbk, std::string& utf8) {
    utf8.clear();
    std::wstring wide;
    if (!ToWide(kGbk, gbk, wide)) return false;
    if (wide.empty()) return true;
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    utf8.assign(n, '\0');
    return WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                               utf8.data(), n, nullptr, nullptr) == n;
}

std::optional<FormDescription> ParseFormDescription(std::string_view form,
                                                    std::string_view utf8_text,
                                                    std::string& error) {
    error.clear();
    return Parser(form, error).Run(utf8_text);
}

std::optional<FormDescription> LoadFormDescription(const char* resource, std::string& error) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC info = FindResourceA(module, resource, MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    HGLOBAL data = info ? LoadResource(module, info) : nullptr;
    const void* bytes = data ? LockResource(data) : nullptr;
    if (!bytes) {
        error = "form " + std::string(resource) + ": no such form resource in the program";
        return std::nullopt;
    }
    std::string utf8_name;
    if (!GbkToUtf8(resource, utf8_name)) utf8_name = resource;
    return ParseFormDescription(utf8_name, {static_cast<const char*>(bytes), SizeofResource(module, info)},
                                error);
}

}  // namespace vostrel::form
