// The texts the windows show: the program's texts as written (simplified
// characters), or in traditional characters while the option is on.  The
// user's own texts are never converted: an edit box the user types into
// shows its text as it is, and a program's line that holds the user's texts
// names them as kept.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tovani::win32 {

void ShowTraditional(bool on);
// Sent to an open window that is not modal when the characters changed.
inline constexpr unsigned kShowTextsAgain = 0x8000 + 0x5A;  // WM_APP + 0x5A
bool ShowingTraditional();

// A program text as the windows show it, in program text or UTF-16.
std::string ShownText(std::string_view text, const std::vector<std::string>& kept = {});
std::wstring Shown(std::string_view text, const std::vector<std::string>& kept = {});

}  // namespace tovani::win32
