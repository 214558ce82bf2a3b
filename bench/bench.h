// Registration of benchmarks: each bench_<subsystem>.cpp defines its
// benchmarks with VOSTREL_BENCH(name) { ... } and prints its own figures
// with Report().
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace vostrel::bench {

struct Benchmark {
    const char* name;
    void (*run)();
};

std::vector<Benchmark>& Registry();

struct Registrar {
    Registrar(const char* name, void (*run)()) { Registry().push_back({name, run}); }
};

// Seconds of a monotonic clock.
double Now();
// CPU time (user + kernel) of this process, in seconds.
double CpuTime();
// Prints one figure: "name: value unit".
void Report(const std::string& name, double value, const char* unit);

// Runs `body` `n` times and returns the mean wall time of one run in seconds.
double TimeEach(int n, const std::function<void()>& body);

}  // namespace vostrel::bench

#define VOSTREL_BENCH(name)                                                  \
    static void name();                                                      \
    static ::vostrel::bench::Registrar name##_registrar(#name, &name);       \
    static void name()
