#include "link/loop_packet.h"

#include <cstdio>

#include "link/crc16.h"

namespace stationlink {

namespace {

std::uint16_t u16At(std::span<const std::uint8_t> p, std::size_t at) {
  return static_cast<std::uint16_t>(p[at] | (p[at + 1] << 8));
}

std::int16_t i16At(std::span<const std::uint8_t> p, std::size_t at) {
  return static_cast<std::int16_t>(u16At(p, at));
}

// Temperatures and solar radiation: the console's dashes become the image's none.
std::int16_t reading16(std::span<const std::uint8_t> p, std::size_t at) {
  std::int16_t v = i16At(p, at);
  return v == 0x7FFF ? kImageNone16 : v;
}

std::uint8_t humidity(std::uint8_t v) { return v == 127 || v == 128 ? kImageNone8 : v; }

template <std::size_t N>
void copyBytes(std::span<const std::uint8_t> p, std::size_t at, std::array<std::uint8_t, N>& out) {
  for (std::size_t i = 0; i < N; ++i) out[i] = p[at + i];
}

}  // namespace

int decodeLoopPacket(std::span<const std::uint8_t> p, SensorImage& image) {
  if (p.size() != kLoopPacketBytes) return kLoopBadHeader;
  if (crc16(p) != 0) return kLoopCrcError;
  if (p[0] != 'L' || p[4] != 0) return kLoopBadHeader;
  SensorImage s = image;
  s.barometerTrend = static_cast<std::int8_t>(p[3]);
  std::int16_t bar = i16At(p, 7);
  s.barometer = bar < 16000 || bar > 32500 ? kImageNone16 : bar;
  s.insideTemperature = reading16(p, 9);
  s.insideHumidity = humidity(p[11]);
  s.outsideTemperature = reading16(p, 12);
  s.windSpeed = p[14];
  s.windSpeedAverage = p[15];
  s.windDirection = u16At(p, 16);
  copyBytes(p, 18, s.extraTemperatures);
  copyBytes(p, 25, s.soilTemperatures);
  copyBytes(p, 29, s.leafTemperatures);
  s.outsideHumidity = humidity(p[33]);
  copyBytes(p, 34, s.extraHumidities);
  for (std::uint8_t& h : s.extraHumidities) h = humidity(h);
  s.rainRate = i16At(p, 41);
  s.uvIndex = p[43];
  s.solarRadiation = reading16(p, 44);
  s.stormRain = i16At(p, 46);
  s.rainDay = i16At(p, 50);
  s.rainMonth = i16At(p, 52);
  s.rainYear = i16At(p, 54);
  s.etDay = i16At(p, 56);
  s.etMonth = i16At(p, 58);
  s.etYear = i16At(p, 60);
  copyBytes(p, 62, s.soilMoistures);
  copyBytes(p, 66, s.leafWetnesses);
  s.insideAlarms = p[70];
  s.rainAlarms = p[71];
  s.outsideAlarms = u16At(p, 72);
  copyBytes(p, 74, s.extraAlarms);
  copyBytes(p, 82, s.soilLeafAlarms);
  s.transmitterBattery = p[86];
  s.consoleBattery = u16At(p, 87);
  s.forecastIcons = p[89];
  s.forecastRule = p[90];
  s.sunrise = i16At(p, 91);
  s.sunset = i16At(p, 93);
  image = s;
  return kLoopDecoded;
}

int LoopPacketAssembler::read(const ByteReader& readByte, SensorImage& image) {
  while (count_ < kLoopPacketBytes) {
    platform::Result<std::uint8_t> b = readByte();
    if (!b) {
      return b.status().kind() == platform::Errc::kTimeout ? kLoopIncomplete : kLoopReadFailure;
    }
    bytes_[count_++] = *b;
  }
  count_ = 0;
  return decodeLoopPacket(std::span<const std::uint8_t>(bytes_, kLoopPacketBytes), image);
}

std::optional<int> consoleBatteryHundredths(std::uint16_t raw) {
  if (raw < 518 || raw == 0x8000) return std::nullopt;
  return static_cast<int>(raw) * 300 / 512;
}

std::string consoleBatteryText(std::uint16_t raw) {
  std::optional<int> h = consoleBatteryHundredths(raw);
  if (!h) return "---";
  char buf[16];
  std::snprintf(buf, sizeof buf, "%d.%02d V", *h / 100, *h % 100);
  return buf;
}

}  // namespace stationlink
