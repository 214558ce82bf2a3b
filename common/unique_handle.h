// Owning handle templates for Win32 objects.
//
// One move-only template, `unique_handle<Traits>`, owns any handle whose
// release needs nothing but the handle itself; one alias per kind below.
// Handles whose release needs more state (a window DC keeps its HWND, a paint
// DC its PAINTSTRUCT, a selection the old object) get tiny structs of their
// own at the end of this file.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

namespace vostrel {

template <typename Traits>
class unique_handle {
public:
    using pointer = typename Traits::pointer;

    unique_handle() noexcept = default;
    explicit unique_handle(pointer h) noexcept : h_(h) {}
    unique_handle(const unique_handle&) = delete;
    unique_handle& operator=(const unique_handle&) = delete;
    unique_handle(unique_handle&& other) noexcept : h_(other.release()) {}
    unique_handle& operator=(unique_handle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~unique_handle() { reset(); }

    [[nodiscard]] pointer get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return Traits::valid(h_); }


    // Gives up ownership without releasing (for calls that take the handle
    // over on success, such as SetWindowRgn).
    [[nodiscard]] pointer release() noexcept {
        pointer h = h_;
        h_ = Traits::invalid();
        return h;
    }

    void reset(pointer h = Traits::invalid()) noexcept {
        if (Traits::valid(h_)) Traits::close(h_);
        h_ = h;
    }

    // Releases the current handle and returns the address of the empty slot,
    // for APIs that return a handle through an out-parameter.
    [[nodiscard]] pointer* put() noexcept {
        reset();
        return &h_;
    }

private:
    pointer h_ = Traits::invalid();
};

template <typename T, auto Close, T Invalid = T{}>
struct handle_traits {
    using pointer = T;
    static constexpr T invalid() noexcept { return Invalid; }
    static bool valid(T h) noexcept { return h != Invalid; }
    static void close(T h) noexcept { Close(h); }
};

namespace detail {
inline void close_kernel_handle(HANDLE h) noexcept { ::CloseHandle(h); }
inline void destroy_window(HWND h) noexcept { ::DestroyWindow(h); }
inline void delete_dc(HDC h) noexcept { ::DeleteDC(h); }
inline void destroy_icon(HICON h) noexcept { ::DestroyIcon(h); }
inline void global_free(HGLOBAL h) noexcept { ::GlobalFree(h); }
inline void free_library(HMODULE h) noexcept { ::FreeLibrary(h); }
template <typename T> inline void delete_gdi(T h) noexcept { ::DeleteObject(h); }
}  // namespace detail

using unique_hdc = unique_handle<handle_traits<HDC, detail::delete_dc>>;
using unique_hbitmap = unique_handle<handle_traits<HBITMAP, detail::delete_gdi<HBITMAP>>>;
using unique_hbrush = unique_handle<handle_traits<HBRUSH, detail::delete_gdi<HBRUSH>>>;
using unique_hpen = unique_handle<handle_traits<HPEN, detail::delete_gdi<HPEN>>>;
using unique_hrgn = unique_handle<handle_traits<HRGN, detail::delete_gdi<HRGN>>>;
using unique_hfont = unique_handle<handle_traits<HFONT, detail::delete_gdi<HFONT>>>;
using unique_hicon = unique_handle<handle_traits<HICON, detail::destroy_icon>>;
using unique_hglobal = unique_handle<handle_traits<HGLOBAL, detail::global_free>>;
using unique_hmodule = unique_handle<handle_traits<HMODULE, detail::free_library>>;
using unique_hwnd = unique_handle<handle_traits<HWND, detail::destroy_window>>;
using unique_handle_k = unique_handle<handle_traits<HANDLE, detail::close_kernel_handle>>;
struct file_handle_traits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool valid(HANDLE h) noexcept { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void close(HANDLE h) noexcept { ::CloseHandle(h); }
};
using unique_file = unique_handle<file_handle_traits>;

// A DC obtained with GetDC/GetWindowDC, released with ReleaseDC.
class window_dc {
public:
    explicit window_dc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    window_dc(const window_dc&) = delete;
    window_dc& operator=(const window_dc&) = delete;
    ~window_dc() { if (dc_) ::ReleaseDC(hwnd_, dc_); }
    [[nodiscard]] HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint/EndPaint pair: every paint that is begun is ended.
class paint_dc {
public:
    explicit paint_dc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &ps_)) {}
    paint_dc(const paint_dc&) = delete;
    paint_dc& operator=(const paint_dc&) = delete;
    ~paint_dc() { ::EndPaint(hwnd_, &ps_); }
    [[nodiscard]] HDC get() const noexcept { return dc_; }
    [[nodiscard]] const PAINTSTRUCT& paint() const noexcept { return ps_; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// Selects an object into a DC and selects the previous one back on scope
// exit. Declare the DC, then the object, then the guard: reverse destruction
// deselects before anything is deleted.
class select_guard {
public:
    select_guard(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(::SelectObject(dc, obj)) {}
    select_guard(const select_guard&) = delete;
    select_guard& operator=(const select_guard&) = delete;
    ~select_guard() { if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_); }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Owning COM pointer: Release on destruction, AddRef on explicit copy only.
template <typename T>
class com_ptr {
public:
    com_ptr() noexcept = default;
    com_ptr(const com_ptr&) = delete;
    com_ptr& operator=(const com_ptr&) = delete;
    com_ptr(com_ptr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    com_ptr& operator=(com_ptr&& o) noexcept {
        if (this != &o) { reset(); p_ = std::exchange(o.p_, nullptr); }
        return *this;
    }
    ~com_ptr() { reset(); }

    // Takes over a reference the caller already holds.
    static com_ptr attach(T* p) noexcept { com_ptr r; r.p_ = p; return r; }
    // Adds a reference of its own.
    static com_ptr copy(T* p) noexcept { if (p) p->AddRef(); return attach(p); }

    [[nodiscard]] T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    void reset() noexcept { if (p_) { T* p = p_; p_ = nullptr; p->Release(); } }
    [[nodiscard]] T** put() noexcept { reset(); return &p_; }
    [[nodiscard]] void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
    [[nodiscard]] T* detach() noexcept { return std::exchange(p_, nullptr); }

    template <typename U>
    com_ptr<U> query() const noexcept {
        com_ptr<U> r;
        if (p_) p_->QueryInterface(__uuidof(U), r.put_void());
        return r;
    }

private:
    T* p_ = nullptr;
};

}  // namespace vostrel
