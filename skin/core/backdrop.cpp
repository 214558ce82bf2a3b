// The backdrop DC table and the lookups that find, for any control, the
// skinned window or container whose composed image lies behind it.
#include <vector>

#include "gdiplus/gdip.h"
#include "skin/core/primitives.h"
#include "skin/core/window_skin.h"

namespace vostrel::skin {

namespace {

// One memory DC lent out by CreateBackdropDC, with the bitmap selected into
// it and the object that bitmap displaced.
struct BackdropEntry {
    HDC Dc = nullptr;
    HBITMAP Bitmap = nullptr;
    HGDIOBJ Displaced = nullptr;
};

std::vector<BackdropEntry>& BackdropTable() {
    static std::vector<BackdropEntry> table;
    return table;
}

// Registers a DC; a DC already in the table has its bitmap and displaced
// object replaced in place.
void RegisterBackdrop(HDC dc, HBITMAP bitmap, HGDIOBJ displaced) {
    for (BackdropEntry& e : BackdropTable()) {
        if (e.Dc == dc) {
            e.Bitmap = bitmap;
            e.Displaced = displaced;
            return;
        }
    }
    BackdropTable().push_back({dc, bitmap, displaced});
}

bool IsHost(HWND window) { return GetPropValue(window, kPropHostMark) == 1; }

HDC HostDc(HWND host) { return reinterpret_cast<HDC>(GetPropValue(host, kPropHostDc)); }

// A 32-bit bitmap of w x h pixels made through GDI+, transparent black.
HBITMAP NewArgbBitmap(int width, int height) {
    GdipBitmap bitmap;
    if (!bitmap.Create(width, height)) return nullptr;
    HBITMAP result = bitmap.GetHBITMAP(0);
    bitmap.Dispose();
    return result;
}

// Fills the container's tint into the DC: in the container's own shape (a
// group box's frame starts 5 pixels down, under the middle of its caption)
// or as a plain rectangle of the DC's size.
void PaintTint(HDC dc, const ContainerRecord& container, const RECT& rect, bool ownShape) {
    if (container.TintColour == 0) return;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    GdipPath path;
    path.Create();
    if (ownShape && container.IsGroupBox) {
        AddRoundRectPath(path, 0, 5, static_cast<float>(rect.right),
                         static_cast<float>(rect.bottom - 6), 5);
    } else {
        path.AddRectangle(0, 0, static_cast<float>(w), static_cast<float>(h));
    }
    GdipGraphics graphics;
    graphics.CreateFromHDC(dc);
    GdipSolidBrush brush;
    brush.Create(ArgbFromColorRef(container.TintColour, container.TintAlpha, true));
    graphics.FillPath(brush, path);
    brush.Delete();
    graphics.Delete();
    path.Delete();
}

const ContainerRecord* ContainerAt(int n, int k) {
    const WindowRecord* record = RecordOf(n);
    return record ? record->Containers.Get<ContainerRecord>(k) : nullptr;
}

void CopyFrom(HDC target, HDC source, int width, int height, int x, int y) {
    if (source) dll::BitBlt(target, 0, 0, width, height, source, x, y, SRCCOPY);
}

HDC BackgroundOf(int n) {
    const WindowRecord* record = RecordOf(n);
    return record ? record->BackgroundDC.Dc() : nullptr;
}

}  // namespace

int BackdropDcCount() { return static_cast<int>(BackdropTable().size()); }

void FreeBackdropDcTable() {
    while (!BackdropTable().empty()) ReleaseBackdropDC(BackdropTable().back().Dc);
}

// ---- Lookups ----------------------------------------------------------------

int FindSkinnedAncestor(HWND window) {
    for (HWND h = window ? dll::GetParent(window) : nullptr; h; h = dll::GetParent(h))
        if (const int n = FindWindowNumber(h); n > 0) return n;
    return 0;
}

int FindContainerNumber(int n, HWND window) {
    const WindowRecord* record = RecordOf(n);
    return record ? record->Containers.Find(window) : 0;
}

int FindTintedContainerAncestor(int n, HWND window, HWND stop) {
    for (HWND h = window ? dll::GetParent(window) : nullptr; h && h != stop;
         h = dll::GetParent(h)) {
        const int k = FindContainerNumber(n, h);
        if (k > 0) {
            const ContainerRecord* c = ContainerAt(n, k);
            if (c && c->SkinPainted) return k;
        }
    }
    return 0;
}

int FindSkinHost(HWND window, int* n, int* container, HWND* host, bool honourHosts) {
    HWND h = window;
    if (!h) return 0;
    if (honourHosts && IsHost(h)) {
        if (host) *host = h;
        return 0;
    }
    if (const int number = FindWindowNumber(h); number > 0) {
        if (n) *n = number;
        return 1;
    }
    for (;;) {
        h = dll::GetParent(h);
        if (!h) return 0;
        if (honourHosts && IsHost(h)) {
            if (host) *host = h;
            return 0;
        }
        for (int k = 1; k <= Windows.Count(); ++k) {
            const WindowRecord* record = Windows.At(k);
            if (record->Handle == h) {
                if (n) *n = k;
                return 1;
            }
            if (const int index = record->Containers.Find(h); index > 0) {
                const HWND containerHost =
                    reinterpret_cast<HWND>(GetPropValue(h, kPropContainerHost));
                if (honourHosts && containerHost) {
                    if (host) *host = containerHost;
                } else {
                    if (n) *n = k;
                    if (container) *container = index;
                }
                return 0;
            }
        }
    }
}

RECT RectRelativeTo(HWND reference, HWND window) {
    RECT r{}, ref{};
    dll::GetWindowRect(window, &r);
    dll::GetWindowRect(reference, &ref);
    return RECT{r.left - ref.left, r.top - ref.top, r.right - ref.left, r.bottom - ref.top};
}

RECT RectRelativeToRoot(HWND window) {
    return RectRelativeTo(dll::GetAncestor(window, GA_ROOT), window);
}

RECT RectInSkinnedWindow(HWND window) {
    if (FindWindowNumber(window) > 0) return RECT{};
    const WindowRecord* record = RecordOf(FindSkinnedAncestor(window));
    if (!record) return RECT{};
    return RectRelativeTo(record->Handle, window);
}

// ---- Backdrop DCs -------------------------------------------------------------

HDC CreateBackdropDC(HWND control, const RECT& rect) {
    const int w = rect.right - rect.left, hgt = rect.bottom - rect.top;
    HBITMAP bitmap = NewArgbBitmap(w, hgt);
    HDC dc = dll::CreateCompatibleDC(nullptr);
    if (!dc) {
        if (bitmap) dll::DeleteObject(bitmap);
        return nullptr;
    }
    HGDIOBJ displaced = bitmap ? dll::SelectObject(dc, bitmap) : nullptr;
    RegisterBackdrop(dc, bitmap, displaced);

    int n = 0, k = 0;
    HWND host = nullptr;
    const int reached = FindSkinHost(control, &n, &k, &host, true);

    if (reached == 1) {
        const RECT o = RectInSkinnedWindow(control);
        CopyFrom(dc, BackgroundOf(n), w, hgt, o.left + rect.left, o.top + rect.top);
        if (const int own = FindContainerNumber(n, control); own > 0)
            PaintTint(dc, *ContainerAt(n, own), rect, true);
        return dc;
    }

    if (host && host == control) {
        const HWND containerHost =
            reinterpret_cast<HWND>(GetPropValue(control, kPropContainerHost));
        if (containerHost) {
            const RECT o = RectRelativeTo(containerHost, control);
            CopyFrom(dc, HostDc(containerHost), w, hgt, o.left + rect.left, o.top + rect.top);
        } else {
            const RECT o = RectRelativeToRoot(control);
            CopyFrom(dc, BackgroundOf(FindSkinnedAncestor(control)), w, hgt,
                     o.left + rect.left, o.top + rect.top);
        }
        return dc;
    }

    if (host) {
        const RECT o = RectRelativeTo(host, control);
        CopyFrom(dc, HostDc(host), w, hgt, o.left + rect.left, o.top + rect.top);
        if (n < 1) n = FindSkinnedAncestor(control);
        if (n < 1) return dc;
        if (const int own = FindContainerNumber(n, control); own > 0) {
            PaintTint(dc, *ContainerAt(n, own), rect, true);
        } else if (const int tinted = FindTintedContainerAncestor(n, control, host);
                   tinted > 0) {
            PaintTint(dc, *ContainerAt(n, tinted), rect, false);
        }
        return dc;
    }

    // Nothing found, or a container was reached first.
    if (n < 1) n = FindSkinnedAncestor(control);
    if (const int own = FindContainerNumber(n, control); own > 0) k = own;
    if (n < 1) {
        ReleaseBackdropDC(dc);
        return nullptr;
    }
    const RECT o = RectRelativeToRoot(control);
    CopyFrom(dc, BackgroundOf(n), w, hgt, o.left + rect.left, o.top + rect.top);
    if (k > 0) {
        if (const ContainerRecord* c = ContainerAt(n, k)) PaintTint(dc, *c, rect, false);
    }
    return dc;
}

bool ReleaseBackdropDC(HDC dc) {
    if (!dc) return false;
    auto& table = BackdropTable();
    for (auto it = table.begin(); it != table.end(); ++it) {
        if (it->Dc != dc) continue;
        if (it->Displaced) {
            HGDIOBJ out = dll::SelectObject(dc, it->Displaced);
            if (out && out != HGDI_ERROR) dll::DeleteObject(out);
        } else if (it->Bitmap) {
            dll::DeleteObject(it->Bitmap);
        }
        dll::DeleteDC(dc);
        table.erase(it);
        return true;
    }
    return false;
}

HBITMAP BackdropToBitmap(HDC dc, int width, int height) {
    HDC copy = dll::CreateCompatibleDC(dc);
    HBITMAP bitmap = dll::CreateCompatibleBitmap(dc, width, height);
    if (copy && bitmap) {
        HGDIOBJ old = dll::SelectObject(copy, bitmap);
        dll::BitBlt(copy, 0, 0, width, height, dc, 0, 0, SRCCOPY);
        dll::SelectObject(copy, old);
    }
    if (copy) dll::DeleteDC(copy);
    ReleaseBackdropDC(dc);
    return bitmap;
}

HBITMAP CreateVeiledBackdropBitmap(HWND control) {
    const RECT r = ClientRectInWindow(control);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC dc = CreateBackdropDC(control, r);
    if (!dc) return nullptr;
    {
        GdipGraphics graphics;
        graphics.CreateFromHDC(dc);
        GdipSolidBrush brush;
        brush.Create(ArgbFromColorRef(0xFFFFFF, VeilAlpha, true));
        graphics.FillRectangle(brush, 0, 0, static_cast<float>(w), static_cast<float>(h));
        brush.Delete();
        graphics.Delete();
    }
    return BackdropToBitmap(dc, w, h);
}

}  // namespace vostrel::skin
