#include "app/win32/platform_win32.h"

#include <windows.h>

#include "framework/win32/clock.h"
#include "framework/win32/wide.h"
#include "framework/win32/gdi.h"

namespace tovani {

// The right and bottom edges of all monitors together: a window kept on a
// second monitor keeps its place.
int Win32Platform::ScreenWidth() {
  return GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN);
}
int Win32Platform::ScreenHeight() {
  return GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN);
}

bool Win32Platform::IsExistingFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32Platform::LoadsAsBitmap(const std::string& path) {
  const win32::Bitmap bitmap(
      static_cast<HBITMAP>(LoadImageW(nullptr, Wide(path).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
  return static_cast<bool>(bitmap);
}

CivilDate Win32Platform::Today() {
  const SYSTEMTIME now = win32::LocalNow();
  return {now.wYear, now.wMonth, now.wDay};
}

DateChange Win32Platform::SetComputerDate(const CivilDate& date) {
  if (date.year < 1601 || date.year > 30827 || !IsValidDate(date.year, date.month, date.day)) {
    return DateChange::kRefused;
  }
  SYSTEMTIME now{};
  GetLocalTime(&now);
  now.wYear = static_cast<WORD>(date.year);
  now.wMonth = static_cast<WORD>(date.month);
  now.wDay = static_cast<WORD>(date.day);
  now.wDayOfWeek = 0;  // ignored
  if (!SetLocalTime(&now)) {
    const DWORD error = GetLastError();
    return error == ERROR_PRIVILEGE_NOT_HELD || error == ERROR_ACCESS_DENIED ? DateChange::kNotAllowed
                                                                            : DateChange::kRefused;
  }
  // The first call converted with the daylight-saving rule of the old date;
  // the second one uses that of the new date.
  SetLocalTime(&now);
  return DateChange::kDone;
}

std::string ModulePath() {
  wchar_t path[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return Narrow(std::wstring(path, n));
}

}  // namespace tovani
