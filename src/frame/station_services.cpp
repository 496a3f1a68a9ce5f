#include "frame/station_services.h"

#include <optional>

#include "frame/messages.h"
#include "platform/string_table.h"
#include "station/station_creator.h"
#include "station/station_file.h"
#include "station/station_opener.h"

namespace frame {

namespace {

// The open sequence's questions and errors through the program's messages: a box for a
// person, an event-log line while unattended, and the negative answer when no one is
// there to give one.
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
 public:
  explicit FileStationServices(platform::FileSystem& files) : files_(files) {}

  void setMessages(Messages* messages) override { messages_ = messages; }
  platform::Status startPortManager() override { return platform::Status::ok(); }
  void stopPortManager() override {}

  platform::Result<station::StationConfig> openStation(const std::string& dir) override {
    MessageHooks hooks(messages_);
    auto state = station::openStationDirectory(files_, dir, hooks);
    if (!state) return state.status();
    open_ = std::move(*state);
    return open_->config;
  }
  void closeStation() override { open_.reset(); }
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
  void closeLink() override {}
  void reopenAfterScheduledRun() override {}
  ClearOperations* clearOperations() override { return nullptr; }
  station::ConsoleConfigMemory* configMemory() override { return nullptr; }

 private:
  platform::FileSystem& files_;
  Messages* messages_ = nullptr;
  std::optional<station::StationState> open_;
};

}  // namespace

std::unique_ptr<StationServices> makeFileStationServices(platform::FileSystem& files) {
  return std::make_unique<FileStationServices>(files);
}

}  // namespace frame
