#include "reports/sunshine_report.h"

#include <gtest/gtest.h>

#include "noaa_fixture.h"
#include "platform/testing/mem_file_system.h"
#include "reports/report_data.h"

namespace reports {
namespace {

using noaa_test::HandDay;
using noaa_test::linesOf;
using quantities::Date;

class Sunshine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mem_.createDirectories("/st").isOk());
    db_.open("/st");
  }
  void addDay(Date d, const std::vector<std::pair<int, int>>& intervalAndSolar) {
    ASSERT_TRUE(
        db_.EditSummaryRecord(noaa_test::summaryOf(d.year, d.month, HandDay{d.day})).isOk());
    int minutes = 600;
    for (auto [interval, solar] : intervalAndSolar) {
      auto obj = noaa_test::archiveAt(d.year, d.month, d.day, minutes, interval, 700);
      noaa_test::put16(obj.record, records::kArcSolarRadiation, solar);
      ASSERT_TRUE(db_.AppendArchiveRecord(obj).isOk());
      minutes += 10;
    }
  }
  platform::Result<SunshineRequest> request(std::optional<std::string> start,
                                            std::optional<std::string> end,
                                            std::optional<std::string> threshold) {
    return sunshineRequest({start, end, threshold}, db_, config_, intl_);
  }

  platform::MemFileSystem mem_;
  database::WeatherDatabase db_{mem_};
  station::StationConfig config_;
  platform::IntlSettings intl_{1, '/', true, ':'};
};

TEST_F(Sunshine, CountsOnlyAboveTheThresholdAndAtMost3000) {
  addDay({2006, 7, 1}, {{10, 99}, {10, 100}, {10, 101}, {10, 3000}, {10, 3001}, {0, 500}});
  auto hours = countSunshine(db_, {{2006, 7, 1}, {2006, 7, 1}, 100});
  ASSERT_TRUE(hours.isOk()) << hours.status().message();
  EXPECT_NEAR(hours->total, 20 / 60.0, 1e-9);
  ASSERT_TRUE(hours->slots[0].date);
  EXPECT_EQ(*hours->slots[0].date, (Date{2006, 7, 1}));
  EXPECT_FALSE(hours->slots[1].date);
}

TEST_F(Sunshine, FifteenSlotsNewestFirstAndTheText) {
  for (int day = 1; day <= 17; ++day) {
    if (day == 5) continue;  // a day without records takes no slot
    addDay({2006, 7, day}, {{60, 500}, {30, day == 17 ? 50 : 500}});
  }
  const SunshineRequest req{{2006, 7, 1}, {2006, 7, 17}, 100};
  auto hours = countSunshine(db_, req);
  ASSERT_TRUE(hours.isOk());
  EXPECT_NEAR(hours->total, 15 * 1.5 + 1.0, 1e-9);
  EXPECT_EQ(*hours->slots[0].date, (Date{2006, 7, 17}));
  EXPECT_EQ(*hours->slots[14].date, (Date{2006, 7, 2}));
  auto written = writeSunshineReport(mem_, db_, req, {2006, 7, 20}, intl_);
  ASSERT_TRUE(written.isOk());
  EXPECT_EQ(*written, "/st/print.txt");
  const auto lines = linesOf(*mem_.readFile("/st/print.txt"));
  const std::vector<std::string> head = {"\t\t Total de Horas de Luz Solar Intensa 20/07/06",
                                         "",
                                         " Total Horas:   23.5",
                                         " Fecha Inicio: 01/07/06",
                                         " Fecha Final: 17/07/06",
                                         "  Umbral: 100 W/m²",
                                         "",
                                         " Horas en los últimos 15 días...",
                                         "17/07/06    1.0",
                                         "16/07/06    1.5"};
  ASSERT_GE(lines.size(), head.size());
  for (std::size_t i = 0; i < head.size(); ++i) EXPECT_EQ(lines[i], head[i]) << i;
  EXPECT_EQ(lines.size(), 8U + 15U);

  auto few = countSunshine(db_, {{2006, 7, 16}, {2006, 7, 17}, 100});
  EXPECT_EQ(sunshineText(*few, req, {2006, 7, 20}, intl_).find("  ----\n") != std::string::npos,
            true);
}

TEST_F(Sunshine, RequestDefaultsAndRefusals) {
  EXPECT_EQ(request({}, {}, {}).status().message(), "Su base de datos está vacía.");
  addDay({2006, 7, 20}, {{5, 500}});
  auto defaults = request({}, {}, {});
  ASSERT_TRUE(defaults.isOk());
  EXPECT_EQ(defaults->start, (Date{2006, 7, 5}));
  EXPECT_EQ(defaults->end, (Date{2006, 7, 20}));
  EXPECT_EQ(defaults->threshold, 100);
  config_.set(data::kSunStart, packReportDate({2006, 6, 1}));
  config_.set(data::kSunThreshold, std::int16_t{250});
  defaults = request({}, std::string(), {});
  EXPECT_EQ(defaults->start, (Date{2006, 6, 1}));
  EXPECT_EQ(defaults->threshold, 250);

  struct Case {
    std::optional<std::string> start, end, threshold;
    const char* message;
  };
  const Case kCases[] = {
      {"", {}, {}, "Introduzca una fecha de inicio."},
      {"31/02/06", {}, {}, "Fecha de inicio 31/02/06 no válida."},
      {"01/07/06", "x", {}, "Fecha final x no válida."},
      {"21/07/06", {}, {}, "La fecha de inicio es mayor que la fecha final."},
      {"01/07/06", {}, "", "Introduzca un umbral de Rad Solar."},
      {"01/07/06", {}, "12.5", "Introduzca un valor entero para el umbral.  (0...1400)"},
      {"01/07/06", {}, "1401", "Introduzca un valor entero para el umbral.  (0...1400)"},
      {"01/07/06", {}, "-1", "Introduzca un valor entero para el umbral.  (0...1400)"},
  };
  for (const Case& c : kCases) {
    auto r = request(c.start, c.end, c.threshold);
    ASSERT_FALSE(r.isOk()) << c.message;
    EXPECT_EQ(r.status().kind(), platform::Errc::kBadArgument);
    EXPECT_EQ(r.status().message(), c.message);
  }
  auto given = request("2006-07-01", "2006-07-20", "1400");
  ASSERT_TRUE(given.isOk());
  storeSunshineSettings(config_, *given);
  EXPECT_EQ(*ReportSettings(config_).sunHoursStart(), (Date{2006, 7, 1}));
  EXPECT_EQ(*ReportSettings(config_).sunHoursThreshold(), 1400);
}

}  // namespace
}  // namespace reports
