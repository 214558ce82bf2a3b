// Late-bound calls into GDI+ and the Win32 functions of the skin engine.
//
// Every function listed in function_list.h is reached through its row of one
// table: the row is bound by export name on its first call (LoadLibraryA +
// GetProcAddress), the address is cached, and every later call is the
// indirect call through the cached address, as through a GetProcAddress
// pointer, plus one add to the row's call counter.
//
// Typed calls carry the Win32/GDI+ names and exact parameter types:
//
//     HDC dc = vostrel::dll::CreateCompatibleDC(screen);
//     vostrel::dll::DeleteDC(dc);
//     Gdiplus::GpPath* path = nullptr;
//     vostrel::dll::GdipCreatePath(Gdiplus::FillModeAlternate, &path);
//
// Object accounting (GetGuiResources answers 0 under Wine, so the table is
// where objects are counted): every successful call of a row that creates or
// releases a GDI or GDI+ object bumps the created or deleted count of its
// ObjectKind. A test proves that a piece of code leaks nothing with
//
//     const auto before = vostrel::dll::CountObjects();
//     ... paint, load, draw ...
//     EXPECT_EQ("", vostrel::dll::ObjectChangesSince(before));
//
// which reports each kind whose live count moved, for example
// "GpPath +1 (2 created, 1 deleted)". Only objects made and released through
// the table are seen: create and delete GDI objects with the dll:: calls.
// Deleting a stock object counts as a delete of its kind.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <ole2.h>
#include <commctrl.h>
#include <shlwapi.h>
#include <gdiplus.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <tuple>
#include <type_traits>

