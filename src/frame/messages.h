#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "frame/event_log.h"
#include "platform/user_interface.h"

namespace frame {

// String ids of the titles and of the messages of this file.
inline constexpr int kTitleNotice = 61640;     // "Tenga en cuenta"
inline constexpr int kTitleError = 61863;      // "Error"
inline constexpr int kTitleLinkError = 61864;  // "Error Comunicación"

// Fills each "%s" of a text from the string table with the next argument, in order; "%%"
// gives "%". The arguments are data: a "%" in them is never interpreted. Missing
// arguments leave "" in place of their "%s".
std::string fillText(std::string_view pattern, std::initializer_list<std::string_view> args);

// Every message to the user and every line of the event log goes through here. While the
// unattended flag is set nothing is shown: errors and notices go to the event log instead,
// and questions take their negative answer, so unattended work never waits for a person.
//
// The one Program owns this object along with the event log, the user interface and the
// flag it refers to; they must outlive it.
class Messages {
 public:
  Messages(EventLog& log, platform::UserInterface& ui, const platform::UnattendedFlag& unattended);

  // The name of the open station: the source of link-error lines and of lines logged in
  // place of a box. Empty when none is open.
  void setStationName(std::string name) { stationName_ = std::move(name); }
  const std::string& stationName() const { return stationName_; }

  // Set while the window that shows the event log is open: asks it to reload and says
  // whether the request was posted. Cleared with an empty function.
  void setLogViewRefresh(std::function<bool()> refresh) { logViewRefresh_ = std::move(refresh); }

  // Appends a line to the event log. 0 on success, -1 when the line could not be logged.
  int LogMessage(std::string_view text, std::string_view source);
  // Logs string `stringId` (at most 256 characters).
  int LogMessageId(int stringId, std::string_view source);
  // A line logged by an expansion module with its own source text. When the event-log
  // view is open it is asked to reload and the result says whether that was posted
  // (1 or 0); otherwise the result of LogMessage.
  int LogModuleMessage(std::string_view text, std::string_view source);

  // Logs the message of a non-zero link error code with the station's name as source.
  void LogLinkError(int code);
  // Shows the message of a non-zero link error code titled "Error Comunicación".
  void DisplayLinkError(int code);
  // Shows string `stringId` titled "Error", or, while unattended, logs it with `source`.
  void ReportError(int stringId, std::string_view source);

  // Boxes titled "Error".
  void ShowError(int stringId);
  void ShowErrorText(std::string_view text);
  // The box exported to modules. Returns the button pressed (1, the only one).
  int ErrorBox(std::string_view text);
  // Boxes titled "Tenga en cuenta".
  void ShowNotice(int stringId);
  void ShowNoticeText(std::string_view text);
  void ShowOutOfMemory();

  // A yes/no question titled "Tenga en cuenta". False without asking while unattended.
  bool Ask(std::string_view text);
  bool AskId(int stringId);
  // The announcement of unattended work; true when it ran out, false when cancelled.
  bool CountDown(std::string_view title, std::string_view text, int seconds);

  bool isUnattended() const { return unattended_.isSet(); }
  EventLog& eventLog() { return log_; }
  platform::UserInterface& ui() { return ui_; }

 private:
  void show(int titleId, std::string_view text);

  EventLog& log_;
  platform::UserInterface& ui_;
  const platform::UnattendedFlag& unattended_;
  std::string stationName_;
  std::function<bool()> logViewRefresh_;
};

}  // namespace frame
