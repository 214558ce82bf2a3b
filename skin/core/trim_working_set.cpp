// The working-set trim run when the program loses activation.
//
// The program carries a small utility of its own that empties the working
// set of a given process. It is kept as "\empty.exe" in the Windows directory
// and run there, hidden, with this process's id. Only our own bytes are ever
// run: a file at that path that differs from the utility is left alone (it
// may be another program's) and the working set is emptied in-process; a
// cut-short copy of ours (an exit or a second trim during the write) is
// replaced. The file is written under a temporary name and renamed into
// place, so no reader ever sees it half written.
#include <windows.h>

#include <algorithm>
#include <string>

#include "common/unique_handle.h"
#include "skin/core/window_skin.h"

namespace vostrel::skin {
namespace {

constexpr char kUtilityResource[] = "EMPTY_UTILITY";
constexpr char kUtilityName[] = "empty.exe";

void TrimInProcess() {
    ::SetProcessWorkingSetSize(::GetCurrentProcess(), static_cast<SIZE_T>(-1),
                               static_cast<SIZE_T>(-1));
}

// Reads the whole file through an open handle; false on a read error or a
// file larger than `limit`.
bool ReadAll(HANDLE file, size_t limit, Bytes* bytes) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > limit)
        return false;
    bytes->resize(static_cast<size_t>(size.QuadPart));
    DWORD done = 0;
    size_t at = 0;
    while (at < bytes->size()) {
        if (!::ReadFile(file, bytes->data() + at, static_cast<DWORD>(bytes->size() - at), &done,
                        nullptr) ||
            done == 0)
            return false;
        at += done;
    }
    return true;
}

// What sits at the utility's path.
enum class FileState { Missing, Ours, CutShort, Foreign };

FileState Inspect(const std::string& path, const Bytes& utility) {
    unique_file file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? FileState::Missing : FileState::Foreign;
    }
    Bytes bytes;
    // Anything larger than the utility cannot be ours or a cut-short copy.
    if (!ReadAll(file.get(), utility.size() + 1, &bytes)) return FileState::Foreign;
    if (bytes == utility) return FileState::Ours;
    if (bytes.size() < utility.size() &&
        std::equal(bytes.begin(), bytes.end(), utility.begin()))
        return FileState::CutShort;
    return FileState::Foreign;
}

// Writes the utility under a name of its own next to `path`, then renames it
// into place (replacing a cut-short copy). False when anything fails; the
// temporary file is then removed.
bool WriteUtility(const std::string& path, const Bytes& utility) {
    const std::string temporary = path + "." + std::to_string(::GetCurrentProcessId()) + "." +
                                  std::to_string(::GetCurrentThreadId()) + ".tmp";
    bool written = false;
    {
        unique_file file(::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        DWORD done = 0;
        written = ::WriteFile(file.get(), utility.data(), static_cast<DWORD>(utility.size()),
                              &done, nullptr) &&
                  done == utility.size() && ::FlushFileBuffers(file.get());
    }
    if (written &&
        ::MoveFileExA(temporary.c_str(), path.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    ::DeleteFileA(temporary.c_str());
    return false;
}

// Runs the file at `path` when its bytes are the utility's. The file stays
// open, shared for reading only, from the comparison until the process has
// started, so it cannot be swapped in between. True when the utility ran and
// reported success.
bool RunUtility(const std::string& path, const Bytes& utility) {
    unique_file guard(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!guard) return false;
    Bytes bytes;
    if (!ReadAll(guard.get(), utility.size(), &bytes) || bytes != utility) return false;

    // The path is quoted: in a directory whose name holds a space, an
    // unquoted command line would start another program.
    std::string command = "\"" + path + "\" " + std::to_string(::GetCurrentProcessId());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(path.c_str(), command.data(), nullptr, nullptr, FALSE,
                          CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info))
        return false;
    guard.reset();
    unique_handle_k process(info.hProcess);
    unique_handle_k thread(info.hThread);
    ::WaitForSingleObject(process.get(), INFINITE);
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process.get(), &exitCode);
    return exitCode == 0;
}

}  // namespace

Bytes EmbeddedTrimUtility() {
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC resource = ::FindResourceA(module, kUtilityResource, MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (!resource) return {};
    HGLOBAL loaded = ::LoadResource(module, resource);
    const auto* data = static_cast<const BYTE*>(::LockResource(loaded));
    const DWORD size = ::SizeofResource(module, resource);
    if (!data || size == 0) return {};
    return Bytes(data, data + size);
}

TrimOutcome TrimWorkingSetIn(const std::string& directory) {
    const Bytes utility = EmbeddedTrimUtility();
    if (!utility.empty() && !directory.empty()) {
        std::string path = directory;
        if (path.back() != '\\' && path.back() != '/') path += '\\';
        path += kUtilityName;
        switch (Inspect(path, utility)) {
            case FileState::Missing:
            case FileState::CutShort:
                if (!WriteUtility(path, utility)) break;
                [[fallthrough]];
            case FileState::Ours:
                if (RunUtility(path, utility)) return TrimOutcome::RanUtility;
                break;
            case FileState::Foreign:
                break;
        }
    }
    TrimInProcess();
    return TrimOutcome::TrimmedInProcess;
}

TrimOutcome TrimWorkingSet() {
    char directory[MAX_PATH + 1] = {};
    const UINT length = ::GetWindowsDirectoryA(directory, sizeof directory);
    if (length == 0 || length >= sizeof directory) {
        TrimInProcess();
        return TrimOutcome::TrimmedInProcess;
    }
    return TrimWorkingSetIn(directory);
}

DWORD WINAPI TrimWorkingSetThread(void*) {
    TrimWorkingSet();
    return 0;
}

}  // namespace vostrel::skin
