#include "framework/traditional.h"

#include <gtest/gtest.h>

#include "framework/codepage.h"

namespace tovani {
namespace {

// Every text of the table, simplified and traditional, is a code page 936
// text: it comes back unchanged from its bytes, with no character lost.
TEST(Traditional, TheTableRoundTripsThroughCodePage936) {
  ASSERT_GT(TraditionalTable().size(), 2000u);
  for (const TraditionalPair& p : TraditionalTable()) {
    for (const std::u16string_view text : {p.simplified, p.traditional}) {
      const std::string bytes = Utf16ToCp936(text);
      EXPECT_EQ(bytes.find('?'), std::string::npos) << Cp936ToUtf8(bytes);
      EXPECT_EQ(Cp936ToUtf16(bytes), text) << Cp936ToUtf8(bytes);
    }
    EXPECT_EQ(p.simplified.size(), p.traditional.size()) << Cp936ToUtf8(Utf16ToCp936(p.simplified));
  }
}

// The program's own names, and the traps: a character with several
// traditional forms takes the one of its phrase.
TEST(Traditional, PhrasesFirstThenCharacters) {
  const struct {
    const char* simplified;
    const char* traditional;
  } cases[] = {
      {"农历甲辰(龙)年 腊月廿三", "農曆甲辰(龍)年 臘月廿三"},
      {"惊蛰 谷雨 小满 芒种 处暑", "驚蟄 穀雨 小滿 芒種 處暑"},
      {"山谷", "山谷"},                          // 谷 alone stays
      {"干支 计算干支历(&G)...", "干支 計算干支曆(&G)..."},
      {"清代乾隆 唐代乾元 北宋乾德", "清代乾隆 唐代乾元 北宋乾德"},  // 乾, never 幹
      {"明代万历 元代天历 武周圣历 西汉征和 后唐同光", "明代萬曆 元代天曆 武周聖曆 西漢徵和 後唐同光"},
      {"马 鸡 猪 鼠 牛", "馬 雞 豬 鼠 牛"},
      {"12月25日 5天后", "12月25日 5天後"},  // days later, not the goddess 天后
      {"公历农历回历互转(&C)... 公 历", "公曆農曆回曆互轉(&C)... 公 曆"},  // 历 alone is the calendar
      {"按现代天文算法计算古历(&M)", "按現代天文算法計算古曆(&M)"},
      {"春节 元宵节 端午节 中秋节 腊八节", "春節 元宵節 端午節 中秋節 臘八節"},
      {"朱鹮", "朱鹮"},  // 䴉 is no character of code page 936
      {"AD 12-31-2024\r\n○ 25℃", "AD 12-31-2024\r\n○ 25℃"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Cp936ToUtf8(ToTraditional(c.simplified)), Cp936ToUtf8(c.traditional));
}

// The user's texts in a program's line stay as the user wrote them, wherever
// they stand; the program's words around them are converted.
TEST(Traditional, KeptTextsStayAsWritten) {
  const struct {
    const char* text;
    std::vector<std::string> kept;
    const char* traditional;
  } cases[] = {
      {"距龙舟赛还有3天   妈妈生日", {"龙舟赛", "妈妈生日"}, "距龙舟赛還有3天   妈妈生日"},
      {"12月25日 5天后 谷雨种树", {"谷雨种树"}, "12月25日 5天後 谷雨种树"},
      {"谷雨 谷雨种树", {"谷雨种树", ""}, "穀雨 谷雨种树"},
      {"农历腊月", {"没有"}, "農曆臘月"},
  };
  for (const auto& c : cases) EXPECT_EQ(Cp936ToUtf8(ToTraditional(c.text, c.kept)), Cp936ToUtf8(c.traditional));
}

}  // namespace
}  // namespace tovani
