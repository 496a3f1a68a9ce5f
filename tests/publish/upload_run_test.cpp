#include "publish/upload_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "platform/string_table.h"
#include "platform/testing/fake_ftp.h"
#include "platform/testing/mem_file_system.h"
#include "publish/upload_text.h"

namespace publish {
namespace {

using namespace std::chrono_literals;

struct LogLine {
  std::string text;
  std::string source;
};

class UploadRunTest : public ::testing::Test {
 protected:
  UploadRunTest() : server_(files_, clock_) {
    server_.directories.insert("/home/obs/www");
    files_.setContents("/st/index.htx", "<p><!--outsideTemp--></p>");
    files_.setContents("/st/logo.gif", std::string("GIF89a\0\1\2", 9));
    files_.setContents("/st/Profile1.lst",
                       "index.htx\t\t\t\t/st/index.htx\nlogo.gif\t\t\t\t/st/logo.gif\n");
    EXPECT_TRUE(config_.setFtpHost("ftp.example.net"));
    EXPECT_TRUE(config_.setFtpUser("obs"));
    EXPECT_TRUE(config_.setFtpPassword("secret"));
    config_.setInternetTransfer(true);
    UploadProfile p = config_.profile(0);
    EXPECT_TRUE(p.setPageDir("www/cur"));
    config_.setProfile(0, p);
  }

  UploadRunParts parts(std::uint32_t profiles = 1) {
    UploadRunParts parts;
    parts.files = &files_;
    parts.clock = &clock_;
    parts.ftp = connector_.get();
    parts.stationDir = "/st";
    parts.stationName = "Casa";
    parts.config = config_;
    parts.profiles = profiles;
    parts.convertTemplate = [this](const std::string& from, const std::string& to) {
      converted_.push_back(from);
      if (from == failingTemplate_) return platform::Status::io("cannot convert");
      files_.setContents(to, "<p>21.5</p>");
      return platform::Status::ok();
    };
    parts.log = [this](std::string_view text, std::string_view source) {
      log_.push_back({std::string(text), std::string(source)});
    };
    return parts;
  }

  UploadOutcome run(std::uint32_t profiles = 1) {
    UploadRun r(parts(profiles));
    return r.runToEnd();
  }

  bool logged(int id) const {
    const std::string text = platform::loadString(id);
    const std::string head = text.substr(0, text.find('%'));
    for (const auto& l : log_) {
      if (l.text.rfind(head, 0) == 0) return true;
    }
    return false;
  }
  const std::string& lastLog() const { return log_.back().text; }
  std::vector<std::string> stores() const {
    std::vector<std::string> out;
    for (const auto& c : server_.commands) {
      if (c.rfind("STOR ", 0) == 0) out.push_back(c.substr(5));
    }
    return out;
  }

