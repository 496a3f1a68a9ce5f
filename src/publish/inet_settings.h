#pragma once

// Changing and showing the internet configuration as a person does it.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/status.h"
#include "publish/inet_config.h"

namespace publish {

// What to change; fields left empty stay as they are.
struct InetChanges {
  std::optional<std::string> host;
  std::optional<std::string> user;
  std::optional<std::string> password;
  std::optional<std::string> ftpPath;
  std::optional<std::string> localPath;
  std::optional<std::string> proxy;
  std::optional<long> port;
  std::optional<bool> passive;
  std::optional<bool> internetTransfer;
  std::optional<bool> localTransfer;
  std::optional<bool> localNetwork;
  std::optional<bool> stayConnected;
  std::optional<InternetAccess> access;
};

// Applies every change or none: kBadArgument with the reason (a port outside 1-65535, a
// text too long for its field or holding a tab or line break), `config` then unchanged.
platform::Status applyInetChanges(InetConfig& config, const InetChanges& changes);

// The settings for people; passwords only as set or not set.
std::string describeInetConfig(const InetConfig& config);

// "on"/"off".
std::optional<bool> parseOnOff(std::string_view text);
// "direct", "proxy", "system".
std::optional<InternetAccess> parseAccess(std::string_view text);

}  // namespace publish
