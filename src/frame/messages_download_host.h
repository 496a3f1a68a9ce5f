#pragma once

#include "frame/messages.h"
#include "link/download_host.h"

namespace frame {

// The download's questions, messages and log lines through the program's messages: boxes
// for a person, the event log while unattended.
class MessagesDownloadHost : public stationlink::DownloadHost {
 public:
  explicit MessagesDownloadHost(Messages& messages) : messages_(messages) {}

  bool unattended() const override { return messages_.isUnattended(); }
  bool ask(std::string_view title, std::string_view text) override {
    return messages_.ui().question(title, text);
  }
  void showNotice(std::string_view text) override { messages_.ShowNoticeText(text); }
  void showError(std::string_view text) override { (void)messages_.ErrorBox(text); }
  void reportLinkError(int code) override { messages_.DisplayLinkError(code); }
  void log(std::string_view text, std::string_view source) override {
    (void)messages_.LogMessage(text, source);
  }

 private:
  Messages& messages_;
};

}  // namespace frame
