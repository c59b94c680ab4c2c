// Start-up and shutdown of the application, without the Win32 parts: where
// the program lies, the settings, the ranges, today in three calendars; and
// what closing the last window does to the stored settings.
#pragma once

#include <string>

#include "app/app_state.h"
#include "app/platform.h"
#include "app/registry.h"

namespace tovani {

// Splits the module path at the last ":", "/" or "\": the folder keeps the
// separator; with none the folder is "" and the name the whole path.
void SetProgramLocation(AppState& state, const std::string& modulePath);

// The settings, the fixed state and ranges, the calendar mode of the engine,
// and today with the bounds of the range in three calendars.
void StartUp(AppState& state, RegistryStore& registry, Platform& platform);

// The settings read again while the program runs (after records and settings
// were imported): every setting the user chooses takes its stored value; the
// window shown, its place, transparency, layer and move lock and the
// displayed date stay as they are.
void ReloadSettings(AppState& state, RegistryStore& registry, Platform& platform);

// The lunar and Hijri fields of the displayed date from its Gregorian one.
void SetDisplayedDate(AppState& state, const CivilDate& gregorian);
// After the calendar mode changed: the lunar ends of the ranges and the lunar
// part of the displayed date.
void RecomputeLunarBounds(AppState& state);

// The switch commands between the two calendar windows: they set the state
// for the other window (the caller then closes the current one).  Each acts
// only while the other window is the current one; false otherwise.
bool SwitchToDayWindow(AppState& state);
bool SwitchToMonthWindow(AppState& state);

// The main window closed at left, top: the position is kept for the other
// window and, unless the close only switches windows, the settings are saved
// or removed.  False when the settings were to be saved and a write was
// refused.
bool ShutDown(AppState& state, RegistryStore& registry, int left, int top);

}  // namespace tovani
