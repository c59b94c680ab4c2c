// The program's own window messages, timer ids and hot-key ids, in one place:
// each window's must differ from one another (the checks below), and a new
// one is added here.
#pragma once

#include <windows.h>

#include "framework/win32/shown.h"
#include "sound/win32/audio_player_win32.h"
#include "sound/win32/clock_sounds_win32.h"

namespace tovani {

// ---- Messages (posted or sent to the program's own windows) ----

// A main window or the memorial editor: a drop-down list closed without a
// choice shows the displayed date again.
inline constexpr UINT kSettleLists = WM_APP + 1;
// The day window, shown again: the day's balloon comes back.
inline constexpr UINT kShowBalloonAgain = WM_APP + 2;
// The calculator: the first field takes the focus; the controls are placed
// again for a page.
inline constexpr UINT kFocusFirstField = WM_APP + 3;
inline constexpr UINT kRelayout = WM_APP + 4;
// The search window: the worker has news (a progress text, or the end).
inline constexpr UINT kSearchNews = WM_APP + 0x53;
// The weather window: the download's worker left a view in its mailbox.
inline constexpr UINT kViewArrived = WM_APP + 0x57;
// The help window: the version check found a newer version.
inline constexpr UINT kVersionFound = WM_APP + 0x48;
// The weather window: the characters shown changed (win32::kShowTextsAgain).
static_assert(win32::kShowTextsAgain == WM_APP + 0x5A);
// The tray icon's notifications to a main window.
inline constexpr UINT kTrayMessage = WM_USER + 100;
inline constexpr UINT kTrayId = 1;

// ---- Timers ----

// A main window: the hourly and alarm checks (sound::kHourlyCheckTimerId,
// sound::kAlarmCheckTimerId), the fade of automatic transparency, the check
// for a new day, and the day window's balloon shown again after a move.
inline constexpr UINT_PTR kFadeTimerId = 0x5310;
inline constexpr UINT kFadeStepMs = 200;
inline constexpr UINT_PTR kTodayTimerId = 0x5320;
inline constexpr UINT_PTR kBalloonTimerId = 0x5330;
// The memorial editor: its sound player's poll (sound::EditorPlayerControls::kPollTimerId).

// ---- Hot keys of a main window ----

inline constexpr int kHotKeyShow = 45057, kHotKeyWeather = 45058, kHotKeySpeak = 45059, kHotKeyClose = 45060;

// ---- Each window's own are distinct ----

namespace messages_detail {
template <class T, std::size_t N>
constexpr bool AllDistinct(const T (&values)[N]) {
  for (std::size_t i = 0; i < N; ++i) {
    for (std::size_t j = i + 1; j < N; ++j) {
      if (values[i] == values[j]) return false;
    }
  }
  return true;
}
constexpr UINT kMainWindowMessages[] = {kSettleLists, kShowBalloonAgain, kTrayMessage, win32::kShowTextsAgain};
constexpr UINT kToolWindowMessages[] = {kSettleLists, kFocusFirstField, kRelayout, kSearchNews,
                                        kViewArrived, kVersionFound,    win32::kShowTextsAgain};
constexpr UINT_PTR kMainWindowTimers[] = {sound::kHourlyCheckTimerId, sound::kAlarmCheckTimerId, kFadeTimerId,
                                          kTodayTimerId, kBalloonTimerId};
static_assert(AllDistinct(kMainWindowMessages) && AllDistinct(kToolWindowMessages) && AllDistinct(kMainWindowTimers));
static_assert(sound::EditorPlayerControls::kPollTimerId != 0);
}  // namespace messages_detail

}  // namespace tovani
