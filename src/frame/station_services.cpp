#include "frame/station_services.h"

#include <optional>

#include "database/rain_database.h"
#include "database/weather_database.h"
#include "frame/link_config_memory.h"
#include "frame/messages.h"
#include "link/serial_port_manager.h"
#include "link/station_link.h"
#include "platform/string_table.h"
#include "station/station_creator.h"
#include "station/station_file.h"
#include "station/station_opener.h"

namespace frame {

namespace {

// The open sequence's questions and errors through the program's messages: a box for a
// person, an event-log line while unattended, and the negative answer when no one is
// there to give one.
constexpr int kMsgDatabaseProblem = 64303;
constexpr int kMsgAnotherInstance = 64228;

class MessageHooks : public station::StationOpenHooks, public station::StationPrompts {
 public:
  explicit MessageHooks(Messages* messages) : messages_(messages) {}
  bool confirm(std::string_view, std::string_view text) override { return ask({}, text); }
  void showError(std::string_view text) override {
    if (messages_) messages_->ShowErrorText(text);
  }
  bool ask(std::string_view, std::string_view text) override {
    return messages_ != nullptr && messages_->Ask(text);
  }

 private:
  Messages* messages_;
};

class FileStationServices : public StationServices {
  // The open sequence's database and rain database steps, opening the services' own.
  class OpenHooks : public MessageHooks {
   public:
    explicit OpenHooks(FileStationServices& services)
        : MessageHooks(services.messages_), services_(services) {}
    platform::Status openDatabase(const std::string& dir) override {
      if (!services_.env_) return platform::Status::ok();
      services_.db_.emplace(services_.files_);
      return station::openStationDatabase(services_.files_, *services_.db_, dir);
    }
    void openRainDatabase(const std::string& dir) override {
      if (!services_.env_) return;
      services_.rain_.emplace(services_.files_);
      services_.rain_->setDirectory(dir);
      (void)services_.rain_->load(dir);
    }

   private:
    FileStationServices& services_;
  };

 public:
  // Without `env` the services keep to the files: no console link is ever opened.
  FileStationServices(platform::FileSystem& files, const platform::Env* env)
      : files_(files), env_(env ? std::optional<platform::Env>(*env) : std::nullopt) {}

  void setMessages(Messages* messages) override { messages_ = messages; }
  void setPortManager(stationlink::SerialPortManager* ports) override { ports_ = ports; }
  platform::Status startPortManager() override { return platform::Status::ok(); }
  void stopPortManager() override { closeLink(); }

  platform::Result<station::StationConfig> openStation(const std::string& dir) override {
    if (env_) {
      platform::Result<platform::InstanceLock> lock = lockStation(dir, messages_);
      if (!lock) return lock.status();
      stationLock_ = std::move(*lock);
    }
    OpenHooks hooks(*this);
    auto state = station::openStationDirectory(files_, dir, hooks);
    if (!state) {
      rain_.reset();
      db_.reset();
      stationLock_ = platform::InstanceLock();
      return state.status();
    }
    open_ = std::move(*state);
    logOpenProblems(open_->config.stationName());
    return open_->config;
  }
  void closeStation() override {
    closeLink();
    if (rain_ && rain_->loaded()) (void)rain_->close();
    rain_.reset();
    if (db_) (void)db_->close();
    db_.reset();
    open_.reset();
    stationLock_ = platform::InstanceLock();
  }
  database::WeatherDatabase* database() override { return db_ ? &*db_ : nullptr; }
  // What the open left out or mended in the month files, and the rain.db lines it could
  // not read, once in the event log under the station's name.
  void logOpenProblems(const std::string& station) {
    if (messages_ == nullptr) return;
    if (db_) {
      for (const std::string& p : db_->problems()) {
        (void)messages_->LogMessage(fillText(platform::loadString(kMsgDatabaseProblem), {p}),
                                    station);
      }
    }
    if (rain_) {
      for (const database::RainLine& line : rain_->unreadLines()) {
        (void)messages_->LogMessage(database::rainLineMessage(line, station), station);
      }
    }
  }
  database::RainDatabase* rainDatabase() override { return rain_ ? &*rain_ : nullptr; }
  platform::Result<station::StationConfig> readStation(const std::string& dir) override {
    return station::readStationRecord(files_, dir);
  }
  platform::Status saveStation(const station::StationConfig& config) override {
    if (config.stationDir().empty()) return platform::Status::ok();
    // The open station is saved with its lists; any other record alone.
    if (open_ && open_->directory() == config.stationDir()) {
      open_->config = config;
      return station::saveStation(files_, *open_);
    }
    return station::writeStationRecord(files_, config, config.stationDir());
  }
  std::optional<std::string> stationName(const std::string& dir) override {
    return station::readStationName(files_, dir);
  }
  platform::Result<std::string> createStation(const std::string& name,
                                              const std::string& parent) override {
    MessageHooks prompts(messages_);
    station::NewStation request{name, parent, 5};
    return station::createStation(files_, request, station::stationDataSets(), prompts);
  }
  void closeLink() override {
    memory_.reset();
    if (link_ != nullptr && ports_ != nullptr) (void)ports_->RemovePort(link_);
    link_ = nullptr;
  }
  void relinkStation(const station::StationConfig& config) override {
    if (open_ && open_->directory() == config.stationDir()) open_->config = config;
    closeLink();
  }
  void reopenAfterScheduledRun() override {}
  ClearOperations* clearOperations() override { return nullptr; }
  station::ConsoleConfigMemory* configMemory() override {
    if (memory_) return memory_.get();
    stationlink::ConsoleLink* link = stationLink();
    if (link == nullptr) return nullptr;
    memory_ = std::make_unique<LinkConfigMemory>(*link);
    return memory_.get();
  }
  stationlink::ConsoleLink* stationLink() override {
    if (!open_ || !env_ || ports_ == nullptr) return nullptr;
    if (link_ != nullptr) return link_;
    link_ = ports_->AddPort(stationlink::portParamsFromStation(open_->config));
    return link_;
  }

 private:
  platform::FileSystem& files_;
  std::optional<platform::Env> env_;
  Messages* messages_ = nullptr;
  std::optional<station::StationState> open_;
  platform::InstanceLock stationLock_;
  std::optional<database::WeatherDatabase> db_;
  std::optional<database::RainDatabase> rain_;
  stationlink::SerialPortManager* ports_ = nullptr;
  std::unique_ptr<LinkConfigMemory> memory_;
  stationlink::ConsoleLink* link_ = nullptr;
};

}  // namespace

platform::Result<platform::InstanceLock> lockStation(const std::string& dir, Messages* messages) {
  auto lock = platform::InstanceLock::acquire(dir, platform::kStationLockFileName);
  if (lock) return lock;
  if (lock.status().kind() != platform::Errc::kBusy) return platform::InstanceLock();
  if (messages != nullptr) {
    messages->ShowErrorText(platform::loadString(kMsgAnotherInstance) + " (" +
                            lock.status().message() + ")");
  }
  return lock.status();
}

std::unique_ptr<StationServices> makeFileStationServices(platform::FileSystem& files) {
  return std::make_unique<FileStationServices>(files, nullptr);
}

std::unique_ptr<StationServices> makeStationServices(const platform::Env& env) {
  return std::make_unique<FileStationServices>(*env.files, &env);
}

}  // namespace frame
