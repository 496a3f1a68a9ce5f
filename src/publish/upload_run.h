#pragma once

// One upload run: gather the station's data, convert the templates of the due profiles,
// write their reports and images, send APRS and Weather Underground, transfer every file
// by FTP, copy it locally, and log the result. A state machine: each step() does one
// small piece, so the event loop stays responsive between them.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/ftp_client.h"
#include "platform/status.h"
#include "publish/inet_config.h"
#include "publish/template_list.h"
#include "publish/upload_ftp_phase.h"
#include "publish/upload_list.h"

namespace publish {

// An image file a profile's images were drawn into.
struct ImageFile {
  std::string path;
  bool history = false;  // a history image (else a current-data one)
};

// The images drawn for one profile: the files written, and whether a picture could not be
// written (the run then ends with errors, though the others are still sent).
struct DrawnImages {
  std::vector<ImageFile> files;
  bool writeFailed = false;
};

// What a run needs. Collaborators left empty are skipped, except `convertTemplate`, without
// which no template makes a page.
struct UploadRunParts {
  platform::FileSystem* files = nullptr;
  platform::Clock* clock = nullptr;
  // Used when the internet transfer is switched on.
  platform::FtpConnector* ftp = nullptr;
  std::string stationDir;
  std::string stationName;
  InetConfig config;
  // Profiles to run: bit k for profile k (0-7).
  std::uint32_t profiles = 0;

  // An archive download before the upload, for profiles that ask for it; true on success.
  std::function<bool()> downloadArchive;
  // Reads what the templates show (current conditions, highs and lows, station time).
  std::function<platform::Status()> gatherData;
  // Writes the page of a template.
  std::function<platform::Status(const std::string& templatePath, const std::string& pagePath)>
      convertTemplate;
  // Writes the report file of a selection bit to a path; empty: the run's own writer is not
  // available and reports are skipped.
  std::function<platform::Status(std::uint32_t reportBit, const std::string& path)> writeReport;
  // Draws profile k's images and names the files written.
  std::function<DrawnImages(int profile)> drawImages;
  // Send the reports once per run; true when sent.
  std::function<bool()> sendAprs;
  std::function<bool()> sendWeatherUnderground;

  // One event-log line under a source (the station's name, "FTP", "CopyFile").
  std::function<void(std::string_view text, std::string_view source)> log;
  // What the run is doing now, for a person watching.
  std::function<void(std::string_view text)> progress;
  // A failure a person must see ("Imposible crear lista de Plantillas").
  std::function<void(std::string_view text)> showError;
  // Asked before every step: true ends the run as cancelled (a termination signal).
  std::function<bool()> cancelled;
};

enum class UploadOutcome {
  kRunning,
  kCompleted,  // 28051
  kPartial,    // 28052
  kFailed,     // 28053
  kCancelled,  // 28054
};

// The message number of an outcome (0 while running).
int outcomeMessage(UploadOutcome outcome);

// The profile text of a result message: "Perfil(es) de Carga de Datos " then "1 ", "3 ", …
std::string profilesText(std::uint32_t profiles);

class UploadRun {
 public:
  explicit UploadRun(UploadRunParts parts);
  ~UploadRun();
  UploadRun(const UploadRun&) = delete;
  UploadRun& operator=(const UploadRun&) = delete;

  // One piece of the run. Returns false once the run has ended (its result logged).
  bool step();
  // Runs every step at once, for callers without an event loop.
  UploadOutcome runToEnd();
  // The run stops at its next step with kCancelled.
  void cancel() { cancelRequested_ = true; }
  UploadOutcome outcome() const { return outcome_; }

 private:
  enum class Phase {
    kDownload,
    kGather,
    kLists,
    kTemplates,
    kReports,
    kImages,
    kWriteUploadList,
    kAprs,
    kWeatherUnderground,
    kFtpConnect,
    kTransfer,
    kLocalCopy,
    kClose,
    kDone,
  };

  bool due(int k) const { return (parts_.profiles >> k) & 1u; }
  bool anyDue(const std::function<bool(const UploadProfile&)>& test) const;
  void show(std::string_view text) const;
  void log(std::string_view text, std::string_view source) const;
  void finish(UploadOutcome outcome);
  void endEarly();

  void stepDownload();
  void stepGather();
  void stepLists();
  void stepTemplate();
  void stepReports();
  void stepImages();
  void stepWriteUploadList();
  void stepAprs();
  void stepWeatherUnderground();
  void stepFtpConnect();
  void stepTransfer();
  void stepLocalCopy();

  void addProfileFiles(int k, const UploadProfile& profile);
  void addLine(std::string source, const std::string& subdir, const std::string& name);
  bool writeList(std::string_view fileName, const std::string& text);
  void dropLinesOf(const std::string& source);

  UploadRunParts parts_;
  Phase phase_ = Phase::kDownload;
  UploadOutcome outcome_ = UploadOutcome::kRunning;
  bool errors_ = false;
  bool cancelRequested_ = false;
  bool ftpOpenFailed_ = false;
  std::vector<TemplateJob> jobs_;
  std::size_t nextJob_ = 0;
  std::vector<UploadLine> lines_;
  std::size_t nextLine_ = 0;
  std::unique_ptr<FtpPhase> ftp_;
};

}  // namespace publish
