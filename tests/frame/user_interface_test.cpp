#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "platform/clock.h"
#include "platform/headless_user_interface.h"
#include "platform/terminal_user_interface.h"
#include "platform/testing/mem_file_system.h"
#include "platform/testing/scripted_user_interface.h"
#include "platform/testing/test_pty.h"

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

TEST(PromptHeading, ShowsTheTitleOnceAndTheTextOnce) {
  struct Case {
    std::string_view title, text, heading;
  } cases[] = {
      {"Introduzca la contraseña de la consola:", "Introduzca la contraseña de la consola:",
       "Introduzca la contraseña de la consola:"},
      {"Abrir estación", "Abrir estación", "Abrir estación"},
      {"Abrir estación", "Abrir estación:", "Abrir estación:"},
      {"SET_PASSWORD", "Nueva contraseña:", "Nueva contraseña:"},
      {"Tenga en cuenta", "¿Crear?", "Tenga en cuenta: ¿Crear?"},
      {"", "Repita la contraseña:", "Repita la contraseña:"},
      {"Error", "", "Error"},
      {"ÉXITO_TOTAL", "x", "ÉXITO_TOTAL: x"},  // not a resource name: not plain A-Z
  };
  for (const Case& c : cases) {
    EXPECT_EQ(promptHeading(c.title, c.text), c.heading) << c.title << " / " << c.text;
  }
}

TEST_F(TerminalTest, PromptsShowTheHeadingOnce) {
  auto ui = make("s\n1\nx\n");
  EXPECT_TRUE(ui.question("Aviso", "Aviso"));
  EXPECT_EQ(ui.choose("Abrir estación", "Abrir estación", kItems), 0u);
  EXPECT_EQ(ui.enterText("SET_PASSWORD", "Nueva contraseña:", ""), "x");
  EXPECT_EQ(out_.str(),
            "Aviso [s/n] "
            "Abrir estación\n  1. Casa\n  2. Finca\n> "
            "Nueva contraseña: ");
}

TEST_F(TerminalTest, ASecretEntryNeverShowsItsInitialValue) {
  auto ui = make("\n");
  EXPECT_EQ(ui.enterText("Clave", "Clave", "12345", true), "12345");
  EXPECT_EQ(out_.str(), "Clave \n");
}

TEST_F(TerminalTest, CountDownSecondsAreLinesOfTheirOwn) {
  auto ui = make("");
  EXPECT_TRUE(ui.countDown("Descarga Automática", "Tiene 2 segundos", 2));
  EXPECT_EQ(out_.str(),
            "Descarga Automática: Tiene 2 segundos (Intro para cancelar)\n"
            "2...\n"
            "1...\n");
}

// What the person at a terminal sees while typing `typed` at a text entry.
std::string screenOfEntry(bool secret, const std::string& typed) {
  auto pty = TestPty::openTerminal();
  if (!pty) return "no pty: " + pty.status().toString();
  MemFileSystem fs;
  FakeClock clock;
  TerminalUserInterface ui((*pty)->slaveIn(), (*pty)->slaveOut(), fs, clock, (*pty)->slaveFd());
  std::optional<std::string> entered;
  std::thread person([&] { entered = ui.enterText("Clave", "Contraseña:", "", secret); });
  std::string screen;
  // Typing starts once the prompt shows; by then a secret entry has the echo off.
  for (int i = 0; i < 50 && screen.find("Contraseña: ") == std::string::npos; ++i) {
    auto got = (*pty)->read(100);
    if (got) screen.append(got->begin(), got->end());
  }
  (void)(*pty)->write(std::span(reinterpret_cast<const std::uint8_t*>(typed.data()), typed.size()));
  person.join();
  for (;;) {
    auto got = (*pty)->read(50);
    if (!got || got->empty()) break;
    screen.append(got->begin(), got->end());
  }
  if (entered != "abc12") screen += "[entered: " + entered.value_or("(none)") + "]";
  return screen;
}

TEST(TerminalOnPty, APasswordIsNotEchoedWhileItIsTyped) {
  EXPECT_EQ(screenOfEntry(true, "abc12\n"), "Clave: Contraseña: \r\n");
  // The same entry not secret is echoed: the terminal does echo.
  EXPECT_EQ(screenOfEntry(false, "abc12\n"), "Clave: Contraseña: abc12\r\n");
}

}  // namespace
}  // namespace platform
