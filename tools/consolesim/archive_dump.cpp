// The archive dump after DMPAFT: the console answers the date and time stamps with the
// number of pages holding newer records, then sends pages one at a time, each waiting for
// the program's verdict: ACK for the next page, ESC to stop, anything else to send the same
// page again.
//
// A program that dies in mid-transfer sends neither ACK nor ESC. The console waits for an
// answer only for its usual answer time, counted from the moment the page has left the
// line, and then gives the dump up; a LF is a wake-up at any time, so a program that
// starts again at once is answered as a console at rest answers it.

#include <algorithm>

#include "consolesim/console_engine.h"
#include "consolesim/wire.h"

namespace consolesim {

void ConsoleEngine::startDump(std::span<const std::uint8_t> stamps) {
  const DumpPlan plan = ring_.planDumpAfter(getU16(stamps, 0), getU16(stamps, 2));
  if (!replyAck()) return;
  // The pages are taken as they stand now; records archived during the dump go into the
  // ring but not into this transfer, so no page changes between a send and a resend.
  dumpPageCount_ = plan.pageCount;
  dumpPages_.clear();
  dumpPages_.reserve(dumpPageCount_ * kPageRecordBytes);
  for (std::size_t i = 0; i < dumpPageCount_; ++i) {
    const auto page = ring_.pageRecords(plan.startPage + i);
    dumpPages_.insert(dumpPages_.end(), page.begin(), page.end());
  }
  std::vector<std::uint8_t> answer(4);
  putU16(answer, 0, plan.pageCount);
  putU16(answer, 2, plan.firstRecord);
  replyBlock(std::move(answer));
  if (dumpPageCount_ == 0) return;
  mode_ = Mode::kDumpStart;
  dumpIndex_ = 0;
  awaitDumpAnswer();
}

void ConsoleEngine::awaitDumpAnswer() {
  // The wait starts once the last byte sent has left: at a slow baud rate a page alone
  // takes seconds on the line.
  dumpDeadlineUs_ = std::max(nowUs(), lineFreeUs_) + kAnswerWaitUs;
}

void ConsoleEngine::onDumpByte(std::uint8_t b) {
  if (b == kEsc) {
    mode_ = Mode::kIdle;
    dumpPages_.clear();
    return;
  }
  if (b == kLf) {
    // A wake-up: the program that asked for the dump has gone.
    mode_ = Mode::kIdle;
    dumpPages_.clear();
    onIdleByte(b);
    return;
  }
  if (mode_ == Mode::kDumpStart) {
    if (b != kAck) {
      // Not a start: the program went on with something else.
      mode_ = Mode::kIdle;
      onIdleByte(b);
      return;
    }
    mode_ = Mode::kDumpPage;
    sendPage();
    return;
  }
  if (b == kAck) {
    if (faults_.fire(FaultKind::kRepeatPage)) {
      sendPage();
      return;
    }
    dumpIndex_ += faults_.fire(FaultKind::kSkipPage) ? 2 : 1;
    if (dumpIndex_ >= dumpPageCount_) {
      mode_ = Mode::kIdle;
      dumpPages_.clear();
      return;
    }
  }
  sendPage();
}

void ConsoleEngine::sendPage() {
  if (faults_.fire(FaultKind::kPageTimeout)) {
    awaitDumpAnswer();
    return;
  }
  std::vector<std::uint8_t> page;
  page.reserve(kPageBytes);
  page.push_back(static_cast<std::uint8_t>(dumpIndex_ & 0xFF));
  const auto records = std::span<const std::uint8_t>(dumpPages_)
                           .subspan(dumpIndex_ * kPageRecordBytes, kPageRecordBytes);
  page.insert(page.end(), records.begin(), records.end());
  page.insert(page.end(), 4, std::uint8_t{0xFF});
  appendCrc(page);
  if (faults_.fire(FaultKind::kCrcPage)) page.back() ^= 0x5A;
  reply(page);
  awaitDumpAnswer();
}

}  // namespace consolesim
