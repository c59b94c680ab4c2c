// A platform for the tests: a fixed screen and date, and a set of files.
#pragma once

#include <set>
#include <string>

#include "app/platform.h"

namespace tovani {

class FakePlatform : public Platform {
 public:
  int ScreenWidth() override { return width; }
  int ScreenHeight() override { return height; }
  bool IsExistingFile(const std::string& path) override { return files.count(path) != 0; }
  bool LoadsAsBitmap(const std::string& path) override { return bitmaps.count(path) != 0; }
  CivilDate Today() override { return today; }

  int width = 1024, height = 768;
  std::set<std::string> files, bitmaps;
  CivilDate today{2026, 12, 7};
};

}  // namespace tovani
