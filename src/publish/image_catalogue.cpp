#include "publish/image_catalogue.h"

#include <algorithm>
#include <cctype>

#include "platform/string_table.h"
#include "quantities/sensor_catalogue.h"
#include "station/station_config.h"

namespace publish {

namespace {

using S = ImageSource;

constexpr std::uint32_t bit(int n) { return 1u << n; }

// Sensor words as the station setup fixes them.
constexpr std::uint32_t kOutTemp = bit(0);
constexpr std::uint32_t kExtraT2 = bit(1), kExtraT3 = bit(2), kExtraT4 = bit(3);
constexpr std::uint32_t kOutHum = bit(4);
constexpr std::uint32_t kExtraH2 = bit(5), kExtraH3 = bit(6);
constexpr std::uint32_t kRainRateSensor = bit(7);
constexpr std::uint32_t kBarometer = bit(8);
constexpr std::uint32_t kWindSpeed = bit(9);
constexpr std::uint32_t kWindDir = bit(10);
constexpr std::uint32_t kSolar = bit(11);
constexpr std::uint32_t kUv = bit(12);
constexpr std::uint32_t kInTemp = bit(13);
constexpr std::uint32_t kInHum = bit(14);
constexpr std::uint32_t kRain = bit(15);
constexpr std::uint32_t kEt = kOutTemp | kOutHum | kBarometer | kWindSpeed | kSolar;
constexpr std::uint32_t soilMoisture(int n) { return bit(15 + n); }
constexpr std::uint32_t soilTemp(int n) { return bit(19 + n); }
constexpr std::uint32_t leafWet(int n) { return bit(23 + n); }
constexpr std::uint32_t leafTemp(int n) { return bit(27 + n); }

constexpr quantities::SensorCode index(int i) { return static_cast<quantities::SensorCode>(i) << 24; }

// Daily totals of the summaries, and the archive rows that name them.
constexpr quantities::SensorCode kDailyHeatDegDays = 0x412420, kHeatDegDays = 0x410428;
constexpr quantities::SensorCode kDailyCoolDegDays = 0xBF2420, kCoolDegDays = 0xBF0428;
constexpr quantities::SensorCode kDailyWindRun = 0x22647, kWindRun = 0x20647;
constexpr quantities::SensorCode kDailySolarEnergy = 0x72569;
constexpr quantities::SensorCode kDailyUvDose = 0x825AA;

// Titles of the current pictures whose quantity the catalogue names only in general.
constexpr int kTitleWindAverage = 66600;
constexpr int kTitleRainDay = 66601, kTitleRainStorm = 66602, kTitleRainMonth = 66603,
              kTitleRainYear = 66604;
constexpr int kTitleEtDay = 66605, kTitleEtMonth = 66606, kTitleEtYear = 66607;
constexpr int kTitleRainRate = 66608;

constexpr ImageKind cur(int i, quantities::SensorCode code, std::uint32_t sensors, int message,
                        S source = S::kRecord, int titleId = 0) {
  return ImageKind{kFirstCurrentNameId + i, code, code, titleId, sensors, 0, false, message, source};
}

constexpr ImageKind kCurrent[kCurrentImageCount] = {
    cur(0, 0x1000000, kInTemp, 8501),
    cur(1, 0x0, kOutTemp, 8503),
    cur(2, 0x1010003, kInTemp | kInHum, 8504),
    cur(3, 0x3, kOutTemp | kOutHum, 8505),
    cur(4, 0x10101C0, kInHum, 8502),
    cur(5, 0x101C0, kOutHum, 8506),
    cur(6, 0x1010001, kInTemp | kInHum, 8507),
    cur(7, 0x1, kOutTemp | kOutHum, 8508),
    cur(8, 0x20080, kWindSpeed, 8509),
    cur(9, 0x20080, kWindSpeed, 8510, S::kWindAverage, kTitleWindAverage),
    cur(10, 0x300C0, kWindDir, 8511, S::kWindDirection),
    cur(11, 0x2, kOutTemp | kWindSpeed, 8512),
    cur(12, 0x50440, kRain, 8513, S::kRainDay, kTitleRainDay),
    cur(13, 0x50440, kRain, 8514, S::kRainStorm, kTitleRainStorm),
    cur(14, 0x50440, kRain, 8515, S::kRainMonth, kTitleRainMonth),
    cur(15, 0x50440, kRain, 8516, S::kRainYear, kTitleRainYear),
    cur(16, 0x44D, kEt, 8517, S::kEtDay, kTitleEtDay),
    cur(17, 0x400E0, kBarometer, 8518),
    cur(18, 0x44D, kEt, 8519, S::kEtMonth, kTitleEtMonth),
    cur(19, 0x44D, kEt, 8520, S::kEtYear, kTitleEtYear),
    cur(20, 0x70140, kSolar, 8521),
    cur(21, 0x80180, kUv, 8522),
    cur(22, 0x60860, kRainRateSensor, 8523, S::kRainRate, kTitleRainRate),
    cur(23, 0x10101CC, kInTemp | kInHum, 8524),
    cur(24, 0x101028B, kInTemp | kInHum | kBarometer, 8525),
    cur(25, 0x4, kOutTemp | kOutHum | kWindSpeed, 8526),
    cur(26, 0xF0A0200, leafWet(1), 8527),
    cur(27, 0x100A0200, leafWet(2), 8528),
    cur(28, index(15), leafTemp(1), 8529),
    cur(29, index(16), leafTemp(2), 8530),
    cur(30, 0x20101C0, kExtraH2, 8531),
    cur(31, 0x30101C0, kExtraH3, 8532),
    cur(32, index(2), kExtraT2, 8533),
    cur(33, index(3), kExtraT3, 8534),
    cur(34, index(4), kExtraT4, 8535),
    cur(35, 0x90901E0, soilMoisture(1), 8536),
    cur(36, 0xA0901E0, soilMoisture(2), 8537),
    cur(37, 0xB0901E0, soilMoisture(3), 8538),
    cur(38, 0xC0901E0, soilMoisture(4), 8539),
    cur(39, index(9), soilTemp(1), 8540),
    cur(40, index(10), soilTemp(2), 8541),
    cur(41, index(11), soilTemp(3), 8542),
    cur(42, index(12), soilTemp(4), 8543),
};

constexpr ImageKind his(int i, quantities::SensorCode code, std::uint32_t sensors,
                        S source = S::kRecord, quantities::SensorCode titleCode = 0xFFFFFFFF,
                        std::uint32_t sensors2 = 0, bool cirrantOnly = false) {
  // The first 25 history images have messages of their own; those added later share 28026.
  return ImageKind{kFirstHistoryNameId + i,
                   code,
                   titleCode == 0xFFFFFFFF ? code : titleCode,
                   0,
                   sensors,
                   sensors2,
                   cirrantOnly,
                   i < 25 ? 8544 + i : 0,
                   source};
}

constexpr ImageKind kHistory[kHistoryImageCount] = {
    his(0, 0x1000000, kInTemp),
    his(1, 0x0, kOutTemp),
    his(2, 0x1010003, kInTemp | kInHum),
    his(3, 0x3, kOutTemp | kOutHum),
    his(4, 0x10101C0, kInHum),
    his(5, 0x101C0, kOutHum),
    his(6, 0x1010001, kInTemp | kInHum),
    his(7, 0x1, kOutTemp | kOutHum),
    his(8, 0x20080, kWindSpeed),
    his(9, 0x20880, kWindSpeed),
    his(10, 0x300C0, kWindDir, S::kWindDirection),
    his(11, 0x2, kOutTemp | kWindSpeed),
    his(12, 0x50440, kRain, S::kRecordSum),
    his(13, 0x44D, kEt, S::kRecordSum),
    his(14, 0x400E0, kBarometer),
    his(15, 0x70140, kSolar),
    his(16, 0x80180, kUv),
    his(17, index(2), kExtraT2),
    his(18, 0x20101C0, kExtraH2),
    his(19, 0x60860, kRainRateSensor),
    his(20, 0x90901E0, soilMoisture(1)),
    his(21, index(9), soilTemp(1)),
    his(22, 0xF0A0200, leafWet(1)),
    his(23, index(15), leafTemp(1)),
    his(24, 0x30C01C0, 0, S::kRecord, 0xFFFFFFFF, 0, true),
    his(25, index(3), kExtraT3),
    his(26, index(4), kExtraT4),
    his(27, 0x30101C0, kExtraH3),
    his(28, 0x100A0200, leafWet(2)),
    his(29, index(16), leafTemp(2)),
    his(30, 0x10101CC, kInTemp | kInHum),
    his(31, 0x101028B, kInTemp | kInHum | kBarometer),
    his(32, 0xA0901E0, soilMoisture(2)),
    his(33, 0xB0901E0, soilMoisture(3)),
    his(34, 0xC0901E0, soilMoisture(4)),
    his(35, index(10), soilTemp(2)),
    his(36, index(11), soilTemp(3)),
    his(37, index(12), soilTemp(4)),
    his(38, kDailyHeatDegDays, kOutTemp, S::kDailyBars, kHeatDegDays),
    his(39, kDailyCoolDegDays, kOutTemp, S::kDailyBars, kCoolDegDays),
    his(40, kDailyWindRun, kWindSpeed, S::kDailyBars, kWindRun),
    his(41, 0x4, kOutTemp | kOutHum | kWindSpeed),
    his(42, 0x308C0, kWindDir, S::kWindDirection),
    his(43, 0x70940, kSolar, S::kRecord, 0xFFFFFFFF, bit(0)),
    his(44, 0x80980, kUv, S::kRecord, 0xFFFFFFFF, bit(1)),
    his(45, kDailySolarEnergy, kSolar, S::kDailyBars, quantities::kCodeSolarEnergy),
    his(46, kDailyUvDose, kUv, S::kDailyBars, quantities::kCodeUvDose),
    his(47, 0x5, kOutTemp | kOutHum | kWindSpeed | kSolar),
};

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

}  // namespace

std::span<const ImageKind> currentImages() { return kCurrent; }
std::span<const ImageKind> historyImages() { return kHistory; }
std::span<const ImageKind> imagesOf(ImageFamily family) {
  return family == ImageFamily::kCurrent ? currentImages() : historyImages();
}

std::string imageFileName(const ImageKind& kind) { return platform::loadString(kind.nameId); }

std::string imageTitle(const ImageKind& kind) {
  if (kind.titleId != 0) return platform::loadString(kind.titleId);
  static const quantities::SensorCatalogue catalogue = quantities::SensorCatalogue::fromStringTable();
  const quantities::CatalogueRow* row = catalogue.find(kind.titleCode);
  return row != nullptr ? row->longName : imageFileName(kind);
}

std::string imageFailureMessage(const ImageKind& kind) {
  if (kind.messageId != 0) return platform::loadString(kind.messageId);
  return platform::loadString(kMsgCannotCreateImage) + imageFileName(kind);
}

bool stationAllows(const station::StationConfig& config, const ImageKind& kind) {
  if (kind.cirrantOnly && !config.isCirrant()) return false;
  return config.hasSensors(0, kind.sensors) && (kind.sensors2 == 0 || config.hasSensors(1, kind.sensors2));
}

bool findImage(const std::string& fileName, ImageRef& out) {
  for (ImageFamily family : {ImageFamily::kCurrent, ImageFamily::kHistory}) {
    const auto list = imagesOf(family);
    for (std::size_t i = 0; i < list.size(); ++i) {
      if (lower(imageFileName(list[i])) == lower(fileName)) {
        out = {family, static_cast<int>(i)};
        return true;
      }
    }
  }
  return false;
}

}  // namespace publish
