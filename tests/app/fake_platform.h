// A platform for the tests: a fixed screen and date, and a set of files; a
// date set is recorded, and becomes today unless the change is refused.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "app/platform.h"

namespace tovani {

class FakePlatform : public Platform {
 public:
  int ScreenWidth() override { return width; }
  int ScreenHeight() override { return height; }
  bool IsExistingFile(const std::string& path) override { return files.count(path) != 0; }
  bool LoadsAsBitmap(const std::string& path) override { return bitmaps.count(path) != 0; }
  CivilDate Today() override { return today; }
  bool SetComputerDate(const CivilDate& date) override {
    datesSet.push_back(date);
    if (refuseDateChange) return false;
    today = date;
    return true;
  }

  int width = 1024, height = 768;
  std::set<std::string> files, bitmaps;
  CivilDate today{2026, 12, 7};
  std::vector<CivilDate> datesSet;
  bool refuseDateChange = false;
};

}  // namespace tovani
