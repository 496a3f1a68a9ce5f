#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"

int main(int argc, char** argv) {
  commands::CommandContext ctx;
  ctx.out = &std::cout;
  ctx.err = &std::cerr;
  std::vector<std::string> args(argv + 1, argv + argc);
  return commands::runCommandLine(args, ctx);
}
