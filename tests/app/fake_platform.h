// A platform for the tests: a fixed screen and date, and a set of files; a
// date set is recorded, and becomes today unless the change is refused.  And
// a registry that refuses writes, for the reports of a failed save.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "app/platform.h"
#include "app/registry.h"

namespace tovani {

class FakePlatform : public Platform {
 public:
  int ScreenWidth() override { return width; }
  int ScreenHeight() override { return height; }
  bool IsExistingFile(const std::string& path) override { return files.count(path) != 0; }
  bool LoadsAsBitmap(const std::string& path) override { return bitmaps.count(path) != 0; }
  CivilDate Today() override { return today; }
  DateChange SetComputerDate(const CivilDate& date) override {
    datesSet.push_back(date);
    if (dateChange == DateChange::kDone) today = date;
    return dateChange;
  }

  int width = 1024, height = 768;
  std::set<std::string> files, bitmaps;
  CivilDate today{2026, 12, 7};
  std::vector<CivilDate> datesSet;
  DateChange dateChange = DateChange::kDone;  // what a date change gives
};

// A memory store that refuses one write (counted from 1), or with
// refuseOnward every write from that one on, and takes the others.
class RefusingRegistry : public MemoryRegistry {
 public:
  bool Set(RegistryRoot root, const std::string& key, const std::string& name, const std::string& text) override {
    ++writes;
    if (refuse != 0 && (writes == refuse || (refuseOnward && writes > refuse))) return false;
    return MemoryRegistry::Set(root, key, name, text);
  }
  int writes = 0, refuse = 0;
  bool refuseOnward = false;
};

}  // namespace tovani
