// winsock2.h must come before windows.h (which the header includes).
#include <winsock2.h>
#include <ws2tcpip.h>

#include "loopback_http.h"

#include "test_support.h"

namespace vostrel::test {

namespace {

constexpr char kPage[] =
    "<html><head><title>loopback</title></head><body>loopback</body></html>";

}  // namespace

LoopbackHttpServer::LoopbackHttpServer(DWORD lifetime_ms) : listener_(INVALID_SOCKET) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
    wsa_started_ = true;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;  // the system picks a free port
    int length = sizeof address;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(s, 4) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(s);
        return;
    }
    listener_ = s;
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this, lifetime_ms] { Serve(lifetime_ms); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (listener_ != INVALID_SOCKET) closesocket(static_cast<SOCKET>(listener_));
    if (wsa_started_) WSACleanup();
}

std::string LoopbackHttpServer::Origin() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

std::vector<std::string> LoopbackHttpServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::vector<std::string> LoopbackHttpServer::WaitForRequests(size_t count, DWORD timeout_ms) const {
    const DWORD start = GetTickCount();
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (requests_.size() >= count) return requests_;
        }
        if (GetTickCount() - start >= timeout_ms) return Requests();
        FlushEvents(20);
    }
}

void LoopbackHttpServer::Serve(DWORD lifetime_ms) {
    const SOCKET listener = static_cast<SOCKET>(listener_);
    const DWORD start = GetTickCount();
    // Polls with a short wait so that a stop request or the time limit ends
    // the thread promptly.
    while (!stop_ && GetTickCount() - start < lifetime_ms) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(listener, &readable);
        timeval wait{0, 50 * 1000};
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0) continue;
        SOCKET client = accept(listener, nullptr, nullptr);
        if (client == INVALID_SOCKET) continue;
        Answer(client);
        closesocket(client);
    }
}

void LoopbackHttpServer::Answer(uintptr_t client_socket) {
    const SOCKET client = static_cast<SOCKET>(client_socket);
    // Reads the head of the request (up to the blank line, at most 16 KB),
    // waiting at most 3 s for it. The wait is a select, not a receive
    // timeout on the socket: 32-bit Wine under emulation has asserted
    // inside a receive that carried one.
    const DWORD start = GetTickCount();
    std::string head;
    char buffer[2048];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 16384 && !stop_) {
        const DWORD waited = GetTickCount() - start;
        if (waited >= 3000) break;
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(client, &readable);
        timeval wait{0, static_cast<long>((3000 - waited) * 1000)};
        if (wait.tv_usec >= 1000000) {
            wait.tv_sec = wait.tv_usec / 1000000;
            wait.tv_usec %= 1000000;
        }
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0) break;
        const int got = recv(client, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        head.append(buffer, static_cast<size_t>(got));
    }
    const size_t line_end = head.find("\r\n");
    if (line_end == std::string::npos) return;  // nothing usable arrived
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(head.substr(0, line_end));
    }
    const std::string body = kPage;
    const std::string reply = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                              std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" +
                              body;
    send(client, reply.data(), static_cast<int>(reply.size()), 0);
    shutdown(client, SD_SEND);
}

}  // namespace vostrel::test
