// Callback stubs: small generated machine-code routines that let Windows call
// a member of an object through a plain Win32 callback.
//
// A stub carries the object's address and the address of a routine; calling
// it with the N arguments of a __stdcall callback calls the routine with a
// pointer to a cell holding the object's address, followed by the same N
// arguments, and returns the routine's result.
//
// Stubs are executed, so they live in memory of their own that is first
// written and then made executable (never in the heap): the program runs with
// data-execution prevention on.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace vostrel::skin {

// The 32-bit x86 code of a stub for a __stdcall callback of `argumentCount`
// arguments that calls `routine` (itself taking the cell pointer, optionally
// the caller's ECX, then the arguments). With `passEcx` the caller's ECX is
// handed on between the cell pointer and the arguments; with `callerPops` the
// stub returns without dropping the arguments. Empty when `routine` is null,
// `argumentCount` < 0 or `argumentCount` * 4 > 1024.
std::vector<uint8_t> BuildThunkCode(uint32_t object, uint32_t routine, int argumentCount,
                                    bool passEcx = false, bool callerPops = false);

#if defined(_WIN64)
// The x64 counterpart for this build: a stub for a callback of up to four
// arguments (the Windows x64 convention) that calls `routine` with a pointer
// to a cell holding `object` first. The cell lives inside the stub. Empty for
// other argument counts or a null routine.
std::vector<uint8_t> BuildThunkCode64(uint64_t object, uint64_t routine, int argumentCount);
// Offset of the object cell inside a stub from BuildThunkCode64.
inline constexpr size_t kThunk64CellOffset = 0;
#endif

// Generated code placed in executable memory; freed with the object.
class ExecutableStub {
public:
    ExecutableStub() = default;
    ExecutableStub(const ExecutableStub&) = delete;
    ExecutableStub& operator=(const ExecutableStub&) = delete;
    ExecutableStub(ExecutableStub&& other) noexcept;
    ExecutableStub& operator=(ExecutableStub&& other) noexcept;
    ~ExecutableStub() { Reset(); }

    // Copies the code into fresh pages, writable while filled, then
    // execute-read only; the instruction cache is flushed. An empty stub for
    // empty code or when the memory cannot be had. `entryOffset` is the
    // position of the first instruction in the code.
    static ExecutableStub Place(const std::vector<uint8_t>& code, size_t entryOffset = 0);

    explicit operator bool() const noexcept { return memory_ != nullptr; }
    // First code byte, nullptr when empty.
    void* Entry() const noexcept {
        return memory_ ? static_cast<uint8_t*>(memory_) + entry_ : nullptr;
    }
    const uint8_t* Bytes() const noexcept { return static_cast<const uint8_t*>(memory_); }
    size_t Size() const noexcept { return size_; }
    void Reset() noexcept;

private:
    void* memory_ = nullptr;
    size_t size_ = 0;
    size_t entry_ = 0;
};

}  // namespace vostrel::skin
