// Program text in traditional characters.
//
// A code page 936 text written in simplified characters becomes traditional:
// the longest phrase of the table first (谷雨 → 穀雨, where 谷 alone stays
// 谷), then character by character.  The table holds only characters that
// code page 936 can hold; the others stay simplified.  Texts the user wrote
// (record names, place names) are kept as they are: the program passes them
// as kept texts, and their places in the text are not converted.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tovani {

std::string ToTraditional(std::string_view text);
std::string ToTraditional(std::string_view text, const std::vector<std::string>& kept);

// The simplified and traditional texts of the table (for tests and tools).
struct TraditionalPair {
  std::u16string_view simplified, traditional;
};
const std::vector<TraditionalPair>& TraditionalTable();

}  // namespace tovani
