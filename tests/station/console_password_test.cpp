#include "station/console_password.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/testing/mem_file_system.h"

namespace station {
namespace {

TEST(PasswordCheckValue, ExamplesOfTheConsole) {
  EXPECT_EQ(passwordCheckValue("abc"), 0xE8B);
  EXPECT_EQ(passwordCheckValue("a"), 0x61);
  EXPECT_EQ(passwordCheckValue(""), 0);
}

class FakeConsoleMemory : public ConsoleConfigMemory {
 public:
  platform::Result<std::vector<std::uint8_t>> eepromRead(int address, int count) override {
    if (failRead) return platform::Status::timeout("no answer");
    std::vector<std::uint8_t> out;
    for (int i = 0; i < count; ++i) out.push_back(memory[address + i]);
    return out;
  }
  platform::Status eepromWriteByte(int address, std::uint8_t value) override {
    writes.push_back(address);
    memory[address] = value;
    return platform::Status::ok();
  }
  std::map<int, std::uint8_t> memory{{4094, 0xFF}, {4095, 0xFF}};
  std::vector<int> writes;
  bool failRead = false;
};

TEST(ValidateNewPassword, LengthAndMatch) {
  struct Case {
    const char* a;
    const char* b;
    int wantCode;  // 0: accepted
  };
  for (Case c : {Case{"abcd", "abcd", kMsgPasswordLength}, Case{"abcde", "abcde", 0},
                 Case{" abcde ", "abcde", 0}, Case{"abcdefghijklmno", "abcdefghijklmno", 0},
                 Case{"abcdefghijklmnop", "abcdefghijklmnop", kMsgPasswordLength},
                 Case{"abcde", "abcdf", kMsgPasswordMismatch}}) {
    auto r = validateNewPassword(c.a, c.b);
    EXPECT_EQ(r.isOk() ? 0 : r.status().code(), c.wantCode) << c.a << "/" << c.b;
  }
}

TEST(ConsolePassword, SetWritesFilePrivateThenCheckValueHighByteFirst) {
  platform::MemFileSystem fs;
  FakeConsoleMemory console;
  bool accepted = true;
  ASSERT_TRUE(setConsolePassword(fs, "/p", console, "abcdef", accepted).isOk());
  EXPECT_EQ(fs.contents("/p/tsp.utl"), std::string("abcdef\0", 7));
  EXPECT_TRUE(fs.isPrivate("/p/tsp.utl"));
  std::uint16_t v = passwordCheckValue("abcdef");
  EXPECT_EQ(console.memory[4094], v >> 8);
  EXPECT_EQ(console.memory[4095], v & 0xFF);
  EXPECT_EQ(console.writes, (std::vector<int>{4094, 4095}));
  EXPECT_FALSE(accepted);
}

TEST(ConsolePassword, FailedFileWriteNeverReachesTheConsole) {
  platform::MemFileSystem fs;
  fs.failWrites(true);
  FakeConsoleMemory console;
  bool accepted = false;
  EXPECT_FALSE(setConsolePassword(fs, "/p", console, "abcdef", accepted).isOk());
  EXPECT_TRUE(console.writes.empty());
}

TEST(ConsolePassword, AskGoesOnOnlyWithTheRightPassword) {
  FakeConsoleMemory console;
  console.memory[4094] = 0x0E;
  console.memory[4095] = 0x8B;  // "abc"
  bool accepted = false;
  auto typed = [](const char* t) { return [t] { return std::optional<std::string>(t); }; };
  EXPECT_EQ(askForPassword(true, accepted, console, typed("abd")), PasswordAnswer::kWrong);
  EXPECT_FALSE(accepted);
  EXPECT_EQ(askForPassword(true, accepted, console, typed(" abc ")), PasswordAnswer::kGoOn);
  EXPECT_TRUE(accepted);
  // Accepted once: no second question.
  EXPECT_EQ(askForPassword(true, accepted, console,
                           [] {
                             ADD_FAILURE() << "asked again";
                             return std::optional<std::string>();
                           }),
            PasswordAnswer::kGoOn);
}

TEST(ConsolePassword, AskSkipsOlderConsolesAndUnsetPasswords) {
  FakeConsoleMemory console;
  bool accepted = false;
  auto never = [] {
    ADD_FAILURE() << "asked";
    return std::optional<std::string>();
  };
  EXPECT_EQ(askForPassword(false, accepted, console, never), PasswordAnswer::kGoOn);
  EXPECT_EQ(askForPassword(true, accepted, console, never), PasswordAnswer::kGoOn);
  console.failRead = true;
  EXPECT_EQ(askForPassword(true, accepted, console, never), PasswordAnswer::kConsoleUnreadable);
}

TEST(ConsolePassword, ClearWritesBoth255AndDeletesTheFile) {
  platform::MemFileSystem fs;
  fs.setContents("/p/tsp.utl", std::string("abcdef\0", 7));
  FakeConsoleMemory console;
  console.memory[4094] = 1;
  console.memory[4095] = 2;
  bool accepted = true;
  ASSERT_TRUE(clearConsolePassword(fs, "/p", console, accepted).isOk());
  EXPECT_EQ(console.memory[4094], 0xFF);
  EXPECT_EQ(console.memory[4095], 0xFF);
  EXPECT_FALSE(fs.exists("/p/tsp.utl"));
}

}  // namespace
}  // namespace station
