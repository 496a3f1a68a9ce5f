#include "frame/password_admin.h"

#include "frame/program.h"
#include "platform/string_table.h"

namespace frame {

namespace {

constexpr int kMsgPasswordPrompt = 64225;

station::PasswordPrompt promptFor(Program& program) {
  return [&program] {
    std::string title = platform::loadString(kMsgPasswordPrompt);
    return program.ui().enterText(title, title, "");
  };
}

}  // namespace

int askForConsolePassword(Program& program) {
  station::StationConfig* st = program.currentStation();
  if (st == nullptr || !st->isCirrant()) return 1;
  stationlink::RealtimePause pause(&program.realtime());
  station::ConsoleConfigMemory* console = program.stations().configMemory();
  if (console == nullptr) {
    program.messages().DisplayLinkError(-11);
    return -2;
  }
  platform::Status linkError;
  station::PasswordAnswer a = station::askForPassword(true, program.passwordAccepted(), *console,
                                                      promptFor(program), &linkError);
  if (a == station::PasswordAnswer::kWrong)
    program.messages().ShowError(station::kMsgWrongPassword);
  if (a == station::PasswordAnswer::kConsoleUnreadable) {
    program.messages().DisplayLinkError(linkError.code() != 0 ? linkError.code() : -6);
  }
  return static_cast<int>(a);
}

platform::Status changeConsolePassword(Program& program, bool clear, const std::string& newPassword,
                                       const std::string& repeated,
                                       const station::PasswordPrompt& currentPassword) {
  station::StationConfig* st = program.currentStation();
  if (st == nullptr || !st->isCirrant()) {
    return platform::Status::unsupported("only Cirrant consoles keep a password");
  }
  stationlink::RealtimePause pause(&program.realtime());
  station::ConsoleConfigMemory* console = program.stations().configMemory();
  if (console == nullptr) return platform::Status::unsupported("no console link is open");
  platform::Status linkError;
  station::PasswordAnswer a =
      station::askForPassword(true, program.passwordAccepted(), *console,
                              currentPassword ? currentPassword : promptFor(program), &linkError);
  if (a == station::PasswordAnswer::kConsoleUnreadable) return linkError;
  if (a == station::PasswordAnswer::kWrong) {
    return platform::Status(platform::Errc::kPermission, "wrong console password",
                            station::kMsgWrongPassword);
  }
  if (clear) {
    return station::clearConsolePassword(program.files(), program.programDirectory(), *console,
                                         program.passwordAccepted());
  }
  auto valid = station::validateNewPassword(newPassword, repeated);
  if (!valid) return valid.status();
  return station::setConsolePassword(program.files(), program.programDirectory(), *console, *valid,
                                     program.passwordAccepted());
}

}  // namespace frame
