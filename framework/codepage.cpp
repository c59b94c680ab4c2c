#include "framework/codepage.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace tovani {
namespace {

constexpr unsigned kFirstLead = 0x81, kLastLead = 0xFE;
constexpr unsigned kFirstTrail = 0x40, kLastTrail = 0xFE;
constexpr unsigned kTrailsPerLead = kLastTrail - kFirstTrail + 1;

constexpr std::uint16_t kDoubleByteTable[] = {
#include "framework/cp936_table.inc"
};
static_assert(std::size(kDoubleByteTable) == (kLastLead - kFirstLead + 1) * kTrailsPerLead);

constexpr char16_t kEuro = 0x20AC;  // the single byte 0x80
constexpr char16_t kReplacement = u'?';

bool IsLead(unsigned char c) { return c >= kFirstLead && c <= kLastLead; }

// UTF-16 code unit to its code page 936 bytes, sorted by code unit.  Built on
// first use; static initialisation of a local is thread-safe.
const std::vector<std::pair<char16_t, std::uint16_t>>& ReverseTable() {
  static const auto table = [] {
    std::vector<std::pair<char16_t, std::uint16_t>> t;
    t.reserve(22000);
    for (unsigned i = 0; i < std::size(kDoubleByteTable); ++i) {
      if (kDoubleByteTable[i] == 0) continue;
      const unsigned lead = kFirstLead + i / kTrailsPerLead;
      const unsigned trail = kFirstTrail + i % kTrailsPerLead;
      t.emplace_back(static_cast<char16_t>(kDoubleByteTable[i]), static_cast<std::uint16_t>(lead << 8 | trail));
    }
    std::sort(t.begin(), t.end());
    // Keep the first sequence of a character that has several.
    t.erase(std::unique(t.begin(), t.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
            t.end());
    return t;
  }();
  return table;
}

void AppendCp936(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
    return;
  }
  if (c == kEuro) {
    out += '\x80';
    return;
  }
  if (c <= 0xFFFF) {
    const auto& t = ReverseTable();
    const auto it = std::lower_bound(t.begin(), t.end(), std::pair<char16_t, std::uint16_t>{char16_t(c), 0});
    if (it != t.end() && it->first == c) {
      out += static_cast<char>(it->second >> 8);
      out += static_cast<char>(it->second & 0xFF);
      return;
    }
  }
  out += '?';
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Calls emit(code unit) for each character of a code page 936 text.
template <typename Emit>
void DecodeCp936(std::string_view s, Emit emit) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      emit(c);
    } else if (c == 0x80) {
      emit(kEuro);
    } else if (IsLead(c) && i + 1 < s.size()) {
      const char16_t u = Cp936Char(c, static_cast<unsigned char>(s[i + 1]));
      if (u != 0) {
        emit(u);
        ++i;
      } else {
        emit(kReplacement);  // the trail byte is read again on its own
      }
    } else {
      emit(kReplacement);
    }
  }
}

}  // namespace

char16_t Cp936Char(unsigned char lead, unsigned char trail) {
  if (lead < 0x80) return lead;
  if (lead == 0x80) return kEuro;
  if (!IsLead(lead) || trail < kFirstTrail || trail > kLastTrail) return 0;
  return kDoubleByteTable[(lead - kFirstLead) * kTrailsPerLead + (trail - kFirstTrail)];
}

std::u16string Cp936ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  DecodeCp936(text, [&](char16_t c) { out += c; });
  return out;
}

std::string Cp936ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 3 / 2);
  DecodeCp936(text, [&](char16_t c) { AppendUtf8(out, c); });
  return out;
}

std::string Utf16ToCp936(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      ++i;  // a character beyond the BMP: code page 936 has none
      out += '?';
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      out += '?';
    } else {
      AppendCp936(out, c);
    }
  }
  return out;
}

Utf8Char DecodeUtf8(std::string_view text) {
  if (text.empty()) return {};
  const auto c = static_cast<unsigned char>(text[0]);
  std::size_t extra = 0;
  char32_t cp = 0;
  if (c < 0x80) return {c, 1};
  if ((c & 0xE0) == 0xC0) {
    extra = 1, cp = c & 0x1F;
  } else if ((c & 0xF0) == 0xE0) {
    extra = 2, cp = c & 0x0F;
  } else if ((c & 0xF8) == 0xF0) {
    extra = 3, cp = c & 0x07;
  } else {
    return {};
  }
  if (text.size() <= extra) return {};
  for (std::size_t k = 1; k <= extra; ++k) {
    const auto cc = static_cast<unsigned char>(text[k]);
    if ((cc & 0xC0) != 0x80) return {};
    cp = cp << 6 | (cc & 0x3F);
  }
  // Overlong forms, surrogates and values beyond U+10FFFF are not characters.
  static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {};
  return {cp, extra + 1};
}

std::string Utf8ToCp936(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const Utf8Char c = DecodeUtf8(text.substr(i));
    if (c.length == 0) {
      out += '?';
      ++i;
      continue;
    }
    AppendCp936(out, c.code);
    i += c.length;
  }
  return out;
}

}  // namespace tovani
