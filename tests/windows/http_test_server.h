// An HTTP server on 127.0.0.1 inside the test process, for the web request: it records the raw
// bytes of every request and answers each with the next scripted response, the last one again
// when they run out, one request per connection. Every socket call has a time-out, and the server
// stops by itself after its lifetime. A stalling server keeps each connection open and silent for
// a while after its response. (<chrono> does not compile under -fexec-charset=CP936.)
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

// A response with its Content-Length, closing the connection; `headers` are lines ending "\r\n".
inline std::string HttpResponse(const std::string& statusLine, const std::string& headers,
                                const std::string& body) {
  return statusLine + "\r\n" + headers + "Content-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}

class HttpTestServer {
 public:
  // On an ephemeral port unless `port` names one.
  explicit HttpTestServer(std::vector<std::string> responses = {}, int port = 0)
      : responses_(std::move(responses)), deadline_(GetTickCount64() + kLifetimeMs) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = Socket(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    // A fixed port is free again at once, though the last connection on it is still closing.
    const BOOL reuse = TRUE;
    setsockopt(listener_.get(), SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse),
               sizeof reuse);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(port));
    int size = sizeof address;
    if (bind(listener_.get(), reinterpret_cast<sockaddr*>(&address), size) == 0 &&
        listen(listener_.get(), 8) == 0 &&
        getsockname(listener_.get(), reinterpret_cast<sockaddr*>(&address), &size) == 0) {
      port_ = ntohs(address.sin_port);
      thread_ = std::thread([this] { Serve(); });
    }
  }
  HttpTestServer(const HttpTestServer&) = delete;
  HttpTestServer& operator=(const HttpTestServer&) = delete;
  ~HttpTestServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    listener_ = Socket();
    WSACleanup();
  }

  int port() const { return port_; }
  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  // For responses that name the server's own port: a new script, and the requests so far forgotten.
  void Respond(std::vector<std::string> responses) {
    std::lock_guard<std::mutex> lock(mutex_);
    responses_ = std::move(responses);
    answered_ = 0;
    requests_.clear();
  }
  // After each response (even an empty one), the connection stays open this long, sending nothing,
  // the server's lifetime notwithstanding.
  void StallFor(DWORD milliseconds) { stallMs_ = milliseconds; }
  std::vector<std::string> Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
  }

 private:
  static constexpr ULONGLONG kLifetimeMs = 30000;

  class Socket {
   public:
    explicit Socket(SOCKET socket = INVALID_SOCKET) : socket_(socket) {}
    Socket(Socket&& other) noexcept : socket_(std::exchange(other.socket_, INVALID_SOCKET)) {}
    Socket& operator=(Socket&& other) noexcept {
      std::swap(socket_, other.socket_);
      return *this;
    }
    ~Socket() {
      if (socket_ != INVALID_SOCKET) closesocket(socket_);
    }
    SOCKET get() const { return socket_; }

   private:
    SOCKET socket_;
  };

  void Serve() {
    while (!stop_ && GetTickCount64() < deadline_) {
      fd_set ready;
      FD_ZERO(&ready);
      FD_SET(listener_.get(), &ready);
      timeval wait{0, 50000};
      if (select(0, &ready, nullptr, nullptr, &wait) != 1) continue;
      Socket client(accept(listener_.get(), nullptr, nullptr));
      if (client.get() == INVALID_SOCKET) continue;
      const DWORD timeout = 2000;
      setsockopt(client.get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                 sizeof timeout);
      setsockopt(client.get(), SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeout),
                 sizeof timeout);
      const std::string request = ReadRequest(client.get());
      std::string response;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(request);
        response = responses_.empty() ? std::string()
                                      : responses_[std::min(answered_++, responses_.size() - 1)];
      }
      for (size_t sent = 0; sent < response.size();) {
        const int wrote =
            send(client.get(), response.data() + sent, static_cast<int>(response.size() - sent), 0);
        if (wrote <= 0) break;
        sent += static_cast<size_t>(wrote);
      }
      for (const ULONGLONG until = GetTickCount64() + stallMs_;
           !stop_ && GetTickCount64() < until;) {
        Sleep(20);
      }
      shutdown(client.get(), SD_SEND);
    }
  }

  // The header block and as many body bytes as its Content-Length says.
  static std::string ReadRequest(SOCKET client) {
    std::string request;
    size_t wanted = std::string::npos;
    char buffer[4096];
    while (request.size() < wanted) {
      const int received = recv(client, buffer, sizeof buffer, 0);
      if (received <= 0) break;
      request.append(buffer, static_cast<size_t>(received));
      const size_t end = request.find("\r\n\r\n");
      if (end != std::string::npos) wanted = end + 4 + ContentLength(request.substr(0, end));
    }
    return request;
  }

  static size_t ContentLength(std::string head) {
    std::transform(head.begin(), head.end(), head.begin(),
                   [](char c) { return static_cast<char>(std::tolower(c)); });
    const size_t at = head.find("\r\ncontent-length:");
    return at == std::string::npos ? 0 : std::stoul(head.substr(at + 17));
  }

  std::vector<std::string> responses_;
  ULONGLONG deadline_;
  Socket listener_;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<DWORD> stallMs_{0};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  size_t answered_ = 0;
  std::thread thread_;
};
