// The window table: records of skinned top-level windows by window number,
// their lookup, their teardown and the renumbering that keeps the numbers
// stored in window properties equal to the records' positions.
#include "skin/core/window_skin.h"

#include "gdiplus/dll.h"

namespace vostrel::skin {

WindowTable Windows;

int WindowTable::Find(HWND window) const noexcept {
    if (!window) return 0;
    for (size_t i = 0; i < records_.size(); ++i)
        if (records_[i]->Handle == window) return static_cast<int>(i) + 1;
    return 0;
}

int WindowTable::Append(std::unique_ptr<WindowRecord> record) {
    if (!record) return 0;
    records_.push_back(std::move(record));
    return Count();
}

std::unique_ptr<WindowRecord> WindowTable::Remove(int n) {
    if (!InRange(n)) return nullptr;
    auto record = std::move(records_[n - 1]);
    records_.erase(records_.begin() + (n - 1));
    return record;
}

void WindowTable::Clear() noexcept {
    // Records are freed last first, so a record never outlives one made
    // after it.
    while (!records_.empty()) records_.pop_back();
}

int FindWindowNumber(HWND window) { return Windows.Find(window); }

void RenumberSkinnedWindows() {
    for (int k = 1; k <= Windows.Count(); ++k) {
        WindowRecord* record = Windows.At(k);
        if (record->Handle) SetPropValue(record->Handle, kPropNumber, k);
        record->ForEachNumberedList([k](ControlList& list) {
            for (const auto& control : list)
                if (control->Handle) SetPropValue(control->Handle, kPropOwnerNumber, k);
        });
        for (const auto& control : record->OtherControls)
            if (control->Handle) SetPropValue(control->Handle, kPropOtherOwnerNumber, k);
    }
}

namespace {

// Deletes the control-colour brush and its bitmap kept on a control and
// clears the properties, so that nothing reads a deleted handle later.
void DeleteColourBrush(HWND control) {
    if (auto brush = reinterpret_cast<HGDIOBJ>(::RemovePropA(control, kPropColourBrush)))
        dll::DeleteObject(brush);
    if (auto bitmap = reinterpret_cast<HGDIOBJ>(::RemovePropA(control, kPropColourBrushBitmap)))
        dll::DeleteObject(bitmap);
}

}  // namespace

void ForgetSkinnedWindow(HWND window) {
    if (const int n = Windows.Find(window)) {
        std::unique_ptr<WindowRecord> record = Windows.Remove(n);
        for (const auto& edit : record->Edits)
            if (edit->Handle) DeleteColourBrush(edit->Handle);
        // The background's saved object and bitmap are the record's own
        // (RecordDc); the properties only publish them, and would name
        // deleted handles from here on.
        ::RemovePropA(window, kPropBackgroundSaved);
        ::RemovePropA(window, kPropBackgroundBitmap);
        ::RemovePropA(window, kPropNumber);
        // Freeing the record releases its DCs with their bitmaps, its
        // tool-tip window, its lists and every record in them.
        record.reset();
    }
    RenumberSkinnedWindows();
}

// ---------------------------------------------------------------------------

bool RecordDc::Create() {
    if (!dc_) dc_ = dll::CreateCompatibleDC(nullptr);
    return dc_ != nullptr;
}

void RecordDc::SelectBitmap(HBITMAP bitmap) {
    if (!Create() || !bitmap) {
        if (bitmap) dll::DeleteObject(bitmap);
        return;
    }
    HGDIOBJ displaced = dll::SelectObject(dc_, bitmap);
    if (!displaced || displaced == HGDI_ERROR) {
        dll::DeleteObject(bitmap);
        return;
    }
    if (!saved_) saved_ = displaced;
    if (bitmap_ && bitmap_ != bitmap) dll::DeleteObject(bitmap_);
    bitmap_ = bitmap;
}

void RecordDc::Reset() noexcept {
    if (dc_ && saved_) dll::SelectObject(dc_, saved_);
    if (bitmap_) dll::DeleteObject(bitmap_);
    if (dc_) dll::DeleteDC(dc_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    saved_ = nullptr;
}

}  // namespace vostrel::skin
