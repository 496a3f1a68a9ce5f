#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/status.h"

namespace station {

// The console keeps the check value of its password in two bytes of its configuration
// memory, high byte first; both bytes 255 mean no password.
inline constexpr int kPasswordAddressHigh = 4094;
inline constexpr int kPasswordAddressLow = 4095;
inline constexpr std::uint16_t kNoPassword = 0xFFFF;
inline constexpr std::string_view kPasswordFileName = "tsp.utl";
inline constexpr std::size_t kPasswordMinLength = 5;
inline constexpr std::size_t kPasswordMaxLength = 15;

// Message ids the password steps report (Status::code()).
inline constexpr int kMsgWrongPassword = 64211;     // "¡Contraseña incorrecta!"
inline constexpr int kMsgPasswordMismatch = 64212;  // "¡Las Contraseñas no coinciden!"
inline constexpr int kMsgPasswordLength =
    64213;  // "La Contraseña debe tener entre 5 - 15 caracteres"

// The 12-bit check value of a text: each bit, most significant first, is shifted into
// the register, which is folded with 0x180B whenever bit 12 comes up. "" gives 0.
std::uint16_t passwordCheckValue(std::string_view text);

// The two console-memory operations the password needs; the console link provides them
// (EepromRead and EepromWriteByte). Errors carry the link error code in Status::code().
class ConsoleConfigMemory {
 public:
  virtual ~ConsoleConfigMemory() = default;
  virtual platform::Result<std::vector<std::uint8_t>> eepromRead(int address, int count) = 0;
  virtual platform::Status eepromWriteByte(int address, std::uint8_t value) = 0;
};

// Asks the user for the password; nullopt when the user gives up.
using PasswordPrompt = std::function<std::optional<std::string>()>;

enum class PasswordAnswer {
  kGoOn = 1,               // the change may go on
  kWrong = -1,             // wrong password entered, or the user gave up
  kConsoleUnreadable = -2  // the stored check value could not be read
};

// Before a console setting changes. Only Cirrant consoles keep a password; once the
// right one has been entered `passwordAccepted` is set and nothing is asked again.
// `linkError` receives the Status of a failed console read.
PasswordAnswer askForPassword(bool isCirrant, bool& passwordAccepted, ConsoleConfigMemory& console,
                              const PasswordPrompt& prompt, platform::Status* linkError = nullptr);

// Checks a new password typed twice: both are trimmed, must match and hold 5 to 15
// characters. kBadArgument with kMsgPasswordMismatch or kMsgPasswordLength otherwise.
platform::Result<std::string> validateNewPassword(std::string_view first, std::string_view second);

// Stores a new password: tsp.utl first (mode 0600, the text and a zero byte), then the
// check value to the console, high byte at 4094, low byte at 4095. Clears
// passwordAccepted. REQUIRES: `password` passed validateNewPassword.
platform::Status setConsolePassword(platform::FileSystem& files, const std::string& programDir,
                                    ConsoleConfigMemory& console, std::string_view password,
                                    bool& passwordAccepted);

// Removes the password: 255 to both console bytes, then tsp.utl is deleted.
platform::Status clearConsolePassword(platform::FileSystem& files, const std::string& programDir,
                                      ConsoleConfigMemory& console, bool& passwordAccepted);

}  // namespace station
