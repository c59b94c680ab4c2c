// Program text (code page 936) to and from the UTF-16 of the Win32 W functions.
#pragma once

#include <string>
#include <string_view>

#include "framework/codepage.h"

namespace tovani {

inline std::wstring Wide(std::string_view text) {
  const std::u16string u = Cp936ToUtf16(text);
  return std::wstring(u.begin(), u.end());
}

inline std::string Narrow(std::wstring_view text) {
  return Utf16ToCp936(std::u16string(text.begin(), text.end()));
}

}  // namespace tovani
