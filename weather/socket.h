// The one TCP connection of the weather client, over the platform's sockets
// (POSIX sockets in the native build, Winsock in the Windows program).
//
// Every wait ends at a deadline, and also soon (within a tenth of a second)
// after *stop becomes true, so a download can always be ended.  Name look-up
// is the system's and waits as long as the system does.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tovani::net {

// Milliseconds on a clock that only goes forward; deadlines are given on it.
std::int64_t MonotonicMs();

class TcpConnection {
 public:
  TcpConnection() = default;
  TcpConnection(const TcpConnection&) = delete;
  TcpConnection& operator=(const TcpConnection&) = delete;
  ~TcpConnection() { Close(); }

  // Connects to host (a name or a dotted address) on port, trying each of its
  // addresses until one answers; false when none did before the deadline.
  bool Open(const std::string& host, std::uint16_t port, std::int64_t deadlineMs,
            const std::atomic<bool>* stop = nullptr);
  bool IsOpen() const;

  // Sends all of data; false on an error or at the deadline.
  bool Send(std::string_view data, std::int64_t deadlineMs, const std::atomic<bool>* stop = nullptr);

  // Waits for data and receives up to size bytes: the number received, 0 when
  // the other side has closed the connection, -1 on an error, at the deadline
  // or on a stop request.
  long Receive(char* buffer, std::size_t size, std::int64_t deadlineMs, const std::atomic<bool>* stop = nullptr);

  void Close();

 private:
  // A file descriptor or a Winsock SOCKET.
  static constexpr std::uintptr_t kClosed = ~std::uintptr_t{0};
  std::uintptr_t socket_ = kClosed;
};

}  // namespace tovani::net
