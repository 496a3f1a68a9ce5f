#include "platform/event_loop.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/signals.h"

namespace platform {
namespace {

using std::chrono::milliseconds;
constexpr milliseconds kNoWait{0};

TEST(EventLoop, TimerFiresOnTheFakeClockAndRepeats) {
  FakeClock clock;
  EventLoop loop(clock);
  int fired = 0;
  loop.addTimer(milliseconds(1000), [&]() -> std::optional<milliseconds> {
    ++fired;
    return milliseconds(1000);
  });
  loop.runOnce(kNoWait);
  clock.advance(milliseconds(999));
  loop.runOnce(kNoWait);
  EXPECT_EQ(fired, 0);
  for (int i = 0; i < 3; ++i) {
    clock.advance(milliseconds(1000));
    loop.runOnce(kNoWait);
  }
  EXPECT_EQ(fired, 3);
}

TEST(EventLoop, StalledClockCatchesUpWithoutABurst) {
  FakeClock clock;
  EventLoop loop(clock);
  int fired = 0;
  loop.addTimer(milliseconds(1000), [&]() -> std::optional<milliseconds> {
    ++fired;
    return milliseconds(1000);
  });
  clock.advance(milliseconds(10'000));
  loop.runOnce(kNoWait);
  loop.runOnce(kNoWait);
  EXPECT_EQ(fired, 1);
}

TEST(EventLoop, HandlerMayRemoveTimersAndAddedTimersWaitForTheNextPass) {
  FakeClock clock;
  EventLoop loop(clock);
  int other = 0, added = 0;
  EventLoop::TimerId otherId = 0;
  loop.addTimer(milliseconds(0), [&]() -> std::optional<milliseconds> {
    loop.removeTimer(otherId);
    loop.addTimer(milliseconds(0), [&]() -> std::optional<milliseconds> {
      ++added;
      return std::nullopt;
    });
    return std::nullopt;
  });
  otherId = loop.addTimer(milliseconds(0), [&]() -> std::optional<milliseconds> {
    ++other;
    return std::nullopt;
  });
  loop.runOnce(kNoWait);
  EXPECT_EQ(other, 0);
  EXPECT_EQ(added, 0);  // added during the pass: waits for the next one
  loop.runOnce(kNoWait);
  EXPECT_EQ(added, 1);
  EXPECT_EQ(loop.timerCount(), 0u);
}

TEST(EventLoop, PostedTaskRunsOnTheNextPassAndStops) {
  FakeClock clock;
  EventLoop loop(clock);
  loop.post([&] { loop.stop(); });
  EXPECT_FALSE(loop.stopped());
  loop.run();
  EXPECT_TRUE(loop.stopped());
}

TEST(EventLoop, ReadsLinesWithCrlfAndReportsTheEnd) {
  FakeClock clock;
  EventLoop loop(clock);
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  std::vector<std::string> lines;
  bool eof = false;
  loop.watchLines(fds[0], [&](std::string_view line, bool end) {
    if (end)
      eof = true;
    else
      lines.emplace_back(line);
  });
  ASSERT_EQ(::write(fds[1], "download\r\nsta", 13), 13);
  loop.runOnce(kNoWait);
  EXPECT_EQ(lines, std::vector<std::string>{"download"});
  ASSERT_EQ(::write(fds[1], "tions\n", 6), 6);
  ::close(fds[1]);
  loop.runOnce(kNoWait);
  loop.runOnce(kNoWait);
  EXPECT_EQ(lines, (std::vector<std::string>{"download", "stations"}));
  EXPECT_TRUE(eof);
  ::close(fds[0]);
}

TEST(EventLoop, TerminationSignalReachesTheHandlerAndPumpRunsNoTimers) {
  FakeClock clock;
  EventLoop loop(clock);
  int timerRuns = 0;
  loop.addTimer(milliseconds(0), [&]() -> std::optional<milliseconds> {
    ++timerRuns;
    return milliseconds(0);
  });
  std::vector<int> got;
  ASSERT_TRUE(loop.handleTerminationSignals([&](int sig) {
    got.push_back(sig);
    loop.requestCancel();
    loop.post([&] { loop.stop(); });
  }));
  SignalPipe::raiseForTest(SignalPipe::terminateSignal());
  EXPECT_TRUE(loop.pump());
  EXPECT_EQ(got, std::vector<int>{SignalPipe::terminateSignal()});
  EXPECT_EQ(timerRuns, 0);
  EXPECT_FALSE(loop.stopped());
  loop.runOnce(kNoWait);
  EXPECT_TRUE(loop.stopped());
}

}  // namespace
}  // namespace platform
