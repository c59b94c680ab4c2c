#include "framework/win32/loops.h"

namespace tovani::win32 {

namespace {

bool Within(HWND window, HWND h) { return h == window || IsChild(window, h); }

}  // namespace

void RunMainLoop(HWND window, const LoopHooks& hooks) {
  MSG msg;
  bool escapePressed = false;
  while (IsWindow(window)) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (Within(window, msg.hwnd)) {
      if (msg.message == WM_SYSKEYDOWN && (msg.wParam == 'X' || msg.wParam == 'x')) {
        if (hooks.onAltX) hooks.onAltX();
        continue;
      }
      if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
        // Esc that closes an open list belongs to the list.
        wchar_t cls[16] = {};
        GetClassNameW(msg.hwnd, cls, 16);
        const bool listOpen = lstrcmpiW(cls, L"ComboBox") == 0 && SendMessageW(msg.hwnd, CB_GETDROPPEDSTATE, 0, 0);
        escapePressed = !listOpen;
      } else if (msg.message == WM_KEYUP && msg.wParam == VK_ESCAPE) {
        if (escapePressed && hooks.onEscape) hooks.onEscape();
        escapePressed = false;
        continue;
      }
    }
    if (HWND other = hooks.modeless ? hooks.modeless() : nullptr) {
      if (IsWindow(other) && Within(other, msg.hwnd) && IsDialogMessageW(other, &msg)) continue;
    }
    if (IsDialogMessageW(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void RunModalLoop(HWND owner, HWND tool, const std::function<bool()>& done, const std::function<HWND()>& modeless) {
  if (owner != nullptr) EnableWindow(owner, FALSE);
  MSG msg;
  while (IsWindow(tool) && !done()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (HWND other = modeless ? modeless() : nullptr) {
      if (IsWindow(other) && Within(other, msg.hwnd) && IsDialogMessageW(other, &msg)) continue;
    }
    if (IsDialogMessageW(tool, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (owner != nullptr) EnableWindow(owner, TRUE);  // before the tool goes, so the owner is activated
}

}  // namespace tovani::win32
