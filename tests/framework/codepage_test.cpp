#include "framework/codepage.h"

#include <gtest/gtest.h>

namespace tovani {
namespace {

struct Sample {
  const char* program;    // as the compiler stores it: code page 936
  const char* bytes;      // the code page 936 bytes, spelled out
  char16_t utf16;
  const char* utf8;
};

// Characters the calendar prints, with their bytes in each encoding.
const Sample kSamples[] = {
    {"○", "\xA1\xF0", u'\u25CB', "\xE2\x97\x8B"}, {"℃", "\xA1\xE6", u'\u2103', "\xE2\x84\x83"},
    {"～", "\xA1\xAB", u'\uFF5E', "\xEF\xBD\x9E"}, {"→", "\xA1\xFA", u'\u2192', "\xE2\x86\x92"},
    {"闰", "\xC8\xF2", u'\u95F0', "\xE9\x97\xB0"}, {"廿", "\xD8\xA5", u'\u5EFF', "\xE5\xBB\xBF"},
    {"腊", "\xC0\xB0", u'\u814A', "\xE8\x85\x8A"},
};

TEST(Codepage, PrintedCharactersSurviveBothConversions) {
  for (const auto& s : kSamples) {
    SCOPED_TRACE(s.utf8);
    EXPECT_EQ(std::string(s.program), std::string(s.bytes)) << "source not compiled as code page 936";
    EXPECT_EQ(Cp936ToUtf16(s.program), std::u16string(1, s.utf16));
    EXPECT_EQ(Utf16ToCp936(std::u16string(1, s.utf16)), s.bytes);
    EXPECT_EQ(Cp936ToUtf8(s.program), s.utf8);
    EXPECT_EQ(Utf8ToCp936(s.utf8), s.bytes);
  }
  const std::string line = "闰腊月廿三 ○ 25℃～30℃ → 晴";
  EXPECT_EQ(Utf16ToCp936(Cp936ToUtf16(line)), line);
  EXPECT_EQ(Utf8ToCp936(Cp936ToUtf8(line)), line);
  EXPECT_EQ(Cp936ToUtf16(line), u"闰腊月廿三 ○ 25℃～30℃ → 晴");
}

TEST(Codepage, EveryDoubleByteCharacterRoundTrips) {
  int characters = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      const char16_t u = Cp936Char(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
      if (u == 0) continue;
      ++characters;
      const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
      ASSERT_EQ(Cp936ToUtf16(bytes), std::u16string(1, u)) << std::hex << lead << trail;
      ASSERT_EQ(Utf16ToCp936(std::u16string(1, u)), bytes) << std::hex << lead << trail;
      ASSERT_EQ(Utf8ToCp936(Cp936ToUtf8(bytes)), bytes) << std::hex << lead << trail;
    }
  }
  // GBK holds 21791 two-byte characters (GB2312's 7445 among them).
  EXPECT_EQ(characters, 21791);
  EXPECT_EQ(Cp936Char(0x41, 0), u'A');
  EXPECT_EQ(Cp936ToUtf16("\x80"), u"\u20AC");
}

TEST(Codepage, BadInputBecomesQuestionMarks) {
  struct Case {
    std::string input;
    std::u16string utf16;
  };
  const Case cases[] = {
      {"\xB0", u"?"},             // a lead byte with nothing after it
      {"\xB0\x20", u"? "},        // a lead byte before a byte that cannot trail it
      {"\xFF", u"?"},             // never a character
      {"a\xA2\xA0", u"a??"},      // an unassigned pair, then a lone lead byte
      {"\xA1\x7F", u"?\x7F"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Cp936ToUtf16(c.input), c.utf16);
  }
  EXPECT_EQ(Utf16ToCp936(u"x\U0001F600y"), "x?y");      // beyond the BMP
  EXPECT_EQ(Utf16ToCp936(std::u16string(1, char16_t(0xD800))), "?");  // lone surrogate
  EXPECT_EQ(Utf16ToCp936(u"\u00E9\u0E01"), "\xA8\xA6?");  // é exists in GBK, Thai does not
  const std::pair<const char*, const char*> utf8[] = {
      {"\xE9\x97", "??"},             // cut short: each byte on its own
      {"\xC0\xAF", "??"},             // overlong
      {"\xED\xA0\x80", "???"},        // encoded surrogate
      {"\xF4\x90\x80\x80", "????"},   // beyond U+10FFFF
      {"\x80x", "?x"},                // stray continuation byte
      {"\xF0\x9F\x98\x80", "?"},      // a real character GBK lacks
  };
  for (const auto& [in, out] : utf8) {
    EXPECT_EQ(Utf8ToCp936(in), out) << in;
  }
}

}  // namespace
}  // namespace tovani
