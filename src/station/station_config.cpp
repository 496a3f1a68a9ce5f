#include "station/station_config.h"

#include <algorithm>
#include <cctype>

#include "station/text_encoding.h"

namespace station {

namespace {

struct ModelInfo {
  std::uint16_t code;
  std::string_view name;
  std::uint16_t linkType;
  std::uint32_t sensorMask;
};

constexpr ModelInfo kModels[] = {
    {0, "Basalt II", 0, 0x6701},        {1, "Tessel III", 0, 0x2601}, {2, "Tessel II", 0, 0x2601},
    {3, "Tessel IIS", 0, 0x2201},       {4, "Lumeno", 0, 0x6100},     {5, "Cirrant Pro", 3, 0xE791},
    {6, "Cirrant Pro Plus", 3, 0xFF91},
};

constexpr std::string_view kDefaultModemInit = "AT &F S7=60 E Q V X4";
constexpr std::string_view kDefaultRainCollectorText = ".01 in";
constexpr std::uint32_t kPlotColour = 0xC0C0C0;
constexpr float kNotSet = -32768.0F;

}  // namespace

StationConfig::StationConfig() {
  using namespace layout;
  set(layout::kFormatId, kStationFormatId);
  set(layout::kRevision, kCurrentRevision);
  setComPort(1);
  setBaudRate(19200);
  setConnectWait(2);
  setModemInit(kDefaultModemInit);
  setTimeoutSeconds(60);
  setModel(static_cast<std::uint16_t>(StationModel::kCirrantPro));
  set(kLatDeg, kLocationNotSet);
  set(kLonDeg, kLocationNotSet);
  setTimeZoneIndex(4);
  setGmtOffset(-8.0F);
  setRainCollectorText(kDefaultRainCollectorText);
  setRainClick(0.01F);
  setRainCollectorType(1);
  setArchiveInterval(30);
  for (std::size_t i = 0; i < kOpt758.kCount; ++i) set(kOpt758, i, std::uint16_t{6});
  setCoolBase(65.0F);
  setHeatBase(65.0F);
  for (std::size_t m = 0; m < 12; ++m) {
    setNormalTemp(m, kNotSet);
    setNormalRain(m, kNotSet);
  }
  setNoaaDegreeDayMethod(1);
  set(kOpt1004, std::uint16_t{5});
  setAutoClearTime(-1);
  setAprsServer(kDefaultAprsServer);
  setAprsLogin(kDefaultAprsLogin);
  setAprsPort(23);
  setSkinFactor(1.0F);
  setWuLastDate(-1);
  set(kWuState1612, std::int16_t{-1});
  set(kWuState1616, std::int32_t{-1});
  set(kOpt1684, std::uint16_t{1});

  set(kSoilHoursThreshold, std::uint16_t{32});
  set(kChillHoursThreshold, std::uint16_t{45});
  set(kLeafHoursThreshold2, std::uint16_t{850});
  set(kLeafHoursThreshold3, std::uint16_t{700});
  set(kEtKFactor, 1.0F);
  set(kSunHoursThreshold, std::int16_t{100});
  set(kFuelSortByName, std::uint8_t{1});
  set(kFuelFullReport, std::uint8_t{1});
  set(kFuelThreshold, 100.0F);
  set(kFuelHeatBase, 65.0F);
  set(kSoilHoursSensor, std::uint8_t{9});

  // Words 5 and 6 of each plot group held a drawing routine of the running program; the
  // file keeps them zero.
  for (std::size_t group = 0; group < 4; ++group) {
    for (std::size_t word = 7; word < 11; ++word) set(kPlotLayout, group * 11 + word, kPlotColour);
  }
}

StationConfig StationConfig::fromBytes(std::span<const std::byte, kSize> bytes) {
  StationConfig c{Zeroed{}};
  std::copy(bytes.begin(), bytes.end(), c.bytes_.begin());
  return c;
}

StationConfig StationConfig::zeroed() { return StationConfig{Zeroed{}}; }

StationConfig::Bytes StationConfig::encodeForDisk() const {
  Bytes out = bytes_;
  std::fill_n(out.begin() + layout::kRunTimeArea.offset, layout::kRunTimeArea.size, std::byte{0});
  return out;
}

void StationConfig::setStationDir(std::string_view v) {
  const std::string_view kept = v.substr(0, std::min(v.find('\0'), layout::kStationDir.maxLength));
  fill(layout::kStationDir.offset, layout::kStationDir.width, std::byte{0});
  for (std::size_t i = 0; i < kept.size(); ++i)
    bytes_[layout::kStationDir.offset + i] = static_cast<std::byte>(kept[i]);
}

std::string StationConfig::stationDirForDisplay() const { return toValidUtf8(stationDir()); }

void StationConfig::fill(std::size_t offset, std::size_t count, std::byte value) {
  if (offset >= kSize) return;
  std::fill_n(bytes_.begin() + offset, std::min(count, kSize - offset), value);
}

bool StationConfig::setModel(std::uint16_t code) {
  for (const ModelInfo& m : kModels) {
    if (m.code != code) continue;
    set(layout::kModel, m.code);
    setLinkType(m.linkType);
    setSensorMask(m.sensorMask);
    setSensorMask2(0);
    return true;
  }
  return false;
}

bool StationConfig::hasSensors(int word, std::uint32_t mask) const {
  if (word == 0) return (sensorMask() & mask) == mask;
  if (word == 1) return (sensorMask2() & mask) == mask;
  return false;
}

int StationConfig::effectiveTimeoutSeconds() const {
  const int t = timeoutSeconds();
  return t >= 1 && t <= 1999 ? t : 60;
}

int StationConfig::effectiveBaudRate() const {
  const int rate = baudRate();
  return linkType() == 0 && rate > 2400 ? 2400 : rate;
}

std::string_view modelName(std::uint16_t code) {
  for (const ModelInfo& m : kModels) {
    if (m.code == code) return m.name;
  }
  return {};
}

int modelCodeForName(std::string_view name) {
  auto same = [](std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
             return std::tolower(static_cast<unsigned char>(x)) ==
                    std::tolower(static_cast<unsigned char>(y));
           });
  };
  for (const ModelInfo& m : kModels) {
    if (same(m.name, name)) return m.code;
  }
  return -1;
}

}  // namespace station
