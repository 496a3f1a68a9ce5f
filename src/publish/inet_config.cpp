#include "publish/inet_config.h"

#include <algorithm>
#include <cstdio>

#include "station/record_bytes.h"

namespace publish {

namespace {

using station::loadLe;
using station::storeLe;

// A text that cannot sit in a fixed field or in the tab-separated lists the run writes.
bool storable(layout::TextField f, std::string_view v) {
  return v.size() <= f.maxLength && v.find_first_of(std::string_view("\0\t\r\n", 4)) == v.npos;
}

bool storeChecked(std::span<std::byte> bytes, layout::TextField f, std::string_view v) {
  if (!storable(f, v)) return false;
  station::storeText(bytes, f.offset, f.width, f.maxLength, v);
  return true;
}

template <typename T>
T getField(std::span<const std::byte> bytes, layout::Field<T> f) {
  return loadLe<T>(bytes, f.offset);
}

template <typename T>
void setField(std::span<std::byte> bytes, layout::Field<T> f, T v) {
  storeLe<T>(bytes, f.offset, v);
}

std::uint8_t flag(bool v) { return v ? 1 : 0; }

std::string stationFile(const std::string& stationDir, std::string_view name) {
  return platform::joinPath(stationDir, name);
}

}  // namespace

// ---- UploadProfile ----------------------------------------------------------------------

UploadProfile UploadProfile::defaults(int number) {
  UploadProfile profile;
  char list[32];
  std::snprintf(list, sizeof list, "Profile%d.lst", number);
  (void)profile.setListName(list);
  (void)profile.setExtension("htm");
  profile.setStartMinute(3);
  profile.setLastRunMinute(-1);
  return profile;
}

UploadProfile UploadProfile::fromBytes(std::span<const std::byte, layout::kProfileSize> bytes) {
  UploadProfile profile;
  std::copy(bytes.begin(), bytes.end(), profile.bytes_.begin());
  return profile;
}

std::string UploadProfile::text(layout::TextField f) const {
  return station::loadText(bytes_, f.offset, f.maxLength);
}

bool UploadProfile::setText(layout::TextField f, std::string_view v) {
  return storeChecked(bytes_, f, v);
}

std::uint64_t UploadProfile::mask(std::size_t offset) const {
  const auto low = loadLe<std::uint32_t>(bytes_, offset);
  const auto high = loadLe<std::uint32_t>(bytes_, offset + 4);
  return (std::uint64_t{high} << 32) | low;
}

void UploadProfile::setMask(std::size_t offset, std::uint64_t v) {
  storeLe<std::uint32_t>(bytes_, offset, static_cast<std::uint32_t>(v));
  storeLe<std::uint32_t>(bytes_, offset + 4, static_cast<std::uint32_t>(v >> 32));
}

namespace p = layout::profile;

std::string UploadProfile::name() const { return text(p::kName); }
bool UploadProfile::setName(std::string_view v) { return setText(p::kName, v); }
std::uint32_t UploadProfile::reports() const { return getField(bytes_, p::kReports); }
void UploadProfile::setReports(std::uint32_t bits) { setField(bytes_, p::kReports, bits); }
std::string UploadProfile::currentImageDir() const { return text(p::kCurrentImageDir); }
bool UploadProfile::setCurrentImageDir(std::string_view v) {
  return setText(p::kCurrentImageDir, v);
}
std::string UploadProfile::historyImageDir() const { return text(p::kHistoryImageDir); }
bool UploadProfile::setHistoryImageDir(std::string_view v) {
  return setText(p::kHistoryImageDir, v);
}
std::string UploadProfile::reportDir() const { return text(p::kReportDir); }
bool UploadProfile::setReportDir(std::string_view v) { return setText(p::kReportDir, v); }
std::string UploadProfile::pageDir() const { return text(p::kPageDir); }
bool UploadProfile::setPageDir(std::string_view v) { return setText(p::kPageDir, v); }
std::string UploadProfile::listName() const {
  return std::string(station::rawText(bytes_, p::kListName.offset, p::kListName.maxLength));
}
bool UploadProfile::setListName(std::string_view v) {
  // A bare file name in the station directory: no directory parts.
  if (v.empty() || v.find('/') != v.npos || v == "." || v == "..") return false;
  return setText(p::kListName, v);
}
std::string UploadProfile::extension() const { return text(p::kExtension); }
bool UploadProfile::setExtension(std::string_view v) {
  if (v.find_first_of("./") != v.npos) return false;
  return setText(p::kExtension, v);
}

std::uint16_t UploadProfile::interval() const { return getField(bytes_, p::kInterval); }
void UploadProfile::setInterval(std::uint16_t minutes) { setField(bytes_, p::kInterval, minutes); }
std::uint16_t UploadProfile::startMinute() const { return getField(bytes_, p::kStartMinute); }
void UploadProfile::setStartMinute(std::uint16_t minute) {
  setField(bytes_, p::kStartMinute, minute);
}
bool UploadProfile::enabled() const { return getField(bytes_, p::kEnabled) != 0; }
void UploadProfile::setEnabled(bool v) { setField(bytes_, p::kEnabled, flag(v)); }
bool UploadProfile::dialUp() const { return getField(bytes_, p::kDialUp) != 0; }
void UploadProfile::setDialUp(bool v) { setField(bytes_, p::kDialUp, flag(v)); }
bool UploadProfile::downloadFirst() const { return getField(bytes_, p::kDownloadFirst) != 0; }
void UploadProfile::setDownloadFirst(bool v) { setField(bytes_, p::kDownloadFirst, flag(v)); }
bool UploadProfile::doneThisPeriod() const { return getField(bytes_, p::kDoneThisPeriod) != 0; }
void UploadProfile::setDoneThisPeriod(bool v) { setField(bytes_, p::kDoneThisPeriod, flag(v)); }
std::int16_t UploadProfile::lastRunMinute() const { return getField(bytes_, p::kLastRunMinute); }
void UploadProfile::setLastRunMinute(std::int16_t minute) {
  setField(bytes_, p::kLastRunMinute, minute);
}

std::uint16_t UploadProfile::templateCount() const { return getField(bytes_, p::kTemplateCount); }
void UploadProfile::setTemplateCount(std::uint16_t v) { setField(bytes_, p::kTemplateCount, v); }
std::uint16_t UploadProfile::currentImageCount() const {
  return getField(bytes_, p::kCurrentImageCount);
}
void UploadProfile::setCurrentImageCount(std::uint16_t v) {
  setField(bytes_, p::kCurrentImageCount, v);
}
std::uint16_t UploadProfile::historyImageCount() const {
  return getField(bytes_, p::kHistoryImageCount);
}
void UploadProfile::setHistoryImageCount(std::uint16_t v) {
  setField(bytes_, p::kHistoryImageCount, v);
}
std::uint16_t UploadProfile::reportCount() const { return getField(bytes_, p::kReportCount); }
void UploadProfile::setReportCount(std::uint16_t v) { setField(bytes_, p::kReportCount, v); }

std::uint64_t UploadProfile::currentImageMask() const { return mask(p::kCurrentImageMask); }
void UploadProfile::setCurrentImageMask(std::uint64_t v) { setMask(p::kCurrentImageMask, v); }
std::uint64_t UploadProfile::historyImageMask() const { return mask(p::kHistoryImageMask); }
void UploadProfile::setHistoryImageMask(std::uint64_t v) { setMask(p::kHistoryImageMask, v); }
std::uint8_t UploadProfile::imageSize() const { return getField(bytes_, p::kImageSize); }
void UploadProfile::setImageSize(std::uint8_t v) { setField(bytes_, p::kImageSize, v); }
std::uint8_t UploadProfile::imageOptions() const { return getField(bytes_, p::kImageOptions); }
void UploadProfile::setImageOptions(std::uint8_t v) { setField(bytes_, p::kImageOptions, v); }

std::string displayName(const UploadProfile& profile, int index) {
  std::string name = profile.name();
  if (!name.empty()) return name;
  return "Perfil " + std::to_string(index + 1);
}

// ---- InetConfig -------------------------------------------------------------------------

namespace l = layout;

InetConfig::InetConfig() {
  (void)setFtpPath("\\");
  setField(bytes_, l::kNewRecordMark1, std::uint8_t{5});
  setField(bytes_, l::kNewRecordMark2, std::uint8_t{5});
  setFtpPort(21);
  setField(bytes_, l::kVersion, kInetConfigVersion);
  setAccessType(InternetAccess::kSystem);
  setAutoProxyDetection(true);
  for (int k = 0; k < kProfileCount; ++k) setProfile(k, UploadProfile::defaults(k + 1));
}

InetConfig InetConfig::fromBytes(std::span<const std::byte, kSize> bytes) {
  InetConfig config;
  std::copy(bytes.begin(), bytes.end(), config.bytes_.begin());
  return config;
}

bool InetConfig::isValidRecord(std::span<const std::byte, kSize> bytes) {
  return getField(std::span<const std::byte>(bytes), l::kVersion) == kInetConfigVersion &&
         getField(std::span<const std::byte>(bytes), l::kCheckField) >= 0;
}

std::string InetConfig::text(layout::TextField f) const {
  return station::loadText(bytes_, f.offset, f.maxLength);
}

bool InetConfig::setText(layout::TextField f, std::string_view v) {
  return storeChecked(bytes_, f, v);
}

std::string InetConfig::ftpHost() const { return text(l::kFtpHost); }
bool InetConfig::setFtpHost(std::string_view v) { return setText(l::kFtpHost, v); }
std::string InetConfig::ftpUser() const { return text(l::kFtpUser); }
bool InetConfig::setFtpUser(std::string_view v) { return setText(l::kFtpUser, v); }
std::string InetConfig::ftpPassword() const { return text(l::kFtpPassword); }
bool InetConfig::setFtpPassword(std::string_view v) { return setText(l::kFtpPassword, v); }
std::string InetConfig::ftpPath() const { return text(l::kFtpPath); }
bool InetConfig::setFtpPath(std::string_view v) { return setText(l::kFtpPath, v); }
std::string InetConfig::localPath() const {
  return std::string(station::rawText(bytes_, l::kLocalPath.offset, l::kLocalPath.maxLength));
}
bool InetConfig::setLocalPath(std::string_view v) { return setText(l::kLocalPath, v); }
std::string InetConfig::dialEntry() const { return text(l::kDialEntry); }
bool InetConfig::setDialEntry(std::string_view v) { return setText(l::kDialEntry, v); }
std::string InetConfig::dialUser() const { return text(l::kDialUser); }
bool InetConfig::setDialUser(std::string_view v) { return setText(l::kDialUser, v); }
std::string InetConfig::dialPassword() const { return text(l::kDialPassword); }
bool InetConfig::setDialPassword(std::string_view v) { return setText(l::kDialPassword, v); }

bool InetConfig::stayConnected() const { return getField(bytes_, l::kStayConnected) != 0; }
void InetConfig::setStayConnected(bool v) { setField(bytes_, l::kStayConnected, flag(v)); }
std::uint16_t InetConfig::ftpPort() const { return getField(bytes_, l::kFtpPort); }
void InetConfig::setFtpPort(std::uint16_t v) { setField(bytes_, l::kFtpPort, v); }
bool InetConfig::localNetwork() const { return getField(bytes_, l::kLocalNetwork) != 0; }
void InetConfig::setLocalNetwork(bool v) { setField(bytes_, l::kLocalNetwork, flag(v)); }
bool InetConfig::internetTransfer() const { return getField(bytes_, l::kInternetTransfer) != 0; }
void InetConfig::setInternetTransfer(bool v) { setField(bytes_, l::kInternetTransfer, flag(v)); }
bool InetConfig::localTransfer() const { return getField(bytes_, l::kLocalTransfer) != 0; }
void InetConfig::setLocalTransfer(bool v) { setField(bytes_, l::kLocalTransfer, flag(v)); }
bool InetConfig::passiveFtp() const { return getField(bytes_, l::kPassiveFtp) != 0; }
void InetConfig::setPassiveFtp(bool v) { setField(bytes_, l::kPassiveFtp, flag(v)); }

std::uint16_t InetConfig::version() const { return getField(bytes_, l::kVersion); }
std::uint16_t InetConfig::accessType() const { return getField(bytes_, l::kAccessType); }
void InetConfig::setAccessType(InternetAccess v) {
  setField(bytes_, l::kAccessType, static_cast<std::uint16_t>(v));
}
bool InetConfig::autoProxyDetection() const {
  return getField(bytes_, l::kAutoProxyDetection) != 0;
}
void InetConfig::setAutoProxyDetection(bool v) {
  setField(bytes_, l::kAutoProxyDetection, std::uint16_t{flag(v)});
}
std::string InetConfig::proxyServer() const { return text(l::kProxyServer); }
bool InetConfig::setProxyServer(std::string_view v) { return setText(l::kProxyServer, v); }

UploadProfile InetConfig::profile(int index) const {
  const std::size_t at = l::kProfilesOffset + static_cast<std::size_t>(index) * l::kProfileSize;
  return UploadProfile::fromBytes(std::span(bytes_).subspan(at).first<l::kProfileSize>());
}

void InetConfig::setProfile(int index, const UploadProfile& profile) {
  const std::size_t at = l::kProfilesOffset + static_cast<std::size_t>(index) * l::kProfileSize;
  std::copy(profile.bytes().begin(), profile.bytes().end(), bytes_.begin() + at);
}

void InetConfig::resetRunBookkeeping() {
  for (int k = 0; k < kProfileCount; ++k) {
    UploadProfile p = profile(k);
    p.setDoneThisPeriod(false);
    p.setLastRunMinute(-1);
    setProfile(k, p);
  }
}

// ---- Files ------------------------------------------------------------------------------

platform::Result<LoadedInetConfig> loadInetConfig(platform::FileSystem& files,
                                                  const std::string& stationDir) {
  const std::string path = stationFile(stationDir, kInetConfigFileName);
  LoadedInetConfig loaded;
  if (files.exists(path)) {
    auto bytes = files.readFile(path);
    if (!bytes) return bytes.status();
    const std::string& raw = *bytes;
    if (raw.size() == InetConfig::kSize) {
      const auto span = std::span<const std::byte, InetConfig::kSize>(
          reinterpret_cast<const std::byte*>(raw.data()), InetConfig::kSize);
      if (InetConfig::isValidRecord(span)) {
        loaded.config = InetConfig::fromBytes(span);
        loaded.config.resetRunBookkeeping();
        loaded.source = InetConfigSource::kFile;
        return loaded;
      }
    }
    loaded.source = InetConfigSource::kInvalidFile;
    return loaded;
  }
  if (files.exists(stationFile(stationDir, kOlderInetConfigFileName))) {
    loaded.source = InetConfigSource::kOlderFileIgnored;
  }
  return loaded;
}

platform::Status saveInetConfig(platform::FileSystem& files, const std::string& stationDir,
                                const InetConfig& config) {
  const auto& b = config.bytes();
  return files.replaceFileAtomically(
      stationFile(stationDir, kInetConfigFileName),
      std::string_view(reinterpret_cast<const char*>(b.data()), b.size()), true);
}

}  // namespace publish
