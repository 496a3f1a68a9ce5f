#include <gtest/gtest.h>

#include "platform/com_port_map.h"
#include "platform/testing/mem_file_system.h"

namespace platform {
namespace {

constexpr char kMap[] = "/prog/comports.txt";

class ComPortAssignment : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(files_.createDirectories("/prog").isOk()); }
  Result<PortForDevice> assign(const std::string& device, std::set<int> others) {
    return portForDevice(files_, "/prog", device, others);
  }
  MemFileSystem files_;
};

TEST_F(ComPortAssignment, AnotherStationsPortIsNeverRepointed) {
  files_.setContents(kMap, "1\t/dev/ttyUSB0\n");
  // Port 1 belongs to another station: the new device takes the lowest number left.
  auto got = assign("/dev/ttyUSB7", {1, 2});
  ASSERT_TRUE(got.isOk()) << got.status().message();
  EXPECT_EQ(got->number, 3);
  EXPECT_EQ(got->entry, PortEntry::kEntered);
  EXPECT_EQ(files_.contents(kMap), "1\t/dev/ttyUSB0\n3\t/dev/ttyUSB7\n");
  EXPECT_EQ(*comPortDevice(files_, "/prog", 1), "/dev/ttyUSB0");
}

TEST_F(ComPortAssignment, AMappedDeviceKeepsItsNumber) {
  files_.setContents(kMap, "1\t/dev/ttyUSB0\n5\t/dev/ttyUSB7\n");
  auto got = assign("/dev/ttyUSB7", {5});
  ASSERT_TRUE(got.isOk());
  EXPECT_EQ(got->number, 5);
  EXPECT_EQ(got->entry, PortEntry::kAlreadyMapped);
  EXPECT_EQ(files_.contents(kMap), "1\t/dev/ttyUSB0\n5\t/dev/ttyUSB7\n");
  // A number without an entry already is /dev/ttyS(n-1).
  got = assign("/dev/ttyS2", {});
  ASSERT_TRUE(got.isOk());
  EXPECT_EQ(got->number, 3);
  EXPECT_EQ(got->entry, PortEntry::kAlreadyMapped);
}

TEST_F(ComPortAssignment, AllEighteenTakenIsReportedAndChangesNothing) {
  files_.setContents(kMap, "1\t/dev/ttyUSB0\n");
  std::set<int> all;
  for (int n = 1; n <= 18; ++n) all.insert(n);
  auto got = assign("/dev/ttyUSB7", all);
  ASSERT_FALSE(got.isOk());
  EXPECT_EQ(got.status().kind(), Errc::kBusy);
  EXPECT_EQ(files_.contents(kMap), "1\t/dev/ttyUSB0\n");
  // Port 19 and beyond are not a station's; 18 is the last one given.
  all.erase(18);
  got = assign("/dev/ttyUSB7", all);
  ASSERT_TRUE(got.isOk());
  EXPECT_EQ(got->number, 18);
}

TEST_F(ComPortAssignment, OnlyAPathIsADevice) {
  for (const char* text : {"0", "256", "ttyUSB0", "COM3", ""}) {
    auto got = assign(text, {});
    ASSERT_FALSE(got.isOk()) << text;
    EXPECT_EQ(got.status().kind(), Errc::kBadArgument) << text;
    EXPECT_FALSE(setComPortDevice(files_, "/prog", 2, text).isOk()) << text;
  }
  EXPECT_FALSE(files_.exists(kMap));
  EXPECT_FALSE(resolvePortName(files_, "/prog", "ttyUSB0").isOk());
  EXPECT_FALSE(resolvePortName(files_, "/prog", "COM3").isOk());
}

TEST_F(ComPortAssignment, RewritingKeepsEveryOtherLineAsItWas) {
  files_.setContents(kMap,
                     "# serial devices\r\n"
                     "1\t/dev/ttyUSB0\r\n"
                     "bad line\n"
                     "2\t/dev/ttyACM0\r\n"
                     "300\t/dev/x\n"
                     "no end");
  ASSERT_TRUE(setComPortDevice(files_, "/prog", 2, "/dev/ttyUSB3").isOk());
  // 300 is no port number: its line is one the map cannot parse.
  EXPECT_EQ(files_.contents(kMap),
            "# serial devices\r\n"
            "1\t/dev/ttyUSB0\r\n"
            "bad line\n"
            "2\t/dev/ttyUSB3\n"
            "300\t/dev/x\n"
            "no end\n");
  // A new number goes before the first entry of a higher one, here after them all.
  auto got = assign("/dev/ttyUSB9", {1, 2});
  ASSERT_TRUE(got.isOk());
  EXPECT_EQ(got->number, 3);
  EXPECT_EQ(files_.contents(kMap),
            "# serial devices\r\n"
            "1\t/dev/ttyUSB0\r\n"
            "bad line\n"
            "2\t/dev/ttyUSB3\n"
            "300\t/dev/x\n"
            "no end\n"
            "3\t/dev/ttyUSB9\n");
}

}  // namespace
}  // namespace platform
