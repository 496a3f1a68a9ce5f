#include "reports/noaa_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "noaa_fixture.h"
#include "quantities/user_conventions.h"
#include "station/station_config.h"

namespace noaa_test {
namespace {

// July 2006 by hand: day 2 has a summary but no minutes of data, day 3 and 8-31 have
// none; days 1 and 4 share the top rain (1.25 in), days 1 and 6 the highest high (90.0)
// and the highest wind (20.0); day 4 has a high wind of 0; day 5 has no low, no winds,
// no stored heating degree days and 0.010 in of rain; day 7 has 10 hours of data and a
// tie of wind directions.
const std::vector<HandDay> kJuly = {
    {1, 1440, 900, 870, 600, 315, 750, 1250, 50, 200, 780, 0, 100, {{14, 600}, {0, 300}}},
    {2, 0, 990, 600, 500, 300, 700, 500, 30, 100, 600, 0, 0, {{4, 50}}},
    {4, 1440, 880, 900, 620, 360, 760, 1250, 0, 0, 0, 0, 110, {}},
    {5, 1440, 800, 720, kNone, 0, 700, 10, kNone, kNone, 0, kNone, 50, {}},
    {6, 1440, 900, 990, 540, 240, 720, 150, 30, 200, 960, 0, 70, {{8, 500}}},
    {7, 600, 400, 780, 300, 420, 350, 0, 20, 80, 600, 300, 0, {{0, 100}, {14, 100}}},
};

class NoaaReport : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mem_.createDirectories("/st").isOk());
    db_.open("/st");
    for (const HandDay& d : kJuly) ASSERT_TRUE(db_.EditSummaryRecord(summaryOf(2006, 7, d)).isOk());
    config_.setStationName("Casa Jardín");
    config_.setNoaaCity("Sevilla");
    config_.setNoaaState("AN");
    config_.setElevation(100);
    config_.setNoaaLatText("37 23N");
    config_.setNoaaLonText("05 59W");
    config_.setNormalTemp(6, 75.0F);
    config_.setNormalRain(6, 2.0F);
    metric_ = GetParam();
    if (metric_) {
      conv_.units.SetTempUnit(1);
      conv_.units.SetRainUnit(1);
      conv_.units.SetWindSpeedUnit(2);
      conv_.units.SetElevUnit(0);
    }
  }

  // The user's units, worked out as the conversions are defined.
  double t(int tenths) const {
    return metric_ ? (tenths * 0.1 - 32) * 5 * 0.1111111111111111 : tenths * 0.1;
  }
  double r(int thousandths) const {
    return metric_ ? thousandths * 0.001 * 25.4 : thousandths * 0.001;
  }
  double w(int tenths) const { return metric_ ? tenths * 0.1 * 1.609344 : tenths * 0.1; }
  double dd(int tenths) const {
    return metric_ ? tenths * 0.1 * 5 * 0.1111111111111111 : tenths * 0.1;
  }
  std::string rain() const { return metric_ ? "%6.1f" : "%6.2f"; }

  reports::NoaaJob job() { return {mem_, db_, config_, conv_}; }

  platform::MemFileSystem mem_;
  database::WeatherDatabase db_{mem_};
  station::StationConfig config_;
  quantities::UserConventions conv_;
  bool metric_ = false;
};

void expectLines(const std::vector<std::string>& want, const std::string& got) {
  const std::vector<std::string> lines = linesOf(got);
  ASSERT_EQ(lines.size(), want.size()) << got;
  for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(lines[i], want[i]) << "line " << i + 1;
}

