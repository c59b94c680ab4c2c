#include "app/ics_writer.h"

#include <cstdio>
#include <utility>

namespace tovani {
namespace {

// RFC 5545: a line holds at most 75 octets, not counting its line break.
constexpr std::size_t kLineOctets = 75;
// Day number of 1970-01-01.
constexpr std::int64_t kUnixEpochDay = 2440588;

struct Ymd {
  std::int64_t year;
  int month, day;
};

// The proleptic Gregorian date of a day number (any day number >= 0).
Ymd GregorianOf(std::int64_t jdn) {
  const std::int64_t a = jdn + 32044;
  const std::int64_t b = (4 * a + 3) / 146097;
  const std::int64_t c = a - 146097 * b / 4;
  const std::int64_t d = (4 * c + 3) / 1461;
  const std::int64_t e = c - 1461 * d / 4;
  const std::int64_t m = (5 * e + 2) / 153;
  return {100 * b + d - 4800 + m / 10, static_cast<int>(m + 3 - 12 * (m / 10)),
          static_cast<int>(e - (153 * m + 2) / 5 + 1)};
}

std::string Digits(const Ymd& g) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d", static_cast<int>(g.year), g.month, g.day);
  return buf;
}

// 64-bit FNV-1a: small, fixed for all time, the same on every platform.
std::uint64_t Fnv1a(std::string_view s, std::uint64_t h = 14695981039346656037ull) {
  for (unsigned char c : s) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

}  // namespace

std::string IcsDate(DayNumber day) {
  if (day < kFirstIcsDay || day > kLastIcsDay) return {};
  return Digits(GregorianOf(day));
}

std::string IcsUtcStamp(std::int64_t unixSeconds) {
  // Years 1..9999: day numbers 1721426..5373484.
  constexpr std::int64_t kFirst = (1721426 - kUnixEpochDay) * 86400, kLast = (5373485 - kUnixEpochDay) * 86400 - 1;
  if (unixSeconds < kFirst || unixSeconds > kLast) return {};
  const std::int64_t days = (unixSeconds - kFirst) / 86400 + (1721426 - kUnixEpochDay);
  const std::int64_t second = unixSeconds - days * 86400;
  char buf[32];
  std::snprintf(buf, sizeof buf, "T%02d%02d%02dZ", static_cast<int>(second / 3600), static_cast<int>(second / 60 % 60),
                static_cast<int>(second % 60));
  return Digits(GregorianOf(days + kUnixEpochDay)) + buf;
}

std::string IcsText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    switch (c) {
      case '\\':
      case ';':
      case ',':
        out += '\\';
        out += c;
        break;
      case '\r':
        if (i + 1 < utf8.size() && utf8[i + 1] == '\n') break;  // CRLF is one line break
        out += "\\n";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        // A TEXT value holds no control characters but the tab.
        if ((static_cast<unsigned char>(c) >= 0x20 && c != 0x7f) || c == '\t') out += c;
    }
  }
  return out;
}

std::string FoldIcsLine(std::string_view line) {
  std::string out;
  out.reserve(line.size() + line.size() / 32 + 2);
  std::size_t limit = kLineOctets;
  while (line.size() > limit) {
    // Cut before a character's first byte, never inside its sequence.
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
    if (cut == 0) cut = limit;  // not UTF-8: no character to keep whole
    out.append(line.substr(0, cut));
    out += "\r\n ";
    line.remove_prefix(cut);
    limit = kLineOctets - 1;  // the leading blank counts
  }
  out.append(line);
  out += "\r\n";
  return out;
}

std::string IcsUid(std::string_view kind, DayNumber day, std::string_view summary) {
  const std::string date = IcsDate(day);
  std::uint64_t h = Fnv1a(kind);
  h = Fnv1a(std::string_view("\0", 1), h);
  h = Fnv1a(date, h);
  h = Fnv1a(std::string_view("\0", 1), h);
  h = Fnv1a(summary, h);
  char buf[24];
  std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(h));
  return date + "-" + std::string(kind) + "-" + buf + "@tovani";
}

bool IsUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    std::uint32_t cp = 0, min = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      n = 1, cp = c & 0x1F, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      n = 2, cp = c & 0x0F, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      n = 3, cp = c & 0x07, min = 0x10000;
    } else {
      return false;
    }
    if (i + n >= s.size()) return false;
    for (std::size_t k = 1; k <= n; ++k) {
      const auto t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = cp << 6 | (t & 0x3F);
    }
    // No overlong forms, surrogates or code points past U+10FFFF.
    if (cp < min || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return false;
    i += n + 1;
  }
  return true;
}

IcsWriter::IcsWriter(std::ostream& out, std::string stamp) : out_(out), stamp_(std::move(stamp)) {
  Property("BEGIN:VCALENDAR");
  Property("VERSION:2.0");
  Property("PRODID:-//Tovani//Tovani 4.1//ZH");
  Property("CALSCALE:GREGORIAN");
  Property("METHOD:PUBLISH");
}

bool IcsWriter::Add(const AllDayEvent& e) {
  const std::string start = IcsDate(e.day);
  if (start.empty()) return false;
  std::string uid = IcsUid(e.kind, e.day, e.summary);
  if (!uids_.insert(uid).second) return false;
  Property("BEGIN:VEVENT");
  Property("UID:" + uid);
  Property("DTSTAMP:" + stamp_);
  Property("DTSTART;VALUE=DATE:" + start);
  Property("DTEND;VALUE=DATE:" + Digits(GregorianOf(static_cast<std::int64_t>(e.day) + 1)));
  Property("SUMMARY:" + IcsText(e.summary));
  if (!e.description.empty()) Property("DESCRIPTION:" + IcsText(e.description));
  if (!e.category.empty()) Property("CATEGORIES:" + IcsText(e.category));
  // All-day notes, not appointments: they leave the time free.
  Property("TRANSP:TRANSPARENT");
  Property("END:VEVENT");
  return true;
}

void IcsWriter::Finish() { Property("END:VCALENDAR"); }

void IcsWriter::Property(std::string_view line) { out_ << FoldIcsLine(line); }

}  // namespace tovani
