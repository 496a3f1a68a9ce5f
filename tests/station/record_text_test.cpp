#include "station/record_text.h"

#include <gtest/gtest.h>

#include <map>

namespace station {
namespace {

// Columns from catalogue rows 10000, 10022, 12001 and 10052 as the catalogue lists them.
std::vector<TextColumn> columns() {
  return {{"Temp.", "Ext.", 7, 0, 0x0},
          {"Grad.D.", "Calor ", 8, 0, 0x410428},
          {"T.Ext.", "Máx.", 7, 1, 0x1000},
          {"^", "ISS ", 7, 0, 0x30C01C0}};
}

class FakeRecord : public RecordValues {
 public:
  std::string dateText() const override { return "01/03/06"; }
  std::string timeText() const override { return "12:30"; }
  std::string exportTimeText() const override { return "12:30"; }
  std::string valueText(std::uint32_t code) const override {
    auto it = texts.find(code);
    return it == texts.end() ? "---" : it->second;
  }
  std::optional<double> rainAmount(std::uint32_t code) const override {
    return code == 0x50440 ? rain : std::nullopt;
  }
  std::map<std::uint32_t, std::string> texts = {
      {0x0, "65.3"}, {0x410428, "0.000"}, {0x1000, "70.1"}, {0x30C01C0, "100.0"}};
  std::optional<double> rain;
};

TEST(FixedLayout, HeadingsAndRecordWithTimeColumn) {
  const auto cols = columns();
  const auto h = fixedHeadings(cols, {384, 0, true});
  EXPECT_EQ(h[0], "                 Temp. Grad.D. T.Ext.       ");
  EXPECT_EQ(h[1], "  Fecha   Hora    Ext.  Calor    Máx.   ISS ");
  EXPECT_EQ(h[2], std::string(15 + 7 + 8 + 7 + 7 + 2, '-'));
  EXPECT_EQ(fixedRecordLine(cols, {384, 0, true}, FakeRecord{}),
            "01/03/06  12:30   65.3   0.000  70.1   100.0");
  EXPECT_EQ(fixedRecordLine(cols, {384, 0, true}, FakeRecord{}, true),
            "01/03/06          65.3   0.000  70.1   100.0");
}

TEST(FixedLayout, WithoutTimeColumnFromAGivenItem) {
  const auto cols = columns();
  const auto h = fixedHeadings(cols, {384, 1, false});
  EXPECT_EQ(h[0], "         Grad.D. T.Ext.       ");
  EXPECT_EQ(h[1], "  Fecha   Calor    Máx.   ISS ");
  EXPECT_EQ(fixedRecordLine(cols, {384, 1, false}, FakeRecord{}), "01/03/06   0.000  70.1   100.0");
}

TEST(FixedLayout, StopsAtTheFirstColumnBeyondTheLimit) {
  const auto cols = columns();
  // 15 + 7 + 8 = 30 fits; 30 + 1 + 7 = 38 is above 37.
  const auto h = fixedHeadings(cols, {37, 0, true});
  EXPECT_EQ(h[0], "                 Temp. Grad.D.");
  EXPECT_EQ(h[2], std::string(32, '-'));
  EXPECT_EQ(fixedRecordLine(cols, {37, 0, true}, FakeRecord{}), "01/03/06  12:30   65.3   0.000");
  // The rule line never reaches the limit.
  EXPECT_EQ(fixedHeadings(cols, {31, 0, true})[2], std::string(30, '-'));
}

TEST(DelimitedLayout, HeadingsAndRecord) {
  const auto cols = columns();
  const auto h = delimitedHeadings(cols, {384, 0, true}, ',');
  EXPECT_EQ(h[0], ",,Temp.,Grad.D.,T.Ext.,") << "one empty cell above the date, one above the time";
  EXPECT_EQ(h[1], "Fecha,Hora,Ext.,Calor ,Máx.,ISS ");
  EXPECT_EQ(delimitedRecordLine(cols, {384, 0, true}, FakeRecord{}, ','),
            "01/03/06,12:30,65.3,0.000,70.1,100.0");
  const auto noTime = delimitedHeadings(cols, {384, 2, false}, '\t');
  EXPECT_EQ(noTime[0], "\tT.Ext.\t");
  EXPECT_EQ(noTime[1], "Fecha\tMáx.\tISS ");
}

TEST(DelimitedLayout, RainAmountsHaveTwoDecimalsOrDashes) {
  const std::vector<TextColumn> cols = {{"Lluvia", "", 7, 0, 0x50440}};
  FakeRecord rec;
  rec.texts[0x50440] = "catalogue text";
  rec.rain = 0.127;
  EXPECT_EQ(delimitedRecordLine(cols, {384, 0, false}, rec, ';'), "01/03/06;0.13");
  rec.rain.reset();
  EXPECT_EQ(delimitedRecordLine(cols, {384, 0, false}, rec, ';'), "01/03/06;    ---");
  EXPECT_TRUE(isRainAmountCode(0x50440));
  EXPECT_FALSE(isRainAmountCode(0x60860)) << "rain rate";
  EXPECT_FALSE(isRainAmountCode(0x50441));
}

TEST(DelimitedLayout, StopsBeforeATextBeyondTheLimit) {
  const auto cols = columns();
  // "01/03/06,12:30,65.3" is 19 characters; ",0.000" would make 25.
  EXPECT_EQ(delimitedRecordLine(cols, {24, 0, true}, FakeRecord{}, ','), "01/03/06,12:30,65.3");
}

}  // namespace
}  // namespace station
