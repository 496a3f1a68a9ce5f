#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "noaa_fixture.h"
#include "reports/fuel_customer.h"
#include "reports/fuel_estimate.h"
#include "reports/fuel_report.h"
#include "station/station_config.h"

namespace noaa_test {
namespace {

using reports::FuelCustomer;

FuelCustomer customer(std::uint32_t number, std::string last, float k, float reading,
                      quantities::Date date) {
  FuelCustomer c;
  c.number = number;
  c.lastName = std::move(last);
  c.firstName = "Ana";
  c.street = "Calle Mayor 1";
  c.kFactor = k;
  c.reading = reading;
  c.readingDate = date;
  return c;
}

std::uint32_t u32At(const std::string& b, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i)
    v |= static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + i])) << (8 * i);
  return v;
}

TEST(FuelCustomerFile, FieldsSitAtTheirOffsetsAndEverythingElseIsZero) {
  FuelCustomer c = customer(4711, "García", 5.5F, 120.0F, {2006, 3, 15});
  c.city = "Burgos";
  c.state = "CL";
  c.postalCode = "09001";
  c.comment1 = "uno";
  c.comment2 = "dos";
  c.heaterOn = true;
  const std::string b = reports::encodeFuelCustomer(c);
  ASSERT_EQ(b.size(), 1284U);
  EXPECT_EQ(u32At(b, 0), 4711U);
  EXPECT_EQ(u32At(b, 252), 0x07D6030FU);
  EXPECT_EQ(u32At(b, 256), 1U);
  EXPECT_EQ(u32At(b, 400), std::bit_cast<std::uint32_t>(2.0F));
  EXPECT_EQ(u32At(b, 244), std::bit_cast<std::uint32_t>(5.5F));
  const std::vector<std::pair<std::size_t, std::string>> texts = {
      {4, "García"}, {44, "Ana"},    {84, "Calle Mayor 1"}, {164, "Burgos"},
      {260, "CL"},   {404, "09001"}, {484, "uno"},          {564, "dos"}};
  std::vector<bool> used(b.size(), false);
  for (std::size_t at : {0U, 244U, 248U, 252U, 256U, 400U})
    for (std::size_t i = 0; i < 4; ++i) used[at + i] = true;
  for (const auto& [at, t] : texts) {
    EXPECT_EQ(b.substr(at, t.size() + 1), t + '\0') << at;
    for (std::size_t i = 0; i < t.size(); ++i) used[at + i] = true;
  }
  for (std::size_t i = 0; i < b.size(); ++i)
    if (!used[i]) EXPECT_EQ(b[i], '\0') << i;
  auto back = reports::decodeFuelCustomer(b);
  ASSERT_TRUE(back.isOk());
  EXPECT_EQ(back->city, "Burgos");
  EXPECT_EQ(back->comment2, "dos");
  EXPECT_EQ(back->readingDate, (quantities::Date{2006, 3, 15}));
  EXPECT_FLOAT_EQ(back->kFactor, 5.5F);
}

class FuelFiles : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(mem_.createDirectories("/st").isOk()); }
  platform::MemFileSystem mem_;
};

TEST_F(FuelFiles, OnlyNumberedFilesOfTheRightSizeWithARealDateAreCustomers) {
  ASSERT_TRUE(
      reports::saveFuelCustomer(mem_, "/st", customer(7, "Ruiz", 5, 100, {2006, 1, 1})).isOk());
  EXPECT_TRUE(mem_.isDirectory("/st/Fuel"));
  std::string badDate = reports::encodeFuelCustomer(customer(8, "Mal", 5, 100, {2006, 1, 1}));
  badDate[252] = 40;  // day 40
  ASSERT_TRUE(mem_.replaceFileAtomically("/st/Fuel/8.dat", badDate).isOk());
  ASSERT_TRUE(mem_.replaceFileAtomically("/st/Fuel/9.dat", "corto").isOk());
  ASSERT_TRUE(mem_.replaceFileAtomically("/st/Fuel/abc.dat", reports::encodeFuelCustomer(customer(
                                                                 1, "X", 5, 100, {2006, 1, 1})))
                  .isOk());
  ASSERT_TRUE(mem_.replaceFileAtomically("/st/Fuel/notas.txt", "x").isOk());
  const reports::FuelCustomers all = reports::readFuelCustomers(mem_, "/st");
  ASSERT_EQ(all.customers.size(), 1U);
  EXPECT_EQ(all.customers[0].number, 7U);
  ASSERT_EQ(all.problems.size(), 3U);
  EXPECT_NE(std::find(all.problems.begin(), all.problems.end(),
                      "No se pudo leer el archivo de datos del cliente nº 8."),
            all.problems.end());
}

