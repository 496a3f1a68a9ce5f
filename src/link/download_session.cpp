#include "link/download_session.h"

#include <optional>
#include <string>
#include <vector>

#include "database/summary_keeper.h"
#include "link/archive_transfer.h"
#include "link/download_texts.h"
#include "link/link_types.h"

namespace stationlink {

namespace {

using records::DateTime;
using platform::Status;

constexpr int kMaxRetries = 21;
constexpr int kCirrantModelCode = 16;
constexpr std::size_t kIdleReceiveBytes = 512;

bool later(const DateTime& a, const DateTime& b) {
  if (a.packed() != b.packed()) return a.packed() > b.packed();
  return a.minutes > b.minutes;
}

class Session {
 public:
  explicit Session(DownloadContext& ctx)
      : ctx_(ctx), link_(*ctx.link), db_(*ctx.db), config_(*ctx.config), messages_(*ctx.messages) {}

  DownloadOutcome run() {
    if (!prepare()) return finishFailed();
    if (pageCount_ == 0) {
      say(kTextNothingNew);
      out_.result = 0;
      return out_;
    }
    if (!messages_.isUnattended()) {
      std::string question =
          confirmText(pageCount_, archiveShare(pageCount_), config_.stationName());
      if (!messages_.ui().question(kTextConfirmTitle, question)) {
        out_.cancelled = true;
        return out_;
      }
    }
    if (!transfer()) return finishFailed();
    return convertAndStore();
  }

 private:
  // --- Preparation ---------------------------------------------------------------------

  bool linkFailure(const Status& s) {
    out_.linkError = s.code() != 0 ? s.code() : -1;
    messages_.DisplayLinkError(out_.linkError);
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
      auto wind = link_.FindWindTransmitter();
      if (wind && *wind >= 0 && *wind <= 7) settings_.windTransmitter = *wind;
      if (*model != kCirrantModelCode) {
        sayLines({modelText(*model), kTextWrongModel1, kTextWrongModel2});
        out_.status = Status::badArgument("the console is of another model");
        return false;
      }
    }
    auto firmware = link_.GetFirmwareDate();
    if (firmware)
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
    stamps_ = stampsAfter(newest_);
    auto dump = dumpAfter(link_, stamps_);
    if (!dump) return linkFailure(dump.status());
    (void)link_.WriteByte(kEsc);
    pageCount_ = dump->pageCount;
    return true;
  }

