#pragma once

// The string-table numbers of the upload runs and one filler for their patterns.

#include <initializer_list>
#include <string>
#include <string_view>

namespace publish {

namespace msg {
inline constexpr int kInternetOpenFailed = 28003;
inline constexpr int kHostNotFound = 28004;
inline constexpr int kLoginRefused = 28007;
inline constexpr int kCannotConnect = 28008;
inline constexpr int kConnectError = 28009;
inline constexpr int kFtpPathFailed = 28015;
inline constexpr int kBadAccessType = 28016;
inline constexpr int kRunOk = 28051;
inline constexpr int kRunPartial = 28052;
inline constexpr int kRunFailed = 28053;
inline constexpr int kRunCancelled = 28054;
inline constexpr int kCreateDirFailed = 28055;
inline constexpr int kCopyFailed = 28056;
inline constexpr int kPutReplyGiveUp = 28057;
inline constexpr int kPutErrorGiveUp = 28058;
inline constexpr int kPutReplyRetry = 28067;
inline constexpr int kPutErrorRetry = 28068;
inline constexpr int kPutReplyTooLong = 28096;
inline constexpr int kPutErrorTooLong = 28097;
inline constexpr int kPutTooLong = 28098;
inline constexpr int kDownloadFirst = 66500;
inline constexpr int kReadCurrent = 66501;
inline constexpr int kReadHighsLows = 66502;
inline constexpr int kReadStationTime = 66503;
inline constexpr int kTemplateListFailed = 66504;
inline constexpr int kReportNoaaThisMonth = 66505;  // then last month, this year, last year,
inline constexpr int kReportWeekFile = 66510;       // 2-day file, 1-week file
inline constexpr int kCurrentImages = 66511;
inline constexpr int kHistoryImages = 66512;
inline constexpr int kSendAprs = 66513;
inline constexpr int kSendWeatherUnderground = 66514;
inline constexpr int kConnectFtp = 66515;
inline constexpr int kHangingUp = 66516;
inline constexpr int kProfilesOfRun = 66517;
inline constexpr int kConvertingTemplate = 66518;
inline constexpr int kSendingFile = 66519;
inline constexpr int kCopyingFile = 66520;
inline constexpr int kBadListLine = 66521;
inline constexpr int kOlderConfigIgnored = 66522;
inline constexpr int kInvalidConfig = 66523;
inline constexpr int kReportFailed = 66524;
inline constexpr int kReadFailed = 66525;
inline constexpr int kPageFailed = 66526;
inline constexpr int kCopyOntoItself = 66527;
inline constexpr int kListWriteFailed = 66528;
inline constexpr int kTitleFtp = 66530;
inline constexpr int kTitleCopy = 66531;
// The page of a template could not be opened for writing (the templates' own text).
inline constexpr int kPageOpenFailed = 62559;
}  // namespace msg

// `pattern` with each printf conversion (%s, %d, %ld) replaced by the next argument, in
// order; "%%" is one "%". Arguments are data, never patterns.
std::string fillPattern(std::string_view pattern, std::initializer_list<std::string_view> args);

// The string `id` filled as above.
std::string message(int id, std::initializer_list<std::string_view> args = {});

// A server's reply as the event log takes it: line breaks made blanks, at most 250 bytes
// (cut at a character boundary).
std::string replyForLog(std::string_view reply);

}  // namespace publish
