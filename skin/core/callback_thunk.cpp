// Generated callback stubs and the executable memory they run from.
#include "skin/core/callback_thunk.h"

#include <cstring>

namespace vostrel::skin {
namespace {

void Put32(std::vector<uint8_t>& code, uint32_t value) {
    for (int i = 0; i < 4; ++i) code.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void Put(std::vector<uint8_t>& code, std::initializer_list<uint8_t> bytes) {
    for (uint8_t b : bytes) code.push_back(b);
}

}  // namespace

std::vector<uint8_t> BuildThunkCode(uint32_t object, uint32_t routine, int argumentCount,
                                    bool passEcx, bool callerPops) {
    std::vector<uint8_t> code;
    if (routine == 0) return code;
    if (argumentCount < 0 || argumentCount > 1024 / 4) return code;
    const uint32_t argumentBytes = static_cast<uint32_t>(argumentCount) * 4;

    Put(code, {0x55, 0x8B, 0xEC});                 // push ebp; mov ebp, esp
    code.push_back(0x68);                          // push object: the cell at [ebp-4]
    Put32(code, object);
    Put(code, {0x53, 0x51, 0x56, 0x57});           // push ebx, ecx, esi, edi
    Put(code, {0x6A, 0x00, 0xD9, 0x3C, 0x24});     // push 0; fnstcw [esp]
    Put(code, {0xDB, 0xE3});                       // fninit
    if (argumentCount > 0) {
        code.push_back(0xB9);                      // mov ecx, N*4
        Put32(code, argumentBytes);
        Put(code, {0x2B, 0xE1,                     // sub esp, ecx
                   0x8D, 0x75, 0x08,               // lea esi, [ebp+8]
                   0x8D, 0x3C, 0x24,               // lea edi, [esp]
                   0xFC, 0xF3, 0xA4});             // cld; rep movsb
        Put(code, {0x8B, 0x4D, 0xF4,               // mov ecx, [ebp-12]
                   0x8B, 0x75, 0xF0,               // mov esi, [ebp-16]
                   0x8B, 0x7D, 0xEC});             // mov edi, [ebp-20]
    }
    if (passEcx) code.push_back(0x51);             // push ecx
    Put(code, {0x8D, 0x45, 0xFC, 0x50});           // lea eax, [ebp-4]; push eax
    code.push_back(0xB8);                          // mov eax, routine
    Put32(code, routine);
    Put(code, {0xFF, 0xD0});                       // call eax
    Put(code, {0x8B, 0x5D, 0xF8, 0x8B, 0x4D, 0xF4, // restore ebx, ecx,
               0x8B, 0x75, 0xF0, 0x8B, 0x7D, 0xEC});  // esi, edi
    Put(code, {0xD9, 0x6D, 0xE8});                 // fldcw [ebp-24]
    Put(code, {0x8B, 0xE5, 0x5D});                 // mov esp, ebp; pop ebp
    const uint16_t popped = callerPops ? 0 : static_cast<uint16_t>(argumentBytes);
    Put(code, {0xC2, static_cast<uint8_t>(popped & 0xFF), static_cast<uint8_t>(popped >> 8)});
    return code;
}

#if defined(_WIN64)
std::vector<uint8_t> BuildThunkCode64(uint64_t object, uint64_t routine, int argumentCount) {
    std::vector<uint8_t> code;
    if (routine == 0 || argumentCount < 0 || argumentCount > 4) return code;
    // The cell: the object's address, read by the routine through its first
    // argument.
    for (int i = 0; i < 8; ++i) code.push_back(static_cast<uint8_t>(object >> (8 * i)));
    // The arguments move one place on: rcx -> rdx -> r8 -> r9 -> fifth stack
    // argument; rcx gets the cell. 0x38 bytes keep the stack 16-aligned at
    // the call and hold the 32-byte home area plus the fifth argument.
    Put(code, {0x48, 0x83, 0xEC, 0x38,             // sub rsp, 0x38
               0x4C, 0x89, 0x4C, 0x24, 0x20,       // mov [rsp+0x20], r9
               0x4D, 0x89, 0xC1,                   // mov r9, r8
               0x49, 0x89, 0xD0,                   // mov r8, rdx
               0x48, 0x89, 0xCA});                 // mov rdx, rcx
    Put(code, {0x48, 0x8D, 0x0D});                 // lea rcx, [rip + cell]
    const int32_t displacement = -static_cast<int32_t>(code.size() + 4);
    Put32(code, static_cast<uint32_t>(displacement));
    Put(code, {0x48, 0xB8});                       // mov rax, routine
    for (int i = 0; i < 8; ++i) code.push_back(static_cast<uint8_t>(routine >> (8 * i)));
    Put(code, {0xFF, 0xD0,                         // call rax
               0x48, 0x83, 0xC4, 0x38,             // add rsp, 0x38
               0xC3});                             // ret
    return code;
}
#endif

ExecutableStub::ExecutableStub(ExecutableStub&& other) noexcept
    : memory_(other.memory_), size_(other.size_), entry_(other.entry_) {
    other.memory_ = nullptr;
    other.size_ = other.entry_ = 0;
}

ExecutableStub& ExecutableStub::operator=(ExecutableStub&& other) noexcept {
    if (this != &other) {
        Reset();
        memory_ = other.memory_;
        size_ = other.size_;
        entry_ = other.entry_;
        other.memory_ = nullptr;
        other.size_ = other.entry_ = 0;
    }
    return *this;
}

ExecutableStub ExecutableStub::Place(const std::vector<uint8_t>& code, size_t entryOffset) {
    ExecutableStub stub;
    if (code.empty() || entryOffset >= code.size()) return stub;
    void* memory = ::VirtualAlloc(nullptr, code.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!memory) return stub;
    std::memcpy(memory, code.data(), code.size());
    DWORD old = 0;
    if (!::VirtualProtect(memory, code.size(), PAGE_EXECUTE_READ, &old)) {
        ::VirtualFree(memory, 0, MEM_RELEASE);
        return stub;
    }
    ::FlushInstructionCache(::GetCurrentProcess(), memory, code.size());
    stub.memory_ = memory;
    stub.size_ = code.size();
    stub.entry_ = entryOffset;
    return stub;
}

void ExecutableStub::Reset() noexcept {
    if (memory_) ::VirtualFree(memory_, 0, MEM_RELEASE);
    memory_ = nullptr;
    size_ = entry_ = 0;
}

}  // namespace vostrel::skin
