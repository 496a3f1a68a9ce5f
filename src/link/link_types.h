#pragma once

#include <cstdint>
#include <string>

// The station link's namespace is "stationlink", not the folder's name: a global
// namespace "link" would clash with the POSIX function link() that system headers declare.
namespace stationlink {

// What sits at the other end of a link.
enum class LinkType : std::uint16_t {
  kClassic = 0,  // the older consoles
  kCirrant = 3,  // Cirrant Pro and Cirrant Pro Plus
  kPlain = 4,    // no console protocol: port, loopback and modem tests
};

// The record a link is created from.
struct PortParams {
  std::uint16_t portNumber = 0;  // COM port number n (1 and up)
  std::uint16_t baudRate = 0;    // 1200, 2400, 4800, 9600, 14400 or 19200
  LinkType linkType = LinkType::kCirrant;
  std::uint16_t idleSeconds = 0;  // without traffic, the port closes after this long
  std::uint8_t pulseDialling = 0;
  std::uint16_t modem = 0;  // nonzero: the console is reached through a modem on this port
  std::string phoneNumber;  // up to 79 characters
  std::string modemInit;    // up to 79 characters
  std::string label;        // the station's name, for the event log; up to 63 characters
  std::uint16_t dialPauseSeconds = 0;
  // A device path that stands for the port on this machine; when empty the port number is
  // looked up in the port map.
  std::string devicePath;
};

// The fastest a classic console talks, and the idle time used when the setting is unusable.
inline constexpr std::uint16_t kClassicMaxBaud = 2400;
inline constexpr std::uint16_t kDefaultIdleSeconds = 60;

// The two adjustments made to every link's parameters: a classic link never runs faster than
// 2400 baud, and an idle time outside 1 to 1999 seconds becomes 60.
PortParams normalizePortParams(PortParams params);

// The link state flags.
enum LinkState : std::uint32_t {
  kConfigured = 1u << 0,
  kPortOpen = 1u << 1,
  kModemLine = 1u << 2,
  kCallConnected = 1u << 3,
  kLinkReady = 1u << 4,
  kPortMissing = 1u << 5,
  kPortBusy = 1u << 6,
  kLinkError = 1u << 7,
  kNoAcknowledge = 1u << 8,
  kCrcError = 1u << 9,
  kTimedOut = 1u << 10,
  kLineError = 1u << 11,
  kOtherFailure = 1u << 12,
};

// Link error codes. Any other nonzero value is a system error number.
inline constexpr int kErrFailed = -1;
inline constexpr int kErrCrc = -4;
inline constexpr int kErrTimeout = -5;
inline constexpr int kErrRead = -6;
inline constexpr int kErrWrite = -7;
inline constexpr int kErrNoAcknowledge = -8;
inline constexpr int kErrPortMissing = -11;
inline constexpr int kErrPortBusy = -12;
inline constexpr int kErrArchiveIntervalZero = -50;

// Control bytes of the console protocol.
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kNak = 0x15;
inline constexpr std::uint8_t kEsc = 0x1B;
inline constexpr std::uint8_t kLf = 0x0A;
inline constexpr std::uint8_t kCr = 0x0D;

// Program-wide retry counts.
inline constexpr int kWakeUpRetries = 5;
inline constexpr int kDefaultCommandRetries = 5;

// Model byte answered by Identify.
enum class ConsoleModelCode : std::uint8_t {
  kTesselIII = 0,
  kTesselII = 1,
  kBasaltII = 2,
  kLumenoII = 3,
  kTillmark = 4,
  kKestrane = 5,
  kOrvell = 6,
  kCirrantPro = 16,
};

// The console's name for a model byte ("" when unknown).
const char* consoleModelName(int code);

}  // namespace stationlink
