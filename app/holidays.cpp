#include "app/holidays.h"

#include <utility>

namespace tovani {

RegistryHolidays ReadRegistryHolidays(RegistryStore& registry) {
  const std::string key = std::string(kSettingsKey) + "\\" + kHolidaysKey;
  std::vector<std::pair<std::string, std::string>> entries;
  for (const std::string& name : registry.ValueNames(RegistryRoot::kCurrentUser, key)) {
    entries.emplace_back(name, ReadRegistryText(registry, RegistryRoot::kCurrentUser, key, name));
  }
  RegistryHolidays result;
  result.skipped = result.calendar.Add(entries);
  return result;
}

std::string SkippedHolidayText(const HolidayLineError& e) {
  // A value may hold line breaks; the warning stays one line.  Bytes below
  // 0x20 are never part of a two-byte character.
  std::string text = e.text;
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  return "节假日补充（注册表 Holidays）有误，已略过：" + text;
}

}  // namespace tovani
