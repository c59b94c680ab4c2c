#include "framework/paths.h"

namespace tovani {

bool IsFullPath(std::string_view path) {
  return path.size() >= 3 && path.substr(1, 2) == ":\\" && path.back() != '\\';
}

bool HasExtension(std::string_view path, std::initializer_list<std::string_view> extensions) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view extension = path.substr(dot + 1);
  if (extension.empty()) return false;
  // A "." never ends a two-byte character, so the extension starts on a
  // character; its letters compare without regard to case.
  const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  for (const std::string_view wanted : extensions) {
    if (wanted.size() != extension.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < wanted.size() && same; ++i) same = upper(extension[i]) == upper(wanted[i]);
    if (same) return true;
  }
  return false;
}

}  // namespace tovani
