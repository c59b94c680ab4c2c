// The screen, files and date of the running Windows.
#pragma once

#include "app/platform.h"

namespace tovani {

class Win32Platform : public Platform {
 public:
  int ScreenWidth() override;
  int ScreenHeight() override;
  bool IsExistingFile(const std::string& path) override;
  bool LoadsAsBitmap(const std::string& path) override;
  CivilDate Today() override;
  DateChange SetComputerDate(const CivilDate& date) override;
};

// The path of the running program, in program text.
std::string ModulePath();

}  // namespace tovani
