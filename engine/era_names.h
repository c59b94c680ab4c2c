// Chinese imperial era names (年号), 140 BC to AD 1911.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tovani {

struct EraRow {
  std::int32_t first, last;  // astronomical years
  std::int32_t countBase;    // the year that is era year 1
  const char* name;          // dynasty and era, four characters
};

// The 330 rows, ascending and contiguous from -139 to 1911.
std::span<const EraRow> EraTable();

// "西汉建元01" for -139 .. "清代宣统03" for 1911; outside that span the year in
// Chinese numerals right-aligned to 10 bytes; empty outside -8999..9000.
std::string EraYearText(std::int32_t year);

}  // namespace tovani
