#pragma once

// A Program on fakes: files in memory, a clock moved by hand, a scripted person, a
// download runner and console that record what they were asked to do.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "frame/program.h"
#include "platform/testing/mem_file_system.h"
#include "platform/testing/scripted_user_interface.h"
#include "station/station_file.h"

namespace frame::testing {

inline constexpr const char* kProgramDir = "/stratalog";

class RecordingDownloads : public DownloadRunner {
 public:
  DownloadResult download(const DownloadRequest& request) override {
    stations.push_back(request.config->stationName());
    current.push_back(isCurrent ? isCurrent(request.config) : true);
    DownloadResult r;
    r.linkError = failWith;
    r.recordsStored = failWith == 0 ? stored : 0;
    if (onDownload) onDownload();
    if (request.logResult) request.logResult(r);
    return r;
  }
  std::vector<std::string> stations;
  std::vector<bool> current;
  // Whether a station's record is the program's current station.
  std::function<bool(const station::StationConfig*)> isCurrent;
  int failWith = 0;
  int stored = 3;
  std::function<void()> onDownload;
};

class RecordingClear : public ClearOperations {
 public:
  platform::Status clearSlot(int slot) override {
    slots.push_back(slot);
    if (slot == failAt) return platform::Status(platform::Errc::kTimeout, "no answer", -5);
    return platform::Status::ok();
  }
  platform::Status PutRain(int clicks) override {
    slots.push_back(59);
    rain.push_back(clicks);
    return platform::Status::ok();
  }
  std::vector<int> slots;
  std::vector<int> rain;
  int failAt = -1;
};

// The file services, with a console for the clear and a record of link traffic.
class FakeStationServices : public StationServices {
 public:
  FakeStationServices(platform::FileSystem& fs, RecordingClear& clear)
      : inner_(makeFileStationServices(fs)), clear_(clear) {}
  platform::Status startPortManager() override { return platform::Status::ok(); }
  void stopPortManager() override { events.push_back("stop port manager"); }
  platform::Result<station::StationConfig> openStation(const std::string& dir) override {
    return inner_->openStation(dir);
  }
  void closeStation() override { events.push_back("close station"); }
  platform::Result<station::StationConfig> readStation(const std::string& dir) override {
    return inner_->readStation(dir);
  }
  platform::Status saveStation(const station::StationConfig& c) override {
    events.push_back("save station");
    return inner_->saveStation(c);
  }
  std::optional<std::string> stationName(const std::string& dir) override {
    return inner_->stationName(dir);
  }
  platform::Result<std::string> createStation(const std::string& name,
                                              const std::string& parent) override {
    return inner_->createStation(name, parent);
  }
  void setMessages(Messages* m) override { inner_->setMessages(m); }
  void closeLink() override { events.push_back("close link"); }
  void reopenAfterScheduledRun() override { events.push_back("reopen"); }
  ClearOperations* clearOperations() override { return &clear_; }
  station::ConsoleConfigMemory* configMemory() override { return nullptr; }
  stationlink::ConsoleLink* stationLink() override { return link; }
  // The link the fake hands out; tests point it at an in-process console.
  stationlink::ConsoleLink* link = nullptr;

  std::vector<std::string> events;

 private:
  std::unique_ptr<StationServices> inner_;
  RecordingClear& clear_;
};

class ProgramTest : public ::testing::Test {
 protected:
  ProgramTest() {
    ui.watch(watched);
    ui.onViolation([](const std::string& v) { ADD_FAILURE() << v; });
  }

  // Writes a station record below the program directory; returns its directory.
  std::string addStation(const std::string& dirName, const std::string& name, int model = 5,
                         int comPort = 1) {
    std::string dir = std::string(kProgramDir) + "/" + dirName;
    station::StationConfig c;
    EXPECT_TRUE(c.setModel(static_cast<std::uint16_t>(model)));
    c.setStationName(name);
    c.setStationDir(dir);
    c.setComPort(static_cast<std::uint16_t>(comPort));
    EXPECT_TRUE(fs.createDirectories(dir).isOk());
    EXPECT_TRUE(station::writeStationRecord(fs, c, dir).isOk());
    return dir;
  }

  Program& makeProgram(bool interactive = false) {
    ProgramParts parts;
    parts.env.files = &fs;
    parts.env.clock = &clock;
    parts.ui = &ui;
    auto services = std::make_unique<FakeStationServices>(fs, clear);
    stations = services.get();
    parts.stations = std::move(services);
    if (serialPorts != nullptr) parts.env.serialPorts = serialPorts;
    // The program's own archive download, or the recording one.
    parts.downloads = realDownloads ? nullptr : &downloads;
    downloads.isCurrent = [this](const station::StationConfig* c) {
      return c == program->currentStation();
    };
    parts.programDirectory = kProgramDir;
    parts.interactive = interactive;
    parts.readStandardInput = false;
    parts.out = out;
    parts.journal = journal;
    program = std::make_unique<Program>(std::move(parts));
    // The scripted person objects to any prompt while the program's flag is set.
    ui.watch(program->unattended());
    return *program;
  }

  // One second of the frame timer through the event loop.
  void advanceSeconds(int seconds) {
    for (int i = 0; i < seconds; ++i) {
      clock.advance(std::chrono::seconds(1));
      program->loop().runOnce(std::chrono::milliseconds(0));
    }
  }

  std::string log() { return fs.contents(std::string(kProgramDir) + "/download.log"); }

  platform::MemFileSystem fs;
  platform::FakeClock clock;
  // Set before makeProgram: where the program prints (standard error when null).
  std::ostream* out = nullptr;
  // Set before makeProgram: where the event-log lines are also written (none when null).
  std::ostream* journal = nullptr;
  // Set before makeProgram: the ports the program opens, and its own archive download in
  // place of the recording one.
  platform::SerialPortOpener* serialPorts = nullptr;
  bool realDownloads = false;
  platform::UnattendedFlag watched;
  platform::ScriptedUserInterface ui;
  RecordingDownloads downloads;
  RecordingClear clear;
  FakeStationServices* stations = nullptr;
  std::unique_ptr<Program> program;
};

}  // namespace frame::testing
