#include "platform/string_table.h"

#include <algorithm>
#include <array>
#include <vector>

namespace platform {

namespace {

struct Entry {
  int id;
  std::string_view text;
};

// Each subsystem keeps its texts in its own list; the lists are merged and sorted once.
constexpr Entry kEntries[] = {
#include "platform/strings/database.inc"
#include "platform/strings/quantities.inc"
#include "platform/strings/frame.inc"
#include "platform/strings/station.inc"
#include "platform/strings/link.inc"
#include "platform/strings/reports.inc"
#include "platform/strings/reports_sun.inc"
#include "platform/strings/reports_fuel.inc"
#include "platform/strings/reports_export.inc"
#include "platform/strings/publish.inc"
#include "platform/strings/publish_template.inc"
#include "platform/strings/publish_aprs.inc"
#include "platform/strings/publish_upload.inc"
#include "platform/strings/publish_images.inc"
#include "platform/strings/modules.inc"
#include "platform/strings/cli.inc"
#include "platform/strings/cli_data.inc"
#include "platform/strings/cli_station.inc"
#include "platform/strings/cli_shell.inc"
#include "platform/strings/frame_journal.inc"
#include "platform/strings/frame_control.inc"
    {-1, ""},
};

const std::vector<Entry>& sortedEntries() {
  static const std::vector<Entry> sorted = [] {
    std::vector<Entry> v(std::begin(kEntries), std::end(kEntries));
    std::stable_sort(v.begin(), v.end(), [](const Entry& a, const Entry& b) { return a.id < b.id; });
    return v;
  }();
  return sorted;
}

}  // namespace

std::string_view stringText(int id) {
  const auto& v = sortedEntries();
  auto it = std::lower_bound(v.begin(), v.end(), id, [](const Entry& e, int key) { return e.id < key; });
  if (it == v.end() || it->id != id) return {};
  return it->text;
}

std::string loadString(int id) {
  std::string_view t = stringText(id);
  if (t.empty()) return "#" + std::to_string(id);
  return std::string(t);
}

bool isTableText(std::string_view text) {
  return std::any_of(std::begin(kEntries), std::end(kEntries),
                     [text](const Entry& e) { return e.id >= 0 && e.text == text; });
}

}  // namespace platform
