#include "station/data_lists.h"

#include <charconv>
#include <cstdint>

#include "station/station_config.h"
#include "station/text_encoding.h"

namespace station {

namespace {

enum class Need { kSensors, kCirrant, kLumeno, kAlways };

struct DefaultRow {
  int id;               // catalogue id; the archive-set row is id - 10000
  std::uint32_t mask;   // bits of sensorMask that must all be set
  std::uint32_t mask2;  // bits of sensorMask2 that must all be set
  Need need;
  bool browserOnly;  // archive browser list only, not plots
};

constexpr std::uint32_t bit(int n) { return std::uint32_t{1} << n; }

constexpr DefaultRow kDefaultRows[] = {
    {10000, bit(0), 0, Need::kSensors, false},
    {10001, bit(0), 0, Need::kSensors, false},
    {10002, bit(0), 0, Need::kSensors, false},
    {10003, bit(4), 0, Need::kSensors, false},
    {10004, bit(4) | bit(0), 0, Need::kSensors, false},
    {10005, bit(9), 0, Need::kSensors, false},
    {10006, bit(10), 0, Need::kSensors, false},
    {10007, bit(9), 0, Need::kSensors, false},
    {10008, bit(9), 0, Need::kSensors, false},
    {10009, bit(10), 0, Need::kCirrant, false},
    {10010, bit(0) | bit(9), 0, Need::kSensors, false},
    {10011, bit(0) | bit(4), 0, Need::kSensors, false},
    {10012, bit(0) | bit(4) | bit(9), 0, Need::kSensors, false},
    {10054, bit(11) | bit(9), 0, Need::kSensors, false},
    {10013, bit(8), 0, Need::kSensors, false},
    {10014, bit(15), 0, Need::kSensors, false},
    {10015, bit(7), 0, Need::kSensors, false},
    {10016, bit(11), 0, Need::kSensors, false},
    {10017, bit(11), 0, Need::kSensors, false},
    {10018, bit(11), bit(0), Need::kSensors, false},
    {10019, bit(12), 0, Need::kSensors, false},
    {10020, bit(12), 0, Need::kSensors, false},
    {10021, bit(12), bit(1), Need::kSensors, false},
    {10022, bit(0), 0, Need::kSensors, false},
    {10023, bit(0), 0, Need::kSensors, false},
    {10024, bit(13), 0, Need::kSensors, false},
    {10025, bit(14), 0, Need::kSensors, false},
    {10056, bit(14) | bit(13), 0, Need::kSensors, false},
    {10057, bit(14) | bit(13), 0, Need::kSensors, false},
    {10028, bit(1), 0, Need::kSensors, false},
    {10029, bit(2), 0, Need::kSensors, false},
    {10030, bit(3), 0, Need::kSensors, false},
    {10031, bit(5), 0, Need::kSensors, false},
    {10032, bit(6), 0, Need::kSensors, false},
    {10033, bit(0) | bit(4) | bit(8) | bit(9) | bit(11), 0, Need::kSensors, false},
    {10034, bit(16), 0, Need::kSensors, false},
    {10035, bit(17), 0, Need::kSensors, false},
    {10036, bit(18), 0, Need::kSensors, false},
    {10037, bit(19), 0, Need::kSensors, false},
    {10038, bit(20), 0, Need::kSensors, false},
    {10039, bit(21), 0, Need::kSensors, false},
    {10040, bit(22), 0, Need::kSensors, false},
    {10041, bit(23), 0, Need::kSensors, false},
    {10042, bit(24), 0, Need::kSensors, false},
    {10043, bit(25), 0, Need::kSensors, false},
    {10044, bit(26), 0, Need::kSensors, false},
    {10045, bit(27), 0, Need::kSensors, false},
    {10046, bit(28), 0, Need::kSensors, false},
    {10047, bit(29), 0, Need::kSensors, false},
    {10048, bit(30), 0, Need::kSensors, false},
    {10049, bit(31), 0, Need::kSensors, false},
    {10050, 0, 0, Need::kCirrant, true},
    {10051, 0, 0, Need::kCirrant, true},
    {10052, 0, 0, Need::kCirrant, false},
    {10026, 0, 0, Need::kLumeno, false},
    {10027, 0, 0, Need::kLumeno, false},
    {10053, 0, 0, Need::kAlways, true},
};

bool rowApplies(const DefaultRow& r, const StationConfig& c) {
  if (!c.hasSensors(0, r.mask) || !c.hasSensors(1, r.mask2)) return false;
  switch (r.need) {
    case Need::kCirrant:
      return c.isCirrant();
    case Need::kLumeno:
      return c.isLumeno();
    case Need::kSensors:
    case Need::kAlways:
      return true;
  }
  return false;
}

// Reads "%d\t%d" the way the list file was always read: leading blanks skipped, a number,
// a tab (or other blanks), a number.
bool parseItem(std::string_view line, DataListItem& item) {
  auto skipBlanks = [&line] {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  };
  auto number = [&line](int& out) {
    auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), out);
    if (ec != std::errc{}) return false;
    line.remove_prefix(static_cast<std::size_t>(end - line.data()));
    return true;
  };
  skipBlanks();
  if (!number(item.set)) return false;
  skipBlanks();
  return number(item.row);
}

}  // namespace

