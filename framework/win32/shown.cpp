#include "framework/win32/shown.h"

#include "framework/traditional.h"
#include "framework/win32/wide.h"

namespace tovani::win32 {
namespace {
bool traditional = false;  // the user-interface thread's alone
}  // namespace

void ShowTraditional(bool on) { traditional = on; }
bool ShowingTraditional() { return traditional; }

std::string ShownText(std::string_view text, const std::vector<std::string>& kept) {
  return traditional ? ToTraditional(text, kept) : std::string(text);
}

std::wstring Shown(std::string_view text, const std::vector<std::string>& kept) {
  return Wide(traditional ? ToTraditional(text, kept) : std::string(text));
}

}  // namespace tovani::win32
