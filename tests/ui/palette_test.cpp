#include "ui/common/palette.h"

#include <gtest/gtest.h>

namespace tovani {
namespace {

using R = ColourRole;

// Light-mode users see the colours the windows always had.
TEST(Palette, LightIsTheWindowsOwnColours) {
  struct Case {
    R role;
    std::uint32_t light;
  };
  constexpr std::uint32_t kSystem = 0xFFFFFFFF;  // the system's colour
  const Case cases[] = {
      {R::kStamp, 0x0099E3},         {R::kField, 0xF0FFFF},          {R::kGregorianText, 0x0000FF},
      {R::kLunarText, 0xFF00FF},     {R::kRedText, 0xFF0000},        {R::kBalloonText, 0x008080},
      {R::kHeaderBack, 0xF8F9C8},    {R::kListBack, 0xC0FFFF},       {R::kSelectedBack, 0xFFDFFF},
      {R::kSelectedFrame, 0xFFDFFF}, {R::kWeekText, 0x080000},       {R::kDayOffMark, 0x007000},
      {R::kWorkDayMark, 0xA05000},   {R::kDayTemperature, 0xB00000}, {R::kNightTemperature, 0x0000B0},
      {R::kBox, 0xFFFFFF},           {R::kBoxText, 0x000000},        {R::kFace, kSystem},
      {R::kFaceText, kSystem},             {R::kWindow, kSystem},                {R::kWindowText, kSystem},
      {R::kMenu, kSystem},                 {R::kMenuText, kSystem},              {R::kMenuHighlight, kSystem},
      {R::kMenuHighlightText, kSystem},    {R::kMenuGrayText, kSystem},
  };
  ASSERT_EQ(std::size(cases), static_cast<std::size_t>(R::kCount));
  UseDarkPalette(false);
  for (const Case& c : cases) {
    const RoleColours& colours = ColoursOf(c.role);
    EXPECT_EQ(colours.role, c.role);
    if (c.light == kSystem) {
      EXPECT_NE(colours.system, SystemColour::kNone) << static_cast<int>(c.role);
    } else {
      EXPECT_EQ(colours.system, SystemColour::kNone) << static_cast<int>(c.role);
      EXPECT_EQ(ColourValue(c.role), c.light) << static_cast<int>(c.role);
    }
  }
}

// In the dark palette every colour stays legible on what it is drawn on
// (WCAG AA): text 4.5:1, large text and edges that are not text 3:1.
TEST(Palette, DarkKeepsEveryRoleLegible) {
  constexpr double kText = 4.5, kLargeText = 3.0, kEdge = 3.0;
  struct Case {
    R fore, back;
    double least;
  };
  const Case cases[] = {
      // The day window: lists, text lines, balloon on their field; the
      // stamp's edge around the fields.
      {R::kGregorianText, R::kField, kText},
      {R::kLunarText, R::kField, kText},
      {R::kRedText, R::kField, kText},
      {R::kBalloonText, R::kField, kText},
      {R::kStamp, R::kField, kEdge},
      // The month window: headings, cells (plain and displayed), marks,
      // label (29 px), lists and boxes; the stamp around them; the displayed
      // day's frame against its own and the neighbouring cells.
      {R::kWeekText, R::kHeaderBack, kText},
      {R::kRedText, R::kHeaderBack, kText},
      {R::kGregorianText, R::kHeaderBack, kLargeText},
      {R::kWeekText, R::kField, kText},
      {R::kWeekText, R::kSelectedBack, kText},
      {R::kRedText, R::kSelectedBack, kText},
      {R::kDayOffMark, R::kField, kText},
      {R::kDayOffMark, R::kSelectedBack, kText},
      {R::kWorkDayMark, R::kField, kText},
      {R::kWorkDayMark, R::kSelectedBack, kText},
      {R::kGregorianText, R::kListBack, kText},
      {R::kGregorianText, R::kSelectedBack, kText},
      {R::kStamp, R::kHeaderBack, kEdge},
      {R::kStamp, R::kListBack, kEdge},
      {R::kStamp, R::kSelectedBack, kEdge},
      {R::kSelectedFrame, R::kSelectedBack, kEdge},
      {R::kSelectedFrame, R::kField, kEdge},
      // The tool windows: labels and coloured labels on the face, boxes.
      {R::kFaceText, R::kFace, kText},
      {R::kGregorianText, R::kFace, kText},
      {R::kLunarText, R::kFace, kText},
      {R::kRedText, R::kFace, kText},
      {R::kBoxText, R::kBox, kText},
      {R::kGregorianText, R::kBox, kText},
      {R::kLunarText, R::kBox, kText},
      {R::kDayTemperature, R::kBox, kText},
      {R::kNightTemperature, R::kBox, kText},
      {R::kWindowText, R::kWindow, kText},
      // The menu; a greyed item is not text to read but must still show.
      {R::kMenuText, R::kMenu, kText},
      {R::kMenuHighlightText, R::kMenuHighlight, kText},
      {R::kMenuGrayText, R::kMenu, kEdge},
  };
  UseDarkPalette(true);
  for (const Case& c : cases) {
    const double ratio = ContrastRatio(ColourValue(c.fore), ColourValue(c.back));
    EXPECT_GE(ratio, c.least) << static_cast<int>(c.fore) << " on " << static_cast<int>(c.back);
  }
  UseDarkPalette(false);
}

// The ratio itself, at the ends and at WCAG's own examples.
TEST(Palette, ContrastRatio) {
  struct Case {
    std::uint32_t a, b;
    double ratio;
  };
  const Case cases[] = {{0x000000, 0xFFFFFF, 21.0}, {0xFFFFFF, 0xFFFFFF, 1.0}, {0x777777, 0xFFFFFF, 4.48},
                        {0x0000FF, 0xFFFFFF, 8.59}, {0xFF0000, 0xFFFFFF, 4.0}};
  for (const Case& c : cases) {
    EXPECT_NEAR(ContrastRatio(c.a, c.b), c.ratio, 0.01) << std::hex << c.a;
    EXPECT_NEAR(ContrastRatio(c.b, c.a), c.ratio, 0.01) << std::hex << c.a;
  }
}

}  // namespace
}  // namespace tovani
