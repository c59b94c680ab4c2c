// The speaking clock and the alarm clocks in the Win32 program: the clips are
// WAVE resources of the program, the clock is the local time, and every
// sequence plays on a thread of its own.  The main windows call these from
// their timers, their menu and their hot key, on the window thread.
#pragma once

#include <windows.h>

#include "sound/clock_sounds.h"

namespace tovani::sound {

// Timer identities of the two 500 ms checks on a main window.
inline constexpr UINT_PTR kHourlyCheckTimerId = 0x5301;
inline constexpr UINT_PTR kAlarmCheckTimerId = 0x5302;

// The program's players (one pair for the process, shared by both main windows).
ClockSounds& ProgramClockSounds();

// On creation of the day or month window: the hourly check while the hourly
// announcement is on, the alarm check while any alarm is armed.
void StartClockTimers(HWND window, bool hourlyAnnouncement, const Alarms& alarms);
// "整点自动报时(&W)": starts or stops the hourly check of the window.  The
// caller flips and keeps WholeAutoReportTimeFlag and passes its new value.
void SetHourlyAnnouncement(HWND window, bool on);
// After the alarm editor has stored new alarms: the alarm check runs while
// any alarm is armed.
void RestartAlarmTimer(HWND window, const Alarms& alarms);
// WM_TIMER of a main window: runs the check of the timer and returns true,
// or returns false for a timer that is not one of the two.  The alarms ring
// and the hour is said by the rules of the day (workingDay: today is an
// official working day).
bool OnClockTimer(UINT_PTR timerId, const Alarms& alarms, const HourlyRule& hourly, bool workingDay);

// The pieces, for tests and for players of other modules.
// PlaySoundW of a WAVE resource of the module, to its end; a missing clip or
// a missing sound device plays nothing (no default sound).
ClipPlayer ResourceClipPlayer(HMODULE module);
// The local time of day (GetLocalTime).
TimeOfDay LocalTimeOfDay();
// Starts each routine with CreateThread; the handle is closed when released.
ThreadStarter Win32ThreadStarter();

}  // namespace tovani::sound
