#include "framework/win32/clock.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace tovani::win32 {
namespace {

// When TOVANI_CLOCK moves the clock: the moment it starts at (local time),
// the computer's UTC time then (so that neither a change of time zone nor of
// daylight-saving time moves the program's clock), both in 100-nanosecond
// units, and how many times as fast as the computer's it runs; written once
// at the start and read from any thread.
std::atomic<bool> moved{false};
std::atomic<long long> startsAt{0};
std::atomic<long long> startedAt{0};
std::atomic<long long> rate{1};

long long UtcTicks() {
  FILETIME f{};
  GetSystemTimeAsFileTime(&f);
  return static_cast<long long>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime);
}

long long Ticks(const SYSTEMTIME& t) {
  FILETIME f{};
  if (!SystemTimeToFileTime(&t, &f)) return 0;
  return static_cast<long long>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime);
}

bool FromTicks(long long ticks, SYSTEMTIME& t) {
  const auto u = static_cast<unsigned long long>(ticks);
  const FILETIME f{static_cast<DWORD>(u & 0xFFFFFFFFu), static_cast<DWORD>(u >> 32)};
  return FileTimeToSystemTime(&f, &t) != FALSE;
}

}  // namespace

std::optional<ClockSetting> ReadClockSetting(const wchar_t* text) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  const int read = swscanf(text, L"%4d-%2d-%2d %2d:%2d:%2d", &year, &month, &day, &hour, &minute, &second);
  if (read < 5) return std::nullopt;
  ClockSetting setting;
  // " x60" after the moment: the clock runs sixty times as fast (many days
  // of timers in minutes); at most a day a second.
  if (const wchar_t* x = wcsstr(text, L" x")) setting.rate = _wtoi(x + 2);
  if (setting.rate < 1 || setting.rate > 86400) setting.rate = 1;
  setting.moment.wYear = static_cast<WORD>(year);
  setting.moment.wMonth = static_cast<WORD>(month);
  setting.moment.wDay = static_cast<WORD>(day);
  setting.moment.wHour = static_cast<WORD>(hour);
  setting.moment.wMinute = static_cast<WORD>(minute);
  setting.moment.wSecond = static_cast<WORD>(second);
  // A moment the system takes and gives back unchanged (some systems carry
  // 29 February 2025 over into March instead of refusing it).
  const long long ticks = Ticks(setting.moment);
  SYSTEMTIME back{};
  if (ticks == 0 || !FromTicks(ticks, back) || back.wYear != year || back.wMonth != month || back.wDay != day ||
      back.wHour != hour || back.wMinute != minute || back.wSecond != second) {
    return std::nullopt;
  }
  return setting;
}

void StartProgramClock() {
  wchar_t text[64] = {};
  const DWORD n = GetEnvironmentVariableW(L"TOVANI_CLOCK", text, 64);
  if (n == 0 || n >= 64) return;
  const std::optional<ClockSetting> setting = ReadClockSetting(text);
  if (!setting) return;
  startsAt = Ticks(setting->moment);
  startedAt = UtcTicks();
  rate = setting->rate;
  moved = true;
}

SYSTEMTIME LocalNow() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  if (!moved.load()) return now;
  SYSTEMTIME shown{};
  return FromTicks(startsAt.load() + (UtcTicks() - startedAt.load()) * rate.load(), shown) ? shown : now;
}

}  // namespace tovani::win32
