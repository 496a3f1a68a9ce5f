#include "database/month_names.h"

#include <algorithm>
#include <cstdio>

#include "database/view_text.h"

namespace database {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string monthFileName(int year, int month) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d-%02d.slg", year, month);
  return buf;
}

std::optional<MonthName> parseMonthFileName(std::string_view name) {
  if (name.size() != 11) return std::nullopt;
  for (int i : {0, 1, 2, 3, 5, 6}) {
    if (!isDigit(name[static_cast<std::size_t>(i)])) return std::nullopt;
  }
  if (name[4] != '-' || name[7] != '.') return std::nullopt;
  if (lower(name[8]) != 's' || lower(name[9]) != 'l' || lower(name[10]) != 'g') {
    return std::nullopt;
  }
  MonthName m;
  for (int i = 0; i < 4; ++i) m.year = m.year * 10 + (name[static_cast<std::size_t>(i)] - '0');
  m.month = (name[5] - '0') * 10 + (name[6] - '0');
  if (m.month < 1 || m.month > 12) return std::nullopt;
  m.fileName = std::string(name);
  return m;
}

platform::Result<MonthListing> listMonthFiles(platform::FileSystem& fs,
                                              const std::string& directory) {
  auto entries = fs.listDirectory(directory);
  if (!entries) return entries.status();
  MonthListing listing;
  for (const auto& e : *entries) {
    if (e.isDirectory) continue;
    if (auto m = parseMonthFileName(e.name)) {
      // Year 0 has no calendar: nothing in such a file could ever be reached by date.
      if (m->year < 1) {
        listing.ignored.push_back(viewText(64762, {m->fileName}));
        continue;
      }
      listing.months.push_back(std::move(*m));
    }
  }
  // Names sort in calendar order; capitals sort first, so of two spellings of one month
  // the one kept does not depend on the order the directory listed them in.
  std::sort(listing.months.begin(), listing.months.end(),
            [](const MonthName& a, const MonthName& b) { return a.fileName < b.fileName; });
  std::vector<MonthName> unique;
  for (auto& m : listing.months) {
    if (!unique.empty() && unique.back().year == m.year && unique.back().month == m.month) {
      listing.ignored.push_back(viewText(64763, {m.fileName, unique.back().fileName}));
      continue;
    }
    unique.push_back(std::move(m));
  }
  listing.months = std::move(unique);
  return listing;
}

}  // namespace database
