// One HTTP/1.0 GET over a plain TCP connection, as the program sends it for
// the weather forecast and for the version check: the request, and the
// answer as far as it came.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tovani::net {

// The request, every line ended by CR LF: "GET " + address + " HTTP/1.0",
// "Referer: http://" + authority + "/", "User-Agent: kpf HTTP FILE DOWNLOAD"
// and an empty line.
std::string HttpGetRequest(std::string_view address, std::string_view authority);

struct HttpLimits {
  int connectMs = 20000;  // to connect, and then to send the request
  int idleMs = 20000;     // the longest wait for the next piece of the answer
  int answerMs = 60000;   // the longest time for the whole answer
  std::size_t answerBytes = std::size_t{1} << 20;
};

// Connects to host:port and sends the request; nothing when that failed (or
// a stop was asked).  Then sent() is called, and the answer is read until the
// server closes the connection, an error, a limit or a stop request; what
// arrived is returned.
std::optional<std::string> HttpGet(const std::string& host, std::uint16_t port, std::string_view request,
                                   const HttpLimits& limits, const std::atomic<bool>* stop = nullptr,
                                   const std::function<void()>& sent = {});

}  // namespace tovani::net