  std::optional<DateTime> newestRecord() {
    int count = db_.NumberOfRecordsInDataBase();
    if (count <= 0) return std::nullopt;
    database::WeatherDataObject obj;
    if (db_.GetRecord(obj, count - 1) != 0) return std::nullopt;
    return obj.date;
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
    pages_.assign(static_cast<std::size_t>(pageCount_) * kStoredPageBytes, 0);
    (void)link_.Flush();
    if (Status s = link_.WriteByte(kAck); !s) return endTransfer(linkFailure(s));

    int retries = 0;
    for (int index = 0; index < pageCount_;) {
      if (ctx_.cancelled && ctx_.cancelled()) {
        (void)link_.WriteByte(kEsc);
        out_.cancelled = true;
        return endTransfer(false);
      }
      std::uint8_t reply = kNak;
      auto store = std::span<std::uint8_t, kStoredPageBytes>(
          pages_.data() + index * kStoredPageBytes, kStoredPageBytes);
      int code = readArchivePage(link_, static_cast<std::uint8_t>(index % 256), reply, store);
      if (code == 0) {
        retries = 0;
        (void)link_.WriteByte(kAck);
        ++index;
        out_.pages = index;
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
          code == kPageBadCrc || code == -6) {
        (void)link_.WriteByte(reply);
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

  // --- Conversion ----------------------------------------------------------------------

  DownloadOutcome convertAndStore() {
    database::DaySummaryKeeper keeper(db_, *ctx_.values);
    if (Status s = keeper.prime(); !s) return storageFailure(s);
    bool rainLoaded = ctx_.rain != nullptr && ctx_.rain->loaded();
    std::optional<DateTime> mark = newest_;
    Status failure;

    for (int page = 0; page < pageCount_ && failure.isOk(); ++page) {
      for (int slot = page == 0 ? firstRecord_ : 0; slot < kRecordsPerPage; ++slot) {
        ConsoleRecord record(pages_.data() + page * kStoredPageBytes + slot * kConsoleRecordBytes,
                             kConsoleRecordBytes);
        auto when = consoleRecordTime(record);
        if (!when) {
          ++out_.skipped;
          continue;
        }
        if (mark && !later(*when, *mark)) continue;
        auto converted = convertConsoleRecord(record, *when, flags_, settings_);
        if (!converted) {
          ++out_.dropped;
          continue;
        }
        database::WeatherDataObject obj{*when, *converted};
        if (Status s = keeper.beginRecord(obj); !s) {
          failure = s;
          break;
        }
        if (Status s = db_.AppendArchiveRecord(obj); !s) {
          failure = s;
          break;
        }
        keeper.addRecord(obj);
        // The rain is counted only for a record that is in the database, so a failed
        // append can never leave rain.db ahead of the records.
        if (rainLoaded) (void)ctx_.rain->AddArchiveRain(obj, *ctx_.values);
        ++out_.stored;
        mark = *when;
      }
    }

    Status finished = keeper.finish();
    if (failure.isOk()) failure = finished;
    if (rainLoaded && ctx_.rain->save() != 0 && failure.isOk()) {
      failure = Status::io("rain.db could not be saved");
    }
    if (Status s = db_.flush(); !s && failure.isOk()) failure = s;
    if (!failure) return storageFailure(failure);
    out_.result = static_cast<int>(out_.stored);
    return out_;
  }

  DownloadOutcome storageFailure(const Status& s) {
    out_.status = s;
    showError(kTextDiskError);
    return finishFailed();
  }

  DownloadOutcome finishFailed() {
    out_.result = -1;
    if (out_.status.isOk()) {
      out_.status = out_.cancelled ? Status::cancelled("download cancelled")
                                   : Status(platform::Errc::kIo, "download failed", out_.linkError);
    }
    return out_;
  }

  // --- Messages --------------------------------------------------------------------------

  void say(std::string_view text) {
    if (messages_.isUnattended()) {
      (void)messages_.LogMessage(text, config_.stationName());
    } else {
      messages_.ShowNoticeText(text);
    }
  }

  void sayLines(std::initializer_list<std::string_view> lines) {
    if (messages_.isUnattended()) {
      for (auto line : lines) (void)messages_.LogMessage(line, config_.stationName());
      return;
    }
    std::string text;
    for (auto line : lines) {
      if (!text.empty()) text += "\n";
      text += line;
    }
    messages_.ShowNoticeText(text);
  }

  void showError(std::string_view text) {
    if (messages_.isUnattended()) {
      (void)messages_.LogMessage(text, config_.stationName());
    } else {
      (void)messages_.ErrorBox(text);
    }
  }

  DownloadContext& ctx_;
  ConsoleLink& link_;
  database::WeatherDatabase& db_;
  station::StationConfig& config_;
  frame::Messages& messages_;
  DownloadOutcome out_;
  ConversionSettings settings_;
  FirmwareFlags flags_;
  std::optional<DateTime> newest_;
  DumpStamps stamps_;
  int pageCount_ = 0;
  int firstRecord_ = 0;
  std::vector<std::uint8_t> pages_;
};

}  // namespace

int archiveShare(int pages) {
  int share = (pages * 100 + kConsoleArchivePages / 2) / kConsoleArchivePages;
  return share > 100 ? 100 : share;
}

DownloadOutcome Download(DownloadContext& ctx) { return Session(ctx).run(); }

}  // namespace stationlink
