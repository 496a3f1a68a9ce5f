// A full console ring whose oldest record does not start a page, played byte for byte:
// DMPAFT from nothing answers 513 pages from record 3, the first page's first three
// records and the last page's last two are the ones already taken, and the station ends
// with the ring's 2560 records exactly once.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "database/weather_database.h"
#include "link/download_session.h"
#include "link_fixture.h"
#include "platform/testing/mem_file_system.h"
#include "platform/testing/scripted_user_interface.h"
#include "quantities/units.h"
#include "recording_host.h"

namespace linktest {
namespace {

constexpr int kRingRecords = 2560;
constexpr int kIntervalMinutes = 30;
constexpr int kDaysInJanuaryAndFebruary2006[] = {31, 28, 31};

// Record n of the ring (0 oldest) was archived at 2006-01-01 00:30 + 30n minutes. Its day
// (0 = 1 January) and minutes as the station files it: 00:00 closes the day before as 1440.
std::pair<int, int> filedAt(int n) {
  const int minutes = kIntervalMinutes + kIntervalMinutes * n;
  return {(minutes - 1) / 1440, (minutes - 1) % 1440 + 1};
}

std::int32_t packedDay(int dayIndex) {
  int month = 1;
  for (int days : kDaysInJanuaryAndFebruary2006) {
    if (dayIndex < days) break;
    dayIndex -= days;
    ++month;
  }
  return records::packDate(2006, month, dayIndex + 1);
}

// The 52-byte console record of ring record n: the date and time stamps, the rest a
// plain revision-B record (byte 42 is 0x00).
Bytes consoleRecord(int n) {
  const int minutes = kIntervalMinutes + kIntervalMinutes * n;
  const std::int32_t day = packedDay(minutes / 1440);
  const int dateStamp = (records::packedYear(day) - 2000) * 512 + records::packedMonth(day) * 32 +
                        records::packedDay(day);
  const int timeStamp = (minutes % 1440) / 60 * 100 + minutes % 60;
  Bytes r(52, 0);
  r[0] = static_cast<std::uint8_t>(dateStamp & 0xFF);
  r[1] = static_cast<std::uint8_t>(dateStamp >> 8);
  r[2] = static_cast<std::uint8_t>(timeStamp & 0xFF);
  r[3] = static_cast<std::uint8_t>(timeStamp >> 8);
  r[4] = 0x20;  // outside temperature 80.0 °F, high and low the same
  r[5] = 0x03;
  r[6] = 0x20;
  r[7] = 0x03;
  r[8] = 0x20;
  r[9] = 0x03;
  return r;
}

// Page `sequence` of the dump. The newest record sits in slot 2 of the ring page the dump
// starts on, so slot s of page i holds ring record 5i + s - 3: before 0 the newest three,
// from 2560 on the oldest two again.
Bytes page(int sequence) {
  Bytes p{static_cast<std::uint8_t>(sequence & 0xFF)};
  for (int slot = 0; slot < 5; ++slot) {
    int n = 5 * sequence + slot - 3;
    if (n < 0) n += kRingRecords;
    if (n >= kRingRecords) n -= kRingRecords;
    const Bytes r = consoleRecord(n);
    p.insert(p.end(), r.begin(), r.end());
  }
  p.insert(p.end(), 4, 0xFF);
  return withCrc(p);
}

class WrappedRing : public CirrantFixture {};

TEST_F(WrappedRing, FiveHundredThirteenPagesFromRecordThreeStoreTheRingOnce) {
  const Bytes stamps = {0, 0, 0, 0, 0, 0};                 // date 0, time 0, CRC 0
  const Bytes answer = withCrc({0x01, 0x02, 0x03, 0x00});  // 513 pages, first record 3
  wire_->wake();                                           // the download's own wake-up
  wire_->wake();
  wire_->onText("VER\n", cat({kOkReply, bytes("Apr 10 2006\n\r")}));
  wire_->wake();
  wire_->onText("EEBRD 2D 1\n", cat({kAckByte, withCrc({kIntervalMinutes})}));
  for (int exchange = 0; exchange < 2; ++exchange) {
    wire_->wake();
    wire_->onText("DMPAFT\n", kAckByte);
    wire_->on(stamps, cat({kAckByte, answer}));
  }
  for (int i = 0; i < 513; ++i) wire_->on(kAckByte, page(i));

  platform::MemFileSystem fs;
  database::WeatherDatabase db(fs);
  (void)db.open("/st");  // a new station: no month files yet
  station::StationConfig config;
  (void)config.setModel(6);
  config.setStationName("Cumbre");
  platform::ScriptedUserInterface ui;
  platform::UnattendedFlag unattended;
  platform::UnattendedScope scope(unattended);
  RecordingHost host(ui, unattended);
  quantities::Units units;
  platform::IntlSettings intl;
  quantities::ValueContext values{units, intl};
  stationlink::DownloadContext ctx;
  ctx.link = &link_;
  ctx.db = &db;
  ctx.config = &config;
  ctx.host = &host;
  ctx.values = &values;
  ctx.quickMode = true;
  stationlink::DownloadOutcome out = stationlink::Download(ctx);
  ASSERT_TRUE(out.ok()) << out.status.toString() << "\n" << host.lines();
  EXPECT_EQ(out.pages, 513);
  EXPECT_EQ(out.stored, static_cast<std::size_t>(kRingRecords));

  ASSERT_EQ(db.NumberOfRecordsInDataBase(), kRingRecords);
  for (int n = 0; n < kRingRecords; ++n) {
    database::WeatherDataObject obj;
    ASSERT_EQ(db.GetRecord(obj, n), 0);
    const auto [day, minutes] = filedAt(n);
    ASSERT_EQ(obj.date.packed(), packedDay(day)) << "record " << n;
    ASSERT_EQ(obj.date.minutes, minutes) << "record " << n;
  }
}

}  // namespace
}  // namespace linktest
