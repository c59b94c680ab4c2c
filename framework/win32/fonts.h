// Fonts by face name and pixel height, with a fall-back to a face the
// machine has.  Fonts are kept for the life of the process.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tovani::win32 {

// A font of the face (program text, e.g. "宋体"), whose characters are
// pixels96 high at 96 DPI, scaled to dpi.  When the machine lacks the face
// the next of a short list of its kind is taken (楷体_GB2312, 楷体, KaiTi,
// 宋体; 宋体, SimSun, NSimSun), and finally the system's GB2312 default.
HFONT GetFont(const char* face, int pixels96, bool bold, UINT dpi);

// The largest font of the face, at most pixels96 high, whose character cell
// is at most cellHeight pixels (at the DPI): for boxes whose lines must all
// show whichever face stands in for the one asked for.
HFONT GetFittingFont(const char* face, int pixels96, bool bold, UINT dpi, int cellHeight);

// The largest font of the face, at most pixels96 high, in which every text
// (program text) is at most width pixels wide.
HFONT GetFontFittingTexts(const char* face, int pixels96, bool bold, UINT dpi, const std::vector<std::string>& texts,
                          int width);

// The face the system gave for a request (program text); for tests.
std::string FaceOf(HFONT font);

}  // namespace tovani::win32
