#include "platform/com_port_map.h"

#include <gtest/gtest.h>

#include "platform/testing/mem_file_system.h"

namespace {

TEST(ComPortMap, EntriesWinAndOtherNumbersAreTtyS) {
  platform::MemFileSystem files;
  ASSERT_TRUE(files.createDirectories("/prog").isOk());
  ASSERT_TRUE(files
                  .replaceFileAtomically("/prog/comports.txt",
                                         "1\t/dev/ttyUSB0\r\nbad line\n3\t/dev/serial/by-id/x y\n")
                  .isOk());
  EXPECT_EQ(*platform::resolvePortName(files, "/prog", "1"), "/dev/ttyUSB0");
  EXPECT_EQ(*platform::resolvePortName(files, "/prog", "3"), "/dev/serial/by-id/x y");
  EXPECT_EQ(*platform::resolvePortName(files, "/prog", "2"), "/dev/ttyS1");
  EXPECT_EQ(*platform::resolvePortName(files, "/prog", "/dev/ttyACM0"), "/dev/ttyACM0");
  EXPECT_FALSE(platform::resolvePortName(files, "/prog", "0").isOk());
  EXPECT_FALSE(platform::resolvePortName(files, "/prog", "256").isOk());
}

TEST(ComPortMap, EnteringADeviceKeepsTheOtherEntries) {
  platform::MemFileSystem files;
  ASSERT_TRUE(files.createDirectories("/prog").isOk());
  ASSERT_TRUE(platform::setComPortDevice(files, "/prog", 4, "/dev/ttyUSB1").isOk());
  ASSERT_TRUE(platform::setComPortDevice(files, "/prog", 1, "/dev/ttyUSB0").isOk());
  EXPECT_EQ(*files.readFile("/prog/comports.txt"), "1\t/dev/ttyUSB0\n4\t/dev/ttyUSB1\n");
  EXPECT_FALSE(platform::setComPortDevice(files, "/prog", 2, "/dev/a\tb").isOk());
}

}  // namespace
