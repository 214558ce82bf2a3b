// Reading form descriptions: the values a description sets, and the errors a
// malformed one gives (form, line and problem).
#include "form/form_description.h"

#include <gtest/gtest.h>

#include <string>

namespace vostrel::form {
namespace {

// Descriptions are UTF-8 while the program's narrow literals are GBK: the
// sources of descriptions are written as u8 literals.
std::string_view U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

TEST(FormDescription, ReadsEveryPropertyAndEvent) {
    // CRLF line ends, a byte-order mark, indentation and comments are all
    // allowed; captions become GBK.
    const char8_t* text =
        u8"\xEF\xBB\xBF# a test form\r\n"
        "window 窗口\r\n"
        "  caption = \"测试 \\\"引号\\\" \\\\ 反斜杠\"\r\n"
        "  position = -5, 7\r\n"
        "  size = 300, 200\r\n"
        "  border = fixed\r\n"
        "  controlbox = no\r\n"
        "  minbox = no\r\n"
        "  maxbox = yes\r\n"
        "  centred = yes\r\n"
        "  on created = Made\r\n"
        "\r\n"
        "GroupBox 框\r\n"
        "  position = 1, 2\r\n"
        "  size = 100, 90\r\n"
        "  caption = \"\"\r\n"
        "Button 按钮\r\n"
        "  parent = 框\r\n"
        "  position = 3, 4\r\n"
        "  size = 50, 20\r\n"
        "  caption = \"确定\"\r\n"
        "  visible = no\r\n"
        "  enabled = no\r\n"
        "  on clicked = Press\r\n"
        "HtmlViewer 浏览\r\n"
        "  size = 10, 10\r\n"
        "  on 9 = NewWindow\r\n"
        "  on rightdown = Right\r\n";
    std::string error;
    auto form = ParseFormDescription("TEST", U8(text), error);
    ASSERT_TRUE(form) << error;
    EXPECT_EQ("TEST", form->form);

    const UnitDescription& w = form->window;
    EXPECT_EQ(Unit::Window, w.unit);
    EXPECT_EQ("窗口", w.name);
    EXPECT_EQ("测试 \"引号\" \\ 反斜杠", w.caption);
    EXPECT_EQ(-5, w.x);
    EXPECT_EQ(7, w.y);
    EXPECT_EQ(300, w.width);
    EXPECT_EQ(200, w.height);
    EXPECT_EQ(Border::Fixed, w.border);
    EXPECT_FALSE(w.control_box);
    EXPECT_FALSE(w.min_box);
    EXPECT_TRUE(w.max_box);
    EXPECT_TRUE(w.centred);
    ASSERT_EQ(1u, w.events.size());
    EXPECT_EQ(event::kCreated, w.events[0].event);
    EXPECT_EQ("Made", w.events[0].handler);
    EXPECT_EQ(11, w.events[0].line);

    ASSERT_EQ(3u, form->controls.size());
    const UnitDescription& box = form->controls[0];
    EXPECT_EQ(Unit::GroupBox, box.unit);
    EXPECT_EQ("窗口", box.parent);  // default parent: the window
    EXPECT_EQ("", box.caption);
    const UnitDescription& button = form->controls[1];
    EXPECT_EQ(Unit::Button, button.unit);
    EXPECT_EQ("框", button.parent);
    EXPECT_EQ("确定", button.caption);
    EXPECT_EQ(3, button.x);
    EXPECT_EQ(4, button.y);
    EXPECT_EQ(50, button.width);
    EXPECT_EQ(20, button.height);
    EXPECT_FALSE(button.visible);
    EXPECT_FALSE(button.enabled);
    EXPECT_EQ(17, button.line);
    const UnitDescription& viewer = form->controls[2];
    EXPECT_EQ(Unit::HtmlViewer, viewer.unit);
    EXPECT_TRUE(viewer.visible);
    ASSERT_EQ(2u, viewer.events.size());
    EXPECT_EQ(event::kNewWindow, viewer.events[0].event);
    EXPECT_EQ(event::kRightButtonDown, viewer.events[1].event);

    EXPECT_EQ(&button, form->Find("按钮"));
    EXPECT_EQ(&w, form->Find("窗口"));
    EXPECT_EQ(nullptr, form->Find("没有"));
}

struct BadDescription {
    const char* what;
    const char8_t* text;
    const char* error;  // the whole message (GBK)
};

// A window unit every case starts from (lines 1 and 2).
#define HEAD u8"window W\n  size = 10, 10\n"

const BadDescription kBadDescriptions[] = {
    {"unknown unit", HEAD u8"Buton B\n", "form F, line 3: unknown unit 'Buton'"},
    {"unit without name", HEAD u8"Button\n", "form F, line 3: Button unit without a name"},
    {"name with blank", HEAD u8"Button B C\n", "form F, line 3: unit name 'B C' holds a blank"},
    {"control before window", u8"Button B\n", "form F, line 1: control 'B' comes before the window unit"},
    {"second window", HEAD u8"window V\n", "form F, line 3: a second window unit; a form has exactly one"},
    {"duplicate name", HEAD u8"Button B\n size = 1, 1\nEditBox B\n",
     "form F, line 5: duplicate unit name 'B'"},
    {"duplicate of the window's name", HEAD u8"Button W\n", "form F, line 3: duplicate unit name 'W'"},
    {"unknown property", HEAD u8"Button B\n  colour = red\n",
     "form F, line 4: unknown property 'colour' for unit Button"},
    {"window property on a control", HEAD u8"Button B\n  border = none\n",
     "form F, line 4: unknown property 'border' for unit Button"},
    {"caption on a browser box", HEAD u8"HtmlViewer H\n  caption = \"x\"\n",
     "form F, line 4: unknown property 'caption' for unit HtmlViewer"},
    {"parent on the window", u8"window W\n  parent = X\n", "form F, line 2: unknown property 'parent' for unit window"},
    {"property before any unit", u8"  size = 1, 1\n", "form F, line 1: property 'size' before any unit"},
    {"property set twice", u8"window W\n  size = 1, 1\n  size = 2, 2\n",
     "form F, line 3: property 'size' is set twice"},
    {"bad number", HEAD u8"Button B\n  size = 12a, 4\n", "form F, line 4: bad number '12a' for size"},
    {"empty number", HEAD u8"Button B\n  position = , 4\n", "form F, line 4: bad number '' for position"},
    {"negative size", HEAD u8"Button B\n  size = -1, 4\n", "form F, line 4: bad number '-1' for size"},
    {"number too large", HEAD u8"Button B\n  position = 40000, 4\n",
     "form F, line 4: bad number '40000' for position"},
    {"one number for a pair", HEAD u8"Button B\n  size = 12\n",
     "form F, line 4: size needs two numbers separated by a comma"},
    {"three numbers for a pair", HEAD u8"Button B\n  size = 1, 2, 3\n",
     "form F, line 4: bad number '2, 3' for size"},
    {"bad yes/no", HEAD u8"Button B\n  visible = true\n", "form F, line 4: visible must be yes or no, not 'true'"},
    {"bad border", u8"window W\n  border = thin\n",
     "form F, line 2: border must be none, fixed or sizable, not 'thin'"},
    {"unquoted caption", HEAD u8"Button B\n  caption = OK\n", "form F, line 4: caption must be a quoted text"},
    {"bad escape", HEAD u8"Button B\n  caption = \"a\\nb\"\n",
     "form F, line 4: bad escape in caption (only \\\" and \\\\)"},
    {"inner quote", HEAD u8"Button B\n  caption = \"a\"b\"\n", "form F, line 4: unescaped quote inside caption"},
    {"missing parent", HEAD u8"Button B\n  parent = G\n", "form F, line 4: parent 'G' is not a unit defined above"},
    {"parent defined later", HEAD u8"Button B\n  parent = G\nGroupBox G\n",
     "form F, line 4: parent 'G' is not a unit defined above"},
    {"own parent", HEAD u8"GroupBox G\n  parent = G\n", "form F, line 4: parent 'G' is not a unit defined above"},
    {"parent that holds nothing", HEAD u8"Button A\n size = 1, 1\nButton B\n  parent = A\n",
     "form F, line 6: parent 'A' is a Button, which cannot hold controls"},
    {"unknown event", HEAD u8"Button B\n  on pressed = X\n", "form F, line 4: unit Button has no event 'pressed'"},
    {"event of another unit", HEAD u8"EditBox E\n  on clicked = X\n",
     "form F, line 4: unit EditBox has no event 'clicked'"},
    {"browser event out of range", HEAD u8"HtmlViewer H\n  on 10 = X\n",
     "form F, line 4: unit HtmlViewer has no event '10'"},
    {"event without handler", HEAD u8"Button B\n  on clicked =\n", "form F, line 4: bad handler name ''"},
    {"event without =", HEAD u8"Button B\n  on clicked\n",
     "form F, line 4: event binding without '=': write on <event> = <handler>"},
    {"event bound twice", HEAD u8"Button B\n  on clicked = X\n  on clicked = Y\n",
     "form F, line 5: event 'clicked' is bound twice"},
    {"event before any unit", u8"on created = X\n", "form F, line 1: event binding before any unit"},
    {"no window at all", u8"# nothing\n\n", "form F: the form has no window unit"},
    {"window without size", u8"window W\n  caption = \"x\"\n", "form F, line 1: window 'W' has no size"},
    {"control without size", HEAD u8"Button B\n  position = 1, 1\n", "form F, line 3: Button 'B' has no size"},
    {"invalid UTF-8", HEAD u8"Button B\n  caption = \"\xC3\x28\"\n", "form F, line 4: the line is not valid UTF-8"},
    {"character GBK lacks", HEAD u8"Button B\n  caption = \"\xF0\x9F\x98\x80\"\n",
     "form F, line 4: caption has a character that GBK cannot hold"},
};

#undef HEAD

TEST(FormDescription, MalformedDescriptionsNameFormLineAndProblem) {
    for (const BadDescription& bad : kBadDescriptions) {
        std::string error;
        EXPECT_FALSE(ParseFormDescription("F", U8(bad.text), error)) << bad.what;
        EXPECT_EQ(bad.error, error) << bad.what;
    }
}

TEST(FormDescription, ErrorsQuoteChineseNamesInGbk) {
    std::string error;
    EXPECT_FALSE(ParseFormDescription(U8(u8"主窗口"), U8(u8"window 窗口\n  size = 1, 1\nButton 窗口\n"), error));
    EXPECT_EQ("form 主窗口, line 3: duplicate unit name '窗口'", error);
}

TEST(FormDescription, MissingResourceIsAnError) {
    std::string error;
    EXPECT_FALSE(LoadFormDescription("NO_SUCH_FORM", error));
    EXPECT_EQ("form NO_SUCH_FORM: no such form resource in the program", error);
}

TEST(FormDescription, TextConversionsRoundTrip) {
    std::string gbk, utf8;
    ASSERT_TRUE(Utf8ToGbk(U8(u8"播放视频"), gbk));
    EXPECT_EQ("播放视频", gbk);  // narrow literals are GBK too
    EXPECT_EQ("\xB2\xA5\xB7\xC5\xCA\xD3\xC6\xB5", gbk);
    ASSERT_TRUE(GbkToUtf8(gbk, utf8));
    EXPECT_EQ("\xE6\x92\xAD\xE6\x94\xBE\xE8\xA7\x86\xE9\xA2\x91", utf8);
    EXPECT_TRUE(Utf8ToGbk("", gbk));
    EXPECT_EQ("", gbk);
    EXPECT_FALSE(Utf8ToGbk("\xFF", gbk));
}

}  // namespace
}  // namespace vostrel::form