TEST_F(FuelFiles, ARenumberedCustomerLeavesOneFileAndATakenNumberChangesNothing) {
  const FuelCustomer a = customer(1, "Ruiz", 5, 100, {2006, 1, 1});
  ASSERT_TRUE(reports::saveFuelCustomer(mem_, "/st", a).isOk());
  ASSERT_TRUE(
      reports::saveFuelCustomer(mem_, "/st", customer(2, "Sanz", 5, 100, {2006, 1, 1})).isOk());
  FuelCustomer moved = a;
  moved.number = 2;
  const platform::Status taken = reports::saveFuelCustomer(mem_, "/st", moved, 1U);
  EXPECT_EQ(taken.message(), "Nº de Cliente 2 ya en uso.");
  EXPECT_EQ(reports::readFuelCustomer(mem_, "/st", 2)->lastName, "Sanz");
  moved.number = 3;
  ASSERT_TRUE(reports::saveFuelCustomer(mem_, "/st", moved, 1U).isOk());
  EXPECT_FALSE(mem_.exists("/st/Fuel/1.dat"));
  EXPECT_EQ(reports::readFuelCustomers(mem_, "/st").customers.size(), 2U);
  EXPECT_FALSE(
      reports::saveFuelCustomer(mem_, "/st", customer(2, "Otro", 5, 1, {2006, 1, 1})).isOk());
}

TEST_F(FuelFiles, BadFieldsAreRefusedWithTheirMessages) {
  struct Case {
    float k, reading, heater;
    std::string message;
  };
  for (const Case& c : std::vector<Case>{
           {0.0F, 100, 2, "Valor para el factor K '0.00' no válido. ie 1.1 o .75"},
           {-1.0F, 100, 2, "Valor para el factor K '-1.00' no válido. ie 1.1 o .75"},
           {5.0F, 0, 2, "El valor de la última lectura (0.00) debe ser mayor que cero."},
           {5.0F, 100, -0.5F,
            "Valor de galones usados por el calentador de agua '-0.50' no válido."}}) {
    FuelCustomer x = customer(5, "Ruiz", c.k, c.reading, {2006, 1, 1});
    x.heaterGallons = c.heater;
    EXPECT_EQ(reports::saveFuelCustomer(mem_, "/st", x).message(), c.message);
  }
  EXPECT_FALSE(mem_.exists("/st/Fuel/5.dat"));
}

// Days of January 2006 whose mean lies `below` °F under the 65 °F base.
class FuelEstimate : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mem_.createDirectories("/st").isOk());
    db_.open("/st");
  }
  void addDay(int day, int minutes, int meanTenths) {
    HandDay d;
    d.day = day;
    d.minutes = minutes;
    d.highTenths = meanTenths + 50;
    d.lowTenths = meanTenths - 50;
    ASSERT_TRUE(db_.EditSummaryRecord(summaryOf(2006, 1, d)).isOk());
  }
  reports::FuelDays days() { return reports::FuelDays(db_, reports::FuelMethod{}); }

  platform::MemFileSystem mem_;
  database::WeatherDatabase db_{mem_};
  quantities::UserConventions conv_;
};

