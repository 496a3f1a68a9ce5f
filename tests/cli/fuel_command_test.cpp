#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli.h"
#include "cli/command_run.h"
#include "database/station_generator.h"
#include "platform/file_system.h"
#include "reports/fuel_customer.h"
#include "reports/noaa_fixture.h"

namespace {

using clitest::CommandRun;
using clitest::run;

std::string slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class FuelCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = clitest::scratchDirectory("fuel");
    ASSERT_EQ(run({"station", "create", "--name", "Norte", "--parent", dir_.string()}).exitCode, 0);
    station_ = (dir_ / "Norte").string();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // Five-minute records from 20 December 2006 to 15 January 2007.
  void generate() {
    ASSERT_TRUE(
        database::generateStation(platform::defaultFileSystem(), station_, {2006, 12, 20, 27, 5})
            .isOk());
  }
  CommandRun fuel(std::vector<std::string> args) {
    args.insert(args.begin(), "fuel");
    args.insert(args.end(), {"--station", station_, "--program-dir", dir_.string()});
    return run(args);
  }
  CommandRun addRuiz(const std::string& number = "7") {
    return fuel({"add", "--number", number, "--last", "Ruiz", "--first", "Eva", "--k", "5",
                 "--reading", "200", "--date", "2006-12-20", "--heater", "1.5"});
  }
  std::string file(int number) const {
    return station_ + "/Fuel/" + std::to_string(number) + ".dat";
  }

  std::filesystem::path dir_;
  std::string station_;
};

TEST_F(FuelCommand, CustomersAreAddedRenumberedListedAndDeletedOnlyWhenConfirmed) {
  ASSERT_EQ(addRuiz().exitCode, 0);
  EXPECT_EQ(std::filesystem::file_size(file(7)), 1284U);
  ASSERT_EQ(addRuiz("9").exitCode, 0);
  const CommandRun taken = fuel({"edit", "--number", "7", "--new-number", "9"});
  EXPECT_EQ(taken.exitCode, 2);
  EXPECT_NE(taken.err.find("Nº de Cliente 9 ya en uso."), std::string::npos) << taken.err;
  const CommandRun moved = fuel({"edit", "--number", "7", "--new-number", "8", "--city", "Soria"});
  ASSERT_EQ(moved.exitCode, 0) << moved.err;
  EXPECT_FALSE(std::filesystem::exists(file(7)));
  EXPECT_EQ(fuel({"list"}).out,
            "Ruiz                     \t       8\nRuiz                     \t       9\n");
  EXPECT_NE(fuel({"show", "--number", "8"}).out.find("Ciudad: Soria"), std::string::npos);

  const CommandRun headless = fuel({"delete", "--number", "8"});
  EXPECT_EQ(headless.exitCode, 1);
  EXPECT_TRUE(std::filesystem::exists(file(8)));
  EXPECT_EQ(fuel({"delete", "--number", "8", "--yes"}).exitCode, 0);
  EXPECT_FALSE(std::filesystem::exists(file(8)));
  EXPECT_EQ(fuel({"delete", "--number", "8", "--yes"}).exitCode, 1);
}

TEST_F(FuelCommand, BadInputIsAUsageErrorAndChangesNothing) {
  ASSERT_EQ(addRuiz().exitCode, 0);
  const std::string before = slurp(file(7));
  const std::string cfg = slurp(station_ + "/STATION.CFG");
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  for (const Case& c : std::vector<Case>{
           {{"add", "--number", "5", "--last", "A", "--k", "0", "--reading", "1", "--date",
             "2006-01-01"},
            "Valor para el factor K '0' no válido. ie 1.1 o .75"},
           {{"add", "--number", "5", "--last", "A", "--reading", "1", "--date", "2006-01-01"},
            "Introduzca el factor K."},
           {{"add", "--number", "123456789", "--last", "A"},
            "Nº de Cliente '123456789' no válido. (0...99999999)."},
           {{"edit", "--number", "7", "--reading", "-3"},
            "El valor de la última lectura (-3) debe ser mayor que cero."},
           {{"edit", "--number", "7", "--heater", "-1"},
            "Valor de galones usados por el calentador de agua '-1' no válido."},
           {{"edit", "--number", "7", "--date", "2006-02-30"},
            "Fecha de la última lectura de fuel '2006-02-30' no válida."},
           {{"edit", "--number", "7", "--comment1", std::string(80, 'x')},
            "Cadena de comentario demasiado larga. (máx. 79 carac.)"},
           {{"report", "--below", "0"}, "El umbral de galones '0' debe ser mayor que cero."},
           {{"report", "--below", "mucho"}, "El valor umbral de galones 'mucho' no es válido."},
           {{"settings", "--base", "x"},
            "Valor no válido para la base de grados día de calor 'x'."}}) {
    const CommandRun r = fuel(c.args);
    EXPECT_EQ(r.exitCode, 2) << c.message;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(file(5)));
  EXPECT_EQ(slurp(file(7)), before);
  EXPECT_EQ(slurp(station_ + "/STATION.CFG"), cfg);
}

