#include "publish/upload_run.h"

#include <set>

#include "platform/string_table.h"
#include "publish/profile_list.h"
#include "publish/upload_local_copy.h"
#include "publish/upload_report_files.h"
#include "publish/upload_text.h"

namespace publish {

int outcomeMessage(UploadOutcome outcome) {
  switch (outcome) {
    case UploadOutcome::kCompleted:
      return msg::kRunOk;
    case UploadOutcome::kPartial:
      return msg::kRunPartial;
    case UploadOutcome::kFailed:
      return msg::kRunFailed;
    case UploadOutcome::kCancelled:
      return msg::kRunCancelled;
    case UploadOutcome::kRunning:
      break;
  }
  return 0;
}

std::string profilesText(std::uint32_t profiles) {
  std::string text = platform::loadString(msg::kProfilesOfRun);
  for (int k = 0; k < kProfileCount; ++k) {
    if ((profiles >> k) & 1u) text += std::to_string(k + 1) + " ";
  }
  return text;
}

UploadRun::UploadRun(UploadRunParts parts) : parts_(std::move(parts)) {}
UploadRun::~UploadRun() = default;

bool UploadRun::anyDue(const std::function<bool(const UploadProfile&)>& test) const {
  for (int k = 0; k < kProfileCount; ++k) {
    if (due(k) && test(parts_.config.profile(k))) return true;
  }
  return false;
}

void UploadRun::show(std::string_view text) const {
  if (parts_.progress) parts_.progress(text);
}

void UploadRun::log(std::string_view text, std::string_view source) const {
  if (parts_.log) parts_.log(text, source);
}

void UploadRun::finish(UploadOutcome outcome) {
  if (ftp_) ftp_->close();
  outcome_ = outcome;
  phase_ = Phase::kDone;
  log(message(outcomeMessage(outcome), {profilesText(parts_.profiles)}), parts_.stationName);
}

void UploadRun::endEarly() { finish(UploadOutcome::kFailed); }

bool UploadRun::step() {
  if (phase_ == Phase::kDone) return false;
  if (cancelRequested_ || (parts_.cancelled && parts_.cancelled())) {
    finish(UploadOutcome::kCancelled);
    return false;
  }
  switch (phase_) {
    case Phase::kDownload:
      stepDownload();
      break;
    case Phase::kGather:
      stepGather();
      break;
    case Phase::kLists:
      stepLists();
      break;
    case Phase::kTemplates:
      stepTemplate();
      break;
    case Phase::kReports:
      stepReports();
      break;
    case Phase::kImages:
      stepImages();
      break;
    case Phase::kWriteUploadList:
      stepWriteUploadList();
      break;
    case Phase::kAprs:
      stepAprs();
      break;
    case Phase::kWeatherUnderground:
      stepWeatherUnderground();
      break;
    case Phase::kFtpConnect:
      stepFtpConnect();
      break;
    case Phase::kTransfer:
      stepTransfer();
      break;
    case Phase::kLocalCopy:
      stepLocalCopy();
      break;
    case Phase::kClose:
      if (ftp_) ftp_->close();
      // Dial-up does not exist here, so there is never a line to hang up.
      if (errors_ && ftpOpenFailed_ && !parts_.config.localTransfer()) {
        finish(UploadOutcome::kFailed);
      } else {
        finish(errors_ ? UploadOutcome::kPartial : UploadOutcome::kCompleted);
      }
      break;
    case Phase::kDone:
      break;
  }
  return phase_ != Phase::kDone;
}

UploadOutcome UploadRun::runToEnd() {
  while (step()) {
  }
  return outcome_;
}

void UploadRun::stepDownload() {
  phase_ = Phase::kGather;
  if (!parts_.downloadArchive) return;
  if (!anyDue([](const UploadProfile& p) { return p.downloadFirst(); })) return;
  show(platform::loadString(msg::kDownloadFirst));
  if (!parts_.downloadArchive()) errors_ = true;
}

void UploadRun::stepGather() {
  phase_ = Phase::kLists;
  if (!parts_.gatherData) return;
  show(platform::loadString(msg::kReadCurrent));
  show(platform::loadString(msg::kReadHighsLows));
  show(platform::loadString(msg::kReadStationTime));
  if (platform::Status s = parts_.gatherData(); !s) {
    log(message(msg::kReadFailed, {s.message()}), parts_.stationName);
    endEarly();
  }
}

void UploadRun::addLine(std::string source, const std::string& subdir, const std::string& name) {
  const InetConfig& c = parts_.config;
  lines_.push_back({std::move(source), remoteDirFor(c.ftpPath(), subdir), name,
                    joinPieces({c.localPath(), subdir, name})});
}

void UploadRun::addProfileFiles(int k, const UploadProfile& profile) {
  auto list = readProfileList(*parts_.files, parts_.stationDir, profile);
  if (!list) {
    errors_ = true;
    log(list.status().message(), parts_.stationName);
    return;
  }
  for (const BadLine& b : list->badLines) {
    errors_ = true;
    log(message(msg::kBadListLine,
                {std::to_string(b.lineNumber), profile.listName(), std::to_string(b.fieldCount),
                 std::to_string(kProfileListFields)}),
        parts_.stationName);
  }
  for (const ProfileFile& f : list->files) {
    if (!f.isTemplate()) {
      addLine(f.path, profile.pageDir(), fileNameOf(f.path));
      continue;
    }
    const std::string page = pagePathFor(f.path, profile.extension());
    if (page == f.path) {
      // The page would overwrite its own template.
      errors_ = true;
      log(platform::loadString(msg::kPageOpenFailed) + page, parts_.stationName);
      continue;
    }
    jobs_.push_back({k, f.name, f.path, page});
    addLine(page, profile.pageDir(), fileNameOf(page));
  }
}

bool UploadRun::writeList(std::string_view fileName, const std::string& text) {
  const std::string path = platform::joinPath(parts_.stationDir, fileName);
  if (platform::Status s = parts_.files->replaceFileAtomically(path, text); !s) {
    log(message(msg::kListWriteFailed, {path, s.message()}), parts_.stationName);
    return false;
  }
  return true;
}

void UploadRun::stepLists() {
  for (int k = 0; k < kProfileCount; ++k) {
    if (due(k)) addProfileFiles(k, parts_.config.profile(k));
  }
  // The run works from the list as written, as anything reading the file sees it.
  if (!writeList(kTemplateListFileName, formatTemplateList(jobs_))) {
    const std::string text = platform::loadString(msg::kTemplateListFailed);
    if (parts_.showError) parts_.showError(text);
    log(text, parts_.stationName);
    endEarly();
    return;
  }
  phase_ = Phase::kTemplates;
}

void UploadRun::dropLinesOf(const std::string& source) {
  std::erase_if(lines_, [&](const UploadLine& l) { return l.source == source; });
}

void UploadRun::stepTemplate() {
  if (nextJob_ >= jobs_.size()) {
    phase_ = Phase::kReports;
    return;
  }
  const TemplateJob& job = jobs_[nextJob_++];
  show(message(msg::kConvertingTemplate, {job.name}));
  // The page is made beside its final name and renamed over it, so a failed conversion
  // never leaves half a page to be sent; a page that failed is sent neither way.
  const std::string temp = job.pagePath + ".tmp";
  platform::Status s = parts_.convertTemplate ? parts_.convertTemplate(job.templatePath, temp)
                                              : platform::Status::unsupported("no converter");
  if (!s) {
    // The converter's message is the line to log.
    log(s.message(), parts_.stationName);
  } else if (s = parts_.files->rename(temp, job.pagePath); !s) {
    log(message(msg::kPageFailed, {job.pagePath}) + " " + s.message(), parts_.stationName);
  }
  if (!s) {
    (void)parts_.files->removeFile(temp);
    errors_ = true;
    dropLinesOf(job.pagePath);
  }
}

void UploadRun::stepReports() {
  phase_ = Phase::kImages;
  if (!parts_.writeReport) return;
  std::set<std::uint32_t> written;
  std::set<std::uint32_t> failed;
  for (int k = 0; k < kProfileCount; ++k) {
    if (!due(k)) continue;
    const UploadProfile profile = parts_.config.profile(k);
    for (const ReportFileKind& kind : reportFileKinds()) {
      if (!profile.hasReport(kind.bit) || failed.count(kind.bit) != 0) continue;
      const std::string path = platform::joinPath(parts_.stationDir, kind.fileName);
      if (written.count(kind.bit) == 0) {
        show(platform::loadString(kind.progressText));
        if (platform::Status s = parts_.writeReport(kind.bit, path); !s) {
          errors_ = true;
          failed.insert(kind.bit);
          log(message(msg::kReportFailed, {kind.fileName, s.message()}), parts_.stationName);
          continue;
        }
        written.insert(kind.bit);
      }
      addLine(path, profile.reportDir(), std::string(kind.fileName));
    }
  }
}

void UploadRun::stepImages() {
  phase_ = Phase::kWriteUploadList;
  if (!parts_.drawImages) return;
  for (int k = 0; k < kProfileCount; ++k) {
    if (!due(k)) continue;
    const UploadProfile profile = parts_.config.profile(k);
    if (profile.currentImageMask() == 0 && profile.historyImageMask() == 0) continue;
    const std::string number = std::to_string(k + 1);
    if (profile.currentImageMask() != 0) show(message(msg::kCurrentImages, {number}));
    if (profile.historyImageMask() != 0) show(message(msg::kHistoryImages, {number}));
    const DrawnImages drawn = parts_.drawImages(k);
    if (drawn.writeFailed) errors_ = true;
    for (const ImageFile& image : drawn.files) {
      addLine(image.path, image.history ? profile.historyImageDir() : profile.currentImageDir(),
              fileNameOf(image.path));
    }
  }
}

void UploadRun::stepWriteUploadList() {
  if (!writeList(kUploadListFileName, formatUploadList(lines_))) {
    errors_ = true;
    endEarly();
    return;
  }
  phase_ = Phase::kAprs;
}

void UploadRun::stepAprs() {
  phase_ = Phase::kWeatherUnderground;
  if (!parts_.config.internetTransfer() || !parts_.sendAprs) return;
  if (!anyDue([](const UploadProfile& p) { return p.hasReport(kReportAprs); })) return;
  show(platform::loadString(msg::kSendAprs));
  if (!parts_.sendAprs()) errors_ = true;
}

void UploadRun::stepWeatherUnderground() {
  phase_ = Phase::kFtpConnect;
  if (!parts_.config.internetTransfer() || !parts_.sendWeatherUnderground) return;
  if (!anyDue([](const UploadProfile& p) { return p.hasReport(kReportWeatherUnderground); })) {
    return;
  }
  show(platform::loadString(msg::kSendWeatherUnderground));
  if (!parts_.sendWeatherUnderground()) errors_ = true;
}

void UploadRun::stepFtpConnect() {
  phase_ = Phase::kLocalCopy;
  if (!parts_.config.internetTransfer() || lines_.empty() || parts_.ftp == nullptr) return;
  show(platform::loadString(msg::kConnectFtp));
  ftp_ = std::make_unique<FtpPhase>(
      *parts_.ftp, *parts_.clock, parts_.config,
      [this](std::string_view text, std::string_view source) { log(text, source); });
  bool cancelled = false;
  if (!ftp_->open(errors_, cancelled)) {
    if (cancelled) {
      finish(UploadOutcome::kCancelled);
      return;
    }
    ftpOpenFailed_ = true;
    return;
  }
  nextLine_ = 0;
  phase_ = Phase::kTransfer;
}

void UploadRun::stepTransfer() {
  if (nextLine_ >= lines_.size()) {
    ftp_->close();
    phase_ = Phase::kLocalCopy;
    nextLine_ = 0;
    return;
  }
  const UploadLine& line = lines_[nextLine_++];
  show(message(msg::kSendingFile, {line.name}));
  switch (ftp_->transfer(line, errors_)) {
    case FtpPhase::LineResult::kNext:
      break;
    case FtpPhase::LineResult::kEndPhase:
      ftp_->close();
      phase_ = Phase::kLocalCopy;
      nextLine_ = 0;
      break;
    case FtpPhase::LineResult::kCancelled:
      finish(UploadOutcome::kCancelled);
      break;
  }
}

void UploadRun::stepLocalCopy() {
  if (!parts_.config.localTransfer() || nextLine_ >= lines_.size()) {
    phase_ = Phase::kClose;
    return;
  }
  const std::string copyTitle = platform::loadString(msg::kTitleCopy);
  if (parts_.config.localPath().empty()) {
    // Without a local path every copy would land relative to wherever the program runs.
    errors_ = true;
    log(message(msg::kCreateDirFailed, {""}), copyTitle);
    phase_ = Phase::kClose;
    return;
  }
  const UploadLine& line = lines_[nextLine_++];
  show(message(msg::kCopyingFile, {line.name}));
  const auto logCopy = [&](std::string_view text) { log(text, copyTitle); };
  if (!copyUploadLine(*parts_.files, line, logCopy)) {
    errors_ = true;
    phase_ = Phase::kClose;
  }
}

}  // namespace publish
