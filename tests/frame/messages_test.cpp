#include "frame/messages.h"

#include <gtest/gtest.h>

#include "frame/link_error_table.h"
#include "platform/testing/mem_file_system.h"
#include "platform/testing/scripted_user_interface.h"

namespace frame {
namespace {

using platform::FakeClock;
using platform::MemFileSystem;
using platform::ScriptedUserInterface;
using platform::UnattendedFlag;
using platform::UnattendedScope;

constexpr const char* kLog = "/prog/download.log";

class MessagesTest : public ::testing::Test {
 protected:
  MessagesTest() {
    clock_.setLocal(2026, 12, 10, 14, 5);
    EXPECT_TRUE(fs_.createDirectories("/prog").isOk());
    ui_.watch(unattended_);
    messages_.setStationName("Casa");
  }
  MemFileSystem fs_;
  FakeClock clock_;
  EventLog log_{fs_, clock_, "/prog"};
  ScriptedUserInterface ui_;
  UnattendedFlag unattended_;
  Messages messages_{log_, ui_, unattended_};
};

TEST_F(MessagesTest, ReportErrorWhileUnattendedLogsAndShowsNothing) {
  UnattendedScope scope(unattended_);
  messages_.ReportError(61466, "Casa");
  EXPECT_TRUE(ui_.shown().empty());
  EXPECT_TRUE(ui_.violations().empty());
  EXPECT_EQ(fs_.contents(kLog),
            " 10-12-26 14:05 (Casa) Error Iniciando el Controlador de Puerto Serie.\n");
}

TEST_F(MessagesTest, ReportErrorWithSomeoneWatchingShowsAnErrorBoxAndLogsNothing) {
  messages_.ReportError(61466, "Casa");
  ASSERT_EQ(ui_.messages().size(), 1u);
  EXPECT_EQ(ui_.messages()[0].title, "Error");
  EXPECT_EQ(ui_.messages()[0].text, "Error Iniciando el Controlador de Puerto Serie.");
  EXPECT_FALSE(fs_.exists(kLog));
}

TEST_F(MessagesTest, UnattendedScopePutsTheFlagBack) {
  {
    UnattendedScope scope(unattended_, 2);
    EXPECT_EQ(unattended_.level(), 2);
  }
  EXPECT_FALSE(unattended_.isSet());
}

struct LinkErrorCase {
  int code;
  int stringId;
  std::string_view text;
};

class LinkErrorTable : public ::testing::TestWithParam<LinkErrorCase> {};

TEST_P(LinkErrorTable, SelectsTheMessage) {
  const LinkErrorCase& c = GetParam();
  EXPECT_EQ(linkErrorStringId(c.code), c.stringId);
  EXPECT_EQ(linkErrorText(c.code), c.text);
}

constexpr std::string_view kTimeoutText =
    "El ordenador dejó de esperar respuesta de la estación.  Compruebe la configuración del "
    "puerto COM y las conexiones.";
constexpr std::string_view kOtherText = "Error de comunicación de la estación.  Reintente.";

INSTANTIATE_TEST_SUITE_P(
    Codes, LinkErrorTable,
    ::testing::Values(
        LinkErrorCase{-4, 61265, "Fallo en el recuento CRC."},
        LinkErrorCase{-5, 61266, kTimeoutText}, LinkErrorCase{1121, 61266, kTimeoutText},
        LinkErrorCase{1460, 61266, kTimeoutText},
        LinkErrorCase{-6, 61267,
                      "Error de lectura del puerto serie.  Compruebe la velocidad de transmisión "
                      "y las conexiones."},
        LinkErrorCase{-8, 61268,
                      "No recibimos reconocimiento de nuestra última instrucción.  Inténtelo de "
                      "nuevo."},
        LinkErrorCase{-11, 61269,
                      "Stratalog intentó abrir un puerto Com que no existe en este sistema. "
                      "Compruebe la configuración del Puerto Com."},
        LinkErrorCase{-12, 61270,
                      "Stratalog intentó abrir un puerto com que está siendo usado por otro "
                      "programa. Espere a que el otro programa termine, o cierre el otro "
                      "programa."},
        LinkErrorCase{-50, 61467,
                      "Su intervalo de archivo es cero.  Realice un ciclo de encendido y "
                      "asegúrese de que escucha 3 pitidos."},
        LinkErrorCase{-7, 61461, kOtherText}, LinkErrorCase{-1, 61461, kOtherText},
        LinkErrorCase{2, 61461, kOtherText}, LinkErrorCase{0, 0, ""}));

TEST_F(MessagesTest, LinkErrorIsLoggedWithTheStationAsSource) {
  messages_.LogLinkError(-4);
  messages_.LogLinkError(0);
  EXPECT_EQ(fs_.contents(kLog), " 10-12-26 14:05 (Casa) Fallo en el recuento CRC.\n");
}

TEST_F(MessagesTest, DisplayLinkErrorUsesTheCommunicationTitle) {
  messages_.DisplayLinkError(0);
  messages_.DisplayLinkError(-4);
  ASSERT_EQ(ui_.messages().size(), 1u);
  EXPECT_EQ(ui_.messages()[0].title, "Error Comunicación");
  EXPECT_EQ(ui_.messages()[0].text, "Fallo en el recuento CRC.");
}

// No box may wait for a person during unattended work, whichever routine the caller used.
TEST_F(MessagesTest, NoBoxOrQuestionWhileUnattended) {
  UnattendedScope scope(unattended_);
  ui_.answerQuestion(true);
  messages_.ShowError(61466);
  messages_.ShowNoticeText("aviso");
  messages_.DisplayLinkError(-5);
  EXPECT_EQ(messages_.ErrorBox("caja"), 1);
  EXPECT_FALSE(messages_.AskId(61470));
  EXPECT_TRUE(ui_.shown().empty());
  auto lines = log_.readLines();
  ASSERT_TRUE(lines.isOk());
  EXPECT_EQ(lines->size(), 4u);
}

TEST_F(MessagesTest, TitlesOfTheBoxes) {
  ui_.answerQuestion(true);
  messages_.ShowNotice(61596);
  messages_.ShowOutOfMemory();
  EXPECT_TRUE(messages_.Ask("¿Seguro?"));
  ASSERT_EQ(ui_.shown().size(), 3u);
  EXPECT_EQ(ui_.shown()[0].title, "Tenga en cuenta");
  EXPECT_EQ(ui_.shown()[1].title, "Error");
  EXPECT_EQ(ui_.shown()[1].text, "Not enough memory to complete operation.  Please exit windows.");
  EXPECT_EQ(ui_.shown()[2].kind, ScriptedUserInterface::Kind::kQuestion);
}

TEST_F(MessagesTest, ModuleMessageAsksAnOpenLogViewToReload) {
  EXPECT_EQ(messages_.LogModuleMessage("hola\nmundo", "Modulo"), 0);
  int reloads = 0;
  messages_.setLogViewRefresh([&] { return ++reloads > 0; });
  EXPECT_EQ(messages_.LogModuleMessage("otra", "Modulo"), 1);
  EXPECT_EQ(reloads, 1);
  EXPECT_EQ(fs_.contents(kLog),
            " 10-12-26 14:05 (Modulo) otra\n 10-12-26 14:05 (Modulo) hola mundo\n");
}

TEST_F(MessagesTest, LogMessageFailsWhenTheLogCannotBeWritten) {
  fs_.failWrites(true);
  EXPECT_EQ(messages_.LogMessage("x", ""), -1);
  EXPECT_EQ(messages_.LogModuleMessage("x", ""), -1);
  EXPECT_TRUE(ui_.shown().empty());
}

TEST(FillText, ArgumentsAreData) {
  EXPECT_EQ(fillText("Descargado %s correctamente.", {"50%s %n"}),
            "Descargado 50%s %n correctamente.");
  EXPECT_EQ(fillText("Tiene 10 segundos para cancelar la %s Descarga Automática de %s.",
                     {"14:00", "Casa"}),
            "Tiene 10 segundos para cancelar la 14:00 Descarga Automática de Casa.");
  EXPECT_EQ(fillText("%s y %s, 100%%", {"uno"}), "uno y , 100%");
}

}  // namespace
}  // namespace frame
