#include "frame/control_service.h"

#include <filesystem>
#include <sstream>

#include "frame/current_follow.h"
#include "frame/messages.h"
#include "frame/program.h"
#include "platform/string_table.h"

namespace frame {

namespace {

constexpr int kMsgUnknownRequest = 66305;
constexpr int kMsgSocketFailed = 66306;
constexpr int kMsgConnectionLost = 66309;
constexpr int kMsgNoStationOpen = 61596;
constexpr int kMsgOtherStation = 66308;

// An output stream whose every flush goes to the client as one answer, so a progress line
// reaches it while the command still runs.
class ClientStreamBuf : public std::stringbuf {
 public:
  ClientStreamBuf(platform::ControlServer& server, platform::ControlServer::ClientId client,
                  const char* key)
      : server_(server), client_(client), key_(key) {}
  ~ClientStreamBuf() override { ClientStreamBuf::sync(); }

 protected:
  int sync() override {
    if (!str().empty()) {
      (void)server_.send(client_, nlohmann::json{{key_, str()}});
      str({});
    }
    return 0;
  }

 private:
  platform::ControlServer& server_;
  platform::ControlServer::ClientId client_;
  const char* key_;
};

}  // namespace

// The readings of one client's request. The manager must not be called from its own
// callbacks, so the view's end is posted to the loop.
class ControlService::ClientView : public stationlink::RealtimeView {
 public:
  ClientView(ControlService& service, ClientId client, bool follow)
      : service_(service),
        client_(client),
        follow_(follow),
        format_(bulletinFormatter(service.program_)) {}
  void update(const stationlink::SensorImage& image) override {
    image_ = image;
    fresh_ = true;
  }
  void refresh() override {
    if (done_ || !fresh_) return;
    (void)service_.server_->send(client_, nlohmann::json{{control::kReading, format_(image_)}});
    if (!follow_) end(kProgramExitOk);
  }
  void closed() override { end(kProgramExitFailed, platform::loadString(kMsgConnectionLost)); }

 private:
  void end(int code, std::string error = {}) {
    if (done_) return;
    done_ = true;
    ControlService& service = service_;
    ClientId client = client_;
    service.program_.loop().post([&service, client, code, error] {
      service.endView(client);
      service.finish(client, code, error);
    });
  }

