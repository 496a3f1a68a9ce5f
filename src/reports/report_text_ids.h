#pragma once

// String-table numbers of the report texts (src/platform/strings/reports.inc).

namespace reports {

// Monthly report.
inline constexpr int kNoaaMonthTitle = 64900;
inline constexpr int kNoaaMonthNameLine = 64901;
inline constexpr int kNoaaLocationLine = 64902;
inline constexpr int kNoaaMonthUnitsLine = 64903;
inline constexpr int kNoaaMonthHeading1 = 64904;
inline constexpr int kNoaaMonthHeading2 = 64905;
inline constexpr int kNoaaMonthHeading3 = 64906;
inline constexpr int kNoaaHotCount = 64907;
inline constexpr int kNoaaMaxFreezingCount = 64908;
inline constexpr int kNoaaMinCount = 64909;
inline constexpr int kNoaaTopRain = 64910;
inline constexpr int kNoaaRainDaysInches = 64911;
inline constexpr int kNoaaRainDaysMm = 64912;
inline constexpr int kNoaaBasesLine = 64913;
inline constexpr int kNoaaMethodIntegration = 64914;
inline constexpr int kNoaaMethodMaxMin = 64915;

// Yearly report.
inline constexpr int kNoaaYearTitle = 64920;
inline constexpr int kNoaaYearNameLine = 64921;
inline constexpr int kNoaaYearTempTitle = 64922;
inline constexpr int kNoaaYearTempHeading1 = 64923;
inline constexpr int kNoaaYearTempHeading2 = 64924;
inline constexpr int kNoaaYearTempHeading3 = 64925;
inline constexpr int kNoaaYearRainTitle = 64926;
inline constexpr int kNoaaYearRainHeading1 = 64927;
inline constexpr int kNoaaYearRainHeading2 = 64928;
inline constexpr int kNoaaYearRainHeadingInches = 64929;
inline constexpr int kNoaaYearRainHeadingMm = 64930;
inline constexpr int kNoaaYearWindTitle = 64931;
inline constexpr int kNoaaYearWindHeading1 = 64932;
inline constexpr int kNoaaYearWindHeading2 = 64933;

// "ENE" ... "DIC".
inline constexpr int kNoaaMonthNames = 64940;

// Failures and titles.
inline constexpr int kMsgCannotOpenReport = 64960;
inline constexpr int kMsgDatabaseError = 64961;
inline constexpr int kMsgRecordError = 64962;
inline constexpr int kMsgNoRecords = 64963;
inline constexpr int kTitleNoaaYear = 64964;
inline constexpr int kTitleNoaaMonth = 64965;

// NOAA setup.
inline constexpr int kMsgHeatBaseMissing = 64970;
inline constexpr int kMsgHeatBaseInvalid = 64971;
inline constexpr int kMsgCoolBaseMissing = 64972;
inline constexpr int kMsgCoolBaseInvalid = 64973;
inline constexpr int kMsgNormalTempInvalid = 64974;
inline constexpr int kMsgNormalRainInvalid = 64975;
inline constexpr int kMsgElevationInvalid = 64976;
inline constexpr int kTitleNoaaSetup = 64977;
inline constexpr int kMsgTextTooLong = 64978;
inline constexpr int kMsgStationSaveFailed = 64101;  // the station layer's save message

inline constexpr int kLabelCity = 64980;
inline constexpr int kLabelState = 64981;
inline constexpr int kLabelElevation = 64982;
inline constexpr int kLabelLatitude = 64983;
inline constexpr int kLabelLongitude = 64984;
inline constexpr int kLabelHeatBase = 64985;
inline constexpr int kLabelCoolBase = 64986;
inline constexpr int kLabelMethod = 64987;
inline constexpr int kLabelNormalTemp = 64988;
inline constexpr int kLabelNormalRain = 64989;

// Report settings.
inline constexpr int kTextThEntry = 64990;
inline constexpr int kTextSoilHours = 64991;
inline constexpr int kTextChillHours = 64992;
inline constexpr int kTextLeafHours = 64993;
inline constexpr int kTextSunHours = 64994;
inline constexpr int kTextEtReport = 64995;
inline constexpr int kTextDdReport = 64996;
inline constexpr int kTextFuelReport = 64997;

}  // namespace reports
