#pragma once

// The two exchanges of an archive download on the link: DMPAFT, which tells how many pages
// follow the stamps, and the reading of one archive page.

#include <cstdint>
#include <span>

#include "link/archive_conversion.h"
#include "link/console_link.h"
#include "platform/status.h"

namespace stationlink {

// Results of readArchivePage besides 0 (a good page) and the link's own error codes.
inline constexpr int kPageIncomplete = -9;   // the page stopped short (a time-out)
inline constexpr int kPageBadStart = -2;     // the page did not start as expected
inline constexpr int kPageBadSequence = -3;  // a repeat of the last page, or a stray one
inline constexpr int kPageBadCrc = -4;

// Up to five attempts: wake the console, send "DMPAFT\n" until acknowledged, send the
// stamps with their CRC, wait for the acknowledge under profile 1 and read the 6-byte
// answer. Fails with -5 when DMPAFT is never acknowledged, -1 after five failed attempts,
// and -1 when the answer is impossible (more pages than a full ring gives, a first
// record outside its page). Does not end the exchange: the caller sends ESC or ACK.
platform::Result<DumpAfterResult> dumpAfter(ConsoleLink& link, DumpStamps stamps);

// Reads one 267-byte page. 0 and bytes 1-264 in `store` when the page is the expected one;
// kPageBadSequence with `reply` set to ACK when it repeats the page before; otherwise a
// negative code with `reply` NAK. `reply` is the byte the caller answers with.
int readArchivePage(ConsoleLink& link, std::uint8_t expectedSequence, std::uint8_t& reply,
                    std::span<std::uint8_t, kStoredPageBytes> store);

}  // namespace stationlink
