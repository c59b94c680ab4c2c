#include "ui/common/palette.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tovani {
namespace {

using R = ColourRole;
using S = SystemColour;

// Dark values: the light palette's hues on dark grounds, each text at least
// 4.5:1 against every ground it is drawn on, the stamp and the displayed
// day's frame at least 3:1 against the fields beside them.
constexpr std::array<RoleColours, static_cast<std::size_t>(R::kCount)> kPalette{{
    {R::kStamp, 0x0099E3, 0x2E86C1, S::kNone},
    {R::kField, 0xF0FFFF, 0x1A2226, S::kNone},
    {R::kGregorianText, 0x0000FF, 0x8CC4FF, S::kNone},
    {R::kLunarText, 0xFF00FF, 0xFF8CFF, S::kNone},
    {R::kRedText, 0xFF0000, 0xFF8080, S::kNone},
    {R::kBalloonText, 0x008080, 0x66D9D9, S::kNone},
    {R::kHeaderBack, 0xF8F9C8, 0x34321C, S::kNone},
    {R::kListBack, 0xC0FFFF, 0x143338, S::kNone},
    {R::kSelectedBack, 0xFFDFFF, 0x3C2342, S::kNone},
    // Light: the selected cell's own background, so no frame shows.
    {R::kSelectedFrame, 0xFFDFFF, 0xD77FD7, S::kNone},
    {R::kWeekText, 0x080000, 0xE8E8E8, S::kNone},
    {R::kDayOffMark, 0x007000, 0x7AD67A, S::kNone},
    {R::kWorkDayMark, 0xA05000, 0xE8A85C, S::kNone},
    {R::kDayTemperature, 0xB00000, 0xFF8F85, S::kNone},
    {R::kNightTemperature, 0x0000B0, 0x94BBFF, S::kNone},
    {R::kFace, 0xF0F0F0, 0x202020, S::kFace},
    {R::kFaceText, 0x000000, 0xE6E6E6, S::kFaceText},
    {R::kBox, 0xFFFFFF, 0x2B2B2B, S::kNone},
    {R::kBoxText, 0x000000, 0xEBEBEB, S::kNone},
    {R::kWindow, 0xFFFFFF, 0x2B2B2B, S::kWindow},
    {R::kWindowText, 0x000000, 0xEBEBEB, S::kWindowText},
    {R::kMenu, 0xF0F0F0, 0x2B2B2B, S::kMenu},
    {R::kMenuText, 0x000000, 0xEBEBEB, S::kMenuText},
    {R::kMenuHighlight, 0x0078D7, 0x3D5A80, S::kHighlight},
    {R::kMenuHighlightText, 0xFFFFFF, 0xFFFFFF, S::kHighlightText},
    {R::kMenuGrayText, 0x6D6D6D, 0x8C8C8C, S::kGrayText},
}};

bool dark = false;

double Linear(std::uint32_t channel) {
  const double c = static_cast<double>(channel & 0xFF) / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

const RoleColours& ColoursOf(ColourRole role) { return kPalette[static_cast<std::size_t>(role)]; }

void UseDarkPalette(bool on) { dark = on; }
bool DarkPaletteInUse() { return dark; }

std::uint32_t ColourValue(ColourRole role) {
  const RoleColours& c = ColoursOf(role);
  return dark ? c.dark : c.light;
}

double RelativeLuminance(std::uint32_t rgb) {
  return 0.2126 * Linear(rgb >> 16) + 0.7152 * Linear(rgb >> 8) + 0.0722 * Linear(rgb);
}

double ContrastRatio(std::uint32_t a, std::uint32_t b) {
  const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace tovani
