// `stratalog db` run in-process on a generated station.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "platform/testing/mem_file_system.h"
#include "station/station_file.h"

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
  ASSERT_EQ(run({"db", "info", "--station", "/st"}), 0) << err.str();
  const std::string info = out.str();
  EXPECT_NE(info.find("Meses: 2\n"), std::string::npos) << info;
  EXPECT_NE(info.find("Días: 3\n"), std::string::npos) << info;
  EXPECT_NE(info.find("Registros de archivo: 144\n"), std::string::npos) << info;
  EXPECT_NE(info.find("Primer registro: 27-02-06 0:30\n"), std::string::npos) << info;
  EXPECT_NE(info.find("Último registro: 01-03-06 00:00\n"), std::string::npos) << info;

  ASSERT_EQ(run({"db", "months", "--station", "/st"}), 0);
  EXPECT_NE(out.str().find("02-2006         100     2          96\n"), std::string::npos)
      << out.str();
  ASSERT_EQ(run({"db", "days", "--station", "/st"}), 0);
  EXPECT_NE(out.str().find("01-03-06         50          48\n"), std::string::npos) << out.str();
}

TEST_F(DbCommandTest, RecordClosestAndDay) {
  ASSERT_EQ(run({"db", "record", "--station", "/st", "47"}), 0) << err.str();
  EXPECT_NE(out.str().find("Fecha: 27-02-06\nHora: 00:00\n"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find(" °F\n"), std::string::npos);
  // The UV index is a number without a unit, the air density has one, every name starts
  // with a capital.
  for (const char* want : {"\nÍndice UV: 0.0\n", "\nDensidad de Aire Interior: 0.0749 lb/pie^3\n",
                           "\nÍndice de Calor Interior: "}) {
    EXPECT_NE(out.str().find(want), std::string::npos) << want << " in\n" << out.str();
  }

  // The search runs forward from the day asked for: the record closing 27 February at
  // 24:00 is nearer, but belongs to the day before.
  ASSERT_EQ(run({"db", "closest", "--station", "/st", "2006-02-28", "00:10"}), 0) << err.str();
  EXPECT_NE(out.str().find("Registro de archivo número 48\n"), std::string::npos) << out.str();

  ASSERT_EQ(run({"db", "day", "--station", "/st", "2006-03-01"}), 0) << err.str();
  EXPECT_NE(out.str().find("Resumen diario del 01-03-06\n"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("\n 00:00 "), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("48 registros de archivo\n"), std::string::npos);
}

// Failures exit 1; a bad argument (an unknown station, a date or time that is none, a
// value out of range, days before the station's last one) exits 2.
TEST_F(DbCommandTest, FailuresAndUsage) {
  ASSERT_TRUE(fs.createDirectories("/empty"));
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    const char* message;
  };
  const Case cases[] = {
      {{"db", "record", "--station", "/st", "144"}, 1, "no está en la base de datos"},
      {{"db", "day", "--station", "/st", "2006-03-02"}, 1, "el día no tiene registros"},
      {{"db", "info", "--station", "/nowhere"}, 2, "No hay ninguna estación '/nowhere'."},
      {{"db", "info", "--station", "/empty"}, 2, "No hay ninguna estación '/empty'."},
      {{"db", "day", "--station", "/st", "2006-02-30"}, 2, "'2006-02-30' no es una fecha válida"},
      {{"db", "closest", "--station", "/st", "30/02/06"}, 2, "'30/02/06' no es una fecha válida"},
      {{"db", "closest", "--station", "/st", "2006-02-28", "25:00"}, 2, "no es una hora válida"},
      {{"db", "generate", "/st", "--from", "2006-03-02", "--interval", "0"}, 2, ""},
      {{"db", "generate", "/st", "--from", "2006-02-01"},
       2,
       "la estación ya tiene datos hasta ese día"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[1] + " " + c.args.back());
    EXPECT_EQ(run(c.args), c.exitCode) << err.str();
    EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
  }
}

// Dates are read in ISO or the user's own form and shown in the user's form.
TEST_F(DbCommandTest, DatesInTheUsersOwnForm) {
  ASSERT_EQ(run({"db", "day", "--station", "/st", "01/03/06"}), 0) << err.str();
  EXPECT_NE(out.str().find("Resumen diario del 01-03-06\n"), std::string::npos) << out.str();
  ASSERT_EQ(run({"db", "closest", "--station", "/st", "28-02-06", "0:10"}), 0) << err.str();
  EXPECT_NE(out.str().find("Registro de archivo número 48\n"), std::string::npos) << out.str();
}

// A station is named by its display name from the program directory's station list, or
// left out when it is the only one; a new station's relative directory lies below the
// program directory.
TEST_F(DbCommandTest, AStationByItsDisplayName) {
  station::StationConfig config;
  config.setStationName("Casa Jardín");
  config.setStationDir("/prog/Casa");
  ASSERT_TRUE(fs.createDirectories("/prog/Casa"));
  ASSERT_TRUE(station::writeStationRecord(fs, config, "/prog/Casa"));
  ASSERT_EQ(run({"db", "generate", "--dir", "Casa", "--program-dir", "/prog", "--from",
                 "2006-03-01", "--days", "2"}),
            0)
      << err.str();

  ASSERT_EQ(run({"db", "info", "--station", "Casa Jardín", "--program-dir", "/prog"}), 0)
      << err.str();
  EXPECT_NE(out.str().find("Estación: /prog/Casa\nMeses: 1\nDías: 2\n"), std::string::npos)
      << out.str();
  const std::string byName = out.str();
  ASSERT_EQ(run({"db", "info", "--program-dir", "/prog"}), 0) << err.str();
  EXPECT_EQ(out.str(), byName);
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

  EXPECT_EQ(run({"db", "check", "--station", "/st"}), 1);
  EXPECT_NE(out.str().find(file + ": --repair lo repara\n"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find(file + ": 40 bytes tras el último registro contado"), std::string::npos)
      << out.str();
  EXPECT_EQ(fs.contents(file), bytes);

  EXPECT_EQ(run({"db", "check", "--station", "/st", "--repair"}), 0) << out.str() << err.str();
  EXPECT_NE(out.str().find(file + ": copiado en /st/Backup/2006-03.slg\n"), std::string::npos)
      << out.str();
  EXPECT_EQ(fs.contents("/st/Backup/2006-03.slg"), bytes);
  EXPECT_EQ(run({"db", "check", "--station", "/st"}), 0) << out.str();
  EXPECT_NE(out.str().find(file + ": correcto\n"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace database