  ControlService& service_;
  ClientId client_;
  bool follow_;
  ReadingFormatter format_;
  stationlink::SensorImage image_ = stationlink::resetSensorImage();
  bool fresh_ = false;
  bool done_ = false;
};

bool sameDirectory(const std::string& a, const std::string& b) {
  if (a == b) return true;
  std::error_code ec;
  const bool same = std::filesystem::equivalent(a, b, ec);
  return !ec && same;
}

DownloadResult downloadInRunningProgram(Program& program, const std::string& stationDir,
                                        std::function<void(int done, int total)> progress,
                                        std::function<void(const std::string& line)> retryStatus) {
  platform::UnattendedScope unattended(program.unattended());
  DownloadRequest request;
  std::optional<station::StationConfig> other;
  if (program.currentStation() != nullptr &&
      (stationDir.empty() || sameDirectory(stationDir, program.currentStationDir()))) {
    request.config = program.currentStation();
  } else {
    auto read = program.stations().readStation(stationDir);
    if (!read) {
      DownloadResult result;
      result.status = read.status();
      return result;
    }
    other = std::move(*read);
    request.config = &*other;
  }
  platform::EventLoop& loop = program.loop();
  request.cancelled = [&loop] { return loop.pump(); };
  request.progress = std::move(progress);
  request.retryStatus = std::move(retryStatus);
  return program.downloads()->download(request);
}

ControlService::ControlService(Program& program, ClientCommandRunner runner)
    : program_(program), runner_(std::move(runner)) {}

ControlService::~ControlService() { close(); }

platform::Status ControlService::open(const std::string& path) {
  const std::string where = path.empty() ? platform::joinPath(program_.programDirectory(),
                                                              platform::kControlSocketFileName)
                                         : path;
  platform::ControlServer::Handlers handlers;
  handlers.request = [this](ClientId c, const nlohmann::json& r) { onRequest(c, r); };
  handlers.gone = [this](ClientId c) { onGone(c); };
  handlers.log = [this](std::string_view line) {
    (void)program_.messages().LogMessage(line, program_.currentStationName());
  };
  auto server = platform::ControlServer::listen(program_.loop(), where, std::move(handlers));
  if (!server) {
    (void)program_.messages().LogMessage(
        fillText(platform::loadString(kMsgSocketFailed), {where, server.status().message()}),
        program_.currentStationName());
    return server.status();
  }
  server_ = std::move(*server);
  return platform::Status::ok();
}

void ControlService::close() {
  while (!views_.empty()) endView(views_.begin()->first);
  server_.reset();
}

void ControlService::onRequest(ClientId client, const nlohmann::json& request) {
  const std::string kind = request.is_object() && request.contains(control::kRequest) &&
                                   request[control::kRequest].is_string()
                               ? request[control::kRequest].get<std::string>()
                               : std::string();
  if (kind == control::kCurrent) {
    const bool follow = request.value("follow", false);
    const std::string station = request.value("station", std::string());
    if (!station.empty() && program_.currentStation() != nullptr &&
        !sameDirectory(station, program_.currentStationDir())) {
      finish(client, kProgramExitFailed,
             fillText(platform::loadString(kMsgOtherStation), {program_.currentStationName()}));
      return;
    }
    serveCurrent(client, follow);
  } else if (kind == control::kCommand) {
    runCommand(client, request);
  } else if (kind == control::kHeld) {
    serveHeld(client);
  } else {
    const std::string why = platform::loadString(kMsgUnknownRequest);
    (void)program_.messages().LogMessage(fillText(platform::loadString(66300), {why}),
                                         program_.currentStationName());
    finish(client, kProgramExitFailed, why);
  }
}

void ControlService::onGone(ClientId client) {
  // A client may be dropped from inside the manager's refresh, which must not be re-entered.
  program_.loop().post([this, client] { endView(client); });
}

void ControlService::serveCurrent(ClientId client, bool follow) {
  if (program_.currentStation() == nullptr) {
    finish(client, kProgramExitFailed, platform::loadString(kMsgNoStationOpen));
    return;
  }
  auto view = std::make_unique<ClientView>(*this, client, follow);
  ClientView* raw = view.get();
  views_[client] = std::move(view);
  program_.realtime().openView(raw);
}

void ControlService::endView(ClientId client) {
  auto it = views_.find(client);
  if (it == views_.end()) return;
  program_.realtime().closeView(it->second.get());
  views_.erase(it);
}

void ControlService::runCommand(ClientId client, const nlohmann::json& request) {
  ClientCommand command;
  const nlohmann::json& args = request.value("args", nlohmann::json::array());
  if (!runner_ || !args.is_array()) {
    finish(client, kProgramExitFailed, platform::loadString(kMsgUnknownRequest));
    return;
  }
  for (const auto& a : args) {
    if (!a.is_string()) {
      finish(client, kProgramExitFailed, platform::loadString(kMsgUnknownRequest));
      return;
    }
    command.args.push_back(a.get<std::string>());
  }
  if (request.contains("input") && request["input"].is_string()) {
    command.input = request["input"].get<std::string>();
  }
  command.terminal = request.value("terminal", false);
  int code = kProgramExitFailed;
  {
    ClientStreamBuf outBuf(*server_, client, control::kOut);
    ClientStreamBuf errBuf(*server_, client, control::kErr);
    std::ostream out(&outBuf);
    std::ostream err(&errBuf);
    code = runner_(program_, command, out, err);
    out.flush();
    err.flush();
  }
  // What the command wrote to the files becomes what the program holds. It is the client's
  // own change, asked of the program, so it is not logged as someone else's.
  program_.adoptOutsideChanges(/*logEach=*/false);
  finish(client, code);
}

void ControlService::serveHeld(ClientId client) {
  const UnitCodes units = program_.settings().unitCodes();
  const station::DownloadSchedule schedule = program_.schedule();
  nlohmann::json hours = nlohmann::json::array();
  for (int h = 0; h < 24; ++h) {
    if (schedule.hours[static_cast<std::size_t>(h)]) hours.push_back(h);
  }
  const station::StationConfig* st = program_.currentStation();
  nlohmann::json held{{"temperatureUnit", units.temperature},
                      {"barometerUnit", units.barometer},
                      {"rainUnit", units.rain},
                      {"windUnit", units.windSpeed},
                      {"elevationUnit", units.elevation},
                      {"hours", hours},
                      {"minute", schedule.offsetMinutes},
                      {"autoDownload", schedule.autoDownload},
                      {"station", st != nullptr ? st->stationName() : std::string()},
                      {"stationDir", program_.currentStationDir()}};
  (void)server_->send(client, nlohmann::json{{control::kHeld, held}});
  finish(client, kProgramExitOk);
}

void ControlService::finish(ClientId client, int exitCode, const std::string& error) {
  if (!server_) return;
  if (!error.empty()) (void)server_->send(client, nlohmann::json{{control::kErr, error + "\n"}});
  (void)server_->send(client, nlohmann::json{{control::kExit, exitCode}});
  server_->close(client);
}

}  // namespace frame
