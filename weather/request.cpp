#include "weather/request.h"

#include "weather/http.h"

#include <algorithm>
#include <cctype>

namespace tovani {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
         c == '_';
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), s.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
         });
}

}  // namespace

std::string WeatherHost::Authority() const {
  return port == kDefaultWeatherPort ? name : name + ":" + std::to_string(port);
}

WeatherHost ParseWeatherHost(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  if (StartsWithNoCase(s, "http://")) s.remove_prefix(7);
  s = s.substr(0, s.find('/'));

  WeatherHost host;
  std::string_view name = s;
  if (const std::size_t colon = s.find(':'); colon != std::string_view::npos) {
    name = s.substr(0, colon);
    const std::string_view port = s.substr(colon + 1);
    if (port.empty() || port.size() > 5 || !std::all_of(port.begin(), port.end(), [](char c) {
          return c >= '0' && c <= '9';
        })) {
      return {};
    }
    int value = 0;
    for (const char c : port) value = value * 10 + (c - '0');
    if (value < 1 || value > 65535) return {};
    host.port = static_cast<std::uint16_t>(value);
  }
  if (name.empty() || !std::all_of(name.begin(), name.end(), IsNameChar)) return {};
  host.name = std::string(name);
  return host;
}

std::string WeatherPageAddress(const WeatherHost& host, std::int32_t code) {
  return "http://" + host.Authority() + "/weather/" + std::to_string(code) + ".shtml";
}

std::string WeatherRequest(const WeatherHost& host, std::int32_t code) {
  return net::HttpGetRequest(WeatherPageAddress(host, code), host.Authority());
}

}  // namespace tovani
