#pragma once

#include <optional>
#include <string>

#include "platform/status.h"
#include "station/console_password.h"
#include "station/station_config.h"

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

}  // namespace frame
