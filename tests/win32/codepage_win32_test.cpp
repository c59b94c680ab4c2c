// The program's own code page 936 table against the one Windows has.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/codepage.h"

namespace tovani {
namespace {

TEST(CodepageWin32, EveryCharacterMatchesWindows) {
  int checked = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      const char16_t ours = Cp936Char(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
      if (ours == 0) continue;
      const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      wchar_t theirs[4] = {};
      const int n = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes, 2, theirs, 4);
      ASSERT_EQ(n, 1) << std::hex << lead << " " << trail;
      ASSERT_EQ(static_cast<char16_t>(theirs[0]), ours) << std::hex << lead << " " << trail;
      char back[4] = {};
      BOOL usedDefault = FALSE;
      const int m = WideCharToMultiByte(936, 0, theirs, 1, back, 4, nullptr, &usedDefault);
      ASSERT_EQ(m, 2);
      EXPECT_EQ(Utf16ToCp936(std::u16string(1, ours)), std::string(back, 2)) << std::hex << lead << " " << trail;
      ++checked;
    }
  }
  EXPECT_EQ(checked, 21791);
}

TEST(CodepageWin32, ProgramTextReachesTheWideFunctionsIntact) {
  const std::string text = "青鹭日历 闰腊月廿三 ○ 25℃～30℃ →";
  const std::u16string ours = Cp936ToUtf16(text);
  wchar_t theirs[64] = {};
  const int n = MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), theirs, 64);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(theirs), n), ours);
}

}  // namespace
}  // namespace tovani
