// `stratalog db` run in-process on a generated station.

#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "platform/testing/mem_file_system.h"

namespace database {
namespace {

class DbCommandTest : public ::testing::Test {
 protected:
  int run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    cli::CommandContext ctx{platform::Env{&fs}, &out, &err};
    return cli::runCommandLine(args, ctx);
  }
  void SetUp() override {
    ASSERT_EQ(
        run({"db", "generate", "/st", "--from", "2006-02-27", "--days", "3", "--interval", "30"}),
        0)
        << err.str();
  }
  platform::MemFileSystem fs;
  std::ostringstream out;
  std::ostringstream err;
};

TEST_F(DbCommandTest, InfoMonthsAndDays) {
  ASSERT_EQ(run({"db", "info", "/st"}), 0) << err.str();
  const std::string info = out.str();
  EXPECT_NE(info.find("months: 2\n"), std::string::npos) << info;
  EXPECT_NE(info.find("days: 3\n"), std::string::npos) << info;
  EXPECT_NE(info.find("archive records: 144\n"), std::string::npos) << info;
  EXPECT_NE(info.find("first record: 27-02-06  0:30\n"), std::string::npos) << info;
  EXPECT_NE(info.find("last record: 01-03-06 00:00\n"), std::string::npos) << info;

  ASSERT_EQ(run({"db", "months", "/st"}), 0);
  EXPECT_NE(out.str().find("02-2006       100     2               96\n"), std::string::npos)
      << out.str();
  ASSERT_EQ(run({"db", "days", "/st"}), 0);
  EXPECT_NE(out.str().find("01-03-06       50               48\n"), std::string::npos) << out.str();
}

TEST_F(DbCommandTest, RecordClosestAndDay) {
  ASSERT_EQ(run({"db", "record", "/st", "47"}), 0) << err.str();
  EXPECT_NE(out.str().find("Fecha: 27-02-06\nHora: 00:00\n"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find(" °F\n"), std::string::npos);

  // The search runs forward from the day asked for: the record closing 27 February at
  // 24:00 is nearer, but belongs to the day before.
  ASSERT_EQ(run({"db", "closest", "/st", "2006-02-28", "00:10"}), 0) << err.str();
  EXPECT_NE(out.str().find("archive record number: 48\n"), std::string::npos) << out.str();

  ASSERT_EQ(run({"db", "day", "/st", "2006-03-01"}), 0) << err.str();
  EXPECT_NE(out.str().find("daily summary of 01-03-06\n"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("\n 00:00 "), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("48 archive records\n"), std::string::npos);
}

TEST_F(DbCommandTest, FailuresAndUsage) {
  EXPECT_EQ(run({"db", "record", "/st", "144"}), 1);
  EXPECT_NE(err.str().find("not in the database"), std::string::npos);
  EXPECT_EQ(run({"db", "day", "/st", "2006-03-02"}), 1);
  EXPECT_EQ(run({"db", "info", "/nowhere"}), 1);
  EXPECT_EQ(run({"db", "closest", "/st", "2006-02-30"}), 1);
  EXPECT_EQ(run({"db", "generate", "/st", "--from", "2006-03-02", "--interval", "0"}), 2);
  EXPECT_EQ(run({"db", "generate", "/st", "--from", "2006-02-01"}), 1)
      << "days before the station's last day are refused";
}

// A month file whose header counts a record that never reached the disk, as a writer
// killed in an append leaves it: `db check` names it and changes nothing; `--repair` keeps
// a copy in Backup and mends it.
TEST_F(DbCommandTest, CheckFindsATornMonthAndRepairMendsIt) {
  const std::string file = "/st/2006-03.slg";
  std::string bytes = fs.contents(file);
  ASSERT_GT(bytes.size(), 212u);
  bytes[16] = static_cast<char>(bytes[16] + 1);
  bytes += std::string(40, '\x01');
  fs.setContents(file, bytes);

  EXPECT_EQ(run({"db", "check", "/st"}), 1);
  EXPECT_NE(out.str().find(file + ": --repair mends it\n"), std::string::npos) << out.str();
  EXPECT_EQ(fs.contents(file), bytes);

  EXPECT_EQ(run({"db", "check", "/st", "--repair"}), 0) << out.str() << err.str();
  EXPECT_NE(out.str().find(file + ": copied to /st/Backup/2006-03.slg\n"), std::string::npos)
      << out.str();
  EXPECT_EQ(fs.contents("/st/Backup/2006-03.slg"), bytes);
  EXPECT_EQ(run({"db", "check", "/st"}), 0) << out.str();
  EXPECT_NE(out.str().find(file + ": ok\n"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace database
