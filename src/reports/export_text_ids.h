#pragma once

// String-table ids of the export texts (reports_export.inc).

namespace reports::export_text {
inline constexpr int kNoSuchDay = 66000;
inline constexpr int kNoSuchMonth = 66001;
inline constexpr int kNoSuchYear = 66002;
inline constexpr int kNothingToExport = 66003;
inline constexpr int kNothingToCopy = 66004;
inline constexpr int kNothingToPrint = 66005;
inline constexpr int kCannotOpen = 66006;
inline constexpr int kConfirmDelete = 66007;
inline constexpr int kAskRain = 66008;
inline constexpr int kDeleteYearFailed = 66009;
inline constexpr int kDeleteMonthFailed = 66010;
inline constexpr int kDeleteDayFailed = 66011;
inline constexpr int kFillAllFields = 66012;
inline constexpr int kNeedSoilSite = 66013;
inline constexpr int kSoilSensorsMissing = 66014;
inline constexpr int kNothingSelected = 66015;
inline constexpr int kRecordReadFailed = 66016;
inline constexpr int kDstDatesNeeded = 66017;
inline constexpr int kNothingDeleted = 66018;
inline constexpr int kDeleted = 66019;
inline constexpr int kRainUpdated = 66020;
inline constexpr int kRainSaveFailed = 66021;
inline constexpr int kWritten = 66022;
inline constexpr int kWarningTitle = 66023;
inline constexpr int kDeleteTitle = 66024;
inline constexpr int kBadMoment = 66025;
inline constexpr int kSoilChoiceNeeded = 66026;
inline constexpr int kStationSaveFailed = 66027;
inline constexpr int kNoRainDatabase = 66028;
inline constexpr int kNothingToDelete = 66029;
}  // namespace reports::export_text
