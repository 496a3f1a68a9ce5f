#include "link/download_session.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "link/archive_transfer.h"
#include "link/download_store.h"
#include "link/download_texts.h"
#include "link/link_types.h"

namespace stationlink {

namespace {

using platform::Status;
using records::DateTime;

constexpr int kMaxRetries = 21;
constexpr int kCirrantModelCode = 16;
constexpr int kCommandTries = 5;  // the program's command retry count
constexpr int kReadFailed = -6;
constexpr std::size_t kIdleReceiveBytes = 512;

// A read the conversion depends on, tried up to the command retry count.
template <typename Read>
auto tried(Read read) {
  auto result = read();
  for (int attempt = 1; attempt < kCommandTries && !result; ++attempt) result = read();
  return result;
}

// The console's clock as a record time (minutes 1 to 1440, 00:00 closing the day before),
// so that it compares with stored records.
DateTime recordTimeOf(const ConsoleTime& t) {
  DateTime when = DateTime::fromDate(t.year, t.month, t.day,
                                     static_cast<std::uint16_t>(t.hour * 60 + t.minute));
  if (when.minutes == 0) {
    when.previousDay();
    when.setMinutes(records::kMinutesPerDay);
  }
  return when;
}

bool later(const DateTime& a, const DateTime& b) {
  if (a.packed() != b.packed()) return a.packed() > b.packed();
  return a.minutes > b.minutes;
}

class Session {
 public:
  explicit Session(DownloadContext& ctx)
      : ctx_(ctx), link_(*ctx.link), db_(*ctx.db), config_(*ctx.config), host_(*ctx.host) {}

  DownloadOutcome run() {
    if (!prepare()) return finishFailed();
    if (pageCount_ == 0) return nothingNew();
    if (!host_.unattended()) {
      std::string question =
          confirmText(pageCount_, archiveShare(pageCount_), config_.stationName());
      if (!host_.ask(kTextConfirmTitle, question)) {
        out_.cancelled = true;
        return out_;
      }
    }
    if (!transfer()) return finishFailed();
    if (pageCount_ == 0) return nothingNew();
    if (Status s = db_.flush(); !s) return storageFailure(s);
    out_.result = static_cast<int>(out_.stored);
    return out_;
  }

 private:
  // --- Preparation ---------------------------------------------------------------------

  bool linkFailure(const Status& s) {
    out_.linkError = s.code() != 0 ? s.code() : -1;
    host_.reportLinkError(out_.linkError);
    out_.linkErrorReported = true;
    return false;
  }

  bool prepare() {
    if (Status s = link_.Open(); !s) return linkFailure(s);
    if (Status s = link_.WakeUp(); !s) return linkFailure(s);
    if (!ctx_.quickMode) {
      auto model = link_.Identify();
      if (!model) return linkFailure(model.status());
      if (!config_.isCirrant()) {
        out_.status = Status::badArgument("the station is not set up for this console family");
        return false;
      }
      auto wind = tried([this] { return link_.FindWindTransmitter(); });
      if (*model != kCirrantModelCode) {
        sayLines({modelText(*model), kTextWrongModel1, kTextWrongModel2});
        out_.status = Status::badArgument("the console is of another model");
        return false;
      }
      // Without the channel every record would name a wrong transmitter.
      if (!wind) return linkFailure(wind.status());
      if (*wind >= 0 && *wind <= 7) settings_.windTransmitter = *wind;
    }
    // Without the firmware date the records' layout is unknown: revision-B records read
    // as revision A would store wrong sensors.
    auto firmware = tried([this]() -> platform::Result<FirmwareDate> {
      auto date = link_.GetFirmwareDate();
      if (date && !date->valid) {
        return Status(platform::Errc::kCorrupt, "unreadable firmware date", kReadFailed);
      }
      return date;
    });
    if (!firmware) return linkFailure(firmware.status());
    flags_ = firmwareFlags(firmware->year, firmware->month, firmware->day, firmware->valid);
    auto interval = link_.GetArchiveInterval();
    if (!interval) return linkFailure(interval.status());
    if (*interval <= 0)
      return linkFailure(Status(platform::Errc::kCorrupt, "archive interval zero", -50));
    config_.setArchiveInterval(static_cast<std::uint8_t>(*interval));
    settings_.archiveInterval = *interval;
    settings_.rainCollector = config_.rainCollectorType();
    settings_.solarEstimate = ctx_.solarEstimate;

    newest_ = newestRecord();
    warnWhenNewestAheadOfConsole();
    stamps_ = stampsAfter(newest_);
    auto dump = dumpAfter(link_, stamps_);
    if (!dump) return linkFailure(dump.status());
    (void)link_.WriteByte(kEsc);
    pageCount_ = dump->pageCount;
    return true;
  }

  // The newest record to continue after. A damaged time (outside 0 to 1440) would ask
  // for the wrong day, so such records are passed over and logged.
  std::optional<DateTime> newestRecord() {
    std::vector<DateTime> damaged;
    auto newest = newestSoundRecord(db_, damaged);
    for (const DateTime& d : damaged) host_.log(damagedRecordText(d), config_.stationName());
    return newest;
  }

  // A console clock once set far ahead and then corrected leaves stored records in the
  // console's future; no record it archives can be later than them until its clock
  // catches up, so the owner is told what to do.
  void warnWhenNewestAheadOfConsole() {
    if (!newest_) return;
    auto clock = link_.GetTime();
    if (!clock || !records::isValidDate(clock->year, clock->month, clock->day)) return;
    if (later(*newest_, recordTimeOf(*clock))) {
      host_.log(newestAheadOfConsoleText(*newest_, *clock), config_.stationName());
    }
  }

