#pragma once

#include "platform/serial_port.h"

namespace stationlink {

// The serial time-out profiles, by number.
enum class TimeoutProfile : int {
  kDefault = 0,          // Cirrant and plain links; around LOOP requests
  kDumpAcknowledge = 1,  // the acknowledge of the DMPAFT date stamp
  kModemAnswer = 2,      // a modem's answer in the modem test
  kProbe = 3,            // loopback and modem probing
  kStreaming = 4,        // current-conditions packets
  kFlush = 5,            // flushing the input
  kTextReply = 6,        // the text replies "OK" and "DONE"
  kDefaultModem = 7,     // profile 0 on a modem line
  kClassic = 8,          // classic links
  kClassicModem = 9,     // profile 8 on a modem line
  kPortScan = 10,        // scanning ports during automatic detection
};

inline constexpr int kTimeoutProfileCount = 11;

// The five values of profile n (0 to 10), without the modem substitution.
const platform::SerialTimeouts& timeoutProfile(TimeoutProfile profile);

// The profile to apply when `profile` is selected: on a modem line 0 becomes 7 and 8 becomes 9.
TimeoutProfile effectiveProfile(TimeoutProfile profile, bool modemLine);

}  // namespace stationlink
