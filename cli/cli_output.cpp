#include "cli/cli_output.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <utility>

#include "engine/date_text.h"
#include "framework/codepage.h"
#include "framework/traditional.h"

namespace tovani::cli {

namespace {

// A control character as an escape: \n, \t, \r, \x1b; C1 controls as \u{9b}.
std::string EscapedControl(char32_t cp) {
  if (cp == '\n') return "\\n";
  if (cp == '\t') return "\\t";
  if (cp == '\r') return "\\r";
  char buf[16];
  std::snprintf(buf, sizeof buf, cp < 0x80 ? "\\x%02x" : "\\u{%x}", static_cast<unsigned>(cp));
  return buf;
}

bool IsControl(char32_t cp) { return cp < 0x20 || (cp >= 0x7F && cp < 0xA0); }

}  // namespace

std::string OutputFailedMessage(int error) {
  std::string message = "tovani: cannot write the output";
  if (error != 0) message += std::string(": ") + std::strerror(error);
  return message + "\n";
}

std::string Output::Cp936ToUtf8Text(std::string_view gbk) { return Cp936ToUtf8(gbk); }

void Output::ShowTraditional(const std::vector<std::string>& kept) {
  traditional_ = true;
  kept_.clear();
  for (const std::string& k : kept) kept_.push_back(Utf8ToCp936(k));
}

std::string Output::Shown(std::string_view utf8) const {
  if (!traditional_) return std::string(utf8);
  // Each run of characters that code page 936 holds is converted; the others
  // (and bytes that are no UTF-8) stay as they are.
  std::string out, run;
  const auto flush = [&] {
    if (!run.empty()) out += Cp936ToUtf8(ToTraditional(Utf8ToCp936(run), kept_));
    run.clear();
  };
  for (std::size_t i = 0; i < utf8.size();) {
    const Utf8Char c = DecodeUtf8(utf8.substr(i));
    const std::size_t n = c.length == 0 ? 1 : c.length;
    const std::string_view one = utf8.substr(i, n);
    if (c.length != 0 && (c.code == U'?' || Utf8ToCp936(one) != "?")) {
      run += one;
    } else {
      flush();
      out += one;
    }
    i += n;
  }
  flush();
  return out;
}

void Output::Utf8Line(std::string_view utf8) {
  errno = 0;
  out_ << Shown(utf8) << '\n';
  if (!out_) throw OutputFailed{errno};
}

int Output::Fail(std::string_view gbk) {
  // Arguments reach messages through Quoted; a control character that came
  // some other way is escaped here, so the message stays one line.
  std::string message;
  for (char c : Shown(Cp936ToUtf8(gbk))) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      message += EscapedControl(static_cast<unsigned char>(c));
    } else {
      message += c;
    }
  }
  err_ << "tovani: " << message << '\n';
  return kBadInput;
}

std::string Quoted(std::string_view s) {
  std::string out = "'";
  while (!s.empty()) {
    const auto [cp, length] = DecodeUtf8(s);
    if (length == 0) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02x", static_cast<unsigned char>(s[0]));
      out += buf;
      s.remove_prefix(1);
      continue;
    }
    if (IsControl(cp)) {
      out += EscapedControl(cp);
    } else if (cp == '\\') {
      out += "\\\\";
    } else if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else {
      const std::string gbk = Utf8ToCp936(s.substr(0, length));
      if (gbk == "?") {
        char buf[16];
        std::snprintf(buf, sizeof buf, "\\u{%x}", static_cast<unsigned>(cp));
        out += buf;
      } else {
        out += gbk;
      }
    }
    s.remove_prefix(length);
  }
  return out + "'";
}

std::string IsoText(const CivilDate& d) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%d-%02d-%02d", d.year, d.month, d.day);
  return buf;
}

std::string DateLine(const CivilDate& d) { return IsoText(d) + "\t" + DateText(DateToDayNumber(d)); }

std::string ClockPart(const std::string& dateTimeText) {
  return dateTimeText.size() == 21 ? dateTimeText.substr(13) : std::string();
}

std::size_t DisplayColumns(std::string_view utf8) {
  // The wide characters (East Asian Width W or F) of the scripts a calendar
  // shows: Hangul Jamo, CJK symbols and punctuation, kana, CJK ideographs,
  // Yi, Hangul, compatibility ideographs and forms, full-width forms.
  static constexpr std::pair<char32_t, char32_t> kWide[] = {
      {0x1100, 0x115F}, {0x2E80, 0x303E}, {0x3041, 0x33FF}, {0x3400, 0x4DBF}, {0x4E00, 0x9FFF},
      {0xA000, 0xA4CF}, {0xAC00, 0xD7A3}, {0xF900, 0xFAFF}, {0xFE30, 0xFE4F}, {0xFF00, 0xFF60},
      {0xFFE0, 0xFFE6}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
  };
  std::size_t columns = 0;
  while (!utf8.empty()) {
    const auto [cp, length] = DecodeUtf8(utf8);
    const bool wide = std::any_of(std::begin(kWide), std::end(kWide),
                                  [cp = cp](const auto& r) { return cp >= r.first && cp <= r.second; });
    columns += wide ? 2 : 1;
    utf8.remove_prefix(std::max<std::size_t>(length, 1));
  }
  return columns;
}

std::string PadColumns(std::string utf8, std::size_t width) {
  const std::size_t columns = DisplayColumns(utf8);
  if (columns < width) utf8.append(width - columns, ' ');
  return utf8;
}

std::string JsonString(std::string_view gbk) {
  std::string out = "\"";
  for (char c : Cp936ToUtf8(gbk)) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace tovani::cli
