// An exception at the edge of a window procedure or a control's handler
// unwinds no further: it is counted, and the message gets the answer the
// system (or the control) would give.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>

#include "framework/win32/controls.h"
#include "framework/win32/faults.h"
#include "framework/win32/window.h"

namespace tovani::win32 {
namespace {

constexpr UINT kThrow = WM_APP + 7;

class Throwing : public Window {
 public:
  bool Make() {
    return Create(GetModuleHandleW(nullptr), WindowClass{"TOVANI_THROWS", nullptr, RGB(0, 0, 0)}, "abcd", WS_POPUP, 0,
                  RECT{0, 0, 10, 10}, nullptr);
  }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM w, LPARAM l) override {
    if (msg == kThrow || msg == WM_GETTEXTLENGTH) throw std::runtime_error("test");
    return Default(msg, w, l);
  }
};

TEST(CaughtExceptions, AreCountedAndAnsweredAsTheSystemWould) {
  Throwing window;
  ASSERT_TRUE(window.Make());
  HWND edit = CreateWindowExW(0, L"EDIT", L"xy", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(edit, nullptr);
  Subclass(edit, [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_GETTEXTLENGTH) throw std::bad_alloc();
    return std::nullopt;
  });
  const long before = CaughtExceptionCount();
  struct Case {
    HWND to;
    UINT msg;
    LRESULT answer;
  };
  const Case cases[] = {{window.hwnd(), kThrow, 0}, {window.hwnd(), WM_GETTEXTLENGTH, 4}, {edit, WM_GETTEXTLENGTH, 2}};
  for (const Case& c : cases) EXPECT_EQ(SendMessageW(c.to, c.msg, 0, 0), c.answer) << c.msg;
  EXPECT_EQ(CaughtExceptionCount() - before, 3);
  DestroyWindow(edit);
}

}  // namespace
}  // namespace tovani::win32