TEST_F(FuelEstimate, TwentyDegreeDaysADayEmptyTheTankOnTheTwentyFifthDay) {
  for (int day = 1; day <= 31; ++day) addDay(day, 1440, 450);
  auto d = days();
  auto e = reports::estimateFuel(d, customer(1, "Ruiz", 5, 100, {2006, 1, 1}));
  ASSERT_TRUE(e.isOk());
  ASSERT_TRUE(e->emptyOn.has_value());
  EXPECT_EQ(*e->emptyOn, (quantities::Date{2006, 1, 25}));
  EXPECT_EQ(reports::estimateText(*e, conv_.intl).rfind("Vacío en ", 0), 0U);
  auto later = reports::estimateFuel(d, customer(1, "Ruiz", 5, 100, {2006, 1, 10}));
  EXPECT_DOUBLE_EQ(later->gallons, 100 - 22 * 4);  // days 10 to 31, both counted
  auto after = reports::estimateFuel(d, customer(1, "Ruiz", 5, 100, {2006, 2, 1}));
  EXPECT_TRUE(after->noLaterData);
  EXPECT_DOUBLE_EQ(after->gallons, 100);
}

TEST_F(FuelEstimate, TheWaterHeaterShareFollowsTheDaysDegreeDays) {
  struct Case {
    int minutes, meanTenths;
    bool heater;
    double left;
  };
  // K 5, G 2: G × K = 10 a day.
  for (const Case& c : std::vector<Case>{{1020, 450, true, 98.0},  // 17 hours: only G × K
                                         {1020, 450, false, 100.0},
                                         {1440, 700, true, 98.0},  // above the base
                                         {1440, 500, true, 96.0},  // 15 dd + 5
                                         {1440, 300, true, 93.0},  // 35 dd, no heater share
                                         {1440, 450, false, 96.0}}) {
    platform::MemFileSystem mem;
    ASSERT_TRUE(mem.createDirectories("/st").isOk());
    database::WeatherDatabase db{mem};
    db.open("/st");
    HandDay day;
    day.minutes = c.minutes;
    day.highTenths = c.meanTenths + 50;
    day.lowTenths = c.meanTenths - 50;
    ASSERT_TRUE(db.EditSummaryRecord(summaryOf(2006, 1, day)).isOk());
    reports::FuelDays d(db, reports::FuelMethod{});
    FuelCustomer x = customer(1, "Ruiz", 5, 100, {2006, 1, 1});
    x.heaterOn = c.heater;
    auto e = reports::estimateFuel(d, x);
    ASSERT_TRUE(e.isOk());
    EXPECT_DOUBLE_EQ(e->gallons, c.left) << c.minutes << " " << c.meanTenths;
  }
}

TEST_F(FuelEstimate, ByIntegrationTheArchiveRecordsCountEvenOnAShortDay) {
  addDay(1, 720, 700);  // the summary's extremes lie above the base
  for (int m = 5; m <= 720; m += 5)
    ASSERT_TRUE(db_.AppendArchiveRecord(archiveAt(2006, 1, 1, m, 5, 250)).isOk());
  reports::FuelDays d(db_, reports::FuelMethod{65.0, true});
  FuelCustomer x = customer(1, "Ruiz", 5, 100, {2006, 1, 1});
  x.heaterOn = true;
  auto e = reports::estimateFuel(d, x);
  ASSERT_TRUE(e.isOk());
  // 720 minutes × 40 °F / 1440 = 20 degree days, and a third of G × K = 10.
  EXPECT_NEAR(e->gallons, 100 - (20 + 10.0 / 3) / 5, 1e-9);
}

