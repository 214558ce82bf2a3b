#include "skin/controls/face_cache.h"

#include "gdiplus/dll.h"

namespace vostrel::skin {

namespace {

// A memory DC holding `bitmap` for one copy; the bitmap is selected out again
// before the DC goes.
class BitmapDc {
public:
    explicit BitmapDc(HBITMAP bitmap) : dc_(dll::CreateCompatibleDC(nullptr)) {
        if (dc_) saved_ = dll::SelectObject(dc_, bitmap);
    }
    ~BitmapDc() {
        if (!dc_) return;
        if (saved_) dll::SelectObject(dc_, saved_);
        dll::DeleteDC(dc_);
    }
    BitmapDc(const BitmapDc&) = delete;
    BitmapDc& operator=(const BitmapDc&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HDC dc_;
    HGDIOBJ saved_ = nullptr;
};

}  // namespace

unsigned long long BackdropHash(HDC dc) {
    DIBSECTION dib{};
    auto bitmap = static_cast<HBITMAP>(::GetCurrentObject(dc, OBJ_BITMAP));
    if (!bitmap || dll::GetObjectA(bitmap, sizeof dib, &dib) != sizeof dib || !dib.dsBm.bmBits ||
        dib.dsBm.bmBitsPixel != 32)
        return 0;
    ::GdiFlush();  // GDI's pending work reaches the bits first
    // FNV-1a over the rows, 64 bits at a time.
    const auto* bits = static_cast<const unsigned char*>(dib.dsBm.bmBits);
    const size_t bytes = static_cast<size_t>(dib.dsBm.bmWidthBytes) * dib.dsBm.bmHeight;
    unsigned long long hash = 1469598103934665603ull;
    size_t i = 0;
    for (; i + 8 <= bytes; i += 8) {
        unsigned long long word;
        __builtin_memcpy(&word, bits + i, 8);
        hash = (hash ^ word) * 1099511628211ull;
    }
    for (; i < bytes; ++i) hash = (hash ^ bits[i]) * 1099511628211ull;
    return hash ? hash : 1;
}

void FaceCache::BitmapTraits::close(HBITMAP h) noexcept { dll::DeleteObject(h); }

bool FaceCache::Draw(const FaceKey& key, HDC target) const {
    for (const Entry& e : entries_) {
        if (!(e.Key == key)) continue;
        BitmapDc dc(e.Bitmap.get());
        return dc.get() &&
               dll::BitBlt(target, 0, 0, key.Width, key.Height, dc.get(), 0, 0, SRCCOPY);
    }
    return false;
}

void FaceCache::Store(const FaceKey& key, HDC source) {
    if (key.Width <= 0 || key.Height <= 0 || key.Backdrop == 0) return;
    unique_handle<BitmapTraits> bitmap(dll::CreateCompatibleBitmap(source, key.Width, key.Height));
    if (!bitmap) return;
    {
        BitmapDc dc(bitmap.get());
        if (!dc.get() ||
            !dll::BitBlt(dc.get(), 0, 0, key.Width, key.Height, source, 0, 0, SRCCOPY))
            return;
    }
    if (entries_.size() < kCapacity) {
        entries_.push_back({key, std::move(bitmap)});
        return;
    }
    entries_[next_] = {key, std::move(bitmap)};
    next_ = (next_ + 1) % kCapacity;
}

}  // namespace vostrel::skin
