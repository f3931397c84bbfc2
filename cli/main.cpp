// velmora-cli: Redcode tournaments without a window.

#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/app.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  const int status = velmora::cli::RunCli(args, std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
  std::cout.flush();
  return status;
}