  platform::MemFileSystem files_;
  platform::FakeClock clock_;
  platform::FakeFtpServer server_;
  std::unique_ptr<platform::FtpConnector> connector_ = server_.connector();
  InetConfig config_;
  std::vector<LogLine> log_;
  std::vector<std::string> converted_;
  std::string failingTemplate_;
};

TEST_F(UploadRunTest, SendsThePageAndTheFileIntoNewDirectoryBelowAnExistingOne) {
  EXPECT_EQ(run(), UploadOutcome::kCompleted);
  EXPECT_EQ(server_.stored.at("/home/obs/www/cur/index.htm"), "<p>21.5</p>");
  EXPECT_EQ(server_.stored.at("/home/obs/www/cur/logo.gif"), std::string("GIF89a\0\1\2", 9));
  EXPECT_EQ(server_.logins, 1);
  EXPECT_EQ(lastLog(), "Carga de Perfil(es) de Carga de Datos 1  completada correctamente.");
  EXPECT_EQ(log_.back().source, "Casa");
  EXPECT_EQ(files_.contents("/st/TemplateList.txt"),
            "index.htx\t\t\t\t/st/index.htx\t/st/index.htm\n");
  EXPECT_EQ(files_.contents("/st/UploadList.txt"),
            "/st/index.htm\twww/cur\tindex.htm\twww/cur/index.htm\n"
            "/st/logo.gif\twww/cur\tlogo.gif\twww/cur/logo.gif\n");
  // Nothing of the password reaches the log.
  for (const auto& l : log_) EXPECT_EQ(l.text.find("secret"), std::string::npos);
}

TEST_F(UploadRunTest, RemoteDirectoriesOfEverySpellingAreCreatedLevelByLevel) {
  struct Case {
    const char* ftpPath;
    const char* subdir;
    const char* want;
  };
  const Case cases[] = {
      {"\\", "www/cur", "/home/obs/www/cur"},
      {"\\", "www/cur/", "/home/obs/www/cur"},
      {"", "\\www\\new\\deep", "/home/obs/www/new/deep"},
      {"/site/", "/a", "/home/obs/site/a"},
  };
  for (const Case& c : cases) {
    server_.directories = {"/", "/home", "/home/obs", "/home/obs/www"};
    server_.stored.clear();
    ASSERT_TRUE(config_.setFtpPath(c.ftpPath));
    UploadProfile p = config_.profile(0);
    ASSERT_TRUE(p.setPageDir(c.subdir));
    config_.setProfile(0, p);
    log_.clear();
    EXPECT_EQ(run(), UploadOutcome::kCompleted)
        << c.subdir << " " << (log_.empty() ? "" : log_[0].text);
    EXPECT_EQ(server_.stored.count(std::string(c.want) + "/logo.gif"), 1u) << c.subdir;
  }
}

TEST_F(UploadRunTest, AFailedPutIsRetriedOnceAfterReconnecting) {
  server_.putFailures.push_back(
      {platform::Errc::kIo, "451 Local error\r\nin processing.", platform::kFtpServerReplyError});
  EXPECT_EQ(run(), UploadOutcome::kPartial);
  EXPECT_EQ(server_.logins, 2);
  EXPECT_EQ(stores().size(), 3u);
  EXPECT_EQ(server_.stored.size(), 2u);
  EXPECT_EQ(log_[0].text, "451 Local error  in processing.");
  EXPECT_EQ(log_[0].source, "FTP");
  EXPECT_TRUE(logged(msg::kPutReplyRetry));
}

TEST_F(UploadRunTest, ASecondFailureEndsTheFtpPhase) {
  server_.putFailures.push_back({platform::Errc::kTimeout, "timed out", 28});
  server_.putFailures.push_back({platform::Errc::kTimeout, "timed out", 28});
  EXPECT_EQ(run(), UploadOutcome::kPartial);
  EXPECT_EQ(stores(), (std::vector<std::string>{"/home/obs/www/cur/index.htm",
                                                "/home/obs/www/cur/index.htm"}));
  EXPECT_TRUE(logged(msg::kPutErrorRetry));
  EXPECT_TRUE(logged(msg::kPutErrorGiveUp));
  EXPECT_EQ(log_[1].text,
            "Error (28) cargando el archivo \"index.htm\" a la ubicación \"www/cur\".");
}

TEST_F(UploadRunTest, APutOfSixteenMinutesCancelsTheRestEvenWhenItSucceeded) {
  server_.putDuration = 16min;
  EXPECT_EQ(run(), UploadOutcome::kPartial);
  EXPECT_EQ(stores().size(), 1u);
  EXPECT_EQ(log_[0].text,
            "Error: Llevó más de 15 minutos cargar el archivo \"index.htm\" a la ubicación "
            "\"www/cur\". CANCELADO resto de la actualización FTP.");
  EXPECT_TRUE(logged(msg::kRunPartial));
}

TEST_F(UploadRunTest, ARefusedLoginNeverReadsAsSuccess) {
  ASSERT_TRUE(config_.setFtpPassword("wrong"));
  EXPECT_EQ(run(), UploadOutcome::kFailed);
  EXPECT_EQ(log_[0].text,
            " Imposible iniciar sesión en el servidor FTP 'ftp.example.net' con el usuario 'obs'.");
  EXPECT_FALSE(logged(msg::kRunOk));
}

TEST_F(UploadRunTest, ARefusedFtpPathIsLoggedAndFlagged) {
  server_.refusedDirectories.insert("/home/obs/locked");
  ASSERT_TRUE(config_.setFtpPath("locked"));
  EXPECT_EQ(run(), UploadOutcome::kPartial);
  EXPECT_EQ(log_[0].text, "550 Permission denied.");
  EXPECT_EQ(log_[1].text, " Error configurando la ruta de directorio FTP 'locked'.");
}

TEST_F(UploadRunTest, AnUnknownAccessTypeOpensNoSession) {
  InetConfig::Bytes bytes = config_.bytes();
  bytes[4776] = std::byte{3};
  config_ = InetConfig::fromBytes(bytes);
  EXPECT_EQ(run(), UploadOutcome::kFailed);
  EXPECT_EQ(server_.logins, 0);
  EXPECT_EQ(log_[0].text, " Error recuperando la Configuración de Internet del Registro");
}

TEST_F(UploadRunTest, AFailedTemplateSendsNoStalePage) {
  files_.setContents("/st/index.htm", "old page");
  failingTemplate_ = "/st/index.htx";
  EXPECT_EQ(run(), UploadOutcome::kPartial);
  EXPECT_EQ(stores(), (std::vector<std::string>{"/home/obs/www/cur/logo.gif"}));
  EXPECT_EQ(files_.contents("/st/index.htm"), "old page");
  EXPECT_FALSE(files_.exists("/st/index.htm.tmp"));
}

TEST_F(UploadRunTest, ListLinesOfTheWrongShapeAreSkippedAndFlagged) {
  files_.setContents("/st/Profile1.lst",
                     "abc\n"                             // short: ignored
                     "logo.gif\t/st/logo.gif\n"          // two fields: refused
                     "logo.gif\t\t\t\t/st/logo.gif\r\n"  // CRLF accepted
                     "page.htx\t\t\t\t/st/page.HTX\n");
  files_.setContents("/st/page.HTX", "x");
  UploadProfile p = config_.profile(0);
  ASSERT_TRUE(p.setExtension("htx"));
  config_.setProfile(0, p);
  EXPECT_EQ(run(), UploadOutcome::kPartial);
  EXPECT_EQ(stores(),
            (std::vector<std::string>{"/home/obs/www/cur/logo.gif", "/home/obs/www/cur/page.htx"}));
  EXPECT_EQ(log_[0].text, "Línea 2 de Profile1.lst omitida: tiene 2 campos y debe tener 5.");
}

TEST_F(UploadRunTest, APageThatWouldOverwriteItsTemplateIsRefused) {
  files_.setContents("/st/Profile1.lst", "index.htx\t\t\t\t/st/index.htx\n");
  UploadProfile p = config_.profile(0);
  ASSERT_TRUE(p.setExtension("htx"));
  config_.setProfile(0, p);
  EXPECT_EQ(run(), UploadOutcome::kPartial);
  EXPECT_TRUE(converted_.empty());
  EXPECT_EQ(log_[0].text, platform::loadString(msg::kPageOpenFailed) + "/st/index.htx");
}

TEST_F(UploadRunTest, BothTransfersSendByFtpThenCopyLocally) {
  ASSERT_TRUE(config_.setLocalPath("/srv/web"));
  config_.setLocalTransfer(true);
  files_.setContents("/st/Profile3.lst", "logo.gif\t\t\t\t/st/logo.gif\n");
  UploadRun r(parts(0b101));
  bool storedBeforeCopy = false;
  while (r.step()) {
    if (files_.exists("/srv/web/www/cur/logo.gif") && !storedBeforeCopy) {
      storedBeforeCopy = server_.stored.count("/home/obs/www/cur/logo.gif") == 1;
    }
  }
  EXPECT_EQ(r.outcome(), UploadOutcome::kCompleted);
  EXPECT_TRUE(storedBeforeCopy);
  EXPECT_EQ(files_.contents("/srv/web/www/cur/index.htm"), "<p>21.5</p>");
  EXPECT_EQ(files_.contents("/srv/web/logo.gif"), std::string("GIF89a\0\1\2", 9));
  EXPECT_EQ(lastLog(), "Carga de Perfil(es) de Carga de Datos 1 3  completada correctamente.");
}

TEST_F(UploadRunTest, LocalTransferWithoutALocalPathIsAnError) {
  config_.setInternetTransfer(false);
  config_.setLocalTransfer(true);
  EXPECT_EQ(run(), UploadOutcome::kPartial);
  EXPECT_EQ(log_[0].text, "Error creando el directorio \"\".");
  EXPECT_EQ(log_[0].source, "CopyFile");
}

TEST_F(UploadRunTest, ACancelStopsAtTheNextStep) {
  UploadRun r(parts());
  ASSERT_TRUE(r.step());
  r.cancel();
  EXPECT_FALSE(r.step());
  EXPECT_EQ(r.outcome(), UploadOutcome::kCancelled);
  EXPECT_EQ(lastLog(), "Carga de Perfil(es) de Carga de Datos 1  cancelada por el usuario.");
  EXPECT_TRUE(server_.stored.empty());
}

TEST_F(UploadRunTest, AFailedDataReadEndsTheRun) {
  UploadRunParts p = parts();
  p.gatherData = [] { return platform::Status::timeout("no answer"); };
  UploadRun r(std::move(p));
  EXPECT_EQ(r.runToEnd(), UploadOutcome::kFailed);
  EXPECT_EQ(server_.logins, 0);
}

TEST_F(UploadRunTest, AprsAndWeatherUndergroundGoOncePerRun) {
  files_.setContents("/st/Profile2.lst", "");
  for (int k : {0, 1}) {
    UploadProfile p = config_.profile(k);
    p.setReports(kReportAprs | kReportWeatherUnderground);
    config_.setProfile(k, p);
  }
  int aprs = 0;
  int wu = 0;
  UploadRunParts p = parts(0b11);
  p.sendAprs = [&] { return ++aprs > 0; };
  p.sendWeatherUnderground = [&] {
    ++wu;
    return false;
  };
  UploadRun r(std::move(p));
  EXPECT_EQ(r.runToEnd(), UploadOutcome::kPartial);
  EXPECT_EQ(aprs, 1);
  EXPECT_EQ(wu, 1);
}

}  // namespace
}  // namespace publish

namespace publish {
namespace {

TEST_F(UploadRunTest, APictureThatCouldNotBeWrittenEndsTheRunWithErrorsAndTheOthersAreSent) {
  UploadProfile profile = config_.profile(0);
  profile.setCurrentImageMask(0b11);
  config_.setProfile(0, profile);
  files_.setContents("/st/Images/Profile1/InsideTemp.gif", "GIF87a");
  UploadRunParts p = parts();
  p.drawImages = [](int) {
    return DrawnImages{{{"/st/Images/Profile1/InsideTemp.gif", false}}, true};
  };
  UploadRun r(std::move(p));
  EXPECT_EQ(r.runToEnd(), UploadOutcome::kPartial);
  const std::vector<std::string> sent = stores();
  EXPECT_TRUE(std::any_of(sent.begin(), sent.end(), [](const std::string& path) {
    return path.ends_with("/InsideTemp.gif");
  })) << ::testing::PrintToString(sent);
}

}  // namespace
}  // namespace publish
