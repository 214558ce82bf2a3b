// Vostrel's benchmark program: runs every registered benchmark (or those
// whose names contain the first argument) and prints their figures.
#include <cstring>

#include "bench.h"

namespace vostrel::bench {

std::vector<Benchmark>& Registry() {
    static std::vector<Benchmark> registry;
    return registry;
}

double Now() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

double CpuTime() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](FILETIME t) {
        return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) * 1e-7;
    };
    return seconds(kernel) + seconds(user);
}

void Report(const std::string& name, double value, const char* unit) {
    std::printf("%-60s %12.4f %s\n", name.c_str(), value, unit);
    std::fflush(stdout);
}

double TimeEach(int n, const std::function<void()>& body) {
    const double start = Now();
    for (int i = 0; i < n; ++i) body();
    return (Now() - start) / n;
}

}  // namespace vostrel::bench

int main(int argc, char** argv) {
    const char* filter = argc > 1 ? argv[1] : "";
    for (const auto& b : vostrel::bench::Registry()) {
        if (*filter && !std::strstr(b.name, filter)) continue;
        std::printf("== %s\n", b.name);
        b.run();
    }
    return 0;
}
