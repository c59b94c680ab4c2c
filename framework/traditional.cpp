#include "framework/traditional.h"

#include <algorithm>
#include <iterator>

#include "framework/codepage.h"

namespace tovani {
namespace {

constexpr TraditionalPair kTable[] = {
#include "framework/traditional_table.inc"
};

constexpr std::size_t LongestKey() {
  std::size_t n = 0;
  for (const TraditionalPair& p : kTable) n = std::max(n, p.simplified.size());
  return n;
}
constexpr std::size_t kLongest = LongestKey();

const TraditionalPair* Find(std::u16string_view key) {
  const auto it = std::lower_bound(std::begin(kTable), std::end(kTable), key,
                                   [](const TraditionalPair& p, std::u16string_view k) { return p.simplified < k; });
  return it != std::end(kTable) && it->simplified == key ? it : nullptr;
}

void Convert(std::u16string_view text, std::u16string& out) {
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t n = std::min(kLongest, text.size() - i);
    const TraditionalPair* found = nullptr;
    for (; n >= 1 && (found = Find(text.substr(i, n))) == nullptr; --n) {
    }
    if (found != nullptr) {
      out += found->traditional;
      i += n;
    } else {
      out += text[i++];
    }
  }
}

}  // namespace

const std::vector<TraditionalPair>& TraditionalTable() {
  static const std::vector<TraditionalPair> table(std::begin(kTable), std::end(kTable));
  return table;
}

std::string ToTraditional(std::string_view text) { return ToTraditional(text, {}); }

std::string ToTraditional(std::string_view text, const std::vector<std::string>& kept) {
  const std::u16string wide = Cp936ToUtf16(text);
  // The places of the kept texts, the longest first where they overlap.
  std::vector<bool> keep(wide.size(), false);
  std::vector<std::u16string> keptWide;
  for (const std::string& k : kept) {
    if (!k.empty()) keptWide.push_back(Cp936ToUtf16(k));
  }
  std::sort(keptWide.begin(), keptWide.end(), [](const auto& a, const auto& b) { return a.size() > b.size(); });
  for (const std::u16string& k : keptWide) {
    for (std::size_t at = wide.find(k); at != std::u16string::npos; at = wide.find(k, at + k.size())) {
      const auto first = keep.begin() + static_cast<std::ptrdiff_t>(at);
      std::fill(first, first + static_cast<std::ptrdiff_t>(k.size()), true);
    }
  }
  std::u16string out;
  out.reserve(wide.size());
  std::size_t i = 0;
  while (i < wide.size()) {
    std::size_t end = i;
    while (end < wide.size() && keep[end] == keep[i]) ++end;
    const std::u16string_view part(wide.data() + i, end - i);
    if (keep[i]) {
      out += part;
    } else {
      Convert(part, out);
    }
    i = end;
  }
  return Utf16ToCp936(out);
}

}  // namespace tovani
