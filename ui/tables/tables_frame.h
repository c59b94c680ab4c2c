// The tables window's frame: class, size, control ids and places (at 96 DPI).
#pragma once

#include "ui/common/control_place.h"

namespace tovani::tables {

inline constexpr const char* kClassName = "TOVANI_TFORM";
inline constexpr int kWindowWidth = 398, kWindowHeight = 328;

// Ids start at 100: Enter and Esc arrive as IDOK (1) and IDCANCEL (2).
enum Control : int {
  kYearLabel = 100,
  kYearField,
  kBeforeEra,
  kCompute,
  kCancel,
  kCityList,
  kPreviousYear,
  kNextYear,
  kSunriseSunset,
  kDawnDusk,
  kResult,
};


// In reading order, which is the Tab order (page 4's list and radio buttons
// exist on page 4 only).
inline constexpr ControlPlace kPlaces[] = {
    {kYearLabel, 38, 17, 54, 16},      {kYearField, 94, 15, 66, 18},     {kBeforeEra, 164, 17, 64, 16},
    {kCompute, 238, 12, 54, 24},       {kCancel, 300, 12, 54, 24},       {kCityList, 12, 47, 100, 20},
    {kPreviousYear, 118, 48, 72, 18},  {kNextYear, 202, 48, 72, 18},     {kSunriseSunset, 280, 40, 100, 16},
    {kDawnDusk, 280, 58, 100, 16},     {kResult, 12, 78, 368, 204},
};

// The height of the city list when it drops down.
inline constexpr int kCityListDropHeight = 240;
// Fonts (宋体) by pixel height: the controls, and the result box at most (less
// where a table's lines would not fit its width).
inline constexpr int kControlFontPx = 12, kResultFontPx = 14;

}  // namespace tovani::tables
