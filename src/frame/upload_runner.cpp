#include "frame/upload_runner.h"

#include <optional>
#include <string>

#include "frame/internet_reports.h"
#include "frame/profile_images.h"
#include "frame/program.h"
#include "frame/publish_readings.h"
#include "frame/upload_schedule.h"
#include "link/realtime_manager.h"
#include "platform/string_table.h"
#include "publish/publish_context.h"
#include "publish/template_converter.h"
#include "publish/upload_report_files.h"
#include "publish/upload_text.h"

namespace frame {

namespace {

using namespace std::chrono_literals;

// A scheduled run and what it holds for its length: the connector, the real-time pause,
// and scheduling turned off. Dropping it, whichever way the run ended, turns scheduling
// on again.
struct ScheduledUpload {
  explicit ScheduledUpload(Program& p) : program(p), pause(&p.realtime()) {}
  ~ScheduledUpload() { program.scheduler().setSchedulingEnabled(true); }
  ScheduledUpload(const ScheduledUpload&) = delete;
  ScheduledUpload& operator=(const ScheduledUpload&) = delete;

  Program& program;
  stationlink::RealtimePause pause;
  std::unique_ptr<platform::FtpConnector> ftp;
  std::unique_ptr<publish::UploadRun> run;
};

struct ScheduleState {
  std::string stationDir;
  std::optional<publish::InetConfig> config;
};

// The scheduler's bookkeeping lives in memory only; a configuration read afresh from the
// file takes it over from the one before.
void carryBookkeeping(const publish::InetConfig& from, publish::InetConfig& to) {
  for (int k = 0; k < publish::kProfileCount; ++k) {
    publish::UploadProfile old = from.profile(k);
    publish::UploadProfile now = to.profile(k);
    now.setDoneThisPeriod(old.doneThisPeriod());
    now.setLastRunMinute(old.lastRunMinute());
    to.setProfile(k, now);
  }
}

void startScheduledRun(Program& program, const publish::InetConfig& config, std::uint32_t profiles,
                       const FtpConnectorFactory& connectors) {
  program.scheduler().setSchedulingEnabled(false);
  auto held = std::make_shared<ScheduledUpload>(program);
  held->ftp = connectors(program);
  held->run =
      std::make_unique<publish::UploadRun>(uploadRunParts(program, config, profiles, *held->ftp));
  program.loop().addTimer(0ms, [held]() -> std::optional<std::chrono::milliseconds> {
    platform::UnattendedScope unattended(held->program.unattended());
    if (held->run->step()) return 0ms;
    return std::nullopt;
  });
}

}  // namespace

std::unique_ptr<platform::FtpConnector> curlConnectorFor(Program& program) {
  platform::EventLoop& loop = program.loop();
  return platform::makeCurlFtpConnector({}, [&loop] { return loop.pump(); });
}

publish::UploadRunParts uploadRunParts(Program& program, const publish::InetConfig& config,
                                       std::uint32_t profiles, platform::FtpConnector& ftp) {
  publish::UploadRunParts parts;
  parts.files = &program.files();
  parts.clock = &program.clock();
  parts.ftp = &ftp;
  parts.stationDir = program.currentStationDir();
  parts.stationName = program.currentStationName();
  parts.config = config;
  parts.profiles = profiles;
  parts.downloadArchive = [&program] { return program.downloadCurrentStation().ok(); };
  auto context = std::make_shared<std::optional<publish::PublishContext>>();
  parts.gatherData = [&program, context]() -> platform::Status {
    auto gathered = readPublishContext(program);
    if (!gathered) return gathered.status();
    *context = std::move(*gathered);
    return platform::Status::ok();
  };
  parts.convertTemplate = [&program, context](const std::string& templatePath,
                                              const std::string& pagePath) {
    if (!context->has_value()) return platform::Status::unsupported("no readings");
    return publish::convertTemplate(**context, program.files(), templatePath, pagePath);
  };
  parts.writeReport = [&program](std::uint32_t bit, const std::string& path) {
    return publish::writeReportFile(program.files(), program.currentStationDir(),
                                    program.conventions(), bit, path);
  };
  parts.drawImages = [&program, config, context](int k) {
    const stationlink::SensorImage* reading = context->has_value() ? &(*context)->readings : nullptr;
    return uploadImageFiles(drawProfileImagesNow(program, config.profile(k), k + 1, reading));
  };
  parts.sendAprs = [&program, context] {
    if (!context->has_value()) return false;
    return sendAprsFromProgram(program, (*context)->readings);
  };
  parts.sendWeatherUnderground = [&program] { return sendWuFromProgram(program).ok; };
  parts.log = [&program](std::string_view text, std::string_view source) {
    (void)program.eventLog().append(text, source);
  };
  parts.showError = [&program](std::string_view text) {
    if (!program.unattended().isSet()) program.messages().ShowErrorText(text);
  };
  platform::EventLoop& loop = program.loop();
  parts.cancelled = [&loop] { return loop.pump(); };
  return parts;
}

publish::UploadOutcome runOnLoop(Program& program, publish::UploadRun& run) {
  platform::EventLoop& loop = program.loop();
  (void)loop.handleTerminationSignals([&loop](int) { loop.requestCancel(); });
  bool done = false;
  loop.addTimer(0ms, [&run, &done]() -> std::optional<std::chrono::milliseconds> {
    if (run.step()) return 0ms;
    done = true;
    return std::nullopt;
  });
  while (!done) loop.runOnce(0ms);
  return run.outcome();
}

void logConfigSource(Program& program, publish::InetConfigSource source) {
  int id = 0;
  if (source == publish::InetConfigSource::kOlderFileIgnored)
    id = publish::msg::kOlderConfigIgnored;
  if (source == publish::InetConfigSource::kInvalidFile) id = publish::msg::kInvalidConfig;
  if (id != 0)
    (void)program.eventLog().append(platform::loadString(id), program.currentStationName());
}

Scheduler::Step uploadScheduleStep(Program& program, FtpConnectorFactory connectors) {
  if (!connectors) connectors = curlConnectorFor;
  auto state = std::make_shared<ScheduleState>();
  return [&program, state, connectors] {
    if (program.currentStation() == nullptr) return;
    const std::string dir = program.currentStationDir();
    auto loaded = publish::loadInetConfig(program.files(), dir);
    if (!loaded) return;
    publish::InetConfig config = loaded->config;
    if (state->config && state->stationDir == dir) {
      carryBookkeeping(*state->config, config);
    } else {
      logConfigSource(program, loaded->source);
    }
    state->stationDir = dir;
    state->config = config;
    if (!config.internetTransfer() && !config.localTransfer()) return;
    const platform::CivilTime now = program.clock().localNow();
    const UploadsDue due = dueUploads(*state->config, now.hour * 60 + now.minute);
    if (due.profiles != 0) startScheduledRun(program, *state->config, due.profiles, connectors);
  };
}

}  // namespace frame
