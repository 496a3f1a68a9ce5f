// The DMPAFT exchange and archive pages byte for byte, as the console sends them.
#include "link/archive_transfer.h"

#include <gtest/gtest.h>

#include <array>

#include "link/download_texts.h"
#include "link_fixture.h"

namespace linktest {
namespace {

using stationlink::kStoredPageBytes;

// The stamps of 16 March 2006, 00:00: date 3184 = 0x0C70, time 0, low byte first, then
// their CRC-16 0x3714, high byte first.
const Bytes kStampsOf16March = {0x70, 0x0C, 0x00, 0x00, 0x37, 0x14};

class ArchiveTransfer : public CirrantFixture {
 protected:
  // The console's 6-byte answer: page count, first record, CRC.
  static Bytes answer(std::uint16_t pages, std::uint16_t first) {
    return withCrc({static_cast<std::uint8_t>(pages & 0xFF), static_cast<std::uint8_t>(pages >> 8),
                    static_cast<std::uint8_t>(first & 0xFF),
                    static_cast<std::uint8_t>(first >> 8)});
  }
  void dumpExchange(const Bytes& reply) {
    ASSERT_TRUE(link_.Open().isOk());
    wire_->written.clear();
    wire_->stepStart = 0;
    wire_->wake();
    wire_->onText("DMPAFT\n", kAckByte);
    wire_->on(kStampsOf16March, cat({kAckByte, reply}));
  }
  // A page as the console sends it: sequence, five records filled with `fill`, four unused
  // bytes, CRC over the 265 bytes before it.
  static Bytes page(std::uint8_t sequence, std::uint8_t fill) {
    Bytes p(265, fill);
    p[0] = sequence;
    std::fill(p.begin() + 261, p.end(), 0);
    return withCrc(p);
  }
  int readPage(std::uint8_t expected, std::uint8_t& reply) {
    EXPECT_TRUE(link_.Open().isOk());
    return stationlink::readArchivePage(link_, expected, reply, store_);
  }
  std::array<std::uint8_t, kStoredPageBytes> store_{};
};

TEST_F(ArchiveTransfer, StampsGoOutWithTheirCrcAndThreePagesFromRecordTwoComeBack) {
  dumpExchange(answer(3, 2));
  auto dump = stationlink::dumpAfter(link_, {3184, 0});
  ASSERT_TRUE(dump.isOk()) << dump.status().toString();
  EXPECT_EQ(dump->pageCount, 3);
  EXPECT_EQ(dump->firstRecord, 2);
  // Three pages of five records, the first two of the first page older than asked for.
  EXPECT_EQ(dump->pageCount * stationlink::kRecordsPerPage - dump->firstRecord, 13);
  EXPECT_EQ(wire_->written, cat({bytes("\nDMPAFT\n"), kStampsOf16March}));
}

TEST_F(ArchiveTransfer, AnAnswerNoConsoleCanGiveIsAFailureNotALongLoop) {
  for (const auto& [pages, first] : {std::pair{514, 0}, std::pair{3, 5}}) {
    dumpExchange(answer(static_cast<std::uint16_t>(pages), static_cast<std::uint16_t>(first)));
    auto dump = stationlink::dumpAfter(link_, {3184, 0});
    EXPECT_FALSE(dump.isOk()) << pages << " pages from record " << first;
    EXPECT_EQ(dump.status().code(), -1);
    // Refused at the first answer, not after five more attempts.
    EXPECT_EQ(wire_->written, cat({bytes("\nDMPAFT\n"), kStampsOf16March}));
  }
}

TEST_F(ArchiveTransfer, AGoodPageIsStoredWithoutItsSequenceAndCrc) {
  const Bytes good = page(7, 0xA5);
  wire_->input.assign(good.begin(), good.end());
  std::uint8_t reply = 0;
  EXPECT_EQ(readPage(7, reply), 0);
  EXPECT_EQ(store_[0], 0xA5);
  EXPECT_EQ(store_[259], 0xA5);
  EXPECT_EQ(store_[260], 0x00);  // the unused bytes are kept with the records
}

TEST_F(ArchiveTransfer, ARepeatedPageIsAcknowledgedButNotStored) {
  const Bytes repeat = page(6, 0xA5);
  wire_->input.assign(repeat.begin(), repeat.end());
  std::uint8_t reply = 0;
  EXPECT_EQ(readPage(7, reply), stationlink::kPageBadSequence);
  EXPECT_EQ(reply, 0x06);
  EXPECT_EQ(store_[0], 0x00);
}

TEST_F(ArchiveTransfer, BadPagesAreAnsweredWithNak) {
  struct Case {
    const char* name;
    Bytes bytes;
    int result;
  };
  const Bytes good = page(7, 0xA5);
  Bytes damaged = good;
  damaged[100] ^= 0x01;
  const Case cases[] = {
      {"stray sequence", page(9, 0xA5), stationlink::kPageBadSequence},
      {"damaged", damaged, stationlink::kPageBadCrc},
      {"cut short", Bytes(good.begin(), good.begin() + 200), stationlink::kPageIncomplete},
  };
  for (const Case& c : cases) {
    wire_->input.assign(c.bytes.begin(), c.bytes.end());
    std::uint8_t reply = 0;
    EXPECT_EQ(readPage(7, reply), c.result) << c.name;
    EXPECT_EQ(reply, 0x15) << c.name;
    EXPECT_EQ(store_[0], 0x00) << c.name;
  }
}

TEST(DownloadTexts, ProgressLine) {
  EXPECT_EQ(stationlink::progressText(5, 13), "Transferidos   5 de 13.");
  EXPECT_EQ(stationlink::progressText(120, 512), "Transferidos 120 de 512.");
}

}  // namespace
}  // namespace linktest
