#include "frame/messages.h"

#include "frame/link_error_table.h"
#include "platform/string_table.h"

namespace frame {

namespace {

// A loaded string is used with room for 256 characters; the table's texts are shorter.
constexpr std::size_t kMaxLoadedStringBytes = 256;

std::string loadBounded(int stringId) {
  std::string text = platform::loadString(stringId);
  if (text.size() > kMaxLoadedStringBytes) {
    std::size_t end = kMaxLoadedStringBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    text.resize(end);
  }
  return text;
}

}  // namespace

std::string fillText(std::string_view pattern, std::initializer_list<std::string_view> args) {
  std::string out;
  out.reserve(pattern.size());
  auto next = args.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size()) {
      if (pattern[i + 1] == 's') {
        if (next != args.end()) out += *next++;
        ++i;
        continue;
      }
      if (pattern[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
    }
    out += pattern[i];
  }
  return out;
}

Messages::Messages(EventLog& log, platform::UserInterface& ui,
                   const platform::UnattendedFlag& unattended)
    : log_(log), ui_(ui), unattended_(unattended) {}

int Messages::LogMessage(std::string_view text, std::string_view source) {
  auto written = log_.append(text, source);
  if (written) return 0;
  // The history is safe in download.tmp but could not be put in place under any name;
  // a person must look at the program directory. Unattended, nobody could answer a box.
  if (written.status().code() == EventLog::kBackupFailedCode && !isUnattended()) {
    ui_.message(platform::loadString(kTitleError), "Unable to create backup log file");
  }
  return -1;
}

int Messages::LogMessageId(int stringId, std::string_view source) {
  return LogMessage(loadBounded(stringId), source);
}

int Messages::LogModuleMessage(std::string_view text, std::string_view source) {
  const int result = LogMessage(text, source);
  if (logViewRefresh_) return logViewRefresh_() ? 1 : 0;
  return result;
}

void Messages::LogLinkError(int code) {
  if (code == 0) return;
  (void)LogMessageId(linkErrorStringId(code), stationName_);
}

void Messages::DisplayLinkError(int code) {
  if (code == 0) return;
  if (isUnattended()) {
    LogLinkError(code);
    return;
  }
  show(kTitleLinkError, loadBounded(linkErrorStringId(code)));
}

void Messages::ReportError(int stringId, std::string_view source) {
  if (isUnattended()) {
    (void)LogMessageId(stringId, source);
    return;
  }
  ui_.message(platform::loadString(kTitleError), loadBounded(stringId));
}

void Messages::ShowError(int stringId) { show(kTitleError, loadBounded(stringId)); }

void Messages::ShowErrorText(std::string_view text) { show(kTitleError, text); }

int Messages::ErrorBox(std::string_view text) {
  show(kTitleError, text);
  return 1;
}

void Messages::ShowNotice(int stringId) { show(kTitleNotice, loadBounded(stringId)); }

void Messages::ShowNoticeText(std::string_view text) { show(kTitleNotice, text); }

void Messages::ShowOutOfMemory() {
  show(kTitleError, "Not enough memory to complete operation.  Please exit windows.");
}

bool Messages::Ask(std::string_view text) {
  if (isUnattended()) return false;
  return ui_.question(platform::loadString(kTitleNotice), text);
}

bool Messages::AskId(int stringId) { return Ask(loadBounded(stringId)); }

bool Messages::CountDown(std::string_view title, std::string_view text, int seconds) {
  return ui_.countDown(title, text, seconds);
}

// A box would stop unattended work until someone came to close it, so while the flag is
// set the text goes to the event log instead, under the open station's name.
void Messages::show(int titleId, std::string_view text) {
  if (isUnattended()) {
    (void)LogMessage(text, stationName_);
    return;
  }
  ui_.message(platform::loadString(titleId), text);
}

}  // namespace frame
