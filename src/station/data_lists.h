#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace station {

class StationConfig;

// One column of a data list: a row of one of the station's data sets.
struct DataListItem {
  int set = 0;  // index of the data set, from 0
  int row = 0;  // index of the row within the set, from 0
  bool operator==(const DataListItem&) const = default;
};

// A named list of data-set rows: the columns of a browser, the variables of a plot, or the
// columns of the record-to-text lines.
struct DataList {
  std::string name;
  std::vector<DataListItem> items;
  bool operator==(const DataList&) const = default;
};

inline constexpr std::size_t kMaxDataListItems = 100;
// Given in place of a file name, asks for the default lists.
inline constexpr std::string_view kDefaultListsName = "$$DefaultLists$$";
inline constexpr std::string_view kDefaultArchiveBrowserList = "Default Archive Browser List";
inline constexpr std::string_view kDefaultDayBrowserList = "Default Day Browser List";
inline constexpr std::string_view kDefaultPlotList = "Default Plot List";
inline constexpr std::string_view kDefaultStripchartList = "Default Stripchart List";
inline constexpr std::string_view kDefaultOverlayList = "Default Overlay List";

// The five default lists of a station, in this order: archive browser, day browser, plot,
// strip chart, overlay. The archive-set rows are chosen by the station's sensors and model.
std::vector<DataList> buildDefaultDataLists(const StationConfig& config);

struct ParsedDataLists {
  std::vector<DataList> lists;
  std::size_t droppedItems = 0;  // items that did not parse or point outside their set
};

// The longest line of "DataLists.dat" that is read whole, and the shortest that names a list.
inline constexpr std::size_t kMaxDataListLineBytes = 255;
inline constexpr std::size_t kMinDataListNameBytes = 4;

// Reads "DataLists.dat". A line of at least 4 characters before its line end starts a list
// and names it; each following line that long is an item "%d\t%d", kept while the list has
// fewer than 100 items; a shorter line (".") ends the list. Lines may end in CRLF and are
// cut at 255 bytes: UTF-8 at the last whole character, and kept as it is; a line that is
// not UTF-8 (Windows-1252 from earlier versions) at the byte, then converted. Items whose
// set is not in `setSizes`, or whose row is beyond that set's size, are dropped: nothing
// may later index past a data set.
ParsedDataLists parseDataListsFile(std::string_view text, std::span<const std::size_t> setSizes);

// A list's name as "DataLists.dat" keeps it: what the reader reads back as that name. Cut
// before any line break and at the last whole character within 255 bytes; a name shorter
// than 4 bytes is filled with blanks, as the reader would otherwise take it for an end.
std::string savedListName(std::string_view name);

// The text of "DataLists.dat": per list its saved name, one "%d\t%d\t" line per item,
// then ".". Loading the text and saving it again gives the same bytes.
std::string formatDataListsFile(const std::vector<DataList>& lists);

}  // namespace station
