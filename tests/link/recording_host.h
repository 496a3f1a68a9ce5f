#pragma once

// A download host for the link's tests: questions go to a scripted person, and every
// message and log line is kept as text, one line each, as the event log would hold it.

#include <string>
#include <string_view>

#include "link/download_host.h"
#include "platform/testing/scripted_user_interface.h"
#include "platform/user_interface.h"

namespace linktest {

class RecordingHost : public stationlink::DownloadHost {
 public:
  RecordingHost(platform::UserInterface& ui, const platform::UnattendedFlag& unattended)
      : ui_(ui), unattended_(unattended) {}

  bool unattended() const override { return unattended_.isSet(); }
  bool ask(std::string_view title, std::string_view text) override {
    return ui_.question(title, text);
  }
  void showNotice(std::string_view text) override { ui_.message("Tenga en cuenta", text); }
  void showError(std::string_view text) override { ui_.message("Error", text); }
  void reportLinkError(int code) override { log("link error " + std::to_string(code), ""); }
  void log(std::string_view text, std::string_view source) override {
    lines_ += "(" + std::string(source) + ") " + std::string(text) + "\n";
  }

  const std::string& lines() const { return lines_; }

 private:
  platform::UserInterface& ui_;
  const platform::UnattendedFlag& unattended_;
  std::string lines_;
};

}  // namespace linktest
