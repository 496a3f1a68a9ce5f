// "stratalog wu" against a local stand-in for the update service: the requests in time
// order with their keys, the bookkeeping stopping at a refused record, the next run going
// on from there.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli.h"
#include "cli/command_run.h"
#include "consolesim/console_engine.h"
#include "consolesim/sim_serial_port.h"
#include "platform/file_system.h"
#include "platform/testing/listener_process.h"
#include "publish/wu_records.h"
#include "station/station_file.h"

namespace cli {
namespace {

namespace fs = std::filesystem;
using Query = std::vector<std::pair<std::string, std::string>>;

std::string fileText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string percentDecoded(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size()) {
      out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

Query queryOf(const std::string& path) {
  Query q;
  std::istringstream parts(path.substr(path.find('?') + 1));
  for (std::string part; std::getline(parts, part, '&');) {
    const auto eq = part.find('=');
    q.emplace_back(part.substr(0, eq), part.substr(eq + 1));
  }
  return q;
}

std::string keysOf(const Query& q) {
  std::string keys;
  for (const auto& [k, v] : q) keys += k + " ";
  return keys;
}

std::string valueOf(const Query& q, const std::string& key) {
  for (const auto& [k, v] : q) {
    if (k == key) return v;
  }
  return "(none)";
}

class WuCommand : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!fs::exists("/usr/bin/python3")) return;
    shared_ = fs::temp_directory_path() /
              ("stratalog-wu-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::create_directories(shared_);
    server_ = new platform::ListenerProcess(
        {"/usr/bin/python3", std::string(STRATALOG_SOURCE_DIR) + "/tests/publish/wu_listener.py",
         (shared_ / "requests.log").string(), (shared_ / "replies.txt").string()});
    // The program reads the address once; every test here shares the one server.
    ::setenv("STRATALOG_WU_URL",
             ("http://127.0.0.1:" + server_->firstLine() +
              "/weatherstation/updateweatherstation.php?")
                 .c_str(),
             1);
  }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
    fs::remove_all(shared_);
  }

  void SetUp() override {
    if (server_ == nullptr || !server_->started()) GTEST_SKIP() << "python3 is not installed";
    dir_ = shared_ / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::create_directories(dir_);
    clock_.setLocal(2026, 1, 15, 3, 0);
    engine_ = std::make_unique<consolesim::ConsoleEngine>(clock_, consolesim::EngineOptions{});
    opener_ = std::make_unique<consolesim::SimSerialPortOpener>(*engine_, clock_);
    Run created = run({"station", "create", "--name", "Cumbre", "--parent", dir_.string()});
    ASSERT_EQ(created.exitCode, 0) << created.err;
    station_ = (dir_ / "Cumbre").string();
    auto config = station::readStationRecord(platform::defaultFileSystem(), station_);
    ASSERT_TRUE(config.isOk());
    config->setGmtOffset(-8.0f);
    config->setDstManual(true);
    config->setDstOn(false);
    ASSERT_TRUE(station::writeStationRecord(platform::defaultFileSystem(), *config, station_).isOk());
    clearServer({});
  }

  void clearServer(const std::vector<std::string>& replies) {
    std::ofstream(shared_ / "requests.log", std::ios::trunc);
    std::ofstream out(shared_ / "replies.txt", std::ios::trunc);
    for (const auto& r : replies) out << r << "\n";
  }
  std::vector<std::string> requests() {
    std::istringstream in(fileText(shared_ / "requests.log"));
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
  }

  using Run = clitest::CommandRun;
  Run run(const std::vector<std::string>& args, const std::string& input = {}) {
    platform::Env env;
    env.clock = &clock_;
    env.serialPorts = opener_.get();
    return clitest::run(args, env, input);
  }
  std::vector<std::string> at(std::vector<std::string> args) {
    args.insert(args.end(), {"--station", station_, "--program-dir", dir_.string()});
    return args;
  }

  static inline fs::path shared_;
  static inline platform::ListenerProcess* server_ = nullptr;
  fs::path dir_;
  std::string station_;
  platform::FakeClock clock_;
  std::unique_ptr<consolesim::ConsoleEngine> engine_;
  std::unique_ptr<consolesim::SimSerialPortOpener> opener_;
};

TEST_F(WuCommand, BadIdOrPasswordIsRefusedAndTheFileStaysAsItWas) {
  const std::string before = fileText(fs::path(station_) / "STATION.CFG");
  EXPECT_EQ(run(at({"wu", "set", "--id", std::string(21, 'K')})).exitCode, kExitUsage);
  EXPECT_EQ(run(at({"wu", "set", "--password-from-stdin"}), std::string(65, 'p') + "\n").exitCode,
            kExitUsage);
  EXPECT_EQ(run(at({"wu", "set", "--max-days", "31"})).exitCode, kExitUsage);
  EXPECT_EQ(fileText(fs::path(station_) / "STATION.CFG"), before);
}

