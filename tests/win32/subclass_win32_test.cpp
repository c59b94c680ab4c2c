// Subclassing a control: handlers see its messages newest first, hand them
// on with CallNext, and go with the window.
#include <gtest/gtest.h>
#include <windows.h>

#include "framework/win32/controls.h"

namespace tovani::win32 {
namespace {

constexpr UINT kAsk = WM_APP + 1, kSwallow = WM_APP + 2, kDestroy = WM_APP + 3;

HWND NewEdit() {
  return CreateWindowExW(0, L"EDIT", L"", WS_POPUP | ES_MULTILINE, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
}

TEST(Subclass, HandlersNewestFirstEachHandingOnToTheOnesBelow) {
  HWND edit = NewEdit();
  ASSERT_NE(edit, nullptr);
  const LRESULT own = SendMessageW(edit, WM_GETDLGCODE, 0, 0);
  ASSERT_NE(own & DLGC_WANTALLKEYS, 0);
  std::string seen;
  // The older handler answers kAsk and takes DLGC_HASSETSEL off the edit's code.
  Subclass(edit, [&](HWND h, UINT msg, WPARAM w, LPARAM l) -> std::optional<LRESULT> {
    if (msg == kAsk) return seen += "old ", 1;
    if (msg == WM_GETDLGCODE) return CallNext(h, msg, w, l) & ~DLGC_HASSETSEL;
    return std::nullopt;
  });
  // The newer one swallows kSwallow, adds to kAsk's answer, and takes
  // DLGC_WANTALLKEYS off whatever is below it.
  Subclass(edit, [&](HWND h, UINT msg, WPARAM w, LPARAM l) -> std::optional<LRESULT> {
    if (msg == kSwallow) return seen += "new ", 5;
    if (msg == kAsk) return seen += "new ", CallNext(h, msg, w, l) + 10;
    if (msg == WM_GETDLGCODE) return CallNext(h, msg, w, l) & ~DLGC_WANTALLKEYS;
    if (msg == kDestroy) return DestroyWindow(h), 0;
    return std::nullopt;
  });
  struct Case {
    UINT msg;
    LRESULT result;
    const char* seen;
  };
  const Case cases[] = {
      {kSwallow, 5, "new "},
      {kAsk, 11, "new old "},
      {WM_GETDLGCODE, own & ~(DLGC_WANTALLKEYS | DLGC_HASSETSEL), ""},
  };
  for (const Case& c : cases) {
    seen.clear();
    EXPECT_EQ(SendMessageW(edit, c.msg, 0, 0), c.result) << c.msg;
    EXPECT_EQ(seen, c.seen) << c.msg;
  }
  // The text still reaches the edit itself.
  SetWindowTextW(edit, L"abc");
  EXPECT_EQ(GetWindowTextLengthW(edit), 3);
  // A handler may destroy its window; the handlers go with it.
  EXPECT_EQ(SendMessageW(edit, kDestroy, 0, 0), 0);
  EXPECT_FALSE(IsWindow(edit));

  // A new window (perhaps with the same handle) starts without them.
  HWND next = NewEdit();
  seen.clear();
  EXPECT_EQ(SendMessageW(next, kAsk, 0, 0), 0);
  EXPECT_EQ(seen, "");
  DestroyWindow(next);
}

}  // namespace
}  // namespace tovani::win32
