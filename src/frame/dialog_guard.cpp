#include "frame/dialog_guard.h"

namespace frame {

void SchedulingAwareUserInterface::message(std::string_view title, std::string_view text) {
  SchedulingPause pause(scheduler_);
  inner_.message(title, text);
}

bool SchedulingAwareUserInterface::question(std::string_view title, std::string_view text) {
  SchedulingPause pause(scheduler_);
  return inner_.question(title, text);
}

bool SchedulingAwareUserInterface::countDown(std::string_view title, std::string_view text,
                                             int seconds) {
  SchedulingPause pause(scheduler_);
  return inner_.countDown(title, text, seconds);
}

std::optional<std::size_t> SchedulingAwareUserInterface::choose(
    std::string_view title, std::string_view prompt, std::span<const std::string> items) {
  SchedulingPause pause(scheduler_);
  return inner_.choose(title, prompt, items);
}

std::optional<std::string> SchedulingAwareUserInterface::enterText(std::string_view title,
                                                                   std::string_view prompt,
                                                                   std::string_view initial,
                                                                   bool secret) {
  SchedulingPause pause(scheduler_);
  return inner_.enterText(title, prompt, initial, secret);
}

void SchedulingAwareUserInterface::showTextFile(std::string_view title, const std::string& path) {
  SchedulingPause pause(scheduler_);
  inner_.showTextFile(title, path);
}

}  // namespace frame
