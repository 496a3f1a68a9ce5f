// Weather Underground updates: which records go, what a request says, how a reply is
// judged, and how failures stop the run without losing the place.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/station_generator.h"
#include "platform/testing/fake_http_client.h"
#include "platform/testing/mem_file_system.h"
#include "publish/wu_update.h"
#include "publish/wu_records.h"

namespace publish {
namespace {

using Outcome = platform::HttpReply::Outcome;

TEST(WuReply, IsJudgedByStatusAndBody) {
  struct Row {
    platform::HttpReply reply;
    WuJudgement judgement;
  };
  const std::string longWithDuplicate = "INFO: Duplicate record for this station, ignored\n";
  const std::string longWithout = "ERROR: password or key and/or id are incorrect\n";
  const Row rows[] = {
      {{Outcome::kReplied, 200, "success\n", 0}, WuJudgement::kAccepted},
      {{Outcome::kReplied, 200, "", 0}, WuJudgement::kRefused},
      {{Outcome::kReplied, 200, " \r\n", 0}, WuJudgement::kRefused},
      {{Outcome::kReplied, 200, longWithDuplicate, 0}, WuJudgement::kAcceptedAndLogged},
      {{Outcome::kReplied, 200, longWithout, 0}, WuJudgement::kRefused},
      {{Outcome::kReplied, 500, "ok", 0}, WuJudgement::kRefused},
  };
  for (const Row& row : rows) EXPECT_EQ(judgeWuReply(row.reply), row.judgement) << row.reply.body;
}

class WuUpdate : public ::testing::Test {
 protected:
  void SetUp() override {
    database::GeneratorOptions o;
    o.year = 2006;
    o.days = 2;
    o.intervalMinutes = 5;
    ASSERT_TRUE(database::generateStation(files_, "/st", o).isOk());
    ASSERT_EQ(db_.open("/st"), 0);
    config_.setStationName("Cumbre");
    config_.setWuStationId("KXXTEST1");
    config_.setWuPassword("secret");
    config_.setWuLastDate(-1);
    config_.setWuLastTime(0);
  }

  // The first and last record to send as "day minutes", and how many.
  std::string window(int localDay, int localMinutes) {
    platform::CivilTime now{2006, 1, localDay, localMinutes / 60, localMinutes % 60};
    auto records = selectWuRecords(config_, db_, now);
    if (records.empty()) return "none";
    const auto& first = records.front().record.date;
    const auto& last = records.back().record.date;
    return std::to_string(first.day) + " " + std::to_string(first.minutes) + " .. " +
           std::to_string(last.day) + " " + std::to_string(last.minutes) + " (" +
           std::to_string(records.size()) + ")";
  }

  WuOutcome send(platform::FakeHttpClient& http) {
    platform::FakeClock clock;
    clock.setLocal(2006, 1, 3);
    WuRun run{config_, db_, http, clock,
              [this](const station::StationConfig& c) {
                saved_.push_back(c.wuLastTime());
                return platform::Status::ok();
              },
              [this](std::string_view m, std::string_view title) {
                logged_.push_back(std::string(title) + ": " + std::string(m));
              },
              {}};
    return sendWuForRun(run);
  }

