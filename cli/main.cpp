#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  const int code = tovani::cli::Run(args, std::cout, std::cerr, tovani::cli::ProcessTerminal());
  return tovani::cli::FinishOutput(std::cout, std::cerr, code);
}
