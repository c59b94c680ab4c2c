// What the application shell asks of the system besides the registry: the
// screen, files, and the computer's date.  The program answers with Win32;
// the tests answer for themselves.
#pragma once

#include <string>

#include "engine/dates.h"

namespace tovani {

// What became of a request to set the computer's date.
enum class DateChange {
  kDone,
  kNotAllowed,  // the user lacks the right (a standard user)
  kRefused,     // the system refused for another reason
};

class Platform {
 public:
  virtual ~Platform() = default;
  virtual int ScreenWidth() = 0;
  virtual int ScreenHeight() = 0;
  // The path names an existing file that is not a folder.
  virtual bool IsExistingFile(const std::string& path) = 0;
  // The file loads as a bitmap.
  virtual bool LoadsAsBitmap(const std::string& path) = 0;
  // The computer's date.
  virtual CivilDate Today() = 0;
  // Sets the computer's date (a valid Gregorian date), keeping the time of
  // day, or says why the system refused.
  virtual DateChange SetComputerDate(const CivilDate& date) = 0;
};

}  // namespace tovani
