#include "platform/intl_settings.h"

#include <gtest/gtest.h>

#include "platform/testing/mem_file_system.h"

namespace platform {
namespace {

TEST(IntlSettings, MissingFileOrKeysTakeDefaults) {
  MemFileSystem fs;
  auto s = readIntlSettings(fs, "/prog");
  ASSERT_TRUE(s.isOk());
  EXPECT_EQ(s->dateOrder, 1);
  EXPECT_EQ(s->dateSeparator, '-');
  EXPECT_TRUE(s->clock24);
  EXPECT_EQ(s->timeSeparator, ':');
  fs.setContents("/prog/intl.ini", "[intl]\r\niDate=0\r\n");
  s = readIntlSettings(fs, "/prog");
  ASSERT_TRUE(s.isOk());
  EXPECT_EQ(s->dateOrder, 0);
  EXPECT_EQ(s->dateSeparator, '-');
}

TEST(IntlSettings, KeysOfTheIntlSectionOnly) {
  const IntlSettings s = parseIntlSettings(
      "; user conventions\n[other]\niDate=2\n[Intl]\r\n iDate = 2 \r\nsDate=.\r\niTime=0\r\n"
      "sTime=h\r\n[more]\nsTime=x\n");
  EXPECT_EQ(s.dateOrder, 2);
  EXPECT_EQ(s.dateSeparator, '.');
  EXPECT_FALSE(s.clock24);
  EXPECT_EQ(s.timeSeparator, 'h');
}

TEST(IntlSettings, UnusableValuesKeepDefaults) {
  const IntlSettings s = parseIntlSettings("[intl]\niDate=7\nsDate=\niTime=x\nsTime=\xC2\xB7\n");
  EXPECT_EQ(s.dateOrder, 1);
  EXPECT_EQ(s.dateSeparator, '-');
  EXPECT_TRUE(s.clock24);
  EXPECT_EQ(s.timeSeparator, ':');
}

}  // namespace
}  // namespace platform
