// POSIX sockets for the weather client (the native build and its tests).
#include "weather/socket.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace tovani::net {
namespace {

constexpr std::int64_t kStopCheckMs = 100;

int Fd(std::uintptr_t s) { return static_cast<int>(s); }

bool Stopped(const std::atomic<bool>* stop) { return stop != nullptr && stop->load(); }

// Waits until the socket is ready for events (or has an error to report);
// false at the deadline or on a stop request.
bool WaitReady(int fd, short events, std::int64_t deadlineMs, const std::atomic<bool>* stop) {
  for (;;) {
    if (Stopped(stop)) return false;
    const std::int64_t left = deadlineMs - MonotonicMs();
    if (left <= 0) return false;
    pollfd p{fd, events, 0};
    const int rc = ::poll(&p, 1, static_cast<int>(std::min(left, kStopCheckMs)));
    if (rc > 0) return true;
    if (rc < 0 && errno != EINTR) return false;
  }
}

// A non-blocking socket connected to one address; -1 when it did not connect.
int ConnectTo(const addrinfo& a, std::int64_t deadlineMs, const std::atomic<bool>* stop) {
  const int fd = ::socket(a.ai_family, a.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a.ai_protocol);
  if (fd < 0) return -1;
  if (::connect(fd, a.ai_addr, a.ai_addrlen) == 0) return fd;
  if (errno == EINPROGRESS && WaitReady(fd, POLLOUT, deadlineMs, stop)) {
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0) return fd;
  }
  ::close(fd);
  return -1;
}

}  // namespace

std::int64_t MonotonicMs() {
  timespec t{};
  ::clock_gettime(CLOCK_MONOTONIC, &t);
  return std::int64_t{t.tv_sec} * 1000 + t.tv_nsec / 1000000;
}

bool TcpConnection::Open(const std::string& host, std::uint16_t port, std::int64_t deadlineMs,
                         const std::atomic<bool>* stop) {
  Close();
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* list = nullptr;
  if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &list) != 0) return false;
  for (const addrinfo* a = list; a != nullptr && !IsOpen(); a = a->ai_next) {
    if (Stopped(stop) || MonotonicMs() >= deadlineMs) break;
    const int fd = ConnectTo(*a, deadlineMs, stop);
    if (fd >= 0) socket_ = static_cast<std::uintptr_t>(fd);
  }
  ::freeaddrinfo(list);
  return IsOpen();
}

bool TcpConnection::IsOpen() const { return socket_ != kClosed; }

bool TcpConnection::Send(std::string_view data, std::int64_t deadlineMs, const std::atomic<bool>* stop) {
  if (!IsOpen()) return false;
  while (!data.empty()) {
    const ssize_t n = ::send(Fd(socket_), data.data(), data.size(), MSG_NOSIGNAL);
    if (n > 0) {
      data.remove_prefix(static_cast<std::size_t>(n));
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
      if (!WaitReady(Fd(socket_), POLLOUT, deadlineMs, stop)) return false;
    } else {
      return false;
    }
  }
  return true;
}

long TcpConnection::Receive(char* buffer, std::size_t size, std::int64_t deadlineMs,
                            const std::atomic<bool>* stop) {
  if (!IsOpen()) return -1;
  for (;;) {
    if (!WaitReady(Fd(socket_), POLLIN, deadlineMs, stop)) return -1;
    const ssize_t n = ::recv(Fd(socket_), buffer, size, 0);
    if (n >= 0) return static_cast<long>(n);
    if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return -1;
  }
}

void TcpConnection::Close() {
  if (!IsOpen()) return;
  ::close(Fd(socket_));
  socket_ = kClosed;
}

}  // namespace tovani::net
