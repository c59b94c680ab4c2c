#include "tests/weather/fixture_server.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <winsock.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <cstring>

namespace tovani::fixture {
namespace {

#ifdef _WIN32
using Socket = SOCKET;
constexpr Socket kNoSocket = INVALID_SOCKET;
void CloseSocket(Socket s) { closesocket(s); }
constexpr int kSendFlags = 0;
using Length = int;
#else
using Socket = int;
constexpr Socket kNoSocket = -1;
void CloseSocket(Socket s) { ::close(s); }
constexpr int kSendFlags = MSG_NOSIGNAL;
using Length = socklen_t;
#endif

Socket S(std::uintptr_t s) { return static_cast<Socket>(s); }
std::uintptr_t U(Socket s) { return static_cast<std::uintptr_t>(s); }

// Waits up to ms for the socket to become readable (or writable).
bool Ready(Socket s, bool write, int ms) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval tv{ms / 1000, (ms % 1000) * 1000};
  return ::select(static_cast<int>(s) + 1, write ? nullptr : &set, write ? &set : nullptr, nullptr, &tv) > 0;
}

sockaddr_in Loopback(std::uint16_t port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

}  // namespace

FixtureServer::FixtureServer(std::string answer, Mode mode)
    : answer_(std::move(answer)), mode_(mode), listener_(U(kNoSocket)), filler_(U(kNoSocket)) {
#ifdef _WIN32
  WSADATA data;
  if (WSAStartup(MAKEWORD(1, 1), &data) != 0) return;
#endif
  const Socket s = ::socket(AF_INET, SOCK_STREAM, 0);
  if (s == kNoSocket) return;
  listener_ = U(s);
  sockaddr_in a = Loopback(0);
  Length size = sizeof a;
  if (::bind(s, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 ||
      ::listen(s, mode == Mode::kNoRoom ? 0 : 4) != 0 ||
      ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &size) != 0) {
    return;
  }
  port_ = ntohs(a.sin_port);
  if (mode == Mode::kNoRoom) {
    // Take the one place of the accept queue, so that the next connection
    // attempt is left unanswered.
    const Socket f = ::socket(AF_INET, SOCK_STREAM, 0);
    if (f == kNoSocket) return;
    filler_ = U(f);
    const sockaddr_in to = Loopback(port_);
    if (::connect(f, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) return;
    ok_ = true;
    return;
  }
  ok_ = true;
  thread_ = std::thread([this] { Serve(); });
}

FixtureServer::~FixtureServer() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  if (S(filler_) != kNoSocket) CloseSocket(S(filler_));
  if (S(listener_) != kNoSocket) CloseSocket(S(listener_));
#ifdef _WIN32
  WSACleanup();
#endif
}

std::string FixtureServer::lastRequest() const {
  std::lock_guard lock(mutex_);
  return lastRequest_;
}

void FixtureServer::Serve() {
  while (!stop_) {
    if (!Ready(S(listener_), false, 50)) continue;
    const Socket client = ::accept(S(listener_), nullptr, nullptr);
    if (client == kNoSocket) continue;
    Handle(U(client));
    CloseSocket(client);
    ++answers_;
  }
}

void FixtureServer::Handle(std::uintptr_t c) {
  const Socket client = S(c);
  // The request: up to its empty line.
  std::string request;
  char buffer[4096];
  while (!stop_ && request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
    if (!Ready(client, false, 50)) continue;
    const int n = static_cast<int>(::recv(client, buffer, sizeof buffer, 0));
    if (n <= 0) return;
    request.append(buffer, static_cast<std::size_t>(n));
  }
  {
    std::lock_guard lock(mutex_);
    lastRequest_ = request;
  }
  ++requests_;

  const auto sendAll = [&](const std::string& data) {
    for (std::size_t sent = 0; sent < data.size();) {
      if (stop_) return false;
      if (!Ready(client, true, 50)) continue;
      const int n = static_cast<int>(::send(client, data.data() + sent, static_cast<int>(data.size() - sent), kSendFlags));
      if (n <= 0) return false;
      sent += static_cast<std::size_t>(n);
    }
    return true;
  };
  switch (mode_) {
    case Mode::kAnswer:
      sendAll(answer_);
      break;
    case Mode::kSilent:
      // Until the client closes (a read of 0 bytes or an error) or the server stops.
      while (!stop_) {
        if (Ready(client, false, 50) && ::recv(client, buffer, sizeof buffer, 0) <= 0) break;
      }
      break;
    case Mode::kEndless: {
      if (!sendAll(answer_)) break;
      const std::string filler(16384, 'x');
      while (sendAll(filler)) {
      }
      break;
    }
    case Mode::kHeld:
      while (!stop_ && !released_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
      sendAll(answer_);
      break;
    case Mode::kNoRoom:
      break;
  }
}

}  // namespace tovani::fixture