namespace vostrel::dll {

// Kinds of objects whose creation and release the table counts.
enum ObjectKind : int {
    // GDI and USER
    kDc,              // CreateCompatibleDC / DeleteDC
    kWindowDc,        // GetDC, GetWindowDC / ReleaseDC
    kPaintDc,         // BeginPaint / EndPaint
    kBitmap,          // CreateCompatibleBitmap, CreateBitmap, CreateDIBSection,
                      // GdipCreateHBITMAPFromBitmap / DeleteObject
    kBrush,           // CreatePatternBrush, CreateSolidBrush / DeleteObject
    kPen,             // CreatePen / DeleteObject
    kFont,            // CreateFontIndirectA / DeleteObject
    kRegion,          // CreateRectRgn, ..., GdipGetRegionHRgn / DeleteObject,
                      // or SetWindowRgn (the window takes the region)
    kOtherGdiObject,  // DeleteObject of any other kind of GDI object
    kIcon,            // ImageList_GetIcon, GdipCreateHICONFromBitmap / DestroyIcon
    kGlobalMemory,    // GlobalAlloc / GlobalFree
    // GDI+
    kGdiplusSession,  // GdiplusStartup / GdiplusShutdown
    kGpGraphics,
    kGpImage,         // images and bitmaps: GdipLoad*, GdipCreateBitmap*, clones,
                      // thumbnails / GdipDisposeImage
    kGpPath,
    kGpPen,
    kGpBrush,
    kGpFont,
    kGpFontFamily,
    kGpStringFormat,
    kGpRegion,
    kGpMatrix,
    kGpCustomLineCap,
    kGpGraphicsDc,    // GdipGetDC / GdipReleaseDC
    kGpMemory,        // GdipAlloc / GdipFree
    kObjectKindCount
};

const char* ObjectKindName(ObjectKind kind);

// Created and deleted counts of every kind, process-wide, since start.
struct ObjectCounts {
    std::array<uint64_t, kObjectKindCount> created{};
    std::array<uint64_t, kObjectKindCount> deleted{};
    [[nodiscard]] int64_t Live(ObjectKind k) const {
        return static_cast<int64_t>(created[k]) - static_cast<int64_t>(deleted[k]);
    }
};

// A snapshot of the counts now.
ObjectCounts CountObjects();

// "" when every kind's live count is where it was in `snapshot`; otherwise one
// entry per changed kind, "Kind +n (c created, d deleted)", joined by "; ",
// where c and d count the calls since the snapshot.
std::string ObjectChangesSince(const ObjectCounts& snapshot);

// ---------------------------------------------------------------------------
// Object accounting effects named in function_list.h.

namespace detail {
inline std::array<std::atomic<uint64_t>, kObjectKindCount> g_created{};
inline std::array<std::atomic<uint64_t>, kObjectKindCount> g_deleted{};

// Counters are bumped with a relaxed load and store (no locked instruction):
// all counted calls happen on the GUI thread; a rare call from another thread
// could at worst lose one count, never corrupt memory.
inline void Bump(std::atomic<uint64_t>& c) noexcept {
    c.store(c.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
}
inline void Created(ObjectKind k) noexcept { Bump(g_created[k]); }
inline void Deleted(ObjectKind k) noexcept { Bump(g_deleted[k]); }

ObjectKind KindOfGdiObject(HGDIOBJ h) noexcept;

template <int Index, typename... A>
decltype(auto) Arg(A&... a) {
    if constexpr (Index < 0)
        return std::get<sizeof...(A) + Index>(std::tie(a...));
    else
        return std::get<Index>(std::tie(a...));
}
}  // namespace detail

struct NoEffect {
    template <typename... A> static int Before(A&...) noexcept { return 0; }
    template <typename R, typename... A> static void After(int, const R*, A&...) noexcept {}
};

// A GDI+ call that returns Ok and writes a non-null object through its output
// argument (by default the last one).
template <ObjectKind K, int OutIndex = -1>
struct CreatedIfOk : NoEffect {
    template <typename R, typename... A> static void After(int, const R* r, A&... a) noexcept {
        auto* out = detail::Arg<OutIndex>(a...);
        if (*r == Gdiplus::Ok && out && *out) detail::Created(K);
    }
};
// A GDI+ release that returns Ok.
template <ObjectKind K>
struct DeletedIfOk : NoEffect {
    template <typename R, typename... A> static void After(int, const R* r, A&... a) noexcept {
        if (*r == Gdiplus::Ok && detail::Arg<0>(a...)) detail::Deleted(K);
    }
};
// A call whose non-zero result is the new object.
template <ObjectKind K>
struct CreatedIfNonZero : NoEffect {
    template <typename R, typename... A> static void After(int, const R* r, A&...) noexcept {
        if (*r) detail::Created(K);
    }
};
// A release that reports success with a non-zero result.
template <ObjectKind K>
struct DeletedIfNonZero : NoEffect {
    template <typename R, typename... A> static void After(int, const R* r, A&...) noexcept {
        if (*r) detail::Deleted(K);
    }
};
// A release without a result: counted when its first argument is non-zero.
template <ObjectKind K>
struct DeletedIfArg : NoEffect {
    template <typename R, typename... A> static void After(int, const R*, A&... a) noexcept {
        if (detail::Arg<0>(a...)) detail::Deleted(K);
    }
};
// DeleteObject: the kind is learnt before the object is gone.
struct DeleteObjectEffect {
    static int Before(HGDIOBJ& h) noexcept { return detail::KindOfGdiObject(h); }
    template <typename R> static void After(int kind, const R* r, HGDIOBJ&) noexcept {
        if (*r) detail::Deleted(static_cast<ObjectKind>(kind));
    }
};
// SetWindowRgn: on success the window owns the region.
struct SetWindowRgnEffect : NoEffect {
    template <typename R> static void After(int, const R* r, HWND&, HRGN& rgn, BOOL&) noexcept {
        if (*r && rgn) detail::Deleted(kRegion);
    }
};
// GlobalFree returns NULL on success.
struct GlobalFreeEffect : NoEffect {
    template <typename R> static void After(int, const R* r, HGLOBAL& h) noexcept {
        if (h && !*r) detail::Deleted(kGlobalMemory);
    }
};

template <typename E = NoEffect> using EffectOf = E;

// ---------------------------------------------------------------------------
// Rows.

enum class Row : int {
#define VOSTREL_FN(library, name, type, ...) name,
#include "function_list.h"
    Count
};
inline constexpr int kRowCount = static_cast<int>(Row::Count);

struct RowInfo {
    const char* library;  // as written in the table; "" searches kSearchLibraries
    const char* name;     // the export name, spelled exactly
};

inline constexpr RowInfo kRowInfo[] = {
#define VOSTREL_FN(library, name, type, ...) {library, #name},
#include "function_list.h"
};

template <Row R> struct RowTraits;
#define VOSTREL_FN(library, name, type, ...)          \
    template <> struct RowTraits<Row::name> {         \
        using pointer = type;                         \
        using effect = EffectOf<__VA_ARGS__>;         \
    };
#include "function_list.h"

// Libraries tried, in this order, for a row whose library name is empty.
inline constexpr const char* kSearchLibraries[] = {
    "Kernel32.dll", "Gdi32.dll", "User32.dll", "Advapi32.dll", "Mpr.dll", "Shell32.dll"};

// Looks `name` up in `library` (or, for an empty library name, in the first
// of kSearchLibraries that exports it; the libraries tried before it are
// freed again). Returns the address, or null without any other effect; on
// success *module receives the library handle, which stays loaded.
void* BindExport(const char* library, const char* name, HMODULE* module);

// What a user is told when a row cannot be bound: names the export and the
// library (the searched libraries for an empty name).
std::string BindFailureMessage(const char* library, const char* name);

// Called when a row cannot be bound. The default shows BindFailureMessage in
// a message box and ends the process; it does not return.
using BindFailureHandler = void (*)(const char* library, const char* name);
BindFailureHandler SetBindFailureHandler(BindFailureHandler handler);

// BindExport, and on failure the failure handler. Returns null only when a
// replaced handler returns.
void* ResolveOrStop(const char* library, const char* name, HMODULE* module);

// Binds the row now if it is not bound yet (the process stops if it cannot be
// bound) and returns its address.
void* BindRow(Row row);

// The row's cached address and module (null while unbound).
void* BoundAddress(Row row);
HMODULE BoundModule(Row row);

// How many calls went through the row since start.
uint64_t CallCount(Row row);

namespace detail {
struct RowState {
    std::atomic<void*> address{nullptr};
    std::atomic<HMODULE> module{nullptr};
};
inline std::array<RowState, kRowCount> g_rows{};
// Per-row call counts. A plain add to memory (one instruction) keeps the
// counted call as cheap as a direct one; every counted call is made on the
// GUI thread, and a call from another thread could at worst lose a count.
inline std::array<uint64_t, kRowCount> g_calls{};
inline void CountCall(int row) noexcept { ++g_calls[static_cast<size_t>(row)]; }

// The typed entry of every row. Each starts as the row's own first-call
// stub (same signature and calling convention), which binds the row, stores
// the bound address here and forwards the call; later calls go straight to
// the export, so a call through the table costs one load and the call, as a
// direct call through a GetProcAddress pointer does, plus one counter add.
template <Row R, typename F> struct FirstCall;
template <Row R, typename Ret, typename... A>
struct FirstCall<R, Ret (*)(A...)> {
    static Ret Stub(A... a) { return reinterpret_cast<Ret (*)(A...)>(BindRow(R))(a...); }
};
#ifndef _WIN64
template <Row R, typename Ret, typename... A>
struct FirstCall<R, Ret(__stdcall*)(A...)> {
    static Ret __stdcall Stub(A... a) { return reinterpret_cast<Ret(__stdcall*)(A...)>(BindRow(R))(a...); }
};
#endif

struct EntryTable {
#define VOSTREL_FN(library, name, type, ...) type name = &FirstCall<Row::name, type>::Stub;
#include "function_list.h"
};
constinit inline EntryTable g_entries{};

template <Row R> struct Entry;
#define VOSTREL_FN(library, name, type, ...)                                            \
    template <> struct Entry<Row::name> {                                               \
        static type& get() noexcept { return g_entries.name; }                          \
    };
#include "function_list.h"

// Stores a bound address in the row's typed entry (used by BindRow).
void StoreEntry(Row row, void* address) noexcept;

template <Row R, typename Ret, typename... A>
inline Ret Invoke(A... a) {
    const auto fn = Entry<R>::get();
    using E = typename RowTraits<R>::effect;
    if constexpr (std::is_same_v<E, NoEffect>) {
        if constexpr (std::is_void_v<Ret>) {
            fn(a...);
            CountCall(static_cast<int>(R));
        } else {
            Ret r = fn(a...);
            CountCall(static_cast<int>(R));
            return r;
        }
    } else {
        CountCall(static_cast<int>(R));
        const int before = E::Before(a...);
        if constexpr (std::is_void_v<Ret>) {
            fn(a...);
            E::template After<int>(before, nullptr, a...);
        } else {
            Ret r = fn(a...);
            E::After(before, &r, a...);
            return r;
        }
    }
}

// A typed call object: operator() has the row's exact parameter types and is
// called through the row's own pointer type (and so calling convention).
template <Row R, typename F> struct Caller;
template <Row R, typename Ret, typename... A>
struct Caller<R, Ret (*)(A...)> {
    Ret operator()(A... a) const { return Invoke<R, Ret, A...>(a...); }
};
#ifndef _WIN64
template <Row R, typename Ret, typename... A>
struct Caller<R, Ret(__stdcall*)(A...)> {
    Ret operator()(A... a) const { return Invoke<R, Ret, A...>(a...); }
};
#endif
}  // namespace detail

// vostrel::dll::<ExportName>(args...): the typed call through the row.
#define VOSTREL_FN(library, name, type, ...) \
    inline constexpr detail::Caller<Row::name, type> name{};
#include "function_list.h"

}  // namespace vostrel::dll
