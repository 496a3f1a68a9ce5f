// The text commands of the Cirrant consoles.
#include <array>
#include <cstdio>

#include "link/cirrant_link.h"
#include "link/console_text.h"
#include "link/crc16.h"
#include "platform/clock.h"

namespace stationlink {

using platform::Result;
using platform::Status;

namespace {

constexpr std::size_t kArchivePageStoreBytes = 264;
constexpr std::size_t kPageBufferBytes = 280;
constexpr std::size_t kTextReplyLimit = 100;

}  // namespace

Status CirrantLink::AllocateDownloadBuffers(std::size_t pageCount) {
  return resizeBuffers(pageCount * kArchivePageStoreBytes, kPageBufferBytes);
}

Result<FirmwareDate> CirrantLink::GetFirmwareDate() {
  if (Status s = prologue(false); !s) return s;
  if (Status s = sendCommand("VER\n"); !s) return s;
  if (Status s = ExpectOk(); !s) return s;
  std::array<std::uint8_t, 13> reply{};
  auto got = ReadAvailable(reply);
  if (!got) return got.status();
  const std::string text = replyText(std::span(reply).first(*got), reply.size());
  return parseFirmwareDate(text);
}

Result<ConsoleTime> CirrantLink::GetTime() {
  if (Status s = prologue(false); !s) return s;
  if (Status s = sendAcknowledged("GETTIME\n"); !s) return s;
  if (Status s = ReadBlockCrc(8); !s) return s;
  auto b = receiveBuffer();
  ConsoleTime t;
  t.minute = b[1];
  t.hour = b[2];
  t.day = b[3];
  t.month = b[4];
  t.year = b[5] + 1900;
  return t;
}

Status CirrantLink::SetTime(const ConsoleTime& t) {
  // The console keeps the year as one byte counted from 1900.
  if (t.year < 1900 || t.year > 1900 + 255 || t.month < 1 || t.month > 12 || t.day < 1 ||
      t.day > platform::daysInMonth(t.year, t.month) || t.hour < 0 || t.hour > 23 || t.minute < 0 ||
      t.minute > 59) {
    return refuse("the console cannot be set to that time");
  }
  if (Status s = prologue(false); !s) return s;
  if (Status s = sendAcknowledged("SETTIME\n"); !s) return s;
  const std::uint8_t block[6] = {0,
                                 static_cast<std::uint8_t>(t.minute),
                                 static_cast<std::uint8_t>(t.hour),
                                 static_cast<std::uint8_t>(t.day),
                                 static_cast<std::uint8_t>(t.month),
                                 static_cast<std::uint8_t>(t.year - 1900)};
  if (Status s = WriteBlockCrc(block); !s) return s;
  return GetAcknowledge();
}

Result<HiLowsBlock> CirrantLink::ReadHiLows() {
  constexpr std::size_t kReply = kHiLowsBytes + 2;
  if (Status s = prologue(true); !s) return s;
  if (Status s = Flush(); !s) return s;
  if (Status s = sendAcknowledged("HILOWS\n"); !s) return s;
  std::array<std::uint8_t, kReply> reply{};
  auto got = ReadAvailable(reply);
  if (!got) return got.status();
  if (*got < kReply) {
    return fail(kTimedOut, kErrRead,
                "console sent " + std::to_string(*got) + " of " + std::to_string(kReply) +
                    " bytes of highs and lows");
  }
  resetCrc();
  if (crc16(reply) != 0) return fail(kCrcError, kErrCrc, "CRC error in the highs and lows");
  HiLowsBlock block{};
  std::copy_n(reply.begin(), block.size(), block.begin());
  return block;
}

Status CirrantLink::SetArchiveInterval(int intervalCode) {
  auto minutes = archiveIntervalMinutes(intervalCode);
  if (!minutes) return refuse("archive interval code " + std::to_string(intervalCode) + " unknown");
  if (Status s = prologue(false); !s) return s;
  char command[24];
  std::snprintf(command, sizeof command, "SETPER %d\n", *minutes);
  if (Status s = sendCommand(command); !s) return s;
  if (Status s = ExpectOk(); !s) return s;
  return ClearArchive();
}

Status CirrantLink::ClearArchive() {
  if (Status s = prologue(true); !s) return s;
  if (Status s = Flush(); !s) return s;
  return sendAcknowledged("CLRLOG\n");
}

Status CirrantLink::PutRain(int yearlyRainClicks) {
  if (yearlyRainClicks < 0) return refuse("yearly rain cannot be negative");
  if (Status s = prologue(false); !s) return s;
  char command[32];
  std::snprintf(command, sizeof command, "PUTRAIN %d\n", yearlyRainClicks);
  return sendAcknowledged(command);
}

Status CirrantLink::clearPeriods(const char* command, int period) {
  if (period < -1 || period > 2) return refuse("period must be 0, 1, 2 or -1 for all");
  if (Status s = prologue(true); !s) return s;
  const int first = period < 0 ? 0 : period;
  const int last = period < 0 ? 2 : period;
  for (int p = first; p <= last; ++p) {
    if (p != first) {
      if (Status s = WakeUp(); !s) return s;
    }
    char text[24];
    std::snprintf(text, sizeof text, "%s %d\n", command, p);
    if (Status s = sendAcknowledged(text); !s) return s;
  }
  return Status::ok();
}

Status CirrantLink::ClearHighs(int period) { return clearPeriods("CLRHIGHS", period); }

Status CirrantLink::ClearLows(int period) { return clearPeriods("CLRLOWS", period); }

Status CirrantLink::okThenDone(const char* command) {
  if (Status s = prologue(true); !s) return s;
  if (Status s = sendCommand(command); !s) return s;
  if (Status s = ExpectOk(); !s) return s;
  return ExpectDone();
}

Status CirrantLink::ClearGraphs() { return okThenDone("CLRGRA\n"); }

Status CirrantLink::ClearAlarms() { return okThenDone("CLRALM\n"); }

Status CirrantLink::ClearCurrentValue(int variable) {
  if (variable < 0 || variable > 255) return refuse("variable number out of range");
  if (Status s = prologue(true); !s) return s;
  char command[24];
  std::snprintf(command, sizeof command, "CLRVAR %d\n", variable);
  return sendAcknowledged(command);
}

Status CirrantLink::SetBarometer(int reading, int elevation) {
  if (!(reading == 0 || (reading >= 16000 && reading <= 32500)) || elevation < -2000 ||
      elevation > 15000) {
    return refuse("barometer reading or elevation out of range");
  }
  if (Status s = prologue(false); !s) return s;
  char command[32];
  std::snprintf(command, sizeof command, "BAR=%hd %hd\n", static_cast<short>(reading),
                static_cast<short>(elevation));
  if (Status s = sendCommand(command); !s) return s;
  wait(100);
  return ExpectOk();
}

Result<CalibratedReadingsBlock> CirrantLink::ReadCalibratedReadings() {
  if (Status s = prologue(true); !s) return s;
  if (Status s = sendAcknowledged("CALED\n"); !s) return s;
  if (Status s = ReadBlockCrc(kCalibratedReadingsBytes + 2); !s) return s;
  CalibratedReadingsBlock block{};
  std::copy_n(receiveBuffer().begin(), block.size(), block.begin());
  return block;
}

Status CirrantLink::WriteCalibratedReadings(const CalibratedReadingsBlock& block) {
  if (Status s = prologue(true); !s) return s;
  if (Status s = sendAcknowledged("CALFIX\n"); !s) return s;
  if (Status s = WriteBlockCrc(block); !s) return s;
  return GetAcknowledge();
}

Result<std::string> CirrantLink::readTextReply(const char* command) {
  if (Status s = prologue(true); !s) return s;
  if (Status s = Flush(); !s) return s;
  if (Status s = sendCommand(command); !s) return s;
  if (Status s = ExpectOk(); !s) return s;
  std::array<std::uint8_t, kTextReplyLimit> reply{};
  auto got = ReadAvailable(reply);
  if (!got) return got.status();
  return replyText(std::span(reply).first(*got), reply.size());
}

Result<ReceptionCounts> CirrantLink::ReceptionCheck() {
  auto text = readTextReply("RXCHECK\n");
  if (!text) return text.status();
  auto counts = parseReceptionCounts(*text);
  if (!counts) {
    return Status(platform::Errc::kCorrupt, "the reception statistics could not be read", kErrRead);
  }
  return *counts;
}

Result<std::string> CirrantLink::ReadBarometerData() { return readTextReply("BARDATA\n"); }

}  // namespace stationlink
