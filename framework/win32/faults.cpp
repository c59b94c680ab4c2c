#include "framework/win32/faults.h"

#include <atomic>
#include <cstdio>
#include <exception>

namespace tovani::win32 {
namespace {

std::atomic<long> caught{0};

}  // namespace

void NoteCaughtException(const char* where) noexcept {
  caught.fetch_add(1);
  const char* what = "unknown";
  try {
    throw;  // the exception being handled
  } catch (const std::exception& e) {
    what = e.what();
  } catch (...) {
  }
  char line[512];
  std::snprintf(line, sizeof line, "Tovani: exception in %s: %s\n", where, what);
  OutputDebugStringA(line);
}

long CaughtExceptionCount() noexcept { return caught.load(); }

UINT CaughtExceptionsMessage() {
  static const UINT message = RegisterWindowMessageW(kCaughtExceptionsMessageName);
  return message;
}

}  // namespace tovani::win32
