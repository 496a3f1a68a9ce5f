#pragma once

// Every web image the program can draw: its file name (a string-table text), the quantity
// it shows, the sensors a station needs for it and the message logged when it cannot be
// drawn.

#include <cstdint>
#include <span>
#include <string>

#include "quantities/sensor_code.h"

namespace station {
class StationConfig;
}

namespace publish {

enum class ImageFamily { kCurrent, kHistory };

// Where a picture's value comes from.
enum class ImageSource : std::uint8_t {
  kRecord,         // current: the reading as an archive value; history: 24 h of records
  kWindAverage,    // the ten-minute average wind speed
  kWindDirection,  // degrees of the current reading; history: the records' compass points
  kRainDay,
  kRainStorm,
  kRainMonth,
  kRainYear,
  kRainRate,
  kEtDay,
  kEtMonth,
  kEtYear,
  kRecordSum,   // history: the 24 h total growing record by record (rain, ET)
  kDailyBars,   // history: bars of the last 30 daily summaries
};

struct ImageKind {
  int nameId;                   // the file name's text
  quantities::SensorCode code;  // the quantity (archive code; daily code for bars)
  quantities::SensorCode titleCode;  // the catalogue row that names it
  int titleId;                  // a text of its own for the title; 0: the catalogue's name
  std::uint32_t sensors;        // sensorMask bits that must all be set
  std::uint32_t sensors2;       // sensorMask2 bits that must all be set
  bool cirrantOnly;
  int messageId;                // 0: 28026 followed by the file name
  ImageSource source;
};

inline constexpr int kCurrentImageCount = 43;
inline constexpr int kHistoryImageCount = 48;
inline constexpr int kFirstCurrentNameId = 8608;
inline constexpr int kFirstHistoryNameId = 8704;
inline constexpr int kMsgCannotCreateImage = 28026;

// Index i of the current list is the image of text 8608 + i (bit i of a profile's mask);
// likewise 8704 + i for the history list.
std::span<const ImageKind> currentImages();
std::span<const ImageKind> historyImages();
std::span<const ImageKind> imagesOf(ImageFamily family);

std::string imageFileName(const ImageKind& kind);
// The quantity's name as the picture's title shows it.
std::string imageTitle(const ImageKind& kind);
// The event-log line for an image that could not be drawn.
std::string imageFailureMessage(const ImageKind& kind);
// Whether the station has every sensor the image needs.
bool stationAllows(const station::StationConfig& config, const ImageKind& kind);

// Finds a file name (exact, or without regard to letter case) in either list.
struct ImageRef {
  ImageFamily family;
  int index;
};
bool findImage(const std::string& fileName, ImageRef& out);

}  // namespace publish