  platform::MemFileSystem files_;
  database::WeatherDatabase db_{files_};
  station::StationConfig config_;
  std::vector<std::uint32_t> saved_;
  std::vector<std::string> logged_;
};

TEST_F(WuUpdate, TheStartWindowFollowsTheChoiceAndTheLastRecordSent) {
  // 34 hours back from 3 January 0:00 without a choice or with one beyond 30.
  EXPECT_EQ(window(3, 0), "1 840 .. 2 1440 (409)");
  config_.setWuMaxDaysChoice(31);
  EXPECT_EQ(window(3, 0), "1 840 .. 2 1440 (409)");
  // One day back: the record stamped 24:00 of the first day is 0:00 of the second.
  config_.setWuMaxDaysChoice(1);
  EXPECT_EQ(window(3, 0), "1 1440 .. 2 1440 (289)");
  // After the last record sent, inside the window.
  config_.setWuMaxDaysChoice(0);
  config_.setWuLastDate(wuDateStamp(2006, 1, 2));
  config_.setWuLastTime(600);
  EXPECT_EQ(window(3, 0), "2 605 .. 2 1440 (168)");
  // Everything sent.
  config_.setWuLastTime(1440);
  EXPECT_EQ(window(3, 0), "none");
}

TEST_F(WuUpdate, AFailedOpeningIsRetriedOnceAfterReopening) {
  config_.setWuLastDate(wuDateStamp(2006, 1, 2));
  config_.setWuLastTime(1430);
  platform::FakeHttpClient http;
  http.replies = {{Outcome::kOpenFailed, 0, "", 28}};
  const WuOutcome out = send(http);
  EXPECT_TRUE(out.ok);
  EXPECT_EQ(out.sent, 2);
  EXPECT_EQ(http.urls.size(), 3U);
  EXPECT_EQ(http.opens, 2);
  EXPECT_EQ(saved_, (std::vector<std::uint32_t>{1435, 1440}));
  ASSERT_EQ(logged_.size(), 1U);
  EXPECT_EQ(logged_[0], "Cumbre: Error en Weather Underground - Abriendo URL 28  Stratalog reintentará.");
}

TEST_F(WuUpdate, AStationWithoutAnIdSendsNothingAndSaysWhy) {
  config_.setWuStationId("");
  platform::FakeHttpClient http;
  const WuOutcome out = send(http);
  EXPECT_FALSE(out.ok);
  EXPECT_TRUE(http.urls.empty());
  ASSERT_EQ(logged_.size(), 1u);
  EXPECT_NE(logged_[0].find("falta la identificación"), std::string::npos) << logged_[0];
}

TEST_F(WuUpdate, FailuresStopTheRunWhereTheyHappen) {
  struct Row {
    const char* name;
    std::deque<platform::HttpReply> replies;
    int openFailures;
    std::vector<std::string> log;
  };
  const Row rows[] = {
      {"two failed openings",
       {{Outcome::kOpenFailed, 0, "", 7}, {Outcome::kOpenFailed, 0, "", 7}},
       0,
       {"Cumbre: Error en Weather Underground - Abriendo URL 7  Stratalog reintentará.",
        "Cumbre: Error en Weather Underground - Abriendo URL 7  Stratalog reintentará."}},
      {"reading broke off",
       {{Outcome::kReadFailed, 0, "", 56}},
       0,
       {"Cumbre: Error en Weather Underground - Abriendo URL 56  Actualización cancelada.."}},
      {"no library", {}, 1,
       {":  Error abriendo la Conexión a Internet (2) Compruebe configuración."}},
      {"refused",
       {{Outcome::kReplied, 401, "bad\r\npassword", 0}},
       0,
       {"Cumbre: Weather Underground rechazó el registro (estado 401): bad  password"}},
      {"500 without body", {{Outcome::kReplied, 500, "", 0}}, 0,
       {"Cumbre: Weather Underground rechazó el registro (estado 500): "}},
  };
  for (const Row& row : rows) {
    config_.setWuLastDate(wuDateStamp(2006, 1, 2));
    config_.setWuLastTime(1430);
    saved_.clear();
    logged_.clear();
    platform::FakeHttpClient http;
    http.replies = row.replies;
    http.openFailures = row.openFailures;
    const WuOutcome out = send(http);
    EXPECT_FALSE(out.ok) << row.name;
    EXPECT_EQ(out.sent, 0) << row.name;
    EXPECT_TRUE(saved_.empty()) << row.name;
    EXPECT_EQ(config_.wuLastTime(), 1430U) << row.name;
    EXPECT_EQ(logged_, row.log) << row.name;
  }
}

TEST_F(WuUpdate, ARequestLeavesOutWhatIsMissingAndKeepsTheOrder) {
  config_.setWuPassword("p&ss w#rd");
  config_.setGmtOffset(1.0f);
  config_.setDstManual(true);
  config_.setDstOn(false);
  WuRecord item;
  item.record.record = wutest::recordOf({615, 255, 4.9f, 12.0f, 45.3f, 0, wutest::kMissing, 80});
  item.record.date = database::DateTime::fromDate(2006, 1, 15, 615);
  item.hourRainInches = 0.07;
  const std::string url = buildWuRequest("http://host/up.php?", config_, item);
  const std::string dew = url.substr(url.find("&dewptf="), url.find("&humidity") - url.find("&dewptf="));
  EXPECT_EQ(url,
            "http://host/up.php?ID=KXXTEST1&PASSWORD=p%26ss%20w%23rd&dateutc=2006-01-15%2009:15:00"
            "&windspeedmph=4&windgustmph=12&tempf=45.3&rainin=0.07" +
                dew + "&humidity=80&softwaretype=Stratalog%205.7.1-ES&action=updateraw");
  EXPECT_FALSE(dew.empty());
}

}  // namespace
}  // namespace publish

namespace publish {
namespace {

TEST(WuProxy, FollowsTheInternetConfiguration) {
  InetConfig inet;
  inet.setAccessType(InternetAccess::kDirect);
  EXPECT_EQ(wuProxy(inet).mode, platform::HttpProxy::Mode::kDirect);
  inet.setAccessType(InternetAccess::kProxy);
  ASSERT_TRUE(inet.setProxyServer("proxy.example:3128"));
  EXPECT_EQ(wuProxy(inet).mode, platform::HttpProxy::Mode::kGiven);
  EXPECT_EQ(wuProxy(inet).address, "proxy.example:3128");
  inet.setAccessType(InternetAccess::kSystem);
  EXPECT_EQ(wuProxy(inet).mode, platform::HttpProxy::Mode::kEnvironment);
}

}  // namespace
}  // namespace publish
