#include "framework/win32/fonts.h"

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "framework/win32/wide.h"
#include "framework/win32/gdi.h"

namespace tovani::win32 {
namespace {

std::vector<std::string> Candidates(const std::string& face) {
  if (face == "楷体_GB2312" || face == "楷体" || face == "KaiTi") return {face, "楷体_GB2312", "楷体", "KaiTi", "宋体", "SimSun"};
  if (face == "宋体" || face == "SimSun") return {face, "宋体", "SimSun", "NSimSun"};
  return {face, "宋体", "SimSun"};
}

HFONT Make(const std::string& face, int height, bool bold) {
  LOGFONTW lf{};
  lf.lfHeight = -height;  // the characters' height, not the cell's
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = GB2312_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  const std::wstring w = Wide(face);
  wcsncpy(lf.lfFaceName, w.c_str(), LF_FACESIZE - 1);
  return CreateFontIndirectW(&lf);
}

}  // namespace

std::string FaceOf(HFONT font) {
  const MemoryDc dc(CreateCompatibleDC(nullptr));
  const Selection selected(dc.get(), font);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc.get(), LF_FACESIZE, face);
  return Narrow(face);
}

HFONT GetFont(const char* face, int pixels96, bool bold, UINT dpi) {
  static std::map<std::tuple<std::string, int, bool>, HFONT> fonts;
  const int height = MulDiv(pixels96, static_cast<int>(dpi), 96);
  const auto key = std::make_tuple(std::string(face), height, bold);
  if (const auto it = fonts.find(key); it != fonts.end()) return it->second;
  HFONT chosen = nullptr;
  for (const std::string& candidate : Candidates(face)) {
    Font f(Make(candidate, height, bold));
    if (f && FaceOf(f.get()) == candidate) {
      chosen = f.release();
      break;
    }
  }
  if (chosen == nullptr) chosen = Make("", height, bold);  // the system's choice for GB2312
  fonts[key] = chosen;
  return chosen;
}

HFONT GetFittingFont(const char* face, int pixels96, bool bold, UINT dpi, int cellHeight) {
  HFONT font = GetFont(face, pixels96, bold, dpi);
  for (int px = pixels96; px > 8; --px) {
    font = GetFont(face, px, bold, dpi);
    const MemoryDc dc(CreateCompatibleDC(nullptr));
    const Selection selected(dc.get(), font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.get(), &tm);
    if (tm.tmHeight <= cellHeight) break;
  }
  return font;
}

HFONT GetFontFittingTexts(const char* face, int pixels96, bool bold, UINT dpi, const std::vector<std::string>& texts,
                          int width) {
  HFONT font = GetFont(face, pixels96, bold, dpi);
  const MemoryDc dc(CreateCompatibleDC(nullptr));
  for (int px = pixels96; px > 8; --px) {
    font = GetFont(face, px, bold, dpi);
    const Selection selected(dc.get(), font);
    int widest = 0;
    for (const std::string& t : texts) {
      const std::wstring w = Wide(t);
      SIZE size{};
      GetTextExtentPoint32W(dc.get(), w.c_str(), static_cast<int>(w.size()), &size);
      widest = std::max(widest, static_cast<int>(size.cx));
    }
    if (widest <= width) break;
  }
  return font;
}

}  // namespace tovani::win32