  DownloadOutcome nothingNew() {
    // A run killed while it wrote the day's summary left it behind its records; with no
    // new record to bring it up to date, it is mended here.
    if (auto mended = mendNewestSummary(db_, *ctx_.values); !mended) {
      return storageFailure(mended.status());
    }
    say(kTextNothingNew);
    out_.result = 0;
    return out_;
  }

  // --- Transfer ------------------------------------------------------------------------

  bool transfer() {
    auto dump = dumpAfter(link_, stamps_);
    if (!dump) return linkFailure(dump.status());
    pageCount_ = dump->pageCount;
    firstRecord_ = dump->firstRecord;
    if (pageCount_ == 0) return true;
    if (!link_.AllocateDownloadBuffers(pageCount_)) {
      (void)link_.WriteByte(kEsc);
      showError(kTextNoMemory);
      return false;
    }
    PageStore store(db_, ctx_.rain, *ctx_.values, newest_, flags_, settings_);
    if (Status s = store.start(); !s) {
      (void)link_.WriteByte(kEsc);
      return endTransfer(storageFailed(s));
    }
    (void)link_.Flush();
    if (Status s = link_.WriteByte(kAck); !s) return endTransfer(linkFailure(s));

    std::array<std::uint8_t, kStoredPageBytes> page{};
    int retries = 0;
    for (int index = 0; index < pageCount_;) {
      if (ctx_.cancelled && ctx_.cancelled()) {
        (void)link_.WriteByte(kEsc);
        out_.cancelled = true;
        return endTransfer(false);
      }
      std::uint8_t reply = kNak;
      int code = readArchivePage(link_, static_cast<std::uint8_t>(index % 256), reply, page);
      if (code == 0) {
        retries = 0;
        (void)link_.WriteByte(kAck);
        ++index;
        out_.pages = index;
        // The console is already sending the next page; storing takes far less time
        // than one byte on the line.
        Status stored = store.storePage(page, index == 1 ? firstRecord_ : 0);
        takeCounts(store.counts());
        if (!stored) {
          (void)link_.WriteByte(kEsc);
          return endTransfer(storageFailed(stored));
        }
        if (ctx_.progress) ctx_.progress(index, pageCount_);
        continue;
      }
      if (code == -5) {
        out_.linkError = -5;
        showError(kTextTimeout);
        return endTransfer(false);
      }
      ++retries;
      ++out_.retries;
      // Every failed read counts towards the limit, so a line that has gone dead ends the
      // run instead of being read for ever.
      if (code == kPageIncomplete || code == kPageBadStart || code == kPageBadSequence ||
          code == kPageBadCrc || code == kReadFailed) {
        (void)link_.WriteByte(reply);
        out_.lastRetryReason = pageErrorText(code);
        if (ctx_.retryStatus) {
          ctx_.retryStatus(retryText(index, pageCount_, retries, out_.lastRetryReason));
        }
      }
      if (retries >= kMaxRetries) {
        (void)link_.WriteByte(kEsc);
        out_.linkError = code;
        showError(kTextTooManyErrors);
        return endTransfer(false);
      }
    }
    return endTransfer(true);
  }

  bool endTransfer(bool ok) {
    (void)link_.resizeBuffers(kIdleReceiveBytes, 0);
    return ok;
  }

  void takeCounts(const PageCounts& counts) {
    out_.stored = counts.stored;
    out_.skipped = counts.skipped;
    out_.dropped = counts.dropped;
  }

  // --- Failures ------------------------------------------------------------------------

  bool storageFailed(const Status& s) {
    out_.status = s;
    showError(kTextDiskError);
    return false;
  }

  DownloadOutcome storageFailure(const Status& s) {
    (void)storageFailed(s);
    return finishFailed();
  }

  DownloadOutcome finishFailed() {
    out_.result = -1;
    // What was stored before the end is on disk; the last summary and month header too.
    (void)db_.flush();
    if (out_.status.isOk()) {
      out_.status = out_.cancelled ? Status::cancelled("download cancelled")
                                   : Status(platform::Errc::kIo, "download failed", out_.linkError);
    }
    return out_;
  }

  // --- Messages --------------------------------------------------------------------------

  void say(std::string_view text) {
    if (host_.unattended()) {
      host_.log(text, config_.stationName());
    } else {
      host_.showNotice(text);
    }
  }

  void sayLines(std::initializer_list<std::string_view> lines) {
    if (host_.unattended()) {
      for (auto line : lines) host_.log(line, config_.stationName());
      return;
    }
    std::string text;
    for (auto line : lines) {
      if (!text.empty()) text += "\n";
      text += line;
    }
    host_.showNotice(text);
  }

  void showError(std::string_view text) {
    if (host_.unattended()) {
      host_.log(text, config_.stationName());
    } else {
      host_.showError(text);
    }
  }

  DownloadContext& ctx_;
  ConsoleLink& link_;
  database::WeatherDatabase& db_;
  station::StationConfig& config_;
  DownloadHost& host_;
  DownloadOutcome out_;
  ConversionSettings settings_;
  FirmwareFlags flags_;
  std::optional<DateTime> newest_;
  DumpStamps stamps_;
  int pageCount_ = 0;
  int firstRecord_ = 0;
};

}  // namespace

int archiveShare(int pages) {
  int share = (pages * 100 + kConsoleArchivePages / 2) / kConsoleArchivePages;
  return share > 100 ? 100 : share;
}

DownloadOutcome Download(DownloadContext& ctx) { return Session(ctx).run(); }

}  // namespace stationlink
