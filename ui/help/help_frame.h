// The help window's frame: class, caption, size, control ids and places (at
// 96 DPI).
#pragma once

#include "ui/common/control_place.h"

#include "ui/help/help_model.h"

namespace tovani::help {

inline constexpr const char* kClassName = "TOVANI_HFORM";
inline constexpr const char* kCaption = "帮助";
inline constexpr int kWindowWidth = 446, kWindowHeight = 399;

// Ids start at 100: Enter and Esc arrive as IDOK (1) and IDCANCEL (2).  The
// tab labels are kFirstTab + page.
enum Control : int {
  kIntroduction = 100,
  kPageBox = 120,
  kOkButton,
  kCancelButton,
};
inline constexpr int kFirstTab = 110;


// In reading order, which is the Tab order.
inline constexpr ControlPlace kPlaces[] = {
    {kIntroduction, 12, 12, 416, 112},
    {kFirstTab + kFeatures, 12, 126, 104, 22},
    {kFirstTab + kNotes, 116, 126, 104, 22},
    {kFirstTab + kHotKeys, 220, 126, 104, 22},
    {kFirstTab + kAbout, 324, 126, 104, 22},
    {kPageBox, 12, 148, 416, 176},
    {kOkButton, 122, 334, 76, 24},
    {kCancelButton, 243, 334, 76, 24},
};

// Fonts (宋体) by pixel height: the introduction, the page box (its longest
// page fits without scrolling), and the labels and buttons.
inline constexpr int kIntroductionFontPx = 16, kPageFontPx = 14, kControlFontPx = 12;

}  // namespace tovani::help
