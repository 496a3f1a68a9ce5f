#include <gtest/gtest.h>

#include "frame/password_admin.h"
#include "platform/testing/scripted_user_interface.h"

namespace frame {
namespace {

using platform::ScriptedUserInterface;

TEST(EnterNewConsolePassword, ChecksTheLengthBeforeAskingAgain) {
  struct Case {
    const char* name;
    std::vector<std::optional<std::string>> typed;
    std::size_t entriesAsked;
    int code;  // 0: accepted
  } cases[] = {
      {"accepted", {"abc12", "abc12"}, 2, 0},
      {"too short", {"abcd", "abcd"}, 1, station::kMsgPasswordLength},
      {"too long", {"abcdefghijklmnop", "abcdefghijklmnop"}, 1, station::kMsgPasswordLength},
      {"mismatch", {"abc12", "abc13"}, 2, station::kMsgPasswordMismatch},
      {"first not typed", {std::nullopt}, 1, kMsgNewPasswordNotEntered},
      {"second not typed", {"abc12", std::nullopt}, 2, kMsgNewPasswordNotEntered},
  };
  for (const Case& c : cases) {
    ScriptedUserInterface ui;
    for (const auto& t : c.typed) ui.answerText(t);
    auto entered = enterNewConsolePassword(ui);
    EXPECT_EQ(ui.shown().size(), c.entriesAsked) << c.name;
    EXPECT_EQ(ui.secretPrompts().size(), c.entriesAsked) << c.name;
    if (c.code == 0) {
      ASSERT_TRUE(entered) << c.name;
      EXPECT_EQ(*entered, "abc12");
    } else {
      ASSERT_FALSE(entered) << c.name;
      EXPECT_EQ(entered.status().code(), c.code) << c.name;
    }
  }
}

TEST(EnterNewConsolePassword, PromptsCarryNoDialogName) {
  ScriptedUserInterface ui;
  ui.answerText("abc12");
  ui.answerText("abc12");
  ASSERT_TRUE(enterNewConsolePassword(ui));
  ASSERT_EQ(ui.secretPrompts().size(), 2u);
  EXPECT_EQ(ui.secretPrompts()[0], "Nueva contraseña (5 - 15 caracteres):");
  EXPECT_EQ(ui.secretPrompts()[1], "Repita la contraseña:");
  EXPECT_EQ(ui.shown()[0].title, "");
}

}  // namespace
}  // namespace frame
