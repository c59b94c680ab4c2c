#include "weather/http.h"

#include <algorithm>
#include <vector>

#include "weather/socket.h"

namespace tovani::net {

std::string HttpGetRequest(std::string_view address, std::string_view authority) {
  std::string request = "GET ";
  request.append(address).append(" HTTP/1.0\r\nReferer: http://").append(authority).append("/\r\n");
  request += "User-Agent: kpf HTTP FILE DOWNLOAD\r\n\r\n";
  return request;
}

std::optional<std::string> HttpGet(const std::string& host, std::uint16_t port, std::string_view request,
                                   const HttpLimits& limits, const std::atomic<bool>* stop,
                                   const std::function<void()>& sent) {
  TcpConnection connection;
  if (!connection.Open(host, port, MonotonicMs() + limits.connectMs, stop) ||
      !connection.Send(request, MonotonicMs() + limits.connectMs, stop)) {
    return std::nullopt;
  }
  if (sent) sent();
  std::string answer;
  std::vector<char> piece(40960);
  const std::int64_t last = MonotonicMs() + limits.answerMs;
  while (answer.size() < limits.answerBytes) {
    const std::int64_t deadline = std::min(MonotonicMs() + limits.idleMs, last);
    const std::size_t want = std::min(piece.size(), limits.answerBytes - answer.size());
    const long n = connection.Receive(piece.data(), want, deadline, stop);
    if (n <= 0) break;
    answer.append(piece.data(), static_cast<std::size_t>(n));
  }
  return answer;
}

}  // namespace tovani::net
