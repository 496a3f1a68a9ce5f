#include "publish/wu_update.h"

#include <algorithm>
#include <cstdio>

#include "platform/string_table.h"
#include "publish/publish_text.h"
#include "quantities/date_text.h"
#include "quantities/record_values.h"
#include "reports/local_time.h"
#include "station/station_config_layout.h"
#include "station/station_tree.h"

namespace publish {

namespace {

constexpr int kMsgInternetOpenFailed = 28003;
constexpr int kMsgOpenUrlRetry = 28099;
constexpr int kMsgReadFailed = 28065;
constexpr int kMsgRefused = 66700;
constexpr int kMsgReplyLogged = 66701;
constexpr int kMsgProgress = 66702;
constexpr int kMsgSaveFailed = 66703;
constexpr int kMsgNoStationId = 66755;
constexpr int kSoftwareName = 62708;
constexpr int kSoftwareVersion = 62709;

constexpr int kRainLeadMinutes = 60;
constexpr std::size_t kLoggedBodyLimit = 250;
constexpr std::size_t kShortReplyLimit = 8;

// Minutes since 1970 of a local clock time; a stamp of 1440 is 0:00 of the next day.
long long linearMinutes(int year, int month, int day, int minutes) {
  platform::CivilTime c;
  c.year = year;
  c.month = month;
  c.day = day;
  return platform::wallFromCivil(c).time_since_epoch().count() / 60 + minutes;
}

long long recordMinutes(const database::WeatherDataObject& o) {
  return linearMinutes(o.date.year, o.date.month, o.date.day, o.date.minutes);
}

std::optional<long long> lastSentMinutes(const station::StationConfig& c) {
  const int stamp = c.wuLastDate();
  if (stamp < 0) return std::nullopt;
  return linearMinutes(stamp / 512 + 2000, (stamp / 32) % 16, stamp % 32,
                       static_cast<int>(c.wuLastTime()));
}

bool unreserved(unsigned char ch) {
  return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') ||
         ch == '-' || ch == '.' || ch == '_' || ch == '~';
}

std::string percentEncoded(std::string_view text) {
  std::string out;
  for (unsigned char ch : text) {
    if (unreserved(ch)) {
      out += static_cast<char>(ch);
    } else {
      char buf[4];
      std::snprintf(buf, sizeof buf, "%%%02X", ch);
      out += buf;
    }
  }
  return out;
}

std::string printedValue(const char* format, double v) {
  char buf[48];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  std::snprintf(buf, sizeof buf, format, v);
#pragma GCC diagnostic pop
  return buf;
}
std::string printedWhole(const char* format, double v) {
  char buf[48];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  std::snprintf(buf, sizeof buf, format, static_cast<int>(v));
#pragma GCC diagnostic pop
  return buf;
}

std::string trimmed(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t\r\n");
  return std::string(s.substr(first, last - first + 1));
}

}  // namespace

const std::string& wuServiceAddress() {
  static const std::string address =
      platform::environmentValue(kWuAddressVariable).value_or(std::string(kWuServiceAddress));
  return address;
}

std::int16_t wuDateStamp(int year, int month, int day) {
  return static_cast<std::int16_t>((year - 2000) * 512 + month * 32 + day);
}

int wuWindowMinutes(std::uint8_t maxDaysChoice) {
  // 1.416667 days.
  if (maxDaysChoice == 0 || maxDaysChoice > 30) return 2040;
  return maxDaysChoice * 1440;
}

std::vector<WuRecord> selectWuRecords(const station::StationConfig& config,
                                      database::WeatherDatabase& db,
                                      const platform::CivilTime& localNow) {
  const long long now =
      linearMinutes(localNow.year, localNow.month, localNow.day, localNow.hour * 60 + localNow.minute);
  long long first = now - wuWindowMinutes(config.wuMaxDaysChoice());
  const std::optional<long long> last = lastSentMinutes(config);
  if (last && *last + 1 > first) first = *last + 1;
  const long long readFrom = first - kRainLeadMinutes;

  std::vector<WuRecord> out;
  const int count = db.NumberOfRecordsInDataBase();
  if (count <= 0) return out;
  const long long startDay = readFrom >= 0 ? readFrom / 1440 : (readFrom - 1439) / 1440;
  const platform::CivilTime start = platform::civilFromWall(platform::WallTime(
      std::chrono::seconds(startDay * 86400)));
  const int minuteOfDay = static_cast<int>(readFrom - startDay * 1440);
  int n = db.GetClosestArchive(start.year, start.month, start.day, minuteOfDay / 60,
                               minuteOfDay % 60);
  if (n < 0) return out;
  n = std::max(0, n - 1);

  quantities::Units units;
  platform::IntlSettings intl;
  const quantities::ValueContext ctx{units, intl};
  // The records read so far with their times and rain, for the hour's sums.
  std::vector<std::pair<long long, float>> rain;
  for (; n < count; ++n) {
    database::WeatherDataObject obj;
    if (db.GetRecord(obj, n) != 0) break;
    const long long t = recordMinutes(obj);
    if (t <= readFrom) continue;
    float r = -32768.0f;
    quantities::GetWeatherData(obj.record, quantities::SensorCode{0x50440}, 1, &r, ctx);
    rain.emplace_back(t, r);
    if (t < first) continue;
    WuRecord item{obj, std::nullopt};
    for (auto it = rain.rbegin(); it != rain.rend() && it->first > t - 60; ++it) {
      if (it->second == -32768.0f || it->first > t) continue;
      item.hourRainInches = item.hourRainInches.value_or(0.0) + it->second;
    }
    out.push_back(std::move(item));
  }
  return out;
}

std::string buildWuRequest(std::string_view address, const station::StationConfig& config,
                           const WuRecord& item) {
  const auto& d = item.record.date;
  const reports::DateMinutes utc = reports::universalFromLocal(
      quantities::Date{d.year, d.month, d.day}, d.minutes, reports::programClock(config));
  char when[48];
  std::snprintf(when, sizeof when, "dateutc=%4d-%02d-%02d%%20%02d:%02d:%02d", utc.date.year,
                utc.date.month, utc.date.day, utc.minutes / 60, utc.minutes % 60, 0);
  std::string url(address);
  url += "ID=" + percentEncoded(config.wuStationId()) + "&PASSWORD=" +
         percentEncoded(config.wuPassword()) + "&" + when;

  quantities::Units units;
  platform::IntlSettings intl;
  const quantities::ValueContext ctx{units, intl};
  auto value = [&](std::uint32_t code) {
    float v = -32768.0f;
    quantities::GetWeatherData(item.record.record, quantities::SensorCode{code}, 1, &v, ctx);
    return v;
  };
  auto add = [&](const std::string& piece) { url += "&" + piece; };
  const float direction = value(0x300C0);
  if (direction >= 0 && direction <= 15) add(printedWhole("winddir=%d", direction * 22.5));
  struct Key {
    std::uint32_t code;
    const char* format;
    bool whole;
  };
  const Key before[] = {{0x20080, "windspeedmph=%d", true},
                        {0x20880, "windgustmph=%d", true},
                        {0x0, "tempf=%.1f", false}};
  for (const Key& k : before) {
    const float v = value(k.code);
    if (v != -32768.0f) add(k.whole ? printedWhole(k.format, v) : printedValue(k.format, v));
  }
  if (item.hourRainInches) add(printedValue("rainin=%.2f", *item.hourRainInches));
  const Key after[] = {{0x400E0, "baromin=%.3f", false},
                       {0x1, "dewptf=%.1f", false},
                       {0x101C0, "humidity=%d", true},
                       {0x70140, "solarradiation=%d", true},
                       {0x80180, "UV=%.1f", false}};
  for (const Key& k : after) {
    const float v = value(k.code);
    if (v != -32768.0f) add(k.whole ? printedWhole(k.format, v) : printedValue(k.format, v));
  }
  // The blank between name and version is the one character that needs encoding.
  add("softwaretype=" + platform::loadString(kSoftwareName) + "%20" +
      platform::loadString(kSoftwareVersion));
  add("action=updateraw");
  return url;
}

platform::Status saveWuBookkeeping(platform::FileSystem& files, const std::string& stationDir,
                                   const station::StationConfig& config) {
  constexpr std::size_t first = station::layout::kWuLastTime.offset;
  constexpr std::size_t count = station::layout::kWuLastDate.offset + 2 - first;
  static_assert(count == 6 && first / 512 == (first + count - 1) / 512,
                "the bookkeeping must stay inside one sector");
  const std::string path = station::stationFilePath(stationDir);
  auto file = files.open(path, platform::OpenMode::kReadWrite);
  if (!file.isOk()) return file.status();
  auto size = (*file)->size();
  if (!size.isOk()) return size.status();
  if (*size != station::StationConfig::kSize)
    return platform::Status::corrupt(path + ": not a station record");
  if (platform::Status s = (*file)->writeAt(first, std::span(config.bytes()).subspan(first, count));
      !s.isOk())
    return s;
  return (*file)->sync();
}

platform::HttpProxy wuProxy(const InetConfig& inet) {
  platform::HttpProxy proxy;
  switch (inet.accessType()) {
    case static_cast<std::uint16_t>(InternetAccess::kDirect):
      proxy.mode = platform::HttpProxy::Mode::kDirect;
      break;
    case static_cast<std::uint16_t>(InternetAccess::kProxy):
      proxy.mode = platform::HttpProxy::Mode::kGiven;
      proxy.address = inet.proxyServer();
      break;
    default:
      break;
  }
  return proxy;
}

WuJudgement judgeWuReply(const platform::HttpReply& reply) {
  if (reply.outcome != platform::HttpReply::Outcome::kReplied || reply.status != 200)
    return WuJudgement::kRefused;
  const std::string body = trimmed(reply.body);
  if (!body.empty() && body.size() <= kShortReplyLimit) return WuJudgement::kAccepted;
  if (body.find("Duplicate") != std::string::npos) return WuJudgement::kAcceptedAndLogged;
  return WuJudgement::kRefused;
}

namespace {

// One request with the one retry of a failed opening. True when the service accepted it.
bool sendOne(WuRun& run, const std::string& url, const std::string& title) {
  using Outcome = platform::HttpReply::Outcome;
  platform::HttpReply reply = run.http.get(url);
  if (reply.outcome == Outcome::kOpenFailed) {
    run.log(formatText(kMsgOpenUrlRetry, reply.errorCode), title);
    run.http.close();
    if (platform::Status s = run.http.open(); !s.isOk()) {
      run.log(formatText(kMsgInternetOpenFailed, static_cast<long>(s.code())), "");
      return false;
    }
    reply = run.http.get(url);
    if (reply.outcome == Outcome::kOpenFailed) {
      run.log(formatText(kMsgOpenUrlRetry, reply.errorCode), title);
      return false;
    }
  }
  if (reply.outcome == Outcome::kReadFailed) {
    run.log(formatText(kMsgReadFailed, reply.errorCode), title);
    return false;
  }
  const std::string body = oneLine(reply.body, kLoggedBodyLimit);
  switch (judgeWuReply(reply)) {
    case WuJudgement::kAccepted:
      return true;
    case WuJudgement::kAcceptedAndLogged:
      run.log(formatText(kMsgReplyLogged, reply.status, body.c_str()), title);
      return true;
    case WuJudgement::kRefused:
      run.log(formatText(kMsgRefused, reply.status, body.c_str()), title);
      return false;
  }
  return false;
}

}  // namespace

WuOutcome sendWuForRun(WuRun& run) {
  WuOutcome outcome;
  const std::string title = run.config.stationName();
  // Without an ID the service refuses every record, so nothing is asked of it.
  if (run.config.wuStationId().empty()) {
    run.log(platform::loadString(kMsgNoStationId), title);
    return outcome;
  }
  if (platform::Status s = run.http.open(); !s.isOk()) {
    run.log(formatText(kMsgInternetOpenFailed, static_cast<long>(s.code())), "");
    return outcome;
  }
  const std::vector<WuRecord> records =
      selectWuRecords(run.config, run.db, run.clock.localNow());
  const std::string& address = wuServiceAddress();
  outcome.ok = true;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const auto& d = records[i].record.date;
    if (run.progress) {
      run.progress(formatText(kMsgProgress, quantities::shortDateText(d, run.intl).c_str(),
                              quantities::recordTimeText(d.minutes, run.intl).c_str(),
                              static_cast<double>(i + 1), static_cast<double>(records.size())));
    }
    if (!sendOne(run, buildWuRequest(address, run.config, records[i]), title)) {
      outcome.ok = false;
      break;
    }
    run.config.setWuLastDate(wuDateStamp(d.year, d.month, d.day));
    run.config.setWuLastTime(d.minutes);
    ++outcome.sent;
    if (platform::Status s = run.save(run.config); !s.isOk()) {
      run.log(formatText(kMsgSaveFailed, s.message().c_str()), title);
      outcome.ok = false;
      break;
    }
  }
  run.http.close();
  return outcome;
}

}  // namespace publish
