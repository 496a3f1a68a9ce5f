#include "database/month_check.h"

#include <optional>

#include "database/month_file.h"
#include "database/month_names.h"
#include "database/view_text.h"

namespace database {

using platform::Result;
using platform::Status;

namespace {

// "<dir>/Backup/<name>", or the first "<name>.N" not yet taken, so that an earlier
// backup of the same month is never overwritten.
Result<std::string> backupPath(platform::FileSystem& fs, const std::string& stationDir,
                               const std::string& name) {
  const std::string dir = platform::joinPath(stationDir, kBackupFolder);
  if (Status s = fs.createDirectories(dir); !s) return s;
  std::string path = platform::joinPath(dir, name);
  for (int n = 1; fs.exists(path); ++n) {
    if (n > 999) return Status::busy(viewText(64760, {dir, name}));
    path = platform::joinPath(dir, name + "." + std::to_string(n));
  }
  return path;
}

struct Findings {
  std::vector<std::string> faults;
  bool mendable = true;
  std::uint64_t strayBytes = 0;
};

Findings inspect(platform::FileSystem& fs, const std::string& path, const MonthName& name) {
  Findings f;
  auto fail = [&](const std::string& what) {
    f.faults.push_back(what);
    f.mendable = false;
  };
  auto file = fs.open(path, platform::OpenMode::kRead);
  if (!file) {
    fail(file.status().message());
    return f;
  }
  auto size = (*file)->size();
  if (!size) {
    fail(size.status().message());
    return f;
  }
  HeaderBytes bytes{};
  auto got = (*file)->readAt(0, std::as_writable_bytes(std::span(bytes)));
  if (!got) {
    fail(got.status().message());
    return f;
  }
  if (*got < kHeaderBytes) {
    fail(viewText(64729));
    return f;
  }
  MonthHeader header = MonthHeader::decode(bytes);
  if (Status s = header.validate(*size); !s) {
    std::string what;
    std::optional<MonthHeader> mended = header.mended(*size, &what);
    if (!mended) {
      fail(s.message());
      return f;
    }
    f.faults.push_back(viewText(64735, {s.message(), what}));
    header = *mended;
  }
  if (Status s = header.checkDates(name.year, name.month); !s) fail(s.message());
  const std::uint64_t end = recordOffset(header.recordCount);
  if (*size > end) {
    f.strayBytes = *size - end;
    f.faults.push_back(viewText(64736, {std::to_string(f.strayBytes)}));
  }
  return f;
}

void mend(platform::FileSystem& fs, const std::string& stationDir, const MonthName& name,
          MonthFileCheck& check, std::uint64_t strayBytes) {
  auto backup = backupPath(fs, stationDir, name.fileName);
  if (!backup) {
    check.repairs.push_back(viewText(64737, {backup.status().message()}));
    return;
  }
  if (Status s = fs.copyFile(check.path, *backup); !s) {
    check.repairs.push_back(viewText(64738, {s.message()}));
    return;
  }
  check.backup = *backup;
  // Opening for writing mends the header (MonthFile::open); the bytes after the counted
  // records go with a truncation afterwards.
  auto mf = MonthFile::open(fs, check.path);
  if (!mf) {
    check.repairs.push_back(viewText(64737, {mf.status().message()}));
    return;
  }
  if (!(*mf)->repairs().empty()) check.repairs.push_back((*mf)->repairs());
  const std::int32_t count = (*mf)->header().recordCount;
  mf->reset();
  if (strayBytes > 0) {
    auto file = fs.open(check.path, platform::OpenMode::kReadWrite);
    Status s = file ? (*file)->truncate(recordOffset(count)) : file.status();
    if (s) s = (*file)->sync();
    if (!s) {
      check.repairs.push_back(viewText(64739, {s.message()}));
      return;
    }
    check.repairs.push_back(viewText(64759, {std::to_string(strayBytes)}));
  }
}

}  // namespace

Result<std::vector<MonthFileCheck>> checkMonthFiles(platform::FileSystem& fs,
                                                    const std::string& stationDir, bool repair) {
  auto listing = listMonthFiles(fs, stationDir);
  if (!listing) return listing.status();
  std::vector<MonthFileCheck> out;
  for (const std::string& ignored : listing->ignored) {
    MonthFileCheck c;
    c.path = platform::joinPath(stationDir, ignored.substr(0, ignored.find(':')));
    c.faults.push_back(ignored);
    out.push_back(std::move(c));
  }
  for (const MonthName& name : listing->months) {
    MonthFileCheck c;
    c.path = platform::joinPath(stationDir, name.fileName);
    Findings f = inspect(fs, c.path, name);
    c.faults = std::move(f.faults);
    c.mendable = f.mendable && !c.faults.empty();
    if (repair && c.mendable) mend(fs, stationDir, name, c, f.strayBytes);
    out.push_back(std::move(c));
  }
  return out;
}

}  // namespace database
