// Decisions behind a press or a pointer move on a skinned window's frame: the
// sizing rules (side bands of the sizing border's depth, 10 x 10 corner
// squares) and what a left-button press starts.
#pragma once

#include <windows.h>

namespace vostrel::skin {

struct WindowRecord;

// One sizing rule: the cursor it shows and the WM_SYSCOMMAND value it sends
// (SC_SIZE plus the WMSZ_ edge code).
struct SizingRule {
    LPCSTR Cursor = nullptr;  // a system cursor (IDC_SIZE*), null = no rule
    WPARAM Command = 0;
    explicit operator bool() const noexcept { return Cursor != nullptr; }
};

// The first sizing rule that matches the client point (x, y) of a W x H
// client area with a border of depth B, or an empty rule.
SizingRule FindSizingRule(int x, int y, int W, int H, int B);

enum class FramePress {
    None,     // nothing (the caption buttons handle it, or no caption)
    Drag,     // move the window by its caption
    Size,     // size the window by the rule's edge
};

struct FramePressDecision {
    FramePress Action = FramePress::None;
    SizingRule Rule;
};

// What a left-button press at client point (x, y) starts on a window with
// this record and a W x H client area.
FramePressDecision DecideFramePress(const WindowRecord& record, int x, int y, int W, int H,
                                    int border);

}  // namespace vostrel::skin
