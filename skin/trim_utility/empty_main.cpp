// The working-set utility the skin writes to "\empty.exe" and runs when the
// program loses activation: it empties the working set of the process whose
// decimal id is its one argument. Exit code 0 on success, 1 when the process
// could not be trimmed, 2 for a missing or malformed id, 3 when the process
// cannot be opened.
#include <windows.h>

namespace {

bool ParseProcessId(const char* text, DWORD* id) {
    if (!text || !*text) return false;
    unsigned long long value = 0;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9') return false;
        value = value * 10 + static_cast<unsigned>(*p - '0');
        if (value > 0xFFFFFFFFull) return false;
    }
    *id = static_cast<DWORD>(value);
    return value != 0;
}

}  // namespace

int main(int argc, char** argv) {
    DWORD id = 0;
    if (argc != 2 || !ParseProcessId(argv[1], &id)) return 2;
    HANDLE process = ::OpenProcess(PROCESS_SET_QUOTA | PROCESS_QUERY_INFORMATION, FALSE, id);
    if (!process) return 3;
    const BOOL trimmed = ::SetProcessWorkingSetSize(process, static_cast<SIZE_T>(-1),
                                                    static_cast<SIZE_T>(-1));
    ::CloseHandle(process);
    return trimmed ? 0 : 1;
}
