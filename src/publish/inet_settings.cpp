#include "publish/inet_settings.h"

#include "platform/string_table.h"
#include "publish/upload_text.h"

namespace publish {

namespace {

constexpr int kBadPort = 66569;
constexpr int kTooLong = 66570;
constexpr int kInetShow = 66579;
constexpr int kSet = 66580;
constexpr int kNotSet = 66581;
constexpr int kYes = 66582;
constexpr int kNo = 66583;

std::string yesNo(bool v) { return platform::loadString(v ? kYes : kNo); }

const char* accessName(std::uint16_t access) {
  switch (access) {
    case 0: return "direct";
    case 1: return "proxy";
    case 2: return "system";
    default: return "?";
  }
}

}  // namespace

std::optional<bool> parseOnOff(std::string_view text) {
  if (text == "on") return true;
  if (text == "off") return false;
  return std::nullopt;
}

std::optional<InternetAccess> parseAccess(std::string_view text) {
  if (text == "direct") return InternetAccess::kDirect;
  if (text == "proxy") return InternetAccess::kProxy;
  if (text == "system") return InternetAccess::kSystem;
  return std::nullopt;
}

platform::Status applyInetChanges(InetConfig& config, const InetChanges& changes) {
  InetConfig c = config;
  using Setter = bool (InetConfig::*)(std::string_view);
  struct TextChange {
    const std::optional<std::string>& value;
    Setter set;
    const char* option;
    std::size_t max;
  };
  const TextChange texts[] = {
      {changes.host, &InetConfig::setFtpHost, "--host", layout::kFtpHost.maxLength},
      {changes.user, &InetConfig::setFtpUser, "--user", layout::kFtpUser.maxLength},
      {changes.password, &InetConfig::setFtpPassword, "--password", layout::kFtpPassword.maxLength},
      {changes.ftpPath, &InetConfig::setFtpPath, "--ftp-path", layout::kFtpPath.maxLength},
      {changes.localPath, &InetConfig::setLocalPath, "--local-path", layout::kLocalPath.maxLength},
      {changes.proxy, &InetConfig::setProxyServer, "--proxy", layout::kProxyServer.maxLength},
  };
  for (const TextChange& t : texts) {
    if (t.value && !(c.*t.set)(*t.value)) {
      return platform::Status::badArgument(message(kTooLong, {t.option, std::to_string(t.max)}));
    }
  }
  if (changes.port) {
    if (*changes.port < 1 || *changes.port > 65535) {
      return platform::Status::badArgument(platform::loadString(kBadPort));
    }
    c.setFtpPort(static_cast<std::uint16_t>(*changes.port));
  }
  if (changes.passive) c.setPassiveFtp(*changes.passive);
  if (changes.internetTransfer) c.setInternetTransfer(*changes.internetTransfer);
  if (changes.localTransfer) c.setLocalTransfer(*changes.localTransfer);
  if (changes.localNetwork) c.setLocalNetwork(*changes.localNetwork);
  if (changes.stayConnected) c.setStayConnected(*changes.stayConnected);
  if (changes.access) c.setAccessType(*changes.access);
  config = c;
  return platform::Status::ok();
}

std::string describeInetConfig(const InetConfig& c) {
  return message(kInetShow,
                 {c.ftpHost(), c.ftpUser(), platform::loadString(c.ftpPassword().empty() ? kNotSet : kSet),
                  c.ftpPath(), std::to_string(c.ftpPort()), yesNo(c.passiveFtp()),
                  yesNo(c.internetTransfer()), yesNo(c.localTransfer()), c.localPath(),
                  yesNo(c.localNetwork()), yesNo(c.stayConnected()), accessName(c.accessType()),
                  c.proxyServer()});
}

}  // namespace publish
