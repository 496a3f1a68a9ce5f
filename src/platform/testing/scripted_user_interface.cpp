#include "platform/testing/scripted_user_interface.h"

namespace platform {

namespace {

const char* kindName(ScriptedUserInterface::Kind kind) {
  switch (kind) {
    case ScriptedUserInterface::Kind::kMessage:
      return "message";
    case ScriptedUserInterface::Kind::kQuestion:
      return "question";
    case ScriptedUserInterface::Kind::kCountDown:
      return "count-down";
    case ScriptedUserInterface::Kind::kChoice:
      return "choice";
    case ScriptedUserInterface::Kind::kTextEntry:
      return "text entry";
    case ScriptedUserInterface::Kind::kTextFile:
      return "text file";
  }
  return "?";
}

template <typename T, typename U>
T takeOr(std::deque<T>& queue, U fallback) {
  if (queue.empty()) return T(fallback);
  T value = std::move(queue.front());
  queue.pop_front();
  return value;
}

}  // namespace

void ScriptedUserInterface::record(Kind kind, std::string_view title, std::string_view text) {
  shown_.push_back({kind, std::string(title), std::string(text)});
  // Count-downs announce unattended work and complete by themselves; anything else
  // would wait for a person who is not there.
  if (kind == Kind::kCountDown || flag_ == nullptr || !flag_->isSet()) return;
  std::string violation = std::string(kindName(kind)) + " while unattended: [" +
                          std::string(title) + "] " + std::string(text);
  violations_.push_back(violation);
  if (hook_) hook_(violation);
}

void ScriptedUserInterface::message(std::string_view title, std::string_view text) {
  record(Kind::kMessage, title, text);
}

bool ScriptedUserInterface::question(std::string_view title, std::string_view text) {
  record(Kind::kQuestion, title, text);
  return takeOr(questionAnswers_, false);
}

bool ScriptedUserInterface::countDown(std::string_view title, std::string_view text, int) {
  record(Kind::kCountDown, title, text);
  return takeOr(countDownAnswers_, true);
}

std::optional<std::size_t> ScriptedUserInterface::choose(std::string_view title,
                                                         std::string_view prompt,
                                                         std::span<const std::string> items) {
  record(Kind::kChoice, title, prompt);
  std::optional<std::size_t> pick = takeOr(choiceAnswers_, std::nullopt);
  if (pick && *pick >= items.size()) return std::nullopt;
  return pick;
}

std::optional<std::string> ScriptedUserInterface::enterText(std::string_view title,
                                                            std::string_view prompt,
                                                            std::string_view, bool secret) {
  record(Kind::kTextEntry, title, prompt);
  if (secret) secretPrompts_.emplace_back(prompt);
  return takeOr(textAnswers_, std::nullopt);
}

void ScriptedUserInterface::showTextFile(std::string_view title, const std::string& path) {
  record(Kind::kTextFile, title, path);
}

std::vector<ScriptedUserInterface::Shown> ScriptedUserInterface::messages() const {
  std::vector<Shown> out;
  for (const Shown& s : shown_) {
    if (s.kind == Kind::kMessage) out.push_back(s);
  }
  return out;
}

}  // namespace platform
