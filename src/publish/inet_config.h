#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/status.h"
#include "publish/inet_config_layout.h"

namespace publish {

inline constexpr std::string_view kInetConfigFileName = "Inet-Configuration.cfg";
// The older configuration file. Its layout is unknown, so it is never read nor written.
inline constexpr std::string_view kOlderInetConfigFileName = "Internet.cfg";
inline constexpr std::uint16_t kInetConfigVersion = 2;
inline constexpr int kProfileCount = static_cast<int>(layout::kProfileCount);

// How the internet is reached (offset 4776).
enum class InternetAccess : std::uint16_t {
  kDirect = 0,
  kProxy = 1,   // through the proxy text at 4780
  kSystem = 2,  // the system's settings: the usual proxy environment variables
};

// Report selection bits of a profile (offset 16).
enum ReportBit : std::uint32_t {
  kReportNoaaThisMonth = 1u << 0,
  kReportNoaaLastMonth = 1u << 1,
  kReportNoaaThisYear = 1u << 2,
  kReportNoaaLastYear = 1u << 3,
  kReportSunDay = 1u << 4,
  kReportRainDatabase = 1u << 5,
  kReportSunMonth = 1u << 6,
  kReportTwoDayFile = 1u << 7,
  kReportWeekFile = 1u << 8,
  kReportAprs = 1u << 9,
  kReportWeatherUnderground = 1u << 10,
};

// One 512-byte upload profile, a copy taken from an InetConfig and put back with
// InetConfig::setProfile. Bytes no accessor knows are carried unchanged. Text setters
// return false and change nothing when the text is longer than the field holds.
class UploadProfile {
 public:
  using Bytes = std::array<std::byte, layout::kProfileSize>;

  // The profile of a new record; `number` is 1 to 8 (it names the list file).
  static UploadProfile defaults(int number);
  static UploadProfile fromBytes(std::span<const std::byte, layout::kProfileSize> bytes);
  const Bytes& bytes() const { return bytes_; }

  // Empty unless the owner named the profile; see displayName.
  std::string name() const;
  [[nodiscard]] bool setName(std::string_view v);
  std::uint32_t reports() const;
  void setReports(std::uint32_t bits);
  bool hasReport(std::uint32_t bit) const { return (reports() & bit) != 0; }
  // Upload subdirectories, below the FTP path and the local path.
  std::string currentImageDir() const;
  [[nodiscard]] bool setCurrentImageDir(std::string_view v);
  std::string historyImageDir() const;
  [[nodiscard]] bool setHistoryImageDir(std::string_view v);
  std::string reportDir() const;
  [[nodiscard]] bool setReportDir(std::string_view v);
  // Converted templates and the other files of the profile's list.
  std::string pageDir() const;
  [[nodiscard]] bool setPageDir(std::string_view v);
  // The file list's name in the station directory.
  std::string listName() const;
  [[nodiscard]] bool setListName(std::string_view v);
  // Extension of converted templates, without the dot.
  std::string extension() const;
  [[nodiscard]] bool setExtension(std::string_view v);

  // Schedule: minutes between runs (0 never due) and the start minute of the day.
  std::uint16_t interval() const;
  void setInterval(std::uint16_t minutes);
  std::uint16_t startMinute() const;
  void setStartMinute(std::uint16_t minute);
  bool enabled() const;
  void setEnabled(bool v);
  bool dialUp() const;
  void setDialUp(bool v);
  bool downloadFirst() const;
  void setDownloadFirst(bool v);
  // Run bookkeeping of the scheduler.
  bool doneThisPeriod() const;
  void setDoneThisPeriod(bool v);
  // −1 when the profile has not run.
  std::int16_t lastRunMinute() const;
  void setLastRunMinute(std::int16_t minute);

  // Numbers of templates, current-data images, history images and report files selected.
  std::uint16_t templateCount() const;
  void setTemplateCount(std::uint16_t v);
  std::uint16_t currentImageCount() const;
  void setCurrentImageCount(std::uint16_t v);
  std::uint16_t historyImageCount() const;
  void setHistoryImageCount(std::uint16_t v);
  std::uint16_t reportCount() const;
  void setReportCount(std::uint16_t v);

  // Images: bit i of the current mask selects the image of text 8608+i, bit i of the
  // history mask the image of text 8704+i.
  std::uint64_t currentImageMask() const;
  void setCurrentImageMask(std::uint64_t v);
  std::uint64_t historyImageMask() const;
  void setHistoryImageMask(std::uint64_t v);
  std::uint8_t imageSize() const;
  void setImageSize(std::uint8_t v);
  std::uint8_t imageOptions() const;
  void setImageOptions(std::uint8_t v);

