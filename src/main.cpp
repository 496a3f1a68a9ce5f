#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "platform/event_loop.h"

int main(int argc, char** argv) {
  cli::CommandContext ctx;
  ctx.out = &std::cout;
  ctx.err = &std::cerr;
  if (!platform::standardErrorIsTerminal()) ctx.journal = &std::cerr;
  std::vector<std::string> args(argv + 1, argv + argc);
  return cli::runCommandLine(args, ctx);
}