TEST_F(WuCommand, SixRecordsStopAtTheRefusedFourthAndTheNextRunGoesOnFromIt) {
  {
    database::WeatherDatabase db(platform::defaultFileSystem());
    (void)db.open(station_);
    wutest::storeDay(db, 2026, 1, 15,
                     {{20, 255, 4.9f, 10, 40.0f, 3, 30.100f, 70},
                      {40, 4, 6.0f, 11, 41.5f, 5, 30.090f, 71},
                      {60, 8, 7.0f, 12, 42.0f, 0, wutest::kMissing, 72},
                      {80, 12, 3.0f, 8, 43.2f, 2, 30.070f, 73},
                      {100, 0, 2.0f, 5, 44.0f, 0, 30.060f, 74},
                      {120, 2, 1.0f, 4, 44.5f, 1, 30.050f, 75}});
    ASSERT_TRUE(db.close().isOk());
  }
  Run set = run(at({"wu", "set", "--id", "KXXTEST1", "--password-from-stdin"}), "p&ss w#rd\n");
  ASSERT_EQ(set.exitCode, 0) << set.err;
  Run shown = run(at({"wu", "show"}));
  EXPECT_NE(shown.out.find("Pendientes:      6\n"), std::string::npos) << shown.out;
  EXPECT_EQ(shown.out.find("w#rd"), std::string::npos) << shown.out;

  clearServer({"200 success", "200 success", "200 success", "500 "});
  Run first = run(at({"wu", "send"}));
  EXPECT_EQ(first.exitCode, kExitFailed) << first.err;
  EXPECT_EQ(first.out.find("Cargando registro:  15-01-26"), 0U) << first.out;
  const std::vector<std::string> sent = requests();
  ASSERT_EQ(sent.size(), 4U);
  const char* const full = "ID PASSWORD dateutc winddir windspeedmph windgustmph tempf rainin baromin dewptf humidity softwaretype action ";
  const char* const keys[] = {
      "ID PASSWORD dateutc windspeedmph windgustmph tempf rainin baromin dewptf humidity softwaretype action ",
      full,
      "ID PASSWORD dateutc winddir windspeedmph windgustmph tempf rainin dewptf humidity softwaretype action ",
      full};
  const char* const times[] = {"2026-01-15%2008:20:00", "2026-01-15%2008:40:00",
                               "2026-01-15%2009:00:00", "2026-01-15%2009:20:00"};
  const char* const rain[] = {"0.03", "0.08", "0.08", "0.07"};
  const char* const direction[] = {"(none)", "90", "180", "270"};
  for (std::size_t i = 0; i < sent.size(); ++i) {
    const Query q = queryOf(sent[i]);
    EXPECT_EQ(sent[i].rfind("/weatherstation/updateweatherstation.php?ID=KXXTEST1&", 0), 0U);
    EXPECT_EQ(keysOf(q), keys[i]) << i;
    EXPECT_EQ(percentDecoded(valueOf(q, "PASSWORD")), "p&ss w#rd");
    EXPECT_EQ(valueOf(q, "dateutc"), times[i]);
    EXPECT_EQ(valueOf(q, "rainin"), rain[i]) << i;
    EXPECT_EQ(valueOf(q, "winddir"), direction[i]) << i;
    EXPECT_EQ(valueOf(q, "softwaretype"), "Stratalog%205.7.1-ES");
  }
  EXPECT_EQ(valueOf(queryOf(sent[0]), "windspeedmph"), "4");
  auto config = station::readStationRecord(platform::defaultFileSystem(), station_);
  ASSERT_TRUE(config.isOk());
  EXPECT_EQ(config->wuLastDate(), (2026 - 2000) * 512 + 1 * 32 + 15);
  EXPECT_EQ(config->wuLastTime(), 60U);

  clearServer({});
  Run second = run(at({"wu", "send"}));
  EXPECT_EQ(second.exitCode, kExitOk) << second.err;
  const std::vector<std::string> resent = requests();
  ASSERT_EQ(resent.size(), 3U);
  EXPECT_EQ(valueOf(queryOf(resent[0]), "dateutc"), "2026-01-15%2009:20:00");
  EXPECT_EQ(valueOf(queryOf(resent[2]), "dateutc"), "2026-01-15%2010:00:00");
}

}  // namespace
}  // namespace cli