TEST_F(FuelEstimate, TheKFactorOfADelivery) {
  for (int day = 1; day <= 10; ++day) addDay(day, 1440, 450);
  addDay(11, 1440, 700);
  addDay(12, 600, 450);
  auto d = days();
  auto input = [](quantities::Date s, quantities::Date e, double g) {
    return reports::KFactorInput{s, e, "s", "e", g, "g"};
  };
  int asked = 0;
  auto yes = [&](const std::string&) { return ++asked, true; };
  auto k = reports::kFactorFromDelivery(d, input({2006, 1, 1}, {2006, 1, 10}, 40), conv_, yes);
  ASSERT_TRUE(k.isOk());
  EXPECT_DOUBLE_EQ(*k, 5.0);
  EXPECT_EQ(asked, 0);
  auto zero = reports::kFactorFromDelivery(d, input({2006, 1, 11}, {2006, 1, 11}, 40), conv_, yes);
  EXPECT_FALSE(zero.isOk());
  std::string question;
  auto no = [&](const std::string& q) { return question = q, false; };
  auto cancelled =
      reports::kFactorFromDelivery(d, input({2006, 1, 1}, {2006, 1, 12}, 40), conv_, no);
  EXPECT_EQ(cancelled.status().kind(), platform::Errc::kCancelled);
  EXPECT_NE(question.find("(10:00 guardados, necesarios 18:00)"), std::string::npos) << question;
  EXPECT_NE(question.find("Temp Máx 50.0  Temp Mín 40.0"), std::string::npos) << question;
  auto counted =
      reports::kFactorFromDelivery(d, input({2006, 1, 1}, {2006, 1, 12}, 44), conv_, yes);
  EXPECT_DOUBLE_EQ(*counted, 5.0);
  EXPECT_EQ(reports::kFactorFromDelivery(d, input({2006, 1, 5}, {2006, 1, 4}, 4), conv_, yes)
                .status()
                .message(),
            "La Fecha final no puede ser anterior a la Fecha de inicio.");
  EXPECT_FALSE(
      reports::kFactorFromDelivery(d, input({2006, 1, 1}, {2006, 1, 4}, 0), conv_, yes).isOk());
}

TEST_F(FuelEstimate, TheReportSortsFiltersAndShowsABadKAsDashes) {
  for (int day = 1; day <= 5; ++day) addDay(day, 1440, 450);
  std::vector<FuelCustomer> cs = {customer(1, "Zapata", 5, 100, {2006, 1, 1}),  // 80
                                  customer(2, "Abad", 5, 30, {2006, 1, 1}),     // 10
                                  customer(3, "Mora", 0, 50, {2006, 1, 1}),     // bad K
                                  customer(4, "Luna", 5, 10, {2006, 1, 1})};    // empty
  auto d = days();
  reports::FuelReportOptions o;
  o.full = false;
  o.sortByName = false;
  auto text = reports::fuelReportText(d, cs, o, {2006, 1, 6}, conv_.intl);
  ASSERT_TRUE(text.isOk());
  const auto lines = linesOf(*text);
  ASSERT_EQ(lines.size(), 8U) << *text;
  EXPECT_EQ(lines[2], "      Nombre           Galones        Calle ");
  EXPECT_EQ(lines[3], std::string(49, '-'));
  EXPECT_EQ(lines[4].rfind("Luna                  agotado en fecha ", 0), 0U) << lines[4];
  EXPECT_EQ(lines[5], "Abad                     10.00   Calle Mayor 1");
  EXPECT_EQ(lines[6], "Zapata                   80.00   Calle Mayor 1");
  EXPECT_EQ(lines[7], "Mora                       ---   Calle Mayor 1");
  o.onlyBelow = true;
  o.threshold = 5;
  EXPECT_EQ(linesOf(*reports::fuelReportText(d, cs, o, {2006, 1, 6}, conv_.intl)).size(), 5U);
  o.threshold = -100;
  EXPECT_EQ(reports::fuelReportText(d, cs, o, {2006, 1, 6}, conv_.intl).status().message(),
            "Ningún cliente seleccionado.  Compruebe umbral de selección.");
  o = reports::FuelReportOptions{};
  auto full = reports::fuelReportText(d, cs, o, {2006, 1, 6}, conv_.intl);
  EXPECT_NE(full->find("Cliente             : Abad, Ana (#2)\n"), std::string::npos) << *full;
  EXPECT_NE(full->find("Factor K: ---\n"), std::string::npos);
  EXPECT_LT(full->find("Abad"), full->find("Zapata"));
}

}  // namespace
}  // namespace noaa_test