 private:
  UploadProfile() = default;
  std::string text(layout::TextField f) const;
  bool setText(layout::TextField f, std::string_view v);
  std::uint64_t mask(std::size_t offset) const;
  void setMask(std::size_t offset, std::uint64_t v);

  Bytes bytes_{};
};

// The profile's name for people: its own name, else "Perfil N" with N = index + 1.
std::string displayName(const UploadProfile& profile, int index);

// The station's 6144-byte internet configuration. The object is the record: bytes no
// accessor knows are carried unchanged from read to save. Text setters return false and
// change nothing when the text is longer than the field holds. Passwords are credentials:
// show them only as set or not set, never log them.
class InetConfig {
 public:
  static constexpr std::size_t kSize = layout::kRecordSize;
  using Bytes = std::array<std::byte, kSize>;

  // A new record: zeros, then the defaults.
  InetConfig();
  // The record exactly as given, without any check.
  static InetConfig fromBytes(std::span<const std::byte, kSize> bytes);
  // Whether stored bytes are a record this program takes: version 2, field 4774 not
  // negative.
  static bool isValidRecord(std::span<const std::byte, kSize> bytes);
  const Bytes& bytes() const { return bytes_; }

  std::string ftpHost() const;
  [[nodiscard]] bool setFtpHost(std::string_view v);
  std::string ftpUser() const;
  [[nodiscard]] bool setFtpUser(std::string_view v);
  std::string ftpPassword() const;
  [[nodiscard]] bool setFtpPassword(std::string_view v);
  // Prefixed to every remote directory; "\" in a new record (the login directory).
  std::string ftpPath() const;
  [[nodiscard]] bool setFtpPath(std::string_view v);
  // Prefixed to every local destination. A path: its bytes are kept as given.
  std::string localPath() const;
  [[nodiscard]] bool setLocalPath(std::string_view v);
  std::string dialEntry() const;
  [[nodiscard]] bool setDialEntry(std::string_view v);
  std::string dialUser() const;
  [[nodiscard]] bool setDialUser(std::string_view v);
  std::string dialPassword() const;
  [[nodiscard]] bool setDialPassword(std::string_view v);

  bool stayConnected() const;
  void setStayConnected(bool v);
  std::uint16_t ftpPort() const;
  void setFtpPort(std::uint16_t v);
  bool localNetwork() const;
  void setLocalNetwork(bool v);
  // The two publishing switches.
  bool internetTransfer() const;
  void setInternetTransfer(bool v);
  bool localTransfer() const;
  void setLocalTransfer(bool v);
  bool passiveFtp() const;
  void setPassiveFtp(bool v);

  std::uint16_t version() const;
  // The stored access value; it may be outside the three InternetAccess values.
  std::uint16_t accessType() const;
  void setAccessType(InternetAccess v);
  bool autoProxyDetection() const;
  void setAutoProxyDetection(bool v);
  std::string proxyServer() const;
  [[nodiscard]] bool setProxyServer(std::string_view v);

  // REQUIRES: 0 <= index < kProfileCount
  UploadProfile profile(int index) const;
  void setProfile(int index, const UploadProfile& profile);

  // Clears every profile's run bookkeeping (done 0, last minute −1), as after loading.
  void resetRunBookkeeping();

 private:
  std::string text(layout::TextField f) const;
  bool setText(layout::TextField f, std::string_view v);

  Bytes bytes_{};
};

// Where the configuration in hand came from.
enum class InetConfigSource {
  kFile,              // a valid Inet-Configuration.cfg
  kDefaults,          // no file
  kOlderFileIgnored,  // only an older Internet.cfg, left untouched
  kInvalidFile,       // a file of the wrong size or version, left untouched until a save
};

struct LoadedInetConfig {
  InetConfig config;
  InetConfigSource source = InetConfigSource::kDefaults;
};

// The configuration of `stationDir`, with every profile's run bookkeeping reset. Writes
// nothing: a station with no valid file gets the defaults until the owner saves. Fails
// only when an existing file cannot be read.
platform::Result<LoadedInetConfig> loadInetConfig(platform::FileSystem& files,
                                                  const std::string& stationDir);

// Replaces `stationDir`/Inet-Configuration.cfg atomically with mode 0600 (it holds the
// FTP password).
platform::Status saveInetConfig(platform::FileSystem& files, const std::string& stationDir,
                                const InetConfig& config);

}  // namespace publish
