#pragma once

#include "frame/scheduler.h"
#include "platform/user_interface.h"

namespace frame {

// The program's user interface: every box, question, choice and count-down disables
// scheduling while it is open and restores it afterwards, so no scheduled action starts
// behind a dialog; an action whose window passed meanwhile is skipped.
class SchedulingAwareUserInterface : public platform::UserInterface {
 public:
  SchedulingAwareUserInterface(platform::UserInterface& inner, Scheduler& scheduler)
      : inner_(inner), scheduler_(scheduler) {}

  void message(std::string_view title, std::string_view text) override;
  bool question(std::string_view title, std::string_view text) override;
  bool countDown(std::string_view title, std::string_view text, int seconds) override;
  std::optional<std::size_t> choose(std::string_view title, std::string_view prompt,
                                    std::span<const std::string> items) override;
  std::optional<std::string> enterText(std::string_view title, std::string_view prompt,
                                       std::string_view initial, bool secret = false) override;
  void showTextFile(std::string_view title, const std::string& path) override;

 private:
  platform::UserInterface& inner_;
  Scheduler& scheduler_;
};

}  // namespace frame
