#include "frame/scheduler.h"

#include <gtest/gtest.h>

#include "frame/auto_clear.h"
#include "program_fixture.h"
#include "station/schedule.h"

namespace frame {
namespace {

using testing::kProgramDir;
using testing::ProgramTest;

TEST(Scheduler, StepsEveryTwentiethTickAndSixteenAfterTheWrap) {
  Scheduler s;
  int tick = 0;
  std::vector<int> ran;
  s.addStep([&] { ran.push_back(tick); });
  for (tick = 1; tick <= 280; ++tick) s.tick();
  // Counter 1 grows to 20 on tick 19, ..., 240 on tick 239; 255 wraps to 0 on tick 255.
  std::vector<int> want;
  for (int t = 19; t <= 239; t += 20) want.push_back(t);
  want.push_back(255);
  want.push_back(275);
  EXPECT_EQ(ran, want);
}

TEST(Scheduler, DisabledSchedulingSkipsTheStep) {
  Scheduler s;
  int ran = 0;
  s.addStep([&] { ++ran; });
  {
    SchedulingPause pause(s);
    for (int i = 0; i < 40; ++i) s.tick();
  }
  EXPECT_EQ(ran, 0);
  EXPECT_TRUE(s.schedulingEnabled());
}

TEST(AutoClearDue, TimeOfDayWindowAndOncePerDay) {
  struct Case {
    const char* name;
    int clearTime;
    int hour, minute;
    bool doneToday;
    bool due;
  };
  constexpr Case kCases[] = {
      {"at the time", 23 * 60 + 55, 23, 55, false, true},
      {"last minute of the day", 23 * 60 + 55, 23, 59, false, true},
      {"before the time", 23 * 60 + 55, 23, 54, false, false},
      {"after midnight is not the window", 23 * 60 + 55, 0, 2, false, false},
      {"already done today", 23 * 60 + 55, 23, 56, true, false},
      {"nine minutes after", 6 * 60, 6, 9, false, true},
      {"ten minutes after", 6 * 60, 6, 10, false, false},
      {"negative time: no automatic clear", -1, 0, 5, false, false},
      {"other negative time", -30, 0, 0, false, false},
  };
  for (const Case& c : kCases) {
    platform::CivilTime now{2026, 12, 10, c.hour, c.minute, 0};
    std::uint32_t last = c.doneToday ? dateStamp(now) : dateStamp({2026, 12, 9});
    EXPECT_EQ(autoClearDue(c.clearTime, last, now), c.due) << c.name;
  }
}

class SchedulerProgramTest : public ProgramTest {
 protected:
  void startAt(int hour, int minute) {
    clock.setLocal(2026, 12, 10, hour, minute, 0);
    makeProgram();
    ASSERT_TRUE(program->start({}));
  }
  void scheduleHour(int hour, int offset) {
    station::DownloadSchedule s = program->schedule();
    s.hours.fill(false);
    s.hours[static_cast<std::size_t>(hour)] = true;
    s.offsetMinutes = offset;
    s.autoDownload = true;
    s.lastScheduledHour = -1;
    program->storeSchedule(s);
  }
  int minuteNow() {
    auto t = clock.localNow();
    return t.hour * 60 + t.minute;
  }
};

TEST_F(SchedulerProgramTest, OffsetFiveHourSevenDownloadsOnceBetween0705And0714) {
  std::string dir = addStation("Casa", "Casa");
  fs.setContents(std::string(kProgramDir) + "/download.lst", dir + "\n");
  startAt(7, 0);
  scheduleHour(7, 5);
  std::vector<int> at;
  downloads.onDownload = [&] { at.push_back(minuteNow()); };
  advanceSeconds(40 * 60);
  ASSERT_EQ(at.size(), 1u);
  EXPECT_GE(at[0], 7 * 60 + 5);
  EXPECT_LE(at[0], 7 * 60 + 14);
  EXPECT_EQ(program->schedule().lastScheduledHour, 7);
  EXPECT_NE(log().find("Descargado Casa correctamente."), std::string::npos);
  EXPECT_EQ(ui.violations().size(), 0u);
}

TEST_F(SchedulerProgramTest, CurrentStationFirstOthersWithTheirOwnSettings) {
  std::string a = addStation("A", "Alpha");
  std::string b = addStation("B", "Beta", 5, /*comPort=*/1);
  std::string missing = std::string(kProgramDir) + "/Gone";
  fs.setContents(std::string(kProgramDir) + "/download.lst", a + "\n" + missing + "\n" + b + "\n");
  startAt(6, 59);
  ASSERT_TRUE(program->openStation(b).isOk());
  scheduleHour(7, 0);
  advanceSeconds(2 * 60);
  EXPECT_EQ(downloads.stations, (std::vector<std::string>{"Beta", "Alpha"}));
  EXPECT_EQ(downloads.current, (std::vector<bool>{true, false}));
  // Alpha shares Beta's port: Beta's link was given up and taken back afterwards.
  EXPECT_NE(std::find(stations->events.begin(), stations->events.end(), "close link"),
            stations->events.end());
  EXPECT_EQ(stations->events.back(), "reopen");
  EXPECT_NE(log().find("No se pudo abrir la estación en '" + missing + "'."), std::string::npos);
}

// A damaged download.lst line (bytes that are not UTF-8) reaches the event log as valid
// UTF-8, each bad byte a replacement character.
TEST_F(SchedulerProgramTest, AnUnreadableListedStationIsLoggedAsValidText) {
  std::string dir = addStation("A", "Alpha");
  const std::string damaged = std::string(kProgramDir) + "/Jard\xedn";
  fs.setContents(std::string(kProgramDir) + "/download.lst", damaged + "\n" + dir + "\n");
  startAt(6, 59);
  scheduleHour(7, 0);
  advanceSeconds(2 * 60);
  EXPECT_EQ(log().find("Jard\xedn"), std::string::npos);
  EXPECT_NE(log().find("No se pudo abrir la estación en '" + std::string(kProgramDir) +
                       "/Jard\xEF\xBF\xBDn'."),
            std::string::npos)
      << log();
}

TEST_F(SchedulerProgramTest, CancelledCountDownAndFailedDownloadAreLogged) {
  std::string a = addStation("A", "Alpha");
  std::string b = addStation("B", "Beta");
  fs.setContents(std::string(kProgramDir) + "/download.lst", a + "\n" + b + "\n");
  startAt(6, 59);
  ASSERT_TRUE(program->openStation(a).isOk());
  scheduleHour(7, 0);
  ui.answerCountDown(false);  // Alpha cancelled
  downloads.failWith = -5;    // Beta times out
  advanceSeconds(2 * 60);
  EXPECT_EQ(downloads.stations, std::vector<std::string>{"Beta"});
  std::string l = log();
  EXPECT_NE(l.find("Descarga de Alpha cancelada."), std::string::npos);
  EXPECT_NE(l.find("(Beta) El ordenador dejó de esperar"), std::string::npos);
  EXPECT_NE(l.find("Descarga de Beta cancelada."), std::string::npos);
  EXPECT_EQ(l.find("Descargado"), std::string::npos);
}

TEST_F(SchedulerProgramTest, UnreadableListIsLoggedOncePerWindow) {
  addStation("A", "Alpha");
  startAt(7, 0);
  scheduleHour(7, 0);
  advanceSeconds(12 * 60);
  std::string l = log();
  std::string msg = "No se pudo abrir el archivo de lista de Descarga Automática download.lst.";
  ASSERT_NE(l.find(msg), std::string::npos);
  EXPECT_EQ(l.find(msg, l.find(msg) + 1), std::string::npos);
  EXPECT_TRUE(downloads.stations.empty());
}

TEST_F(SchedulerProgramTest, NothingStartsWhileADialogIsOpen) {
  std::string dir = addStation("Casa", "Casa");
  fs.setContents(std::string(kProgramDir) + "/download.lst", dir + "\n");
  startAt(7, 0);
  scheduleHour(7, 5);
  {
    // A dialog stays open across the whole window.
    SchedulingPause dialog(program->scheduler());
    advanceSeconds(16 * 60);
  }
  advanceSeconds(10 * 60);
  EXPECT_TRUE(downloads.stations.empty());
}

TEST_F(SchedulerProgramTest, ClearAt2355RunsOnlyFrom2355To2359) {
  std::string dir = addStation("Old", "Vieja", /*model=*/0);
  auto cfg = station::readStationRecord(fs, dir);
  ASSERT_TRUE(cfg.isOk());
  cfg->setAutoClearEnabled(true);
  cfg->setAutoClearTime(23 * 60 + 55);
  cfg->setAutoClearItems(0, 0x01);
  ASSERT_TRUE(station::writeStationRecord(fs, *cfg, dir).isOk());
  startAt(23, 50);
  std::vector<int> at;
  ui.onViolation([](const std::string& v) { ADD_FAILURE() << v; });
  advanceSeconds(20 * 60);  // to 00:10 of the next day
  ASSERT_EQ(clear.slots, std::vector<int>{68});
  std::string l = log();
  EXPECT_NE(l.find("El Borrado Automático de Vieja se realizó correctamente."), std::string::npos);
  EXPECT_EQ(program->currentStation()->lastAutoClear(), (2026u << 16) | (12u << 8) | 10u);
  // The clear's count-down came between 23:55 and 23:59.
  ASSERT_EQ(ui.shown().back().kind, platform::ScriptedUserInterface::Kind::kCountDown);
  EXPECT_NE(ui.shown().back().text.find("23:55"), std::string::npos);
}

TEST_F(SchedulerProgramTest, CancelledClearIsRecordedAndNotOfferedAgainThatDay) {
  std::string dir = addStation("Old", "Vieja", /*model=*/2);
  auto cfg = station::readStationRecord(fs, dir);
  ASSERT_TRUE(cfg.isOk());
  cfg->setAutoClearEnabled(true);
  cfg->setAutoClearTime(10 * 60);
  cfg->setAutoClearItems(7, 0x03);
  ASSERT_TRUE(station::writeStationRecord(fs, *cfg, dir).isOk());
  startAt(10, 0);
  ui.answerCountDown(false);
  advanceSeconds(12 * 60);
  EXPECT_TRUE(clear.slots.empty());
  EXPECT_NE(log().find("Borrado Automático de Vieja cancelado."), std::string::npos);
  // Recorded on disk before the question, so a restart does not ask again.
  auto saved = station::readStationRecord(fs, dir);
  ASSERT_TRUE(saved.isOk());
  EXPECT_EQ(saved->lastAutoClear(), (2026u << 16) | (12u << 8) | 10u);
}

}  // namespace
}  // namespace frame
