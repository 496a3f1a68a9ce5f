#include "frame/password_admin.h"

#include "frame/link_config_memory.h"
#include "frame/program.h"
#include "link/console_link.h"
#include "platform/string_table.h"

namespace frame {

namespace {

constexpr int kMsgPasswordPrompt = 64225;
constexpr int kMsgNewPasswordPrompt = 64330;
constexpr int kMsgRepeatPasswordPrompt = 64331;

// The console password is asked with its prompt alone: the prompt says all a title would.
std::optional<std::string> askSecret(platform::UserInterface& ui, int promptId) {
  return ui.enterText("", platform::loadString(promptId), "", true);
}

station::PasswordPrompt promptFor(Program& program) {
  return [&program] { return askSecret(program.ui(), kMsgPasswordPrompt); };
}

platform::Status notEntered() {
  return platform::Status(platform::Errc::kCancelled, "no console password entered",
                          kMsgPasswordNotEntered);
}

platform::Status newPasswordNotEntered() {
  return platform::Status(platform::Errc::kCancelled, "no new console password entered",
                          kMsgNewPasswordNotEntered);
}

}  // namespace

platform::Status checkConsolePassword(platform::UserInterface& ui, stationlink::ConsoleLink& link) {
  LinkConfigMemory memory(link);
  // Nothing outlives the command, so the password is asked afresh every time.
  bool accepted = false;
  bool typed = false;
  station::PasswordPrompt prompt = [&ui, &typed]() -> std::optional<std::string> {
    auto text = askSecret(ui, kMsgPasswordPrompt);
    typed = text.has_value();
    return text;
  };
  platform::Status linkError;
  switch (station::askForPassword(true, accepted, memory, prompt, &linkError)) {
    case station::PasswordAnswer::kGoOn:
      return platform::Status::ok();
    case station::PasswordAnswer::kConsoleUnreadable:
      return linkError;
    case station::PasswordAnswer::kWrong:
      break;
  }
  if (!typed) return notEntered();
  return platform::Status(platform::Errc::kPermission, "wrong console password",
                          station::kMsgWrongPassword);
}

platform::Result<std::string> enterNewConsolePassword(platform::UserInterface& ui) {
  auto first = askSecret(ui, kMsgNewPasswordPrompt);
  if (!first) return newPasswordNotEntered();
  // Checked against itself, only the length can be refused.
  if (auto length = station::validateNewPassword(*first, *first); !length) return length.status();
  auto second = askSecret(ui, kMsgRepeatPasswordPrompt);
  if (!second) return newPasswordNotEntered();
  return station::validateNewPassword(*first, *second);
}

platform::Status changeConsoleSetting(platform::UserInterface& ui, stationlink::ConsoleLink& link,
                                      const std::function<platform::Status()>& change) {
  if (platform::Status s = checkConsolePassword(ui, link); !s.isOk()) return s;
  return change();
}

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