TEST_P(NoaaReport, MonthMatchesTheLayoutLineForLine) {
  const std::string r6 = rain();
  const double meanSum = t(750) + t(760) + t(720) + t(350);
  const double rainTotal = r(1250) + r(1250) + r(10) + r(150) + r(0);
  std::vector<std::string> want = {
      fmt("%sRESUMEN CLIMATOLÓGICO MENSUAL para %s. %d", "                   ", "JUL", 2006),
      "",
      "NOMBRE: Casa Jardín   CIUDAD: Sevilla   ESTADO: AN ",
      fmt("ALT: %s  LAT: %s  LONG: %s",
          fmt("%5d %s", metric_ ? 30 : 100, metric_ ? "m" : "pies").c_str(), "37 23N", "05 59W"),
      "",
      fmt("%sTEMPERATURA (%s), LLUVIA  (%s), VELOCIDAD DEL VIENTO (%s)", "                   ",
          metric_ ? "°C" : "°F", metric_ ? "mm" : "Pulg.", metric_ ? "km/h" : "mph"),
      "",
      "                                      GRAD  GRAD        VEL",
      "    TEMP                              DIA   DIA         VIEN                 DIR",
      "DIA MED   MAX   HORA   MIN     HORA   CAL.  FRIO  LLUV  MED   MAX    HORA    DOM",
      std::string(84, '-'),
      fmt(("%2d%6.1f%6.1f%8s%6.1f%8s%6.1f%6.1f" + r6 + "%6.1f%6.1f%8s%6s").c_str(), 1, t(750),
          t(900), "14:30", t(600), " 5:15", dd(0), dd(100), r(1250), w(50), w(200), "13:00", "NW"),
      " 2",
      " 3",
      fmt(("%2d%6.1f%6.1f%8s%6.1f%8s%6.1f%6.1f" + r6 + "%6.1f%6.1f%8s%6s").c_str(), 4, t(760),
          t(880), "15:00", t(620), " 6:00", dd(0), dd(110), r(1250), w(0), 0.0, "---", "---"),
      fmt(("%2d%6.1f%6.1f%8s%6s%8s%6s%6.1f" + r6 + "%6s%6s%8s%6s").c_str(), 5, t(700), t(800),
          "12:00", "---", "---", "---", dd(50), r(10), "---", "---", "---", "---"),
      fmt(("%2d%6.1f%6.1f%8s%6.1f%8s%6.1f%6.1f" + r6 + "%6.1f%6.1f%8s%6s").c_str(), 6, t(720),
          t(900), "16:30", t(540), " 4:00", dd(0), dd(70), r(150), w(30), w(200), "16:00", "S"),
      fmt(("%2d%6.1f%6.1f%8s%6.1f%8s%6.1f%6.1f" + r6 + "%6.1f%6.1f%8s%6s").c_str(), 7, t(350),
          t(400), "13:00", t(300), " 7:00", dd(300), dd(0), r(0), w(20), w(80), "10:00", "N"),
  };
  for (int day = 8; day <= 31; ++day) want.push_back(fmt("%2d", day));
  want.push_back(std::string(85, '-'));
  want.push_back(fmt(("  %6.1f%6.1f%6d  %6.1f%6d  %6.1f%6.1f" + r6 + "%6.1f%6.1f%6d  %6s").c_str(),
                     meanSum / 4, t(900), 1, t(300), 7, dd(0) + dd(0) + dd(0) + dd(300),
                     dd(100) + dd(110) + dd(50) + dd(70) + dd(0), rainTotal,
                     (w(50) + w(0) + w(30) + w(20)) / 4, w(200), 1, "NW"));
  want.push_back("");
  want.push_back(fmt("Máx >= %5.1f: %2d", metric_ ? 32.0 : 90.0, 2));
  want.push_back(fmt("Máx <= %5.1f: %2d", metric_ ? 0.0 : 32.0, 0));
  want.push_back(fmt("Mín <= %5.1f: %2d", metric_ ? 0.0 : 32.0, 1));
  want.push_back(fmt("Mín <= %5.1f: %2d", metric_ ? -18.0 : 0.0, 0));
  want.push_back(fmt("Lluvia Max: %.2f ON %s", r(1250), "01-07-06"));
  want.push_back(metric_ ? "Días de Lluvia: 4 (> .2 mm) 3 (> 2 mm) 2 (> 20 mm)"
                         : "Días de Lluvia: 3 (>.01 Pulg.) 3 (>.1 Pulg.) 2 (>1 Pulg.)");
  want.push_back(fmt("Base Calor: %5.1f  Base Frío: %5.1f  Método: Integración", t(650), t(650)));

  auto path = reports::writeNoaaMonthReport(job(), {2006, 7});
  ASSERT_TRUE(path.isOk()) << path.status().message();
  EXPECT_EQ(*path, "/st/NOAAMO.TXT");
  expectLines(want, mem_.contents("/st/NOAAMO.TXT"));
}

