// Winsock 1.1 for the weather client of the Windows program.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <winsock.h>

#include "weather/socket.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tovani::net {
namespace {

constexpr std::int64_t kStopCheckMs = 100;

SOCKET Sock(std::uintptr_t s) { return static_cast<SOCKET>(s); }

bool Stopped(const std::atomic<bool>* stop) { return stop != nullptr && stop->load(); }

// Winsock is started once for the whole process and left running.
bool WinsockReady() {
  static const bool ready = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(1, 1), &data) == 0;
  }();
  return ready;
}

enum class Wait { kRead, kWrite };

// Waits until the socket is readable or writable (or, while connecting, has
// failed); false at the deadline, on a stop request or when a connection
// attempt failed.
bool WaitReady(SOCKET s, Wait what, std::int64_t deadlineMs, const std::atomic<bool>* stop) {
  for (;;) {
    if (Stopped(stop)) return false;
    const std::int64_t left = deadlineMs - MonotonicMs();
    if (left <= 0) return false;
    const long ms = static_cast<long>(std::min(left, kStopCheckMs));
    timeval tv{ms / 1000, (ms % 1000) * 1000};
    fd_set ready, failed;
    FD_ZERO(&ready);
    FD_ZERO(&failed);
    FD_SET(s, &ready);
    if (what == Wait::kRead) {
      const int rc = select(0, &ready, nullptr, nullptr, &tv);
      if (rc == SOCKET_ERROR) return false;
      if (rc > 0) return true;
    } else {
      // A failed connection attempt shows in the exception set.
      FD_SET(s, &failed);
      const int rc = select(0, nullptr, &ready, &failed, &tv);
      if (rc == SOCKET_ERROR) return false;
      if (rc > 0) return !FD_ISSET(s, &failed);
    }
  }
}

// The IPv4 addresses of a host name or dotted address.
std::vector<in_addr> AddressesOf(const std::string& host) {
  std::vector<in_addr> list;
  in_addr a;
  a.s_addr = inet_addr(host.c_str());
  if (a.s_addr != INADDR_NONE) {
    list.push_back(a);
    return list;
  }
  const hostent* h = gethostbyname(host.c_str());  // per-thread result in Winsock
  if (h == nullptr || h->h_addrtype != AF_INET || h->h_length != sizeof(in_addr)) return list;
  for (char** p = h->h_addr_list; *p != nullptr; ++p) {
    std::memcpy(&a, *p, sizeof a);
    list.push_back(a);
  }
  return list;
}

SOCKET ConnectTo(in_addr address, std::uint16_t port, std::int64_t deadlineMs, const std::atomic<bool>* stop) {
  const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return INVALID_SOCKET;
  u_long nonBlocking = 1;
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(port);
  to.sin_addr = address;
  if (ioctlsocket(s, FIONBIO, &nonBlocking) == 0) {
    if (connect(s, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) return s;
    if (WSAGetLastError() == WSAEWOULDBLOCK && WaitReady(s, Wait::kWrite, deadlineMs, stop)) {
      int error = 0;
      int size = sizeof error;
      if (getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) == 0 && error == 0) return s;
    }
  }
  closesocket(s);
  return INVALID_SOCKET;
}

bool WouldBlock() {
  const int e = WSAGetLastError();
  return e == WSAEWOULDBLOCK || e == WSAEINTR;
}

}  // namespace

std::int64_t MonotonicMs() { return static_cast<std::int64_t>(GetTickCount64()); }

bool TcpConnection::Open(const std::string& host, std::uint16_t port, std::int64_t deadlineMs,
                         const std::atomic<bool>* stop) {
  Close();
  if (!WinsockReady()) return false;
  for (const in_addr& a : AddressesOf(host)) {
    if (Stopped(stop) || MonotonicMs() >= deadlineMs) break;
    const SOCKET s = ConnectTo(a, port, deadlineMs, stop);
    if (s != INVALID_SOCKET) {
      socket_ = static_cast<std::uintptr_t>(s);
      break;
    }
  }
  return IsOpen();
}

bool TcpConnection::IsOpen() const { return socket_ != kClosed; }

bool TcpConnection::Send(std::string_view data, std::int64_t deadlineMs, const std::atomic<bool>* stop) {
  if (!IsOpen()) return false;
  while (!data.empty()) {
    const int piece = static_cast<int>(std::min<std::size_t>(data.size(), 1 << 20));
    const int n = send(Sock(socket_), data.data(), piece, 0);
    if (n > 0) {
      data.remove_prefix(static_cast<std::size_t>(n));
    } else if (n == SOCKET_ERROR && WouldBlock()) {
      if (!WaitReady(Sock(socket_), Wait::kWrite, deadlineMs, stop)) return false;
    } else {
      return false;
    }
  }
  return true;
}

long TcpConnection::Receive(char* buffer, std::size_t size, std::int64_t deadlineMs,
                            const std::atomic<bool>* stop) {
  if (!IsOpen()) return -1;
  const int piece = static_cast<int>(std::min<std::size_t>(size, 1 << 20));
  for (;;) {
    if (!WaitReady(Sock(socket_), Wait::kRead, deadlineMs, stop)) return -1;
    const int n = recv(Sock(socket_), buffer, piece, 0);
    if (n >= 0) return n;
    if (!WouldBlock()) return -1;
  }
}

void TcpConnection::Close() {
  if (!IsOpen()) return;
  closesocket(Sock(socket_));
  socket_ = kClosed;
}

}  // namespace tovani::net
