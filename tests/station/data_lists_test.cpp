#include "station/data_lists.h"

#include <gtest/gtest.h>

#include "station/station_config.h"

namespace station {
namespace {

std::vector<int> idsOf(const DataList& list) {
  std::vector<int> ids;
  for (const DataListItem& item : list.items) {
    EXPECT_EQ(item.set, 0);
    ids.push_back(10000 + item.row);
  }
  return ids;
}

TEST(DefaultDataLists, TesselWithBaseSensors) {
  StationConfig c;
  ASSERT_TRUE(c.setModel(2));
  c.setSensorMask(0x6701);  // bits 0, 8, 9, 10, 13, 14
  const auto lists = buildDefaultDataLists(c);
  ASSERT_EQ(lists.size(), 5U);
  EXPECT_EQ(lists[0].name, "Default Archive Browser List");
  EXPECT_EQ(lists[1].name, "Default Day Browser List");
  EXPECT_EQ(lists[2].name, "Default Plot List");
  EXPECT_EQ(lists[3].name, "Default Stripchart List");
  EXPECT_EQ(lists[4].name, "Default Overlay List");
  const std::vector<int> browser = {10000, 10001, 10002, 10005, 10006, 10007, 10008, 10010,
                                    10013, 10022, 10023, 10024, 10025, 10056, 10057, 10053};
  EXPECT_EQ(idsOf(lists[0]), browser);
  std::vector<int> plot(browser.begin(), browser.end() - 1);
  EXPECT_EQ(idsOf(lists[2]), plot);
  EXPECT_EQ(lists[3].items, lists[2].items);
  EXPECT_TRUE(lists[1].items.empty());
  ASSERT_EQ(lists[4].items.size(), 10U);
  EXPECT_EQ(lists[4].items[9], (DataListItem{2, 9}));
}

TEST(DefaultDataLists, CirrantStationRowsGoToTheBrowserOnly) {
  StationConfig c;  // Cirrant Pro
  const auto lists = buildDefaultDataLists(c);
  const auto browser = idsOf(lists[0]);
  const auto plot = idsOf(lists[2]);
  auto has = [](const std::vector<int>& v, int id) {
    return std::find(v.begin(), v.end(), id) != v.end();
  };
  EXPECT_TRUE(has(browser, 10009));
  EXPECT_TRUE(has(browser, 10050));
  EXPECT_FALSE(has(plot, 10050));
  EXPECT_TRUE(has(plot, 10052));
  EXPECT_FALSE(has(browser, 10026)) << "inside moisture content is for Lumeno stations";
}

TEST(DataListsFile, WrittenLayout) {
  const std::vector<DataList> lists = {{"Mi Lista", {{0, 5}, {2, 0}}}, {"Vacia", {}}};
  EXPECT_EQ(formatDataListsFile(lists), "Mi Lista\n0\t5\t\n2\t0\t\n.\nVacia\n.\n");
}

TEST(DataListsFile, ReadsBackWhatWasWritten) {
  StationConfig c;
  const auto lists = buildDefaultDataLists(c);
  const std::size_t sizes[] = {58, 15, 10};
  const auto parsed = parseDataListsFile(formatDataListsFile(lists), sizes);
  EXPECT_EQ(parsed.lists, lists);
  EXPECT_EQ(parsed.droppedItems, 0U);
}

TEST(DataListsFile, ItemsOutsideTheirSetAreDropped) {
  const std::size_t sizes[] = {58, 15, 10};
  const auto parsed = parseDataListsFile(
      "Lista\r\n0\t57\t\r\n0\t58\t\r\n1\t-1\t\r\n3\t0\t\r\nxx\tyy\r\n1\t14\t\r\n.\r\n", sizes);
  ASSERT_EQ(parsed.lists.size(), 1U);
  EXPECT_EQ(parsed.lists[0].name, "Lista");
  EXPECT_EQ(parsed.lists[0].items, (std::vector<DataListItem>{{0, 57}, {1, 14}}));
  EXPECT_EQ(parsed.droppedItems, 4U);
}

TEST(DataListsFile, ShortLinesEndAListAndItemsStopAtAHundred) {
  std::string text = "Larga\n";
  for (int i = 0; i < 120; ++i) text += "0\t1\t\n";
  text += ".\nabc\nSegunda\n0\t2\t\n";  // "abc" is too short to name a list
  const std::size_t sizes[] = {58};
  const auto parsed = parseDataListsFile(text, sizes);
  ASSERT_EQ(parsed.lists.size(), 2U);
  EXPECT_EQ(parsed.lists[0].items.size(), 100U);
  EXPECT_EQ(parsed.lists[1].name, "Segunda");
  EXPECT_EQ(parsed.lists[1].items.size(), 1U);
}

std::string repeat(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

TEST(DataListsFile, LoadAndSaveChangeNothing) {
  // Names longer than a line the reader takes: 200 two-byte "é" (400 bytes), "a" and 100
  // three-byte "€" (301 bytes), 100 "€" (300 bytes).
  const std::string file = repeat("\xC3\xA9", 200) + "\n0\t1\t\n.\n" + "a" +
                           repeat("\xE2\x82\xAC", 100) + "\n.\n" + repeat("\xE2\x82\xAC", 100) +
                           "\r\n0\t2\t\r\n.\r\n";
  // What is kept: the whole characters within 255 bytes, 127 "é" (254 bytes), "a" and 84
  // "€" (253 bytes), 85 "€" (255 bytes).
  const std::string saved = repeat("\xC3\xA9", 127) + "\n0\t1\t\n.\n" + "a" +
                            repeat("\xE2\x82\xAC", 84) + "\n.\n" + repeat("\xE2\x82\xAC", 85) +
                            "\n0\t2\t\n.\n";
  const std::size_t sizes[] = {58};
  const std::string once = formatDataListsFile(parseDataListsFile(file, sizes).lists);
  EXPECT_EQ(once, saved);
  const std::string twice = formatDataListsFile(parseDataListsFile(once, sizes).lists);
  EXPECT_EQ(twice, once);
}

TEST(DataListsFile, SavedNamesAreWhatTheReaderReadsBack) {
  // An older file's Windows-1252 name is converted once; a name that would not read back
  // as itself (a line break, fewer than four bytes, more than 255) is saved as it will read.
  const std::size_t sizes[] = {58};
  const auto old = parseDataListsFile("Jard\xEDn\n0\t3\t\n.\n", sizes);
  ASSERT_EQ(old.lists.size(), 1U);
  EXPECT_EQ(old.lists[0].name, "Jard\xC3\xADn");
  const std::vector<DataList> lists = {
      {"Dos\nlineas", {{0, 1}}}, {"ab", {{0, 2}}}, {repeat("\xE2\x82\xAC", 90), {}}};
  const std::string text = formatDataListsFile(lists);
  EXPECT_EQ(text, "Dos \n0\t1\t\n.\nab  \n0\t2\t\n.\n" + repeat("\xE2\x82\xAC", 85) + "\n.\n");
  const auto back = parseDataListsFile(text, sizes);
  ASSERT_EQ(back.lists.size(), 3U);
  EXPECT_EQ(formatDataListsFile(back.lists), text);
}

}  // namespace
}  // namespace station