TEST_F(FuelCommand, KFactorEstimateAndReportOverTheDatabase) {
  generate();
  ASSERT_EQ(addRuiz().exitCode, 0);
  const CommandRun k = fuel({"kfactor", "--start", "2006-12-21", "--end", "2006-12-31", "--gallons",
                             "10", "--number", "7", "--allow-short-days"});
  ASSERT_EQ(k.exitCode, 0) << k.err;
  EXPECT_NE(k.out.find("Cliente nº 7: factor K "), std::string::npos) << k.out;
  const CommandRun zero =
      fuel({"kfactor", "--start", "2006-12-21", "--end", "2006-12-31", "--gallons", "0"});
  EXPECT_EQ(zero.exitCode, 2);
  EXPECT_NE(fuel({"kfactor", "--start", "2006-12-01", "--end", "2006-12-31", "--gallons", "4"})
                .err.find("es anterior al primer día"),
            std::string::npos);

  const CommandRun estimate = fuel({"estimate", "--number", "7"});
  ASSERT_EQ(estimate.exitCode, 0) << estimate.err;
  EXPECT_EQ(estimate.out.rfind("Estimación de Galones Faltantes: ", 0), 0U) << estimate.out;

  const CommandRun report =
      fuel({"report", "--short", "--sort", "gallons", "--below", "1000", "--today", "2007-01-16"});
  ASSERT_EQ(report.exitCode, 0) << report.err;
  const std::string text = slurp(station_ + "/fuelrep.txt");
  EXPECT_EQ(text.rfind("               Informe de fuel restante ", 0), 0U) << text;
  EXPECT_NE(text.find("      Nombre           Galones        Calle \n" + std::string(49, '-')),
            std::string::npos);
  EXPECT_NE(fuel({"settings"})
                .out.find("Informe: Abreviado, Clasificar por galones faltantes., "
                          "Incluir sólo clientes con menos de 1000.00 galones"),
            std::string::npos);
}

TEST_F(FuelCommand, AStoredBadKFactorShowsDashesAndIsNotEstimated) {
  generate();
  reports::FuelCustomer c;
  c.number = 3;
  c.lastName = "Vega";
  c.reading = 50.0F;
  c.readingDate = {2006, 12, 20};
  ASSERT_TRUE(platform::defaultFileSystem()
                  .replaceFileAtomically(file(3), reports::encodeFuelCustomer(c))
                  .isOk());
  const CommandRun show = fuel({"show", "--number", "3"});
  EXPECT_EQ(show.exitCode, 0) << show.err;
  EXPECT_NE(show.out.find("Factor K: ---\n"), std::string::npos) << show.out;
  EXPECT_EQ(fuel({"estimate", "--number", "3"}).exitCode, 1);
  ASSERT_EQ(fuel({"report", "--today", "2007-01-16"}).exitCode, 0);
  EXPECT_NE(slurp(station_ + "/fuelrep.txt").find("Galones Faltantes: ---\n"), std::string::npos);
}

TEST_F(FuelCommand, HeadlessAShortDayCancelsTheKFactorUnlessAllowed) {
  {
    database::WeatherDatabase db(platform::defaultFileSystem());
    db.open(station_);
    for (int day = 1; day <= 3; ++day) {
      noaa_test::HandDay d;
      d.day = day;
      d.minutes = day == 2 ? 600 : 1440;
      d.highTenths = 500;
      d.lowTenths = 400;
      ASSERT_TRUE(db.EditSummaryRecord(noaa_test::summaryOf(2006, 1, d)).isOk());
    }
    ASSERT_TRUE(db.close().isOk());
  }
  const std::vector<std::string> args = {"kfactor",    "--start",   "2006-01-01", "--end",
                                         "2006-01-03", "--gallons", "12"};
  const CommandRun headless = fuel(args);
  EXPECT_EQ(headless.exitCode, 1);
  EXPECT_NE(headless.err.find("Cálculo cancelado."), std::string::npos) << headless.err;
  std::vector<std::string> allowed = args;
  allowed.push_back("--allow-short-days");
  const CommandRun counted = fuel(allowed);
  ASSERT_EQ(counted.exitCode, 0) << counted.err;
  EXPECT_EQ(counted.out, "5.00\n");
}

}  // namespace
