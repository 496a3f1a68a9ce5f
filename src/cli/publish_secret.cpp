#include "cli/publish_secret.h"

#include <iostream>

namespace cli {

std::optional<std::string> readSecretLine(CommandContext& ctx) {
  std::istream& in = ctx.in != nullptr ? *ctx.in : std::cin;
  std::string line;
  if (!std::getline(in, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace cli