TEST_P(NoaaReport, YearMatchesTheLayoutLineForLine) {
  const std::string sp15(15, ' '), sp28(28, ' '), sp32(32, ' ');
  const double meanSum = t(750) + t(760) + t(720) + t(350);
  const double highSum = t(900) + t(880) + t(900) + t(400);
  const double lowSum = t(600) + t(620) + t(540) + t(300);
  const double departure = meanSum / 4 - t(750);
  const double heating = dd(0) + dd(0) + dd(0) + dd(300);
  const double cooling = dd(100) + dd(110) + dd(50) + dd(70) + dd(0);
  const double rainTotal = r(1250) + r(1250) + r(10) + r(150) + r(0);
  const double rainNormal = metric_ ? 2.0 * 25.4 : 2.0;
  const double wind = (w(50) + w(0) + w(30) + w(20)) / 4;
  const bool m = metric_;
  auto months = [](std::vector<std::string>& out, const std::string& july) {
    for (int month = 1; month <= 12; ++month)
      out.push_back(month == 7 ? july : fmt(" %02d%3d", 6, month));
  };
  std::vector<std::string> want = {
      sp28 + "RESUMEN CLIMATOLÓGICO ANUAL",
      "",
      "NOMBRE: Casa Jardín  CIUDAD: Sevilla   ESTADO: AN  ",
      fmt("ALT: %s  LAT: 37 23N  LONG: 05 59W",
          fmt("%5d %s", m ? 30 : 100, m ? "m" : "pies").c_str()),
      "",
      fmt("%sTEMPERATURA (%s), BASE CALOR %.1f, BASE FRIO %.1f", sp15.c_str(), m ? "°C" : "°F",
          t(650), t(650)),
      "                          DESV  GRAD  GRAD                                          ",
      "        MEDIA MEDIA       RESP  DIA   DIA                        MAX  MAX  MIN  MIN ",
      fmt("AÑO MES MAX   MIN   MEDIA NORM  CAL.  FRIO  MAX FECHA MIN  FECHA >=%-2d <=%-2d <=%-2d "
          "<=%d ",
          m ? 32 : 90, m ? 0 : 32, m ? 0 : 32, m ? -18 : 0),
      std::string(84, '-'),
  };
  months(want, fmt(" %02d%3d%6.1f%6.1f%6.1f%6.1f%6.0f%6.0f%6.1f%4d%6.1f%5d%5d%5d%5d%5d", 6, 7,
                   highSum / 4, lowSum / 4, meanSum / 4, departure, heating, cooling, t(900), 1,
                   t(300), 7, 2, 0, 1, 0));
  want.push_back(std::string(84, '-'));
  want.push_back(fmt("      %6.1f%6.1f%6.1f%6.1f%6.0f%6.0f%6.1f%4s%6.1f%5s%5d%5d%5d%5d",
                     highSum / 4, lowSum / 4, meanSum / 4, departure, heating, cooling, t(900),
                     "JUL", t(300), "JUL", 2, 0, 1, 0));
  want.push_back("");
  want.push_back(fmt("%sPRECIPITACION (%s)", sp32.c_str(), m ? "mm" : "Pulg."));
  want.push_back("");
  want.push_back("               DESV   MAX        DIAS LLUVIA  ");
  want.push_back("               RESP   OBS.          MAS ");
  want.push_back(m ? "AÑO MES TOTAL  NORM   DIA  FEC   .2   2   20"
                   : "AÑO MES TOTAL  NORM   DIA  FEC  .01   .1   1");
  want.push_back(std::string(44, '-'));
  months(want,
         fmt(m ? " %02d%3d%6.1f%7.1f%6.1f%5d%5d%5d%5d" : " %02d%3d%6.2f%7.2f%6.2f%5d%5d%5d%5d", 6,
             7, rainTotal, rainTotal - rainNormal, r(1250), 1, m ? 4 : 3, 3, 2));
  want.push_back(std::string(44, '-'));
  want.push_back(fmt(m ? "      %6.1f%6.1f%6.1f%5s%5d%5d%5d" : "      %6.2f%6.2f%6.2f%5s%5d%5d%5d",
                     rainTotal, rainTotal - rainNormal, r(1250), "JUL", m ? 4 : 3, 3, 2));
  want.push_back("");
  want.push_back(fmt("%sVELOCIDAD DEL VIENTO (%s)", sp32.c_str(), m ? "km/h" : "mph"));
  want.push_back("                          DIR");
  want.push_back("AÑO MES  MED.  MAX  FECHA DOM");
  want.push_back(std::string(33, '-'));
  months(want, fmt(" %02d%3d%6.1f%6.1f%5d%6s", 6, 7, wind, w(200), 1, "NW"));
  want.push_back(std::string(33, '-'));
  want.push_back(fmt("      %6.1f%6.1f%5s%5s", wind, w(200), "JUL", "NW"));

  auto path = reports::writeNoaaYearReport(job(), 2006);
  ASSERT_TRUE(path.isOk()) << path.status().message();
  expectLines(want, mem_.contents("/st/NOAAYR.TXT"));
}

INSTANTIATE_TEST_SUITE_P(Units, NoaaReport, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Metric" : "Imperial"; });

}  // namespace
}  // namespace noaa_test
