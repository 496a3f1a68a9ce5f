#pragma once

#include <iosfwd>

#include "platform/user_interface.h"

namespace platform {

// For a service, cron or CI: nobody is there to answer, so nothing ever waits. Messages
// are written to `out` (standard error goes to the journal under a service manager);
// questions take their negative answer, choices and text entry are cancelled, and a
// count-down completes at once.
class HeadlessUserInterface : public UserInterface {
 public:
  explicit HeadlessUserInterface(std::ostream& out) : out_(out) {}

  void message(std::string_view title, std::string_view text) override;
  bool question(std::string_view title, std::string_view text) override;
  bool countDown(std::string_view title, std::string_view text, int seconds) override;
  std::optional<std::size_t> choose(std::string_view title, std::string_view prompt,
                                    std::span<const std::string> items) override;
  std::optional<std::string> enterText(std::string_view title, std::string_view prompt,
                                       std::string_view initial, bool secret = false) override;
  void showTextFile(std::string_view title, const std::string& path) override;

 private:
  std::ostream& out_;
};

}  // namespace platform
