// The colours of the windows by what they mean (their roles), each with a
// light value (the windows' own colours) and a dark value (for when the
// system asks applications for a dark appearance).  Values are 0xRRGGBB.
#pragma once

#include <cstdint>

namespace tovani {

enum class ColourRole : int {
  // The calendar windows.
  kStamp,          // the day and month windows' background: the stamp around the fields
  kField,          // the day window's lists, text lines and balloon; the month's day cells
  kGregorianText,  // blue: the Gregorian and Hijri rows, text line 1, the month's label, lists and boxes
  kLunarText,      // magenta: the lunar row
  kRedText,        // red: text line 2, the weekend's headings and cells, warnings
  kBalloonText,    // the records balloon
  kHeaderBack,     // the weekday headings and the "公 历" label
  kListBack,       // the month window's year and month lists and its summary
  kSelectedBack,   // the displayed day's cell and the day details
  kSelectedFrame,  // the frame of the displayed day's cell
  kWeekText,       // the working days' headings and cells
  kDayOffMark,     // an official day off
  kWorkDayMark,    // a made-up working day
  kDayTemperature,
  kNightTemperature,
  // The tool windows and their standard controls.
  kFace,           // window and dialog background
  kFaceText,       // labels, check boxes, group boxes
  kBox,            // edit and list boxes, white in the light palette
  kBoxText,        // their text, black in the light palette
  kWindow,         // help and table boxes (the system's window colour)
  kWindowText,
  // The pop-up menu.
  kMenu,
  kMenuText,
  kMenuHighlight,
  kMenuHighlightText,
  kMenuGrayText,
  kCount
};

// The system colour a role takes in the light palette (its light value is
// then the classic default, for reference); kNone for the windows' own.
enum class SystemColour : int { kNone, kFace, kFaceText, kWindow, kWindowText, kMenu, kMenuText, kHighlight,
                                kHighlightText, kGrayText };

struct RoleColours {
  ColourRole role;
  std::uint32_t light, dark;
  SystemColour system;
};

// Every role, in the order of ColourRole.
const RoleColours& ColoursOf(ColourRole role);

// The palette in use: light unless the dark one was chosen.
void UseDarkPalette(bool dark);
bool DarkPaletteInUse();
// The value of the role in the palette in use; for a system role in the
// light palette, its classic default (the Win32 views ask the system).
std::uint32_t ColourValue(ColourRole role);

// WCAG 2 relative luminance and contrast ratio of two colours (1 to 21).
double RelativeLuminance(std::uint32_t rgb);
double ContrastRatio(std::uint32_t a, std::uint32_t b);

}  // namespace tovani
