// velmora-cli: Redcode tournaments without a window.

#include <string>
#include <vector>

#include "cli/program.h"

int main(int argc, char** argv) {
  velmora::cli::BattleSite here;
  return velmora::cli::RunProgram(std::vector<std::string>(argv + 1, argv + argc), here);
}