std::vector<DataList> buildDefaultDataLists(const StationConfig& config) {
  DataList browser{std::string(kDefaultArchiveBrowserList), {}};
  DataList plot{std::string(kDefaultPlotList), {}};
  for (const DefaultRow& r : kDefaultRows) {
    if (!rowApplies(r, config)) continue;
    const DataListItem item{0, r.id - 10000};
    browser.items.push_back(item);
    if (!r.browserOnly) plot.items.push_back(item);
  }
  DataList strip{std::string(kDefaultStripchartList), plot.items};
  DataList overlay{std::string(kDefaultOverlayList), {}};
  for (int row = 0; row < 10; ++row) overlay.items.push_back({2, row});
  return {browser, DataList{std::string(kDefaultDayBrowserList), {}}, plot, strip, overlay};
}

ParsedDataLists parseDataListsFile(std::string_view text, std::span<const std::size_t> setSizes) {
  ParsedDataLists out;
  DataList* current = nullptr;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    // UTF-8 is cut at a character boundary and kept as it is; only text that is not UTF-8
    // (an older file's) is cut at the byte and taken as Windows-1252. Decoding a cut
    // character again would make the name longer at every load and save.
    const bool utf8 = isValidUtf8(line);
    line = utf8 ? cutAtCharBoundary(line, kMaxDataListLineBytes)
                : line.substr(0, kMaxDataListLineBytes);
    // The line end counts, so a list name or item needs four characters of its own.
    const bool longLine = line.size() >= kMinDataListNameBytes;
    if (current == nullptr) {
      if (!longLine) continue;
      out.lists.push_back({utf8 ? std::string(line) : decodeStoredText(line), {}});
      current = &out.lists.back();
      continue;
    }
    if (!longLine) {
      current = nullptr;
      continue;
    }
    DataListItem item;
    const bool inside =
        parseItem(line, item) && item.set >= 0 &&
        static_cast<std::size_t>(item.set) < setSizes.size() && item.row >= 0 &&
        static_cast<std::size_t>(item.row) < setSizes[static_cast<std::size_t>(item.set)];
    if (!inside) {
      ++out.droppedItems;
    } else if (current->items.size() < kMaxDataListItems) {
      current->items.push_back(item);
    }
  }
  return out;
}

std::string savedListName(std::string_view name) {
  name = name.substr(0, name.find_first_of("\r\n"));
  std::string saved(cutAtCharBoundary(name, kMaxDataListLineBytes));
  if (saved.size() < kMinDataListNameBytes) saved.resize(kMinDataListNameBytes, ' ');
  return saved;
}

std::string formatDataListsFile(const std::vector<DataList>& lists) {
  std::string out;
  for (const DataList& list : lists) {
    out += savedListName(list.name) + "\n";
    for (const DataListItem& item : list.items) {
      out += std::to_string(item.set) + "\t" + std::to_string(item.row) + "\t\n";
    }
    out += ".\n";
  }
  return out;
}

}  // namespace station
