// A program that is not the working-set utility: when it runs, it leaves a
// marker file "<its own path>.ran" holding its command line. The trim tests
// put it where a foreign program could sit and check that it never runs.
#include <windows.h>

int main() {
    char path[MAX_PATH + 8] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 1;
    lstrcatA(path, ".ran");
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    const char* line = GetCommandLineA();
    DWORD written = 0;
    WriteFile(file, line, lstrlenA(line), &written, nullptr);
    CloseHandle(file);
    return 0;
}
