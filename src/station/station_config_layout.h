#pragma once

// Byte layout of the 4096-byte station record, "STATION.CFG". Offsets are from the start
// of the record; every value is little-endian and nothing is padded.

#include <cstddef>
#include <cstdint>

namespace station::layout {

inline constexpr std::size_t kRecordSize = 4096;

template <typename T>
struct Field {
  std::size_t offset;
};

template <typename T, std::size_t N>
struct ArrayField {
  std::size_t offset;
  static constexpr std::size_t kCount = N;
};

// A zero-terminated text in `width` bytes holding at most `maxLength` bytes of text.
struct TextField {
  std::size_t offset;
  std::size_t width;
  std::size_t maxLength;
};

// Bytes whose meaning belongs to another part of the program.
struct BlockField {
  std::size_t offset;
  std::size_t size;
};

template <typename T>
constexpr std::size_t endOf(Field<T> f) {
  return f.offset + sizeof(T);
}
template <typename T, std::size_t N>
constexpr std::size_t endOf(ArrayField<T, N> f) {
  return f.offset + sizeof(T) * N;
}
constexpr std::size_t endOf(TextField f) { return f.offset + f.width; }
constexpr std::size_t endOf(BlockField f) { return f.offset + f.size; }

using u8 = std::uint8_t;
using i8 = std::int8_t;
using u16 = std::uint16_t;
using i16 = std::int16_t;
using u32 = std::uint32_t;
using i32 = std::int32_t;
using f32 = float;

// Header and link settings.
inline constexpr Field<u16> kFormatId{0};
inline constexpr Field<i16> kRevision{2};
inline constexpr Field<u16> kComPort{4};
inline constexpr Field<u16> kBaudRate{6};
inline constexpr Field<u8> kUseModem{8};
inline constexpr Field<u8> kPulseDial{9};
inline constexpr Field<u8> kLinkBusy{10};
inline constexpr Field<i8> kConnectWait{11};
inline constexpr TextField kPhoneNumber{12, 80, 79};
inline constexpr TextField kModemInit{92, 80, 79};
inline constexpr Field<u16> kLinkType{172};
inline constexpr Field<i16> kTimeoutSeconds{174};
inline constexpr Field<u16> kModel{176};
inline constexpr Field<u8> kSpare178{178};
inline constexpr TextField kStationName{179, 64, 63};
inline constexpr TextField kStationDir{243, 260, 259};
inline constexpr Field<u32> kSensorMask{504};
inline constexpr Field<u32> kSensorMask2{508};

// Location, time and calibration.
inline constexpr Field<i16> kLatDeg{512};
inline constexpr Field<i16> kLatMin{514};
inline constexpr Field<i16> kLatSec{516};
inline constexpr Field<i16> kLonDeg{518};
inline constexpr Field<i16> kLonMin{520};
inline constexpr Field<i16> kLonSec{522};
inline constexpr Field<f32> kLatitude{524};
inline constexpr Field<f32> kLongitude{528};
inline constexpr Field<i16> kElevation{532};
inline constexpr Field<u8> kLatSouth{534};
inline constexpr Field<u8> kLonWest{535};
inline constexpr Field<u8> kDstOn{536};
inline constexpr Field<i16> kTimeZoneIndex{538};
inline constexpr Field<f32> kGmtOffset{540};
inline constexpr ArrayField<i16, 4> kCalOffsets{544};
inline constexpr TextField kRainCollectorText{552, 15, 14};
inline constexpr Field<f32> kRainClick{568};
inline constexpr Field<i16> kCalOffsetExtra{572};
inline constexpr Field<u8> kRainCollectorType{574};
inline constexpr Field<u8> kArchiveInterval{575};
inline constexpr Field<u8> kOpt576{576};
inline constexpr Field<u8> kOpt577{577};
inline constexpr ArrayField<u32, 44> kPlotLayout{580};
inline constexpr Field<u8> kOpt756{756};
inline constexpr ArrayField<u16, 5> kOpt758{758};
inline constexpr Field<f32> kSkinFactor{1496};
inline constexpr Field<u8> kConsoleDstManual{1500};
inline constexpr Field<u8> kDstManual{1501};
inline constexpr ArrayField<i16, 4> kSensorOffsets{1502};
inline constexpr Field<u16> kZoneCode{1510};
inline constexpr Field<u8> kDstManualOn{1607};

// Report settings.
inline constexpr Field<f32> kCoolBase{768};
inline constexpr Field<f32> kHeatBase{772};
inline constexpr TextField kNoaaCity{776, 40, 39};
inline constexpr TextField kNoaaState{816, 40, 29};
inline constexpr TextField kNoaaElevationText{856, 16, 11};
inline constexpr ArrayField<f32, 12> kNormalTemp{872};
inline constexpr ArrayField<f32, 12> kNormalRain{920};
inline constexpr TextField kNoaaLonText{968, 16, 14};
inline constexpr TextField kNoaaLatText{984, 16, 14};
inline constexpr Field<u8> kNoaaDegreeDayMethod{1000};
inline constexpr Field<u8> kNoaaOpt1001{1001};
inline constexpr BlockField kReportData{1162, 197};

// Download and clearing settings.
inline constexpr Field<u8> kAutoClearEnabled{1002};
inline constexpr Field<u8> kExportAfterDownload{1003};
inline constexpr Field<u16> kOpt1004{1004};
inline constexpr Field<i16> kAutoClearTime{1006};
inline constexpr ArrayField<u8, 24> kLegacyHourFlags{1008};
inline constexpr TextField kLegacyText{1032, 80, 79};
inline constexpr Field<u32> kLastAutoClear{1112};
inline constexpr Field<u8> kClearAfterDownload{1116};
inline constexpr ArrayField<u8, 8> kAutoClearItems{1117};
inline constexpr ArrayField<u8, 8> kAlarmFlags{1125};
inline constexpr Field<u8> kHiLowOnBulletin{1605};
inline constexpr Field<u8> kArchiveOnBulletin{1606};

// Internet settings.
inline constexpr TextField kAprsCallSign{1359, 20, 19};
inline constexpr TextField kAprsServer{1379, 30, 29};
inline constexpr TextField kAprsLogin{1409, 31, 30};
inline constexpr Field<u32> kAprsPort{1440};
inline constexpr ArrayField<u8, 3> kAprsOptions{1444};
inline constexpr BlockField kConsoleCalBlock{1448, 28};
inline constexpr BlockField kConsoleCalBlock2{1476, 18};
inline constexpr Field<u32> kWuLastTime{1512};
inline constexpr Field<i16> kWuLastDate{1516};
inline constexpr TextField kWuStationId{1518, 21, 20};
inline constexpr TextField kWuPassword{1539, 65, 64};
inline constexpr Field<u8> kWuMaxDaysChoice{1604};
inline constexpr Field<u32> kWuState1608{1608};
inline constexpr Field<i16> kWuState1612{1612};
inline constexpr Field<u16> kWuState1614{1614};
inline constexpr Field<i32> kWuState1616{1616};
inline constexpr TextField kGlobeSchoolId{1620, 20, 19};
inline constexpr TextField kGlobeSiteId{1640, 20, 19};
inline constexpr TextField kGlobeSoilSiteId{1660, 20, 19};
inline constexpr Field<u8> kGlobeIncludeSoil{1680};
inline constexpr Field<u8> kRepeatersEnabled{1681};
inline constexpr Field<u16> kRetransmitChoice{1682};
inline constexpr Field<u16> kOpt1684{1684};
inline constexpr ArrayField<u8, 4> kBulletinFlags{1686};

// The run-time area: pointers and selections of the running program in the original
// layout. It is always written as zeros and ignored when read.
inline constexpr BlockField kRunTimeArea{1136, 26};

// Report-data block fields whose defaults belong to a new record (and to the upgrade).
inline constexpr Field<u16> kSoilHoursThreshold{1288};
inline constexpr Field<u16> kChillHoursThreshold{1300};
inline constexpr Field<u16> kLeafHoursThreshold2{1314};
inline constexpr Field<u16> kLeafHoursThreshold3{1316};
inline constexpr Field<f32> kEtKFactor{1320};
inline constexpr Field<i16> kSunHoursThreshold{1332};
inline constexpr Field<u8> kFuelSortByName{1334};
inline constexpr Field<u8> kFuelFullReport{1335};
inline constexpr Field<f32> kFuelThreshold{1340};
inline constexpr Field<f32> kFuelHeatBase{1352};
inline constexpr Field<u8> kSoilHoursSensor{1356};
inline constexpr Field<u8> kLeafHoursSensor{1357};
inline constexpr Field<u8> kChillHoursSensor{1358};

static_assert(endOf(kModemInit) == kLinkType.offset);
static_assert(endOf(kStationName) == kStationDir.offset);
static_assert(kStationDir.offset + kStationDir.maxLength == 502);
static_assert(endOf(kStationDir) + 1 == kSensorMask.offset);
static_assert(endOf(kSensorMask2) == kLatDeg.offset);
static_assert(kRainCollectorText.offset + kRainCollectorText.maxLength == 566);
static_assert(endOf(kPlotLayout) == kOpt756.offset);
static_assert(endOf(kOpt758) == kCoolBase.offset);
static_assert(endOf(kNormalRain) == kNoaaLonText.offset);
static_assert(kNoaaLonText.offset + kNoaaLonText.maxLength == 982);
static_assert(kNoaaLatText.offset + kNoaaLatText.maxLength == 998);
static_assert(endOf(kLegacyText) == kLastAutoClear.offset);
static_assert(endOf(kAlarmFlags) <= kRunTimeArea.offset);
static_assert(endOf(kRunTimeArea) == kReportData.offset);
static_assert(endOf(kReportData) == kAprsCallSign.offset);
static_assert(endOf(kAprsLogin) == kAprsPort.offset);
static_assert(endOf(kConsoleCalBlock) == kConsoleCalBlock2.offset);
static_assert(endOf(kConsoleCalBlock2) == 1494);
static_assert(endOf(kSensorOffsets) == kZoneCode.offset);
static_assert(endOf(kWuPassword) == kWuMaxDaysChoice.offset);
static_assert(endOf(kWuState1616) == kGlobeSchoolId.offset);
static_assert(endOf(kGlobeSoilSiteId) == kGlobeIncludeSoil.offset);
static_assert(endOf(kBulletinFlags) <= kRecordSize);

}  // namespace station::layout
