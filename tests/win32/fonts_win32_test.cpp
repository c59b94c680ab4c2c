// Fonts by name: the faces the windows ask for, and the fall-back for a face
// the machine lacks.
#include <gtest/gtest.h>

#include "framework/win32/fonts.h"

namespace tovani::win32 {
namespace {

TEST(Fonts, KnownFacesAndAFallBackForAMissingOne) {
  struct Case {
    const char* asked;
    const char* given;
  };
  const Case cases[] = {{"宋体", "宋体"}, {"楷体_GB2312", "楷体_GB2312"}, {"没有这种字体", "宋体"}, {"楷体_没有", "宋体"}};
  for (const Case& c : cases) {
    HFONT font = GetFont(c.asked, 14, false, 96);
    ASSERT_NE(font, nullptr) << c.asked;
    EXPECT_EQ(FaceOf(font), c.given) << c.asked;
    EXPECT_EQ(GetFont(c.asked, 14, false, 96), font) << "one font per face, size and DPI";
  }
  // The height scales with the DPI.
  const auto height = [](HFONT f) {
    LOGFONTW lf{};
    GetObjectW(f, sizeof lf, &lf);
    return lf.lfHeight;
  };
  EXPECT_EQ(height(GetFont("宋体", 14, false, 96)), -14);
  EXPECT_EQ(height(GetFont("宋体", 14, false, 144)), -21);
}

}  // namespace
}  // namespace tovani::win32
