#include "frame/event_log.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/testing/mem_file_system.h"

namespace frame {
namespace {

using platform::FakeClock;
using platform::MemFileSystem;

constexpr const char* kDir = "/prog";
constexpr const char* kLog = "/prog/download.log";

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    EXPECT_NE(end, std::string::npos) << "last line has no line feed";
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// Forwards to a MemFileSystem and fails the first `failRenames` renames, as a file system
// does when another program holds the target.
class RenameFailingFileSystem : public platform::FileSystem {
 public:
  explicit RenameFailingFileSystem(MemFileSystem& base) : base_(base) {}
  int failRenames = 0;

  platform::Result<std::unique_ptr<platform::File>> open(const std::string& p,
                                                         platform::OpenMode m) override {
    return base_.open(p, m);
  }
  platform::Result<std::string> readFile(const std::string& p) override {
    return base_.readFile(p);
  }
  platform::Status replaceFileAtomically(const std::string& p, std::string_view b,
                                         bool priv) override {
    return base_.replaceFileAtomically(p, b, priv);
  }
  platform::Result<std::vector<platform::DirEntry>> listDirectory(const std::string& p) override {
    return base_.listDirectory(p);
  }
  bool exists(const std::string& p) override { return base_.exists(p); }
  bool isDirectory(const std::string& p) override { return base_.isDirectory(p); }
  platform::Status createDirectories(const std::string& p) override {
    return base_.createDirectories(p);
  }
  platform::Status removeFile(const std::string& p) override { return base_.removeFile(p); }
  platform::Status removeAll(const std::string& p) override { return base_.removeAll(p); }
  platform::Status rename(const std::string& from, const std::string& to) override {
    if (failRenames > 0) {
      --failRenames;
      return platform::Status::io(from + ": held by another program");
    }
    return base_.rename(from, to);
  }
  platform::Status copyFile(const std::string& f, const std::string& t) override {
    return base_.copyFile(f, t);
  }

