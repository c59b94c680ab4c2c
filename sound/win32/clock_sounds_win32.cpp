#include "sound/win32/clock_sounds_win32.h"

#include <mmsystem.h>

#include <memory>
#include <string>
#include <utility>

#include "framework/win32/clock.h"
#include "framework/win32/wide.h"
#include "framework/win32/gdi.h"

namespace tovani::sound {
namespace {

class Win32Worker final : public WorkerHandle {
 public:
  explicit Win32Worker(HANDLE thread) : thread_(thread) {}

 private:
  win32::KernelHandle thread_;
};

DWORD WINAPI RunRoutine(LPVOID argument) {
  std::unique_ptr<std::function<void()>> routine(static_cast<std::function<void()>*>(argument));
  (*routine)();
  return 0;
}

}  // namespace

ClipPlayer ResourceClipPlayer(HMODULE module) {
  return [module](const char* clip) {
    const std::wstring name = Wide(clip);
    PlaySoundW(name.c_str(), module, SND_RESOURCE | SND_SYNC | SND_NODEFAULT);
  };
}

TimeOfDay LocalTimeOfDay() {
  const SYSTEMTIME now = win32::LocalNow();
  return TimeOfDay{now.wHour, now.wMinute, now.wSecond};
}

ThreadStarter Win32ThreadStarter() {
  return [](std::function<void()> routine) -> std::unique_ptr<WorkerHandle> {
    auto argument = std::make_unique<std::function<void()>>(std::move(routine));
    HANDLE thread = CreateThread(nullptr, 0, RunRoutine, argument.get(), 0, nullptr);
    if (thread == nullptr) return nullptr;
    argument.release();  // the thread owns it now
    return std::make_unique<Win32Worker>(thread);
  };
}

ClockSounds& ProgramClockSounds() {
  static ClockSounds sounds(LocalTimeOfDay, ResourceClipPlayer(GetModuleHandleW(nullptr)), Win32ThreadStarter());
  return sounds;
}

void StartClockTimers(HWND window, bool hourlyAnnouncement, const Alarms& alarms) {
  if (hourlyAnnouncement) SetTimer(window, kHourlyCheckTimerId, kClockCheckPeriodMs, nullptr);
  if (AnyAlarmArmed(alarms)) SetTimer(window, kAlarmCheckTimerId, kClockCheckPeriodMs, nullptr);
}

void SetHourlyAnnouncement(HWND window, bool on) {
  if (on) {
    SetTimer(window, kHourlyCheckTimerId, kClockCheckPeriodMs, nullptr);
  } else {
    KillTimer(window, kHourlyCheckTimerId);
  }
}

void RestartAlarmTimer(HWND window, const Alarms& alarms) {
  if (AnyAlarmArmed(alarms)) {
    SetTimer(window, kAlarmCheckTimerId, kClockCheckPeriodMs, nullptr);
  } else {
    KillTimer(window, kAlarmCheckTimerId);
  }
}

bool OnClockTimer(UINT_PTR timerId, const Alarms& alarms, const HourlyRule& hourly, bool workingDay) {
  switch (timerId) {
    case kHourlyCheckTimerId:
      ProgramClockSounds().HourlyCheck(hourly, workingDay);
      return true;
    case kAlarmCheckTimerId:
      ProgramClockSounds().AlarmCheck(AlarmsOfDay(alarms, workingDay));
      return true;
    default:
      return false;
  }
}

}  // namespace tovani::sound
