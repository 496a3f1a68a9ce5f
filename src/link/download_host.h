#pragma once

#include <string_view>

namespace stationlink {

// What an archive download needs of the program around it: a person to ask and to tell,
// and the event log. The download itself decides nothing about who is there; the host says
// whether the run is unattended, and then nothing is asked or shown, only logged.
class DownloadHost {
 public:
  virtual ~DownloadHost() = default;

  // True while nobody is there to answer: questions are not asked, messages are logged.
  virtual bool unattended() const = 0;
  // A yes/no question to the person; false for no.
  virtual bool ask(std::string_view title, std::string_view text) = 0;
  // A notice, and an error, shown to the person.
  virtual void showNotice(std::string_view text) = 0;
  virtual void showError(std::string_view text) = 0;
  // Tells the message of a link error code (-4 CRC, -5 time-out, ...) the way the program
  // tells link errors: shown titled as a communication error, or logged while unattended.
  virtual void reportLinkError(int code) = 0;
  // One line of the event log under `source` (the station's name).
  virtual void log(std::string_view text, std::string_view source) = 0;
};

}  // namespace stationlink