 private:
  MemFileSystem& base_;
};

class EventLogTest : public ::testing::Test {
 protected:
  EventLogTest() {
    clock_.setLocal(2026, 12, 10, 14, 5, 30);
    EXPECT_TRUE(fs_.createDirectories(kDir).isOk());
  }
  MemFileSystem fs_;
  FakeClock clock_;
  EventLog log_{fs_, clock_, kDir};
};

TEST_F(EventLogTest, FirstLineCreatesTheFile) {
  ASSERT_TRUE(log_.append("Descargado Casa correctamente.", "Finca").isOk());
  EXPECT_EQ(fs_.contents(kLog), " 10-12-26 14:05 (Finca) Descargado Casa correctamente.\n");
  EXPECT_FALSE(fs_.exists("/prog/download.tmp"));
}

TEST_F(EventLogTest, NewestLineComesFirstAndTheHistorySurvivesAPowerCut) {
  fs_.setContents(kLog, " 09-12-26  8:00 older\n");
  ASSERT_TRUE(log_.append("newer", "").isOk());
  fs_.dropUnsyncedData();
  EXPECT_EQ(fs_.contents(kLog), " 10-12-26 14:05 newer\n 09-12-26  8:00 older\n");
}

TEST_F(EventLogTest, SixThousandLinesBecomeFiveThousandAndOne) {
  std::string old;
  for (int i = 0; i < 6000; ++i) old += " 01-01-26  0:00 line " + std::to_string(i) + "\n";
  fs_.setContents(kLog, old);
  ASSERT_TRUE(log_.append("new", "").isOk());
  auto lines = splitLines(fs_.contents(kLog));
  ASSERT_EQ(lines.size(), 5001u);
  EXPECT_EQ(lines[0], " 10-12-26 14:05 new");
  EXPECT_EQ(lines[1], " 01-01-26  0:00 line 0");
  EXPECT_EQ(lines[5000], " 01-01-26  0:00 line 4999");
}

// A piece is at most 255 bytes with its line feed, and 5000 pieces are kept.
struct PieceCase {
  const char* name;
  std::size_t lineChars;  // without the line feed
  std::size_t lineCount;
  std::size_t wantOldLines;
  std::size_t wantLastLineChars;
};

class EventLogPieces : public ::testing::TestWithParam<PieceCase> {};

TEST_P(EventLogPieces, LongLinesCountAsSeveralPieces) {
  const PieceCase& c = GetParam();
  MemFileSystem fs;
  FakeClock clock;
  std::string old;
  for (std::size_t i = 0; i < c.lineCount; ++i) old += std::string(c.lineChars, 'x') + "\n";
  fs.setContents(kLog, old);
  EventLog log(fs, clock, kDir);
  ASSERT_TRUE(log.append("new", "").isOk());
  auto lines = splitLines(fs.contents(kLog));
  ASSERT_EQ(lines.size(), 1 + c.wantOldLines);
  EXPECT_EQ(lines.back().size(), c.wantLastLineChars);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EventLogPieces,
    ::testing::Values(PieceCase{"fits_one_piece", 254, 6000, 5000, 254},
                      PieceCase{"just_too_long_two_pieces", 255, 6000, 2500, 255},
                      PieceCase{"three_hundred_two_pieces", 300, 3000, 2500, 300},
                      // 5000 = 3 * 1666 + 2: the cut line keeps two pieces and a line feed.
                      PieceCase{"cut_inside_a_line", 600, 2000, 1667, 510}),
    [](const auto& info) { return std::string(info.param.name); });

struct LineCase {
  const char* name;
  std::string_view message;
  std::string_view source;
  std::string_view want;
};

class LogLineShape : public ::testing::TestWithParam<LineCase> {};

TEST_P(LogLineShape, Builds) {
  const LineCase& c = GetParam();
  EXPECT_EQ(buildLogLine("10-12-26", "14:05", c.message, c.source), c.want);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LogLineShape,
    ::testing::Values(
        LineCase{"with_source", "Fallo en el recuento CRC.", "Casa",
                 " 10-12-26 14:05 (Casa) Fallo en el recuento CRC.\n"},
        LineCase{"source_inside_message", "Descargado Casa correctamente.", "Casa",
                 " 10-12-26 14:05 Descargado Casa correctamente.\n"},
        LineCase{"empty_source", "Inicio", "", " 10-12-26 14:05 Inicio\n"},
        LineCase{"format_codes_are_data", "%s%n%d", "m", " 10-12-26 14:05 (m) %s%n%d\n"},
        LineCase{"line_breaks_removed", "a\r\nb\nc", "x\ny", " 10-12-26 14:05 (x y) a  b c\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LogLine, OverlongMessageIsCutAtACharacterBoundary) {
  // 1023 ASCII bytes and then a two-byte character that would straddle the limit.
  std::string message(1023, 'a');
  message += "\xC3\xB3 tail";
  std::string line = buildLogLine("d", "t", message, "");
  EXPECT_EQ(line, " d t " + std::string(1023, 'a') + "\n");
}

struct StampCase {
  const char* name;
  platform::IntlSettings style;
  int hour, minute;
  std::string_view date, time;
};

class LogStamp : public ::testing::TestWithParam<StampCase> {};

TEST_P(LogStamp, FollowsTheUsersConventions) {
  const StampCase& c = GetParam();
  platform::CivilTime t{2006, 3, 5, c.hour, c.minute, 0};
  EXPECT_EQ(formatLogDate(t, c.style), c.date);
  EXPECT_EQ(formatLogTime(t, c.style), c.time);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LogStamp,
    ::testing::Values(StampCase{"day_month_24h", {1, '/', true, ':'}, 9, 5, "05/03/06", " 9:05"},
                      StampCase{"month_day", {0, '-', true, '.'}, 23, 59, "03-05-06", "23.59"},
                      StampCase{"year_month_day", {2, '.', true, ':'}, 0, 0, "06.03.05", " 0:00"},
                      StampCase{"midnight_12h", {1, '/', false, ':'}, 0, 5, "05/03/06", "12:05a"},
                      StampCase{"noon_12h", {1, '/', false, ':'}, 12, 30, "05/03/06", "12:30p"},
                      StampCase{
                          "afternoon_12h", {1, '/', false, ':'}, 13, 7, "05/03/06", " 1:07p"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EventLogTest, OlderCrLfLinesAreKeptAsLfLines) {
  fs_.setContents(kLog, " a\r\n b\r\n");
  ASSERT_TRUE(log_.append("c", "").isOk());
  EXPECT_EQ(fs_.contents(kLog), " 10-12-26 14:05 c\n a\n b\n");
}

TEST_F(EventLogTest, FailedWriteLeavesTheOldLogWhole) {
  fs_.setContents(kLog, " old\n");
  fs_.failWrites(true);
  auto written = log_.append("new", "");
  ASSERT_FALSE(written.isOk());
  EXPECT_EQ(written.status().code(), -1);
  EXPECT_EQ(fs_.contents(kLog), " old\n");
}

TEST_F(EventLogTest, OneFailedRenameIsRetried) {
  RenameFailingFileSystem fs(fs_);
  fs.failRenames = 1;
  EventLog log(fs, clock_, kDir);
  fs_.setContents(kLog, " old\n");
  auto written = log.append("new", "");
  ASSERT_TRUE(written.isOk());
  EXPECT_EQ(*written, LogWriteOutcome::kWritten);
  EXPECT_EQ(fs_.contents(kLog), " 10-12-26 14:05 new\n old\n");
}

TEST_F(EventLogTest, HistoryGoesToABackupWhenTheLogCannotBeReplaced) {
  RenameFailingFileSystem fs(fs_);
  fs.failRenames = 2;
  EventLog log(fs, clock_, kDir);
  fs_.setContents(kLog, " old\n");
  auto written = log.append("new", "");
  ASSERT_TRUE(written.isOk());
  EXPECT_EQ(*written, LogWriteOutcome::kSavedAsBackup);
  EXPECT_EQ(fs_.contents(kLog), " old\n");
  auto entries = fs_.listDirectory(kDir);
  ASSERT_TRUE(entries.isOk());
  std::string backup;
  for (const auto& e : *entries) {
    if (e.name.rfind("LogBackup", 0) == 0) backup = e.name;
  }
  ASSERT_EQ(backup.size(), std::string("LogBackup0000000.log").size()) << backup;
  EXPECT_EQ(fs_.contents(std::string(kDir) + "/" + backup), " 10-12-26 14:05 new\n old\n");
}

TEST_F(EventLogTest, ReportsFailureWhenEvenTheBackupFails) {
  RenameFailingFileSystem fs(fs_);
  fs.failRenames = 3;
  EventLog log(fs, clock_, kDir);
  fs_.setContents(kLog, " old\n");
  auto written = log.append("new", "");
  ASSERT_FALSE(written.isOk());
  EXPECT_EQ(written.status().code(), EventLog::kBackupFailedCode);
  EXPECT_EQ(fs_.contents(kLog), " old\n");
}

}  // namespace
}  // namespace frame
