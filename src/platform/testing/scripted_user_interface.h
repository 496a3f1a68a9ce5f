#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/user_interface.h"

namespace platform {

// A user interface for tests: answers come from a script, everything shown is recorded,
// and anything that would make a person act while the watched unattended flag is set is
// recorded as a violation (count-downs are allowed: they announce unattended work and
// complete by themselves).
//
//   ScriptedUserInterface ui;
//   ui.watch(unattended);
//   ui.onViolation([](const std::string& v) { ADD_FAILURE() << v; });
//
// Without a scripted answer each prompt takes the headless answer: no, cancelled, and a
// count-down that completes.
class ScriptedUserInterface : public UserInterface {
 public:
  enum class Kind { kMessage, kQuestion, kCountDown, kChoice, kTextEntry, kTextFile };
  struct Shown {
    Kind kind;
    std::string title;
    std::string text;  // for kTextFile, the path
  };

  void message(std::string_view title, std::string_view text) override;
  bool question(std::string_view title, std::string_view text) override;
  bool countDown(std::string_view title, std::string_view text, int seconds) override;
  std::optional<std::size_t> choose(std::string_view title, std::string_view prompt,
                                    std::span<const std::string> items) override;
  std::optional<std::string> enterText(std::string_view title, std::string_view prompt,
                                       std::string_view initial, bool secret = false) override;
  void showTextFile(std::string_view title, const std::string& path) override;

  // The script.
  void answerQuestion(bool yes) { questionAnswers_.push_back(yes); }
  void answerCountDown(bool completes) { countDownAnswers_.push_back(completes); }
  void answerChoice(std::optional<std::size_t> index) { choiceAnswers_.push_back(index); }
  void answerText(std::optional<std::string> text) { textAnswers_.push_back(std::move(text)); }

  // The flag whose being set turns a prompt into a violation. Must outlive this object.
  void watch(const UnattendedFlag& flag) { flag_ = &flag; }
  // Called with a description of each violation as it happens (e.g. to ADD_FAILURE).
  void onViolation(std::function<void(const std::string&)> hook) { hook_ = std::move(hook); }

  const std::vector<Shown>& shown() const { return shown_; }
  // Only the message boxes, in order.
  std::vector<Shown> messages() const;
  const std::vector<std::string>& violations() const { return violations_; }
  // The prompts of the text entries that asked for a secret (not shown while typed).
  const std::vector<std::string>& secretPrompts() const { return secretPrompts_; }
  void clear() {
    shown_.clear();
    violations_.clear();
    secretPrompts_.clear();
  }

 private:
  void record(Kind kind, std::string_view title, std::string_view text);

  std::deque<bool> questionAnswers_;
  std::deque<bool> countDownAnswers_;
  std::deque<std::optional<std::size_t>> choiceAnswers_;
  std::deque<std::optional<std::string>> textAnswers_;
  const UnattendedFlag* flag_ = nullptr;
  std::function<void(const std::string&)> hook_;
  std::vector<Shown> shown_;
  std::vector<std::string> violations_;
  std::vector<std::string> secretPrompts_;
};

}  // namespace platform
