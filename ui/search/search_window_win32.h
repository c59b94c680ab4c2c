// The search window (Win32 view over its model).
#pragma once

#include <windows.h>

#include "ui/base/main_window_win32.h"

namespace tovani::search {

// Opens the window on a page (1 months, 2 days, by the menu command) modally,
// owned by the main window, and returns when it has closed.
void OpenSearchWindow(ProgramContext& program, HWND owner, int page);

// The controls' ids (tests find the controls by them).
enum SearchControl : int {
  kStartLabelId = 100,
  kStartId,
  kBeforeEraId,
  kRangeLabelId,
  kRangeId,
  kLeapRadioId,  // page 1: "农历闰月", then its month field, then the three runs
  kMonthId,
  kThreeBigRadioId,
  kThreeSmallRadioId,
  kFourBigRadioId,
  kListLabelBaseId = 120,  // page 2: + Condition
  kListBaseId = 140,       // page 2: + Condition
  kResultId = 160,
  kSearchButtonId,
  kCancelButtonId,
};

}  // namespace tovani::search
