#include <gtest/gtest.h>

#include <set>

#include "quantities/code_resolver.h"
#include "quantities/sensor_catalogue.h"

namespace quantities {
namespace {

const SensorCatalogue& catalogue() {
  static const SensorCatalogue c = SensorCatalogue::fromStringTable();
  return c;
}

TEST(SensorCatalogue, SetsHaveEveryRow) {
  const auto* archive = catalogue().findSet(kArchiveSetName);
  const auto* daily = catalogue().findSet(kDailySetName);
  const auto* overlay = catalogue().findSet(kOverlaySetName);
  ASSERT_TRUE(archive && daily && overlay);
  EXPECT_EQ(archive->rows.size(), 58u);
  EXPECT_EQ(daily->rows.size(), 15u);
  EXPECT_EQ(overlay->rows.size(), 10u);
  const SensorCode archiveCodes[] = {
      0x0,        0x800,      0xC00,     0x101C0,    0x1,        0x20080,    0x300C0,   0x20647,
      0x20880,    0x308C0,    0x2,       0x3,        0x4,        0x400E0,    0x50440,   0x60860,
      0x70140,    0x70569,    0x70940,   0x80180,    0x805AA,    0x80980,    0x410428,  0xBF0428,
      0x1000000,  0x10101C0,  0x10101CC, 0x101028B,  0x2000000,  0x3000000,  0x4000000, 0x20101C0,
      0x30101C0,  0x44D,      0x90901E0, 0xA0901E0,  0xB0901E0,  0xC0901E0,  0x9000000, 0xA000000,
      0xB000000,  0xC000000,  0xF0A0200, 0x100A0200, 0x110A0200, 0x120A0200, 0xF000000, 0x10000000,
      0x11000000, 0x12000000, 0x20C0220, 0x10C0220,  0x30C01C0,  0xC0220,    0x5,       0x1070140,
      0x1010001,  0x1010003};
  for (std::size_t i = 0; i < archive->rows.size(); ++i) {
    EXPECT_EQ(archive->rows[i].code, archiveCodes[i]) << "row " << 10000 + i;
    // Every archive code names something a record holds.
    EXPECT_NE(resolveCode(archive->rows[i].code).kind, ValueKind::kNone) << 10000 + i;
  }
  const SensorCode dailyCodes[] = {0x2000,  0x1000,  0x1800, 0x2003, 0x1003,
                                   0x1803,  0x2002,  0x1002, 0x1802, 0x121C0,
                                   0x111C0, 0x119C0, 0x2001, 0x1001, 0x1801};
  for (std::size_t i = 0; i < daily->rows.size(); ++i)
    EXPECT_EQ(daily->rows[i].code, dailyCodes[i]);
  EXPECT_EQ(overlay->rows[3].longName, "Variable superposición 4");
  EXPECT_EQ(overlay->rows[9].shortName, "Superposición 10");
}

TEST(SensorCatalogue, PublishedRowsInFull) {
  const struct {
    std::size_t set;
    std::size_t row;
    const char* text;
  } cases[] = {
      {0, 0,
       "Temperatura Exterior\t\t0\tTemp.\tExt.\t7\t0\tTemp "
       "Exterior\t4663548\t4663548\t7895160\t4663548\t0\t"},
      {0, 22,
       "Grados-Día de Calor\t\t4260904\tGrad.D.\tCalor \t8\t0\tGrad.Día "
       "Calor\t9389248\t9389248\t8289918\t9389248\t0\t"},
      {0, 52,
       "Recepción ISS\t\t51118528\tRecep.\tISS \t7\t0\tRecepción "
       "ISS\t13356575\t13356575\t9474192\t13356575\t0\t"},
      {1, 1,
       "Temperatura Exterior Máxima Diaria\t\t4096\tT.Ext.\tMáx.\t7\t1\tTemp Ext Máx "
       "Dia\t0\t0\t0\t0\t0\t"},
      {2, 0,
       "Variable Superposición 1\t\t0\t^\t^\t7\t0\tSuperposición "
       "1\t16676127\t16676127\t7500402\t16676127\t0\t"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(formatCatalogueRow(catalogue().sets()[c.set].rows[c.row]), c.text);
  }
}

TEST(SensorCatalogue, RowParsing) {
  // Without the empty column after the long name, and with labels keeping their blanks.
  auto row = parseCatalogueRow("Lluvia\t328768\tLluvia \t^\t7\t2\tLluvia\t1\t2\t3\t-1\t0");
  ASSERT_TRUE(row.has_value());
  EXPECT_EQ(row->code, 0x50440u);
  EXPECT_EQ(row->label1, "Lluvia ");
  EXPECT_EQ(row->blanks, 2);
  EXPECT_EQ(row->colours[3], 0xFFFFFFFFu);
  EXPECT_FALSE(parseCatalogueRow("Lluvia\t\t328768\tLluvia\t^\t7\t2\tLluvia\t1\t2\t3\t4"));
  EXPECT_FALSE(parseCatalogueRow("Lluvia\t\tx\tLluvia\t^\t7\t2\tLluvia\t1\t2\t3\t4\t0"));
  EXPECT_FALSE(parseCatalogueRow("."));
}

TEST(SensorCatalogue, ReadingASetSkipsBadRowsAndStopsAtTheMark) {
  SensorCatalogue c;
  c.addSet({std::string(kArchiveSetName), {}});
  EXPECT_EQ(c.find(0x0), nullptr);
  char buf[8] = "xx";
  EXPECT_EQ(c.GetSensorName(0x0, 2, buf, sizeof buf), kNotFound);
  EXPECT_STREQ(buf, "");
}

TEST(SensorCatalogue, NamesAndColours) {
  char buf[64];
  EXPECT_EQ(catalogue().GetSensorName(0x1, 2, buf, sizeof buf), kFound);
  EXPECT_STREQ(buf, "Punto de Rocío Exterior");
  EXPECT_EQ(catalogue().GetSensorName(0x410428, 1, buf, sizeof buf), kFound);
  EXPECT_STREQ(buf, "Calor ");
  EXPECT_EQ(catalogue().GetSensorName(0x30C01C0, 3, buf, sizeof buf), kFound);
  EXPECT_STREQ(buf, "Recepción ISS");
  EXPECT_EQ(catalogue().GetSensorName(0x2000, 2, buf, sizeof buf), kNotFound);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(catalogue().GetSensorName(0x1, 4, buf, sizeof buf), kBadArgument);
  EXPECT_EQ(catalogue().GetSensorName(0x1, 0, nullptr, 10), kBadArgument);
  // Cut at a character boundary: "Punto de Roc" and not half of "í".
  char small[14];
  EXPECT_EQ(catalogue().GetSensorName(0x1, 2, small, sizeof small), kFound);
  EXPECT_STREQ(small, "Punto de Roc");
  // Overlay rows share code 0 with outside temperature; the archive row wins.
  EXPECT_EQ(catalogue().GetSensorName(0x0, 2, buf, sizeof buf), kFound);
  EXPECT_STREQ(buf, "Temperatura Exterior");
  std::uint32_t colour = 0;
  EXPECT_EQ(catalogue().GetSensorColor(0x30C01C0, 2, &colour), kFound);
  EXPECT_EQ(colour, 9474192u);
  EXPECT_EQ(catalogue().GetSensorColor(0x2000, 0, &colour), kNotFound);
  EXPECT_EQ(catalogue().GetSensorColor(0x0, -1, &colour), kBadArgument);
  EXPECT_EQ(catalogue().GetSensorColor(0x0, 0, nullptr), kBadArgument);
}

}  // namespace
}  // namespace quantities
