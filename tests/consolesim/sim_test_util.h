#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "consolesim/console_engine.h"
#include "platform/clock.h"

namespace consolesim::testing {

using Bytes = std::vector<std::uint8_t>;

// "06 05 50 A5" -> {0x06, 0x05, 0x50, 0xA5}.
inline Bytes hex(std::string_view text) {
  Bytes out;
  int hi = -1;
  for (char ch : text) {
    int v;
    if (ch >= '0' && ch <= '9')
      v = ch - '0';
    else if (ch >= 'A' && ch <= 'F')
      v = ch - 'A' + 10;
    else if (ch >= 'a' && ch <= 'f')
      v = ch - 'a' + 10;
    else
      continue;
    if (hi < 0) {
      hi = v;
    } else {
      out.push_back(static_cast<std::uint8_t>(hi * 16 + v));
      hi = -1;
    }
  }
  return out;
}

inline Bytes text(std::string_view s) { return Bytes(s.begin(), s.end()); }

inline Bytes cat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A console on a fake clock that starts at 2006-03-15 23:50 local time.
struct SimConsole {
  explicit SimConsole(EngineOptions o = defaults())
      : clock(), engine((setStart(), clock), std::move(o)) {}

  static EngineOptions defaults() {
    EngineOptions o;
    o.historyDays = 0;
    return o;
  }
  void setStart() { clock.setLocal(2006, 3, 15, 23, 50); }

  // Sends `in` and returns every byte due now.
  Bytes send(const Bytes& in) {
    engine.receive(in);
    return drain();
  }
  Bytes send(std::string_view in) { return send(text(in)); }
  Bytes drain() {
    Bytes out(4096);
    Bytes all;
    while (std::size_t n = engine.transmit(out))
      all.insert(all.end(), out.begin(), out.begin() + n);
    return all;
  }
  void advance(std::chrono::milliseconds d) { clock.advance(d); }

  platform::FakeClock clock;
  ConsoleEngine engine;
};

}  // namespace consolesim::testing
