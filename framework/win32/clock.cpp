#include "framework/win32/clock.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace tovani::win32 {
namespace {

// 100-nanosecond units from the computer's local time to the program's at
// the start, the computer's local time then, and how many times as fast as
// the computer's the program's clock runs; written once at the start and
// read from any thread.
std::atomic<long long> offset{0};
std::atomic<long long> startedAt{0};
std::atomic<long long> rate{1};

long long Ticks(const SYSTEMTIME& t) {
  FILETIME f{};
  if (!SystemTimeToFileTime(&t, &f)) return 0;
  return static_cast<long long>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime);
}

}  // namespace

void StartProgramClock() {
  wchar_t text[64] = {};
  const DWORD n = GetEnvironmentVariableW(L"TOVANI_CLOCK", text, 64);
  if (n == 0 || n >= 64) return;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  const int read = swscanf(text, L"%4d-%2d-%2d %2d:%2d:%2d", &year, &month, &day, &hour, &minute, &second);
  if (read < 5) return;
  // " x60" after the moment: the clock runs sixty times as fast (many days
  // of timers in minutes); at most a day a second.
  long long times = 1;
  if (const wchar_t* x = wcsstr(text, L" x")) times = _wtoi(x + 2);
  if (times < 1 || times > 86400) times = 1;
  SYSTEMTIME wanted{};
  wanted.wYear = static_cast<WORD>(year);
  wanted.wMonth = static_cast<WORD>(month);
  wanted.wDay = static_cast<WORD>(day);
  wanted.wHour = static_cast<WORD>(hour);
  wanted.wMinute = static_cast<WORD>(minute);
  wanted.wSecond = static_cast<WORD>(second);
  const long long to = Ticks(wanted);
  if (to == 0) return;  // not a valid moment
  SYSTEMTIME now{};
  GetLocalTime(&now);
  startedAt = Ticks(now);
  rate = times;
  offset = to - Ticks(now);
}

SYSTEMTIME LocalNow() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const long long moved = offset.load(), times = rate.load();
  if (moved == 0 && times == 1) return now;
  const long long real = Ticks(now);
  const auto ticks = static_cast<unsigned long long>(real + moved + (real - startedAt.load()) * (times - 1));
  const FILETIME f{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME shown{};
  return FileTimeToSystemTime(&f, &shown) ? shown : now;
}

}  // namespace tovani::win32
