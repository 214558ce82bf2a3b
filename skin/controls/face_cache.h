// Finished faces of a control, kept for its next repaints. Drawing a skinned
// face (backdrop, translucent fills, outline, caption) costs far more than
// copying it, and most repaints (the hover look on entry, the normal look on
// leave) draw a face that was drawn before. A face is reused only while
// everything it was drawn from is unchanged: the look (state bits), the
// size, the caption and its font, the colours, and the pixels behind it (a
// hash of the backdrop the face is drawn on, so a recomposed window image, a
// moved control or a changed container tint is never covered by an old
// face).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/unique_handle.h"

namespace vostrel::skin {

// What a face was drawn from.
struct FaceKey {
    UINT State = 0;
    int Width = 0, Height = 0;
    unsigned long long Backdrop = 0;  // BackdropHash of the backdrop
    COLORREF Theme = 0, Text = 0;
    std::string Caption, FaceName;
    int FontSize = 0, FontStyle = 0;

    bool operator==(const FaceKey&) const = default;
};

// A hash of the pixels of the 32-bit DIB section selected into `dc`; 0 when
// the DC holds none (a face drawn on such a backdrop is not kept).
unsigned long long BackdropHash(HDC dc);

class FaceCache {
public:
    // Copies the face drawn from `key` to (0, 0) of `target`; false when none
    // is kept.
    bool Draw(const FaceKey& key, HDC target) const;
    // Keeps a copy of the face now in `source` (key.Width x key.Height from
    // its origin), replacing the oldest when the cache is full.
    // Nothing is kept for a key without a backdrop hash.
    void Store(const FaceKey& key, HDC source);
    void Clear() noexcept { entries_.clear(); }
    int Count() const noexcept { return static_cast<int>(entries_.size()); }

    // The looks a button shows in turn (normal, hover, focused, pressed).
    static constexpr size_t kCapacity = 4;

private:
    struct BitmapTraits {
        using pointer = HBITMAP;
        static constexpr HBITMAP invalid() noexcept { return nullptr; }
        static bool valid(HBITMAP h) noexcept { return h != nullptr; }
        static void close(HBITMAP h) noexcept;
    };
    struct Entry {
        FaceKey Key;
        unique_handle<BitmapTraits> Bitmap;
    };
    std::vector<Entry> entries_;
    size_t next_ = 0;  // the entry replaced next once the cache is full
};

}  // namespace vostrel::skin
