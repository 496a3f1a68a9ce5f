#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace platform {

class Clock;
class FileSystem;

// Whether unattended work is running: 0 while a user is assumed to be watching, 1 or 2
// while scheduled or command-line work runs. The one Program owns the flag; the messages
// object reads it to log instead of asking, and test user interfaces watch it.
class UnattendedFlag {
 public:
  std::uint8_t level() const { return level_; }
  bool isSet() const { return level_ != 0; }
  void set(std::uint8_t level) { level_ = level; }
  void clear() { level_ = 0; }

 private:
  std::uint8_t level_ = 0;
};

// Sets the flag for the life of the scope and puts back what was there before, so an
// early return from unattended work can never leave the program believing no one watches.
class UnattendedScope {
 public:
  explicit UnattendedScope(UnattendedFlag& flag, std::uint8_t level = 1)
      : flag_(flag), previous_(flag.level()) {
    flag_.set(level);
  }
  ~UnattendedScope() { flag_.set(previous_); }
  UnattendedScope(const UnattendedScope&) = delete;
  UnattendedScope& operator=(const UnattendedScope&) = delete;

 private:
  UnattendedFlag& flag_;
  std::uint8_t previous_;
};

// Everything the program shows to a person or asks of one. Titles and texts come in
// already loaded from the string table ("Error", "Error Comunicación", "Tenga en cuenta").
// Implementations: terminal (a person at the keyboard), headless (a service: never waits)
// and scripted (tests).
class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // A message box with one button. Returns when the person has seen it (or at once).
  virtual void message(std::string_view title, std::string_view text) = 0;
  // A yes/no question. True for yes.
  virtual bool question(std::string_view title, std::string_view text) = 0;
  // Announces something that will happen after `seconds` unless cancelled.
  // True when the count-down ran out (go ahead), false when a person cancelled it.
  virtual bool countDown(std::string_view title, std::string_view text, int seconds) = 0;
  // One item from `items`; nullopt when cancelled or when nothing can be chosen.
  virtual std::optional<std::size_t> choose(std::string_view title, std::string_view prompt,
                                            std::span<const std::string> items) = 0;
  // A line of text; `initial` is offered as the starting value. nullopt when cancelled.
  // A `secret` entry (a password) is not shown as it is typed.
  virtual std::optional<std::string> enterText(std::string_view title, std::string_view prompt,
                                               std::string_view initial, bool secret = false) = 0;
  // Shows a text file (a report) to the person.
  virtual void showTextFile(std::string_view title, const std::string& path) = 0;
};

// The terminal version when standard input is a terminal, else the headless version that
// writes messages to standard error. The result lives as long as the caller keeps it.
std::unique_ptr<UserInterface> makeUserInterface(FileSystem& files, Clock& clock);

}  // namespace platform
