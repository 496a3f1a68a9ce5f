// `stratalog db` shows records in the units and date conventions of the program directory.

#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "database/summary_keeper.h"
#include "database/summary_test_support.h"
#include "database/weather_database.h"
#include "frame/program_settings.h"
#include "platform/testing/mem_file_system.h"
#include "quantities/units.h"

namespace {

using quantities::kCelsius;
using quantities::kHectopascals;
using quantities::kKmh;
using quantities::kMetres;
using quantities::kMillimetres;

constexpr const char* kProgdata = "/prog/progdata.dat";

class DbUnitsTest : public ::testing::Test {
 protected:
  // One archive record on 15 March 2006 at 14:30: 72.5 °F, 29.921 inHg, 10.0 mph and
  // ten tips of a 0.01 in collector (2.54 mm).
  void SetUp() override {
    ASSERT_TRUE(fs.createDirectories("/st"));
    ASSERT_TRUE(fs.createDirectories("/prog"));
    summary_test::Bytes b = summary_test::freshArchive();
    b[1] = 30;
    summary_test::put16(b, 4, 870);
    summary_test::put16(b, 6, 725);
    summary_test::put16(b, 14, 29921);
    summary_test::put16(b, 20, 0x1000 | 10);
    summary_test::put16(b, 24, 100);
    const auto r = summary_test::record(b, 2006, 3, 15);
    database::WeatherDatabase db(fs);
    (void)db.open("/st");
    summary_test::Context c;
    database::DaySummaryKeeper keeper(db, c.ctx);
    ASSERT_TRUE(keeper.beginRecord(r));
    ASSERT_TRUE(db.AppendArchiveRecord(r));
    keeper.addRecord(r);
    ASSERT_TRUE(keeper.finish());
    ASSERT_TRUE(db.close());
  }
  int run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    cli::CommandContext ctx{platform::Env{&fs}, &out, &err};
    return cli::runCommandLine(args, ctx);
  }
  void writeMetricSettings() {
    frame::ProgramSettings s;
    s.setUnitCodes({kCelsius, kHectopascals, kMillimetres, kKmh, kMetres});
    ASSERT_TRUE(s.save(fs, kProgdata));
  }
  void writeYearFirstDates() {
    ASSERT_TRUE(fs.replaceFileAtomically("/prog/intl.ini", "[intl]\r\niDate=2\r\nsDate=-\r\n"));
  }
  platform::MemFileSystem fs;
  std::ostringstream out;
  std::ostringstream err;
};

TEST_F(DbUnitsTest, RecordInTheUsersUnitsAndDateOrder) {
  writeMetricSettings();
  writeYearFirstDates();
  const auto before = fs.readFile(kProgdata);
  ASSERT_TRUE(before);

  ASSERT_EQ(run({"db", "record", "--station", "/st", "0", "--program-dir", "/prog"}), 0)
      << err.str();
  const std::string text = out.str();
  for (const char* want :
       {"Fecha: 06-03-15\n", "Hora: 14:30\n", "Temperatura Exterior: 22.5 °C\n",
        "Barómetro: 1013.2 hPa\n", "Velocidad del Viento: 16.1 km/h\n", "Lluvia: 2.54 mm\n"}) {
    EXPECT_NE(text.find(want), std::string::npos) << want << " in\n" << text;
  }
  EXPECT_EQ(text.find("°F"), std::string::npos) << text;

  ASSERT_EQ(run({"db", "day", "--station", "/st", "2006-03-15", "--program-dir", "/prog"}), 0)
      << err.str();
  EXPECT_NE(out.str().find("Resumen diario del 06-03-15\n"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find(" 14:30    22.5 °C"), std::string::npos) << out.str();

  ASSERT_EQ(run({"db", "info", "--station", "/st", "--program-dir", "/prog"}), 0) << err.str();
  EXPECT_NE(out.str().find("Último registro: 06-03-15 14:30\n"), std::string::npos) << out.str();

  const auto after = fs.readFile(kProgdata);
  ASSERT_TRUE(after);
  EXPECT_EQ(*after, *before) << "viewing must never rewrite the program settings";
}

TEST_F(DbUnitsTest, SummaryAndRainInTheUsersUnits) {
  writeMetricSettings();
  writeYearFirstDates();
  ASSERT_EQ(run({"summary", "show", "--station", "/st", "--date", "2006-03-15", "--program-dir",
                 "/prog"}),
            0)
      << err.str();
  EXPECT_NE(out.str().find("Resumen diario del 06-03-15\n"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("Temperatura exterior media:              22.5 °C\n"), std::string::npos)
      << out.str();
  EXPECT_NE(out.str().find("Lluvia:                                  2.54 mm\n"), std::string::npos)
      << out.str();

  ASSERT_EQ(run({"rain", "build", "--station", "/st"}), 0) << err.str();
  ASSERT_EQ(run({"rain", "show", "--station", "/st", "--program-dir", "/prog"}), 0) << err.str();
  EXPECT_NE(out.str().find("\n2006       ---    ---    2.5    ---"), std::string::npos)
      << out.str();
  EXPECT_NE(out.str().find("    2.5\nMínimo "), std::string::npos) << "the year's total in mm too";
}

// Without usable settings the program shows the defaults: °F and day/month/year with '/'.
struct NoSettings {
  const char* name;
  const char* progdata;  // nullptr: no file
};
constexpr NoSettings kNoSettings[] = {
    {"missing", nullptr},
    {"wrong size", "\x01\x03\x01\x02"},
};

TEST_F(DbUnitsTest, DefaultUnitsWithoutUsableSettings) {
  for (const NoSettings& c : kNoSettings) {
    SCOPED_TRACE(c.name);
    if (c.progdata != nullptr) {
      ASSERT_TRUE(fs.replaceFileAtomically(kProgdata, c.progdata));
    }
    ASSERT_EQ(run({"db", "record", "--station", "/st", "0", "--program-dir", "/prog"}), 0)
        << err.str();
    EXPECT_NE(out.str().find("Temperatura Exterior: 72.5 °F\n"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("Fecha: 15-03-06\n"), std::string::npos) << out.str();
    const auto kept = fs.readFile(kProgdata);
    if (c.progdata == nullptr) {
      EXPECT_FALSE(fs.exists(kProgdata)) << "the view must not create progdata.dat";
    } else {
      ASSERT_TRUE(kept);
      EXPECT_EQ(*kept, std::string(c.progdata)) << "the view must not repair progdata.dat";
    }
  }
}

}  // namespace
