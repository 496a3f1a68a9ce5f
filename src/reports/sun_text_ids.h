#pragma once

// String-table numbers of the sunrise and sunshine texts (src/platform/strings/reports_sun.inc).

namespace reports {

inline constexpr int kTitleSunrise = 65500;
inline constexpr int kSunriseLatitudeLine = 65501;
inline constexpr int kSunriseLongitudeLine = 65502;
inline constexpr int kSunriseZoneLine = 65503;
inline constexpr int kSunriseSavingLine = 65504;
inline constexpr int kSunriseSavingAutomatic = 65505;
inline constexpr int kSunriseSavingOn = 65506;
inline constexpr int kSunriseSavingOff = 65507;
inline constexpr int kSunriseHeading1 = 65508;
inline constexpr int kSunriseHeading2 = 65509;
inline constexpr int kSunriseHeading3 = 65510;
inline constexpr int kMsgLocationNotSet = 65511;
inline constexpr int kMsgChooseZone = 65512;
inline constexpr int kMsgZoneOutOfRange = 65513;
inline constexpr int kMsgZoneNotValid = 65514;
inline constexpr int kMsgSunriseBadDate = 65515;
inline constexpr int kMsgCannotWriteSunReport = 65516;
inline constexpr int kMsgZoneIndexOutOfRange = 65517;

inline constexpr int kTitleSunshine = 65520;
inline constexpr int kSunshineTitleLine = 65521;
inline constexpr int kSunshineTotalLine = 65522;
inline constexpr int kSunshineStartLine = 65523;
inline constexpr int kSunshineEndLine = 65524;
inline constexpr int kSunshineThresholdLine = 65525;
inline constexpr int kSunshineLastDaysLine = 65526;
inline constexpr int kMsgDatabaseEmpty = 65529;
inline constexpr int kMsgEnterStartDate = 65530;
inline constexpr int kMsgBadStartDate = 65531;
inline constexpr int kMsgBadEndDate = 65532;
inline constexpr int kMsgStartAfterEnd = 65533;
inline constexpr int kMsgEnterThreshold = 65534;
inline constexpr int kMsgThresholdInteger = 65535;

// The 47 zone texts, in list order.
inline constexpr int kZoneTexts = 65600;

}  // namespace reports
