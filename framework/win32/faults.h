// Exceptions caught where nothing may unwind further: at the edge of a window
// procedure or a control's handler, into the system's code.  Each is written
// to the debugger's output with what it says, and counted; the main window
// answers a watcher from outside (the Windows-side tests) with the count, so
// that a fault the user would not see still fails a test.
#pragma once

#include <windows.h>

namespace tovani::win32 {

inline constexpr wchar_t kCaughtExceptionsMessageName[] = L"TovaniCaughtExceptions";

// Called inside a catch block: writes "Tovani: exception in WHERE: WHAT" to
// the debugger's output (what() of a std::exception, else "unknown") and
// counts it.  Never throws.
void NoteCaughtException(const char* where) noexcept;
// How many have been noted in this process.
long CaughtExceptionCount() noexcept;
// The registered message the main window answers with CaughtExceptionCount().
UINT CaughtExceptionsMessage();

}  // namespace tovani::win32
