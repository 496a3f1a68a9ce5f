#include <gtest/gtest.h>

#include <sstream>

#include "platform/clock.h"
#include "platform/headless_user_interface.h"
#include "platform/testing/mem_file_system.h"
#include "platform/testing/scripted_user_interface.h"
#include "platform/terminal_user_interface.h"

namespace platform {
namespace {

const std::vector<std::string> kItems = {"Casa", "Finca"};

TEST(HeadlessUserInterface, NeverWaitsAndAnswersNo) {
  std::ostringstream out;
  HeadlessUserInterface ui(out);
  ui.message("Error", "algo");
  EXPECT_FALSE(ui.question("Tenga en cuenta", "¿Seguro?"));
  EXPECT_TRUE(ui.countDown("Descarga Automática", "Tiene 10 segundos", 10));
  EXPECT_EQ(ui.choose("Abrir", "Estación", kItems), std::nullopt);
  EXPECT_EQ(ui.enterText("Clave", "Contraseña", "0000"), std::nullopt);
  ui.showTextFile("Informe", "/nowhere.txt");
  EXPECT_EQ(out.str(), "Error: algo\nTenga en cuenta: ¿Seguro? -> no\n");
}

TEST(ScriptedUserInterface, FlagsEveryPromptWhileUnattendedButNotTheCountDown) {
  UnattendedFlag flag;
  ScriptedUserInterface ui;
  ui.watch(flag);
  std::vector<std::string> hooked;
  ui.onViolation([&](const std::string& v) { hooked.push_back(v); });

  ui.message("Error", "visto");  // someone is watching: fine
  {
    UnattendedScope scope(flag);
    EXPECT_TRUE(ui.countDown("Descarga Automática", "10 s", 10));
    ui.message("Error", "nadie");
    EXPECT_FALSE(ui.question("Tenga en cuenta", "¿Seguro?"));
    EXPECT_EQ(ui.choose("Abrir", "Estación", kItems), std::nullopt);
    EXPECT_EQ(ui.enterText("Clave", "Contraseña", ""), std::nullopt);
    ui.showTextFile("Informe", "/r.txt");
  }
  EXPECT_EQ(ui.violations().size(), 5u);
  EXPECT_EQ(hooked, ui.violations());
  EXPECT_EQ(ui.violations()[0], "message while unattended: [Error] nadie");
  EXPECT_EQ(ui.shown().size(), 7u);
}

TEST(ScriptedUserInterface, GivesScriptedAnswersInOrder) {
  ScriptedUserInterface ui;
  ui.answerQuestion(true);
  ui.answerQuestion(false);
  ui.answerCountDown(false);
  ui.answerChoice(1);
  ui.answerChoice(5);  // out of range: cancelled
  ui.answerText("1234");
  EXPECT_TRUE(ui.question("t", "q1"));
  EXPECT_FALSE(ui.question("t", "q2"));
  EXPECT_FALSE(ui.countDown("t", "c", 10));
  EXPECT_EQ(ui.choose("t", "p", kItems), 1u);
  EXPECT_EQ(ui.choose("t", "p", kItems), std::nullopt);
  EXPECT_EQ(ui.enterText("t", "p", ""), "1234");
  EXPECT_TRUE(ui.violations().empty());
}

class TerminalTest : public ::testing::Test {
 protected:
  TerminalUserInterface make(const std::string& typed) {
    in_.clear();
    in_.str(typed);
    return TerminalUserInterface(in_, out_, fs_, clock_);
  }
  std::istringstream in_;
  std::ostringstream out_;
  MemFileSystem fs_;
  FakeClock clock_;
};

TEST_F(TerminalTest, QuestionsReadAnAnswerAndTheEndOfInputIsNo) {
  auto ui = make("s\nn\n");
  EXPECT_TRUE(ui.question("Tenga en cuenta", "¿Crear?"));
  EXPECT_FALSE(ui.question("Tenga en cuenta", "¿Crear?"));
  EXPECT_FALSE(ui.question("Tenga en cuenta", "¿Crear?"));
}

TEST_F(TerminalTest, CountDownCompletesAfterItsSecondsUnlessALineIsTyped) {
  auto quiet = make("");
  EXPECT_TRUE(quiet.countDown("Descarga Automática", "Tiene 10 segundos", 10));
  EXPECT_EQ(clock_.now().time_since_epoch(), std::chrono::seconds(10));

  auto cancelled = make("\n");
  EXPECT_FALSE(cancelled.countDown("Descarga Automática", "Tiene 10 segundos", 10));
}

TEST_F(TerminalTest, ChoiceAndTextEntry) {
  auto ui = make("2\n9\nx\n0\n\nnuevo\n");
  EXPECT_EQ(ui.choose("Abrir", "Estación", kItems), 1u);
  EXPECT_EQ(ui.choose("Abrir", "Estación", kItems), std::nullopt);  // three bad answers
  EXPECT_EQ(ui.enterText("Clave", "Contraseña", "0000"), "0000");   // empty keeps it
  EXPECT_EQ(ui.enterText("Clave", "Contraseña", "0000"), "nuevo");
  EXPECT_EQ(ui.enterText("Clave", "Contraseña", "0000"), std::nullopt);
}

TEST_F(TerminalTest, ShowsATextFile) {
  fs_.setContents("/r.txt", "linea 1\nlinea 2");
  auto ui = make("");
  ui.showTextFile("Informe", "/r.txt");
  EXPECT_NE(out_.str().find("linea 1\nlinea 2\n"), std::string::npos);
}

}  // namespace
}  // namespace platform
