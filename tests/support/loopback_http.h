// A tiny HTTP server for tests, on 127.0.0.1 only, at a port the system
// chooses. It runs on its own thread, takes one connection at a time,
// records each request line ("GET /path?query HTTP/1.1") and answers every
// request with a small HTML page. It stops when destroyed, and on its own
// after a time limit, so a forgotten server cannot hold a test run.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vostrel::test {

class LoopbackHttpServer {
public:
    explicit LoopbackHttpServer(DWORD lifetime_ms = 120000);
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    // False when the socket could not be opened (the port is then 0).
    bool ok() const { return port_ != 0; }
    unsigned short port() const { return port_; }
    // "http://127.0.0.1:<port>", without a trailing slash.
    std::string Origin() const;

    // Request lines received so far, in order.
    std::vector<std::string> Requests() const;
    // Pumps this thread's messages (the browser control works through them)
    // until `count` requests have arrived or `timeout_ms` has passed, and
    // returns the requests received by then.
    std::vector<std::string> WaitForRequests(size_t count, DWORD timeout_ms) const;

private:
    void Serve(DWORD lifetime_ms);
    void Answer(uintptr_t client);

    uintptr_t listener_;  // SOCKET, kept out of this header
    unsigned short port_ = 0;
    bool wsa_started_ = false;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

}  // namespace vostrel::test
