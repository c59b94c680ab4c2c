// The command-line tool: what the engine computes, printed as UTF-8.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tovani::cli {

// Exit codes.
inline constexpr int kOk = 0;
inline constexpr int kBadInput = 2;

// Runs one command line (without the program name); writes results to out and
// one-line error messages to err; returns the exit code.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tovani::cli
