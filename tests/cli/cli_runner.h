// Running the command-line tool inside a test: its exit code and both streams.
#pragma once

#include <stdlib.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace tovani::cli {

struct Result {
  int code;
  std::string out, err;
};

// Command lines arrive as UTF-8, whatever the program's own text is.
inline std::string Utf8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

inline Result RunLine(const std::vector<std::string>& args, Terminal terminal = {}) {
  std::ostringstream out, err;
  const int code = Run(args, out, err, terminal);
  return {code, out.str(), err.str()};
}

// Sets an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = getenv(name)) old_ = old;
    setenv(name, value, 1);
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

}  // namespace tovani::cli
