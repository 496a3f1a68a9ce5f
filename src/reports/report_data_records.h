#pragma once

// The report-settings records exchanged with expansion modules: little-endian, packed, the
// caller owns the buffer. A record that is shorter in use than its struct ("13 used" for
// soil hours) is read and written only over the bytes in use; the gaps between fields
// belong to the caller and are never touched.

#include <cstddef>
#include <cstdint>

namespace reports {

#pragma pack(push, 1)

struct ThHoursReportRecord {
  char names[4][20];
  std::uint32_t firstValues[4];
  std::uint16_t secondValues[4];
  std::uint16_t thirdValues[4];
  std::uint8_t fourthValues[4];
  std::uint8_t fifthValues[4];
};

struct SoilHoursReportRecord {
  std::uint32_t startDate;
  std::uint16_t threshold;
  std::uint8_t gap6[2];
  std::uint32_t secondDate;
  std::uint8_t sensorIndex;
};

struct ChillHoursReportRecord {
  std::uint32_t startDate;
  std::uint16_t threshold;
  std::uint8_t sensorIndex;
};

struct LeafHoursReportRecord {
  std::uint32_t firstDate;
  std::uint32_t secondDate;
  std::uint16_t firstThreshold;
  std::uint16_t secondThreshold;
  std::uint16_t thirdThreshold;
  std::uint8_t sensorIndex;
};

struct SunHoursReportRecord {
  std::uint32_t startDate;
  std::int16_t threshold;  // W/m²; negative = not set
};

struct EtReportRecord {
  std::uint32_t kFactorBits;  // the bits of an IEEE single
  std::uint32_t startDate;
};

struct DdReportRecord {
  std::uint32_t startDate;
  std::uint8_t options[4];
};

#pragma pack(pop)

static_assert(offsetof(ThHoursReportRecord, names) == 0);
static_assert(offsetof(ThHoursReportRecord, firstValues) == 80);
static_assert(offsetof(ThHoursReportRecord, secondValues) == 96);
static_assert(offsetof(ThHoursReportRecord, thirdValues) == 104);
static_assert(offsetof(ThHoursReportRecord, fourthValues) == 112);
static_assert(offsetof(ThHoursReportRecord, fifthValues) == 116);
static_assert(sizeof(ThHoursReportRecord) == 120);

static_assert(offsetof(SoilHoursReportRecord, startDate) == 0);
static_assert(offsetof(SoilHoursReportRecord, threshold) == 4);
static_assert(offsetof(SoilHoursReportRecord, secondDate) == 8);
static_assert(offsetof(SoilHoursReportRecord, sensorIndex) == 12);
static_assert(sizeof(SoilHoursReportRecord) == 13);

static_assert(offsetof(ChillHoursReportRecord, startDate) == 0);
static_assert(offsetof(ChillHoursReportRecord, threshold) == 4);
static_assert(offsetof(ChillHoursReportRecord, sensorIndex) == 6);
static_assert(sizeof(ChillHoursReportRecord) == 7);

static_assert(offsetof(LeafHoursReportRecord, firstDate) == 0);
static_assert(offsetof(LeafHoursReportRecord, secondDate) == 4);
static_assert(offsetof(LeafHoursReportRecord, firstThreshold) == 8);
static_assert(offsetof(LeafHoursReportRecord, secondThreshold) == 10);
static_assert(offsetof(LeafHoursReportRecord, thirdThreshold) == 12);
static_assert(offsetof(LeafHoursReportRecord, sensorIndex) == 14);
static_assert(sizeof(LeafHoursReportRecord) == 15);

static_assert(offsetof(SunHoursReportRecord, startDate) == 0);
static_assert(offsetof(SunHoursReportRecord, threshold) == 4);
static_assert(sizeof(SunHoursReportRecord) == 6);

static_assert(offsetof(EtReportRecord, kFactorBits) == 0);
static_assert(offsetof(EtReportRecord, startDate) == 4);
static_assert(sizeof(EtReportRecord) == 8);

static_assert(offsetof(DdReportRecord, startDate) == 0);
static_assert(offsetof(DdReportRecord, options) == 4);
static_assert(sizeof(DdReportRecord) == 8);

}  // namespace reports
