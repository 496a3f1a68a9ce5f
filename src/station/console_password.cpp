#include "station/console_password.h"

namespace station {

namespace {

std::string_view trimmed(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

std::uint16_t passwordCheckValue(std::string_view text) {
  unsigned r = 0;
  for (char ch : text) {
    auto byte = static_cast<unsigned char>(ch);
    for (int bit = 7; bit >= 0; --bit) {
      r <<= 1;
      if ((byte >> bit) & 1U) r |= 1U;
      if (r & 0x1000U) r ^= 0x180BU;
    }
  }
  return static_cast<std::uint16_t>(r);
}

PasswordAnswer askForPassword(bool isCirrant, bool& passwordAccepted, ConsoleConfigMemory& console,
                              const PasswordPrompt& prompt, platform::Status* linkError) {
  if (!isCirrant || passwordAccepted) return PasswordAnswer::kGoOn;
  auto stored = console.eepromRead(kPasswordAddressHigh, 2);
  if (!stored || stored->size() < 2) {
    if (linkError) {
      *linkError = stored ? platform::Status::io("short reply reading the console password", -6)
                          : stored.status();
    }
    return PasswordAnswer::kConsoleUnreadable;
  }
  unsigned value = (*stored)[0] * 256U + (*stored)[1];
  if (value == kNoPassword) return PasswordAnswer::kGoOn;
  std::optional<std::string> typed = prompt();
  if (!typed) return PasswordAnswer::kWrong;
  if (passwordCheckValue(trimmed(*typed)) != value) return PasswordAnswer::kWrong;
  passwordAccepted = true;
  return PasswordAnswer::kGoOn;
}

platform::Result<std::string> validateNewPassword(std::string_view first, std::string_view second) {
  std::string_view a = trimmed(first);
  std::string_view b = trimmed(second);
  if (a != b) {
    return platform::Status(platform::Errc::kBadArgument, "the two passwords differ",
                            kMsgPasswordMismatch);
  }
  if (a.size() < kPasswordMinLength || a.size() > kPasswordMaxLength) {
    return platform::Status(platform::Errc::kBadArgument, "a password holds 5 to 15 characters",
                            kMsgPasswordLength);
  }
  return std::string(a);
}

platform::Status setConsolePassword(platform::FileSystem& files, const std::string& programDir,
                                    ConsoleConfigMemory& console, std::string_view password,
                                    bool& passwordAccepted) {
  std::string bytes(password);
  bytes.push_back('\0');
  // The file is written before the console is told, so a failed console write never
  // leaves a password on the console that no file records.
  if (platform::Status s = files.replaceFileAtomically(
          platform::joinPath(programDir, kPasswordFileName), bytes, /*privateMode=*/true);
      !s.isOk()) {
    return s;
  }
  std::uint16_t check = passwordCheckValue(password);
  passwordAccepted = false;
  if (platform::Status s =
          console.eepromWriteByte(kPasswordAddressHigh, static_cast<std::uint8_t>(check >> 8));
      !s.isOk()) {
    return s;
  }
  return console.eepromWriteByte(kPasswordAddressLow, static_cast<std::uint8_t>(check & 0xFF));
}

platform::Status clearConsolePassword(platform::FileSystem& files, const std::string& programDir,
                                      ConsoleConfigMemory& console, bool& passwordAccepted) {
  if (platform::Status s = console.eepromWriteByte(kPasswordAddressHigh, 0xFF); !s.isOk()) return s;
  if (platform::Status s = console.eepromWriteByte(kPasswordAddressLow, 0xFF); !s.isOk()) return s;
  passwordAccepted = false;
  std::string path = platform::joinPath(programDir, kPasswordFileName);
  if (!files.exists(path)) return platform::Status::ok();
  return files.removeFile(path);
}

}  // namespace station
