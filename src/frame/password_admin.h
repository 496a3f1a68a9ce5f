#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/status.h"
#include "platform/user_interface.h"
#include "station/console_password.h"
#include "station/station_config.h"

namespace stationlink {
class ConsoleLink;
}

namespace frame {

class Program;

// Setting the console password of the current station (menu "Configurar Contraseña"):
// the current password is asked first when the console has one; then the new password
// (typed twice) is stored, or, with `clear`, the password is removed.
//   kUnsupported: the station is not a Cirrant or no console link is open;
//   kPermission with kMsgWrongPassword: the current password was wrong;
//   kBadArgument with kMsgPasswordMismatch / kMsgPasswordLength: the new one is refused;
//   a link failure carries its code.
platform::Status changeConsolePassword(Program& program, bool clear, const std::string& newPassword,
                                       const std::string& repeated,
                                       const station::PasswordPrompt& currentPassword);

// Before a console setting of the current station changes: 1 when it may go on, -1 for a
// wrong password (after "¡Contraseña incorrecta!"), -2 when the console could not be read
// (after the link error).
int askForConsolePassword(Program& program);

// Message id of a password that nobody typed: the person cancelled, or no one is there to
// type it (the headless user interface cancels every text entry).
inline constexpr int kMsgPasswordNotEntered = 64241;
// Message id of a new password that nobody typed, whether or not the console has one now.
inline constexpr int kMsgNewPasswordNotEntered = 65950;

// The new console password, typed without echo: its length is checked as soon as it is
// typed, so a person never types a refused password twice; then it is asked again.
//   the password when both entries agree and its length is right;
//   kBadArgument with station::kMsgPasswordLength after the first entry, or with
//   station::kMsgPasswordMismatch after the second;
//   kCancelled with kMsgNewPasswordNotEntered when either entry was not typed.
platform::Result<std::string> enterNewConsolePassword(platform::UserInterface& ui);

// Before a console command changes a setting of the Cirrant console on `link`, with no
// station open: when the console keeps a password, `ui` asks for it (once; `--yes` style
// confirmations never answer it) and it is checked against the console's check value.
//   ok: the change may go on (no password set, or the right one typed);
//   kPermission with station::kMsgWrongPassword: a wrong password was typed;
//   kCancelled with kMsgPasswordNotEntered: nothing was typed;
//   a failed read of the console carries its link code.
platform::Status checkConsolePassword(platform::UserInterface& ui, stationlink::ConsoleLink& link);

// A console setting changed by a command: `change` runs only when checkConsolePassword
// lets it go on; otherwise its refusal is returned and the console is left as it was.
platform::Status changeConsoleSetting(platform::UserInterface& ui, stationlink::ConsoleLink& link,
                                      const std::function<platform::Status()>& change);

}  // namespace frame
