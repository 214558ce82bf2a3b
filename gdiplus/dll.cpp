// Binding of the late-bound function table and its object accounting.
#include "dll.h"

#include <cstdio>
#include <cstring>

namespace vostrel::dll {

namespace {

void DefaultBindFailure(const char* library, const char* name) {
    const std::string text = BindFailureMessage(library, name);
    ::MessageBoxA(nullptr, text.c_str(), "Vostrel", MB_OK | MB_ICONERROR | MB_SYSTEMMODAL);
    ::ExitProcess(1);
}

std::atomic<BindFailureHandler> g_failureHandler{&DefaultBindFailure};

constexpr const char* kKindNames[kObjectKindCount] = {
    "Dc",           "WindowDc",     "PaintDc",       "Bitmap",         "Brush",
    "Pen",          "Font",         "Region",        "OtherGdiObject", "Icon",
    "GlobalMemory", "GdiplusSession", "GpGraphics",  "GpImage",        "GpPath",
    "GpPen",        "GpBrush",      "GpFont",        "GpFontFamily",   "GpStringFormat",
    "GpRegion",     "GpMatrix",     "GpCustomLineCap", "GpGraphicsDc", "GpMemory",
};

}  // namespace

const char* ObjectKindName(ObjectKind kind) {
    return kind >= 0 && kind < kObjectKindCount ? kKindNames[kind] : "?";
}

ObjectCounts CountObjects() {
    ObjectCounts c;
    for (int k = 0; k < kObjectKindCount; ++k) {
        c.created[k] = detail::g_created[k].load(std::memory_order_relaxed);
        c.deleted[k] = detail::g_deleted[k].load(std::memory_order_relaxed);
    }
    return c;
}

std::string ObjectChangesSince(const ObjectCounts& snapshot) {
    const ObjectCounts now = CountObjects();
    std::string out;
    for (int k = 0; k < kObjectKindCount; ++k) {
        const auto kind = static_cast<ObjectKind>(k);
        const int64_t change = now.Live(kind) - snapshot.Live(kind);
        if (change == 0) continue;
        char line[160];
        std::snprintf(line, sizeof line, "%s %+lld (%llu created, %llu deleted)",
                      kKindNames[k], static_cast<long long>(change),
                      static_cast<unsigned long long>(now.created[k] - snapshot.created[k]),
                      static_cast<unsigned long long>(now.deleted[k] - snapshot.deleted[k]));
        if (!out.empty()) out += "; ";
        out += line;
    }
    return out;
}

namespace detail {
void StoreEntry(Row row, void* address) noexcept {
    switch (row) {
#define VOSTREL_FN(library, name, type, ...) \
    case Row::name: g_entries.name = reinterpret_cast<type>(address); break;
#include "function_list.h"
    default: break;
    }
}

ObjectKind KindOfGdiObject(HGDIOBJ h) noexcept {
    switch (::GetObjectType(h)) {
    case OBJ_BITMAP: return kBitmap;
    case OBJ_BRUSH: return kBrush;
    case OBJ_PEN:
    case OBJ_EXTPEN: return kPen;
    case OBJ_FONT: return kFont;
    case OBJ_REGION: return kRegion;
    default: return kOtherGdiObject;
    }
}
}  // namespace detail

void* BindExport(const char* library, const char* name, HMODULE* module) {
    if (!name || !*name) return nullptr;
    if (library && *library) {
        HMODULE m = ::LoadLibraryA(library);
        if (!m) return nullptr;
        void* p = reinterpret_cast<void*>(::GetProcAddress(m, name));
        if (!p) {
            ::FreeLibrary(m);
            return nullptr;
        }
        if (module) *module = m;
        return p;
    }
    for (const char* candidate : kSearchLibraries) {
        HMODULE m = ::LoadLibraryA(candidate);
        if (!m) continue;
        if (void* p = reinterpret_cast<void*>(::GetProcAddress(m, name))) {
            if (module) *module = m;
            return p;
        }
        ::FreeLibrary(m);
    }
    return nullptr;
}

std::string BindFailureMessage(const char* library, const char* name) {
    std::string where;
    if (library && *library) {
        where = library;
    } else {
        for (const char* candidate : kSearchLibraries) {
            if (!where.empty()) where += ", ";
            where += candidate;
        }
    }
    return std::string("无法在 ") + where + " 中找到函数 " + (name ? name : "") +
           "。\r\n程序将退出。";
}

BindFailureHandler SetBindFailureHandler(BindFailureHandler handler) {
    return g_failureHandler.exchange(handler ? handler : &DefaultBindFailure);
}

void* ResolveOrStop(const char* library, const char* name, HMODULE* module) {
    if (void* p = BindExport(library, name, module)) return p;
    g_failureHandler.load()(library, name);
    return nullptr;
}

void* BindRow(Row row) {
    const int i = static_cast<int>(row);
    if (i < 0 || i >= kRowCount) return nullptr;
    auto& state = detail::g_rows[i];
    if (void* p = state.address.load(std::memory_order_acquire)) return p;
    HMODULE module = nullptr;
    void* p = ResolveOrStop(kRowInfo[i].library, kRowInfo[i].name, &module);
    if (!p) ::ExitProcess(1);  // a replaced handler returned: never call through null
    state.module.store(module, std::memory_order_relaxed);
    state.address.store(p, std::memory_order_release);
    detail::StoreEntry(row, p);
    return p;
}

void* BoundAddress(Row row) {
    const int i = static_cast<int>(row);
    return i >= 0 && i < kRowCount ? detail::g_rows[i].address.load() : nullptr;
}

HMODULE BoundModule(Row row) {
    const int i = static_cast<int>(row);
    return i >= 0 && i < kRowCount ? detail::g_rows[i].module.load() : nullptr;
}

uint64_t CallCount(Row row) {
    const int i = static_cast<int>(row);
    return i >= 0 && i < kRowCount ? detail::g_calls[static_cast<size_t>(i)] : 0;
}

}  // namespace vostrel::dll
