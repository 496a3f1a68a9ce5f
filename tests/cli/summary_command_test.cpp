// `stratalog summary` and `stratalog rain` run in-process on a small station.

#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "database/daily_summary.h"
#include "database/summary_keeper.h"
#include "database/summary_test_support.h"
#include "platform/testing/mem_file_system.h"

namespace {

class SummaryCommandTest : public ::testing::Test {
 protected:
  int run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    cli::CommandContext ctx{platform::Env{&fs}, &out, &err};
    return cli::runCommandLine(args, ctx);
  }
  // Three days of half-hourly records, stored as a download stores them; then the middle
  // day's summary is emptied, as an interrupted program might leave it.
  void SetUp() override {
    ASSERT_TRUE(fs.createDirectories("/st"));
    database::WeatherDatabase db(fs);
    (void)db.open("/st");
    summary_test::Context c;
    database::DaySummaryKeeper keeper(db, c.ctx);
    for (auto [month, day] : {std::pair{2, 27}, std::pair{2, 28}, std::pair{3, 1}}) {
      for (int t = 30; t <= 1440; t += 30) {
        summary_test::Bytes b = summary_test::freshArchive();
        b[1] = 30;
        summary_test::put16(b, 4, t);
        summary_test::put16(b, 6, 600 + t / 30);
        summary_test::put16(b, 16, 500);
        summary_test::put16(b, 20, 0x1000 | (t == 1440 ? 1 : 0));
        const auto r = summary_test::record(b, 2006, month, day);
        ASSERT_TRUE(keeper.beginRecord(r));
        ASSERT_TRUE(db.AppendArchiveRecord(r));
        keeper.addRecord(r);
      }
    }
    ASSERT_TRUE(keeper.finish());
    database::DailySummaryObject empty;
    ASSERT_EQ(database::ResetSummary(empty, 2, 28, 2006), 0);
    ASSERT_TRUE(db.EditSummaryRecord(empty));
    ASSERT_TRUE(db.close());
  }
  platform::MemFileSystem fs;
  std::ostringstream out;
  std::ostringstream err;
};

TEST_F(SummaryCommandTest, RebuildThenShowADay) {
  ASSERT_EQ(run({"summary", "show", "--station", "/st", "--date", "2006-02-28"}), 0) << err.str();
  EXPECT_NE(out.str().find("Punto de rocío máximo:                    ---\n"), std::string::npos)
      << out.str();
  const std::string before = out.str();

  ASSERT_EQ(run({"summary", "rebuild", "--station", "/st"}), 0) << err.str();
  EXPECT_EQ(out.str(), "Resúmenes recalculados: 3 días.\n");
  ASSERT_EQ(run({"summary", "show", "--station", "/st", "--date", "2006-02-28"}), 0) << err.str();
  EXPECT_NE(out.str(), before);
  EXPECT_EQ(out.str().find("Punto de rocío máximo:                    ---\n"), std::string::npos)
      << out.str();
  EXPECT_NE(out.str().find("Minutos de datos:                       24:00"), std::string::npos)
      << out.str();

  ASSERT_EQ(run({"summary", "rebuild", "--station", "/st", "--date", "2006-03-01"}), 0);
  EXPECT_EQ(run({"summary", "rebuild", "--station", "/st", "--date", "2006-03-09"}), 1);
  EXPECT_NE(err.str().find("09-03-06: el día no tiene resumen."), std::string::npos) << err.str();
  EXPECT_EQ(run({"summary", "show", "--station", "/st", "--date", "2006-13-01"}), 2);
  EXPECT_EQ(run({"summary", "show", "--station", "/nowhere", "--date", "2006-03-01"}), 2);
  EXPECT_NE(err.str().find("No hay ninguna estación '/nowhere'."), std::string::npos) << err.str();
  EXPECT_EQ(run({"summary", "show", "--station", "/st", "--date", "31/02/06"}), 2);
  EXPECT_NE(err.str().find("'31/02/06' no es una fecha válida para --date"), std::string::npos)
      << err.str();
  ASSERT_EQ(run({"summary", "show", "--station", "/st", "--date", "28/02/06"}), 0) << err.str();
  EXPECT_NE(out.str().find("Resumen diario del 28-02-06\n"), std::string::npos) << out.str();
}

TEST_F(SummaryCommandTest, RainBuildAsksBeforeReplacing) {
  ASSERT_EQ(run({"rain", "show", "--station", "/st"}), 1);
  ASSERT_EQ(run({"rain", "build", "--station", "/st"}), 0) << err.str();
  EXPECT_EQ(out.str(), "Creado /st/rain.db: 1 año.\n");
  ASSERT_EQ(run({"rain", "show", "--station", "/st"}), 0) << err.str();
  EXPECT_NE(out.str().find("\n2006   "), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("\nMedia  "), std::string::npos) << out.str();

  EXPECT_EQ(run({"rain", "build", "--station", "/st"}), 1);
  EXPECT_NE(err.str().find("--replace"), std::string::npos) << err.str();
  EXPECT_EQ(run({"rain", "build", "--station", "/st", "--replace"}), 0) << err.str();
}

}  // namespace
