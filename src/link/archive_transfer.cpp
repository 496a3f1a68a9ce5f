#include "link/archive_transfer.h"

#include <algorithm>
#include <array>

#include "link/crc16.h"
#include "link/link_types.h"

namespace stationlink {

namespace {

constexpr int kDumpAttempts = 5;
constexpr int kDumpCommandTries = 5;
constexpr int kSettleMs = 250;

}  // namespace

platform::Result<DumpAfterResult> dumpAfter(ConsoleLink& link, DumpStamps stamps) {
  for (int attempt = 0; attempt < kDumpAttempts; ++attempt) {
    if (!link.WakeUp()) continue;
    bool acknowledged = false;
    for (int i = 0; i < kDumpCommandTries && !acknowledged; ++i) {
      (void)link.Flush();
      if (!link.WriteString("DMPAFT\n")) continue;
      acknowledged = link.GetAcknowledge().isOk();
    }
    if (!acknowledged)
      return platform::Status(platform::Errc::kTimeout, "DMPAFT not acknowledged", -5);

    link.resetCrc();
    if (!link.WriteWordCrc(stamps.date) || !link.WriteWordCrc(stamps.time) || !link.WriteCrc())
      continue;
    link.SaveTimeouts();
    link.SetTimeoutProfile(TimeoutProfile::kDumpAcknowledge);
    platform::Status ack = link.GetAcknowledge();
    link.RestoreTimeouts();
    if (!ack) {
      (void)link.WriteByte(kEsc);
      continue;
    }
    if (!link.ReadBlockCrc(6)) continue;
    auto b = link.receiveBuffer();
    DumpAfterResult result;
    result.pageCount = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    result.firstRecord = static_cast<std::uint16_t>(b[2] | (b[3] << 8));
    // An answer no console can give would otherwise drive the page loop far past the
    // archive; it is refused as a failed exchange.
    if (result.pageCount > kMaxDumpPages || result.firstRecord >= kRecordsPerPage) {
      return platform::Status(platform::Errc::kCorrupt, "impossible DMPAFT answer", -1);
    }
    return result;
  }
  return platform::Status(platform::Errc::kIo, "DMPAFT failed", -1);
}

int readArchivePage(ConsoleLink& link, std::uint8_t expectedSequence, std::uint8_t& reply,
                    std::span<std::uint8_t, kStoredPageBytes> store) {
  reply = kNak;
  std::array<std::uint8_t, kArchivePageBytes> page{};
  std::uint16_t crc = 0;
  for (std::size_t i = 0; i < page.size(); ++i) {
    auto byte = link.ReadByte();
    if (!byte) {
      int code = byte.status().code();
      if (code == -5) return kPageIncomplete;
      link.wait(kSettleMs);
      (void)link.Flush();
      return code != 0 ? code : -6;
    }
    page[i] = *byte;
    crc = crc16Update(crc, page[i]);
    link.reloadIdleCountdown();
  }
  if (crc != 0) {
    link.wait(kSettleMs);
    (void)link.Flush();
    return kPageBadCrc;
  }
  if (page[0] == static_cast<std::uint8_t>(expectedSequence - 1)) {
    reply = kAck;
    return kPageBadSequence;
  }
  if (page[0] != expectedSequence) {
    link.wait(kSettleMs);
    (void)link.Flush();
    return kPageBadSequence;
  }
  std::copy_n(page.begin() + 1, kStoredPageBytes, store.begin());
  return 0;
}

}  // namespace stationlink
