// Conversions at the program's boundaries.
//
// Inside the program every text is code page 936 (GBK/GB2312) bytes.  Win32
// gets UTF-16 through the W functions, the command-line tool prints UTF-8.
// The table is the program's own, so a text converts the same on a Windows of
// any language and on Linux.  A byte sequence with no character becomes "?",
// and so does a character that code page 936 cannot hold.
#pragma once

#include <string>
#include <string_view>

namespace tovani {

std::u16string Cp936ToUtf16(std::string_view text);
std::string Utf16ToCp936(std::u16string_view text);
std::string Cp936ToUtf8(std::string_view text);
std::string Utf8ToCp936(std::string_view text);

// One UTF-8 sequence at the start of a text: its code point and its length in
// bytes; length 0 when the text is empty or its bytes there are no UTF-8
// (overlong forms, surrogates and values beyond U+10FFFF are none).
struct Utf8Char {
  char32_t code = 0;
  std::size_t length = 0;
};
Utf8Char DecodeUtf8(std::string_view text);

// The character of one code page 936 sequence (one byte below 0x80 or 0x80,
// otherwise two bytes); 0 when the sequence has none.
char16_t Cp936Char(unsigned char lead, unsigned char trail);

}  // namespace tovani
