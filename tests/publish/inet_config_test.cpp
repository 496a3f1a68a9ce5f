#include "publish/inet_config.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/testing/mem_file_system.h"

namespace publish {
namespace {

// A record written by hand from the layout table, offset by offset, so a wrong offset in
// the code cannot be matched by the same mistake here.
class HandRecord {
 public:
  HandRecord() : bytes_(6144, '\0') {}
  void text(std::size_t at, const char* s) { std::memcpy(&bytes_[at], s, std::strlen(s)); }
  void u8(std::size_t at, unsigned v) { bytes_[at] = static_cast<char>(v); }
  void u16(std::size_t at, unsigned v) {
    u8(at, v & 0xFF);
    u8(at + 1, (v >> 8) & 0xFF);
  }
  void u32(std::size_t at, std::uint32_t v) {
    u16(at, v & 0xFFFF);
    u16(at + 2, v >> 16);
  }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

constexpr std::size_t kProfile3 = 676 + 2 * 512;

std::string handWrittenRecord() {
  HandRecord r;
  r.text(0, "ftp.example.net");
  r.text(64, "weather");
  r.text(128, "s3cr3t-pw");
  r.text(192, "/htdocs");
  r.text(320, "/srv/www/tiempo");
  r.u8(664, 1);
  r.u16(666, 2121);
  r.u8(668, 1);
  r.u8(669, 1);
  r.u8(670, 0);
  r.u8(671, 1);
  r.u16(4772, 2);
  r.u16(4774, 0);
  r.u16(4776, 1);
  r.u16(4778, 0);
  r.text(4780, "proxy.lan:3128");
  r.text(kProfile3 + 0, "Portada");
  r.u32(kProfile3 + 16, 0x181);
  r.text(kProfile3 + 20, "img/now");
  r.text(kProfile3 + 84, "img/past");
  r.text(kProfile3 + 148, "reports");
  r.text(kProfile3 + 212, "www/cur");
  r.text(kProfile3 + 276, "Profile3.lst");
  r.text(kProfile3 + 308, "html");
  r.u16(kProfile3 + 314, 15);
  r.u16(kProfile3 + 316, 1439);
  r.u16(kProfile3 + 318, 4);
  r.u16(kProfile3 + 324, 2);
  r.u8(kProfile3 + 326, 1);
  r.u8(kProfile3 + 339, 1);
  r.u8(kProfile3 + 340, 1);
  r.u8(kProfile3 + 341, 1);
  r.u16(kProfile3 + 342, 600);
  r.u32(kProfile3 + 344, 0x00000005);
  r.u32(kProfile3 + 348, 0x80000000);
  r.u32(kProfile3 + 352, 0x00000002);
  r.u8(kProfile3 + 360, 3);
  r.u8(kProfile3 + 361, 0x41);
  // Bytes no field claims, which a save must carry.
  r.u8(300, 0xA5);
  r.u8(kProfile3 + 400, 0x5A);
  r.u8(6143, 0x77);
  return r.bytes();
}

TEST(InetConfigTest, HandWrittenRecordReadsBackFieldForField) {
  platform::MemFileSystem files;
  files.setContents("/st/Inet-Configuration.cfg", handWrittenRecord());
  auto loaded = loadInetConfig(files, "/st");
  ASSERT_TRUE(loaded) << loaded.status().toString();
  ASSERT_EQ(loaded->source, InetConfigSource::kFile);
  const InetConfig& c = loaded->config;
  EXPECT_EQ(c.ftpHost(), "ftp.example.net");
  EXPECT_EQ(c.ftpUser(), "weather");
  EXPECT_EQ(c.ftpPassword(), "s3cr3t-pw");
  EXPECT_EQ(c.ftpPath(), "/htdocs");
  EXPECT_EQ(c.localPath(), "/srv/www/tiempo");
  EXPECT_TRUE(c.stayConnected());
  EXPECT_EQ(c.ftpPort(), 2121);
  EXPECT_TRUE(c.localNetwork());
  EXPECT_TRUE(c.internetTransfer());
  EXPECT_FALSE(c.localTransfer());
  EXPECT_TRUE(c.passiveFtp());
  EXPECT_EQ(c.accessType(), 1);
  EXPECT_FALSE(c.autoProxyDetection());
  EXPECT_EQ(c.proxyServer(), "proxy.lan:3128");

  const UploadProfile p = c.profile(2);
  EXPECT_EQ(p.name(), "Portada");
  EXPECT_TRUE(p.hasReport(kReportNoaaThisMonth));
  EXPECT_TRUE(p.hasReport(kReportTwoDayFile));
  EXPECT_TRUE(p.hasReport(kReportWeekFile));
  EXPECT_FALSE(p.hasReport(kReportNoaaLastMonth));
  EXPECT_EQ(p.currentImageDir(), "img/now");
  EXPECT_EQ(p.historyImageDir(), "img/past");
  EXPECT_EQ(p.reportDir(), "reports");
  EXPECT_EQ(p.pageDir(), "www/cur");
  EXPECT_EQ(p.listName(), "Profile3.lst");
  EXPECT_EQ(p.extension(), "html");
  EXPECT_EQ(p.interval(), 15);
  EXPECT_EQ(p.startMinute(), 1439);
  EXPECT_EQ(p.templateCount(), 4);
  EXPECT_EQ(p.reportCount(), 2);
  EXPECT_TRUE(p.downloadFirst());
  EXPECT_TRUE(p.enabled());
  EXPECT_TRUE(p.dialUp());
  EXPECT_EQ(p.currentImageMask(), 0x8000000000000005ULL);
  EXPECT_EQ(p.historyImageMask(), 0x2ULL);
  EXPECT_EQ(p.imageSize(), 3);
  EXPECT_EQ(p.imageOptions(), 0x41);
  // Loading resets the run bookkeeping.
  EXPECT_FALSE(p.doneThisPeriod());
  EXPECT_EQ(p.lastRunMinute(), -1);
  EXPECT_EQ(c.profile(0).name(), "");
  EXPECT_EQ(displayName(c.profile(0), 0), "Perfil 1");
}

TEST(InetConfigTest, SaveKeepsUnknownBytesAndIsPrivate) {
  platform::MemFileSystem files;
  const std::string original = handWrittenRecord();
  files.setContents("/st/Inet-Configuration.cfg", original);
  auto loaded = loadInetConfig(files, "/st");
  ASSERT_TRUE(loaded);
  InetConfig c = loaded->config;
  ASSERT_TRUE(c.setFtpPassword("x"));
  ASSERT_TRUE(saveInetConfig(files, "/st", c));
  const std::string saved = files.contents("/st/Inet-Configuration.cfg");
  ASSERT_EQ(saved.size(), 6144u);
  EXPECT_TRUE(files.isPrivate("/st/Inet-Configuration.cfg"));
  EXPECT_EQ(saved[300], original[300]);
  EXPECT_EQ(saved[kProfile3 + 400], original[kProfile3 + 400]);
  EXPECT_EQ(saved[6143], original[6143]);
  // The shorter password leaves no tail of the longer one behind.
  EXPECT_EQ(saved.substr(128, 64), std::string("x") + std::string(63, '\0'));
}

TEST(InetConfigTest, NewRecordDefaults) {
  const InetConfig c;
  EXPECT_EQ(c.ftpPath(), "\\");
  EXPECT_EQ(c.ftpPort(), 21);
  EXPECT_EQ(c.version(), 2);
  EXPECT_EQ(c.accessType(), 2);
  EXPECT_TRUE(c.autoProxyDetection());
  EXPECT_EQ(std::to_integer<int>(c.bytes()[662]), 5);
  EXPECT_EQ(std::to_integer<int>(c.bytes()[663]), 5);
  EXPECT_EQ(c.profile(7).listName(), "Profile8.lst");
  EXPECT_EQ(c.profile(7).extension(), "htm");
  EXPECT_EQ(c.profile(7).startMinute(), 3);
  EXPECT_EQ(c.profile(7).lastRunMinute(), -1);
  EXPECT_FALSE(c.profile(7).enabled());
}

TEST(InetConfigTest, RefusedTextLeavesFieldUnchanged) {
  InetConfig c;
  ASSERT_TRUE(c.setFtpHost("ftp.example.net"));
  EXPECT_FALSE(c.setFtpHost(std::string(64, 'h')));
  EXPECT_FALSE(c.setFtpHost("a\tb"));
  EXPECT_EQ(c.ftpHost(), "ftp.example.net");
  EXPECT_TRUE(c.setFtpHost(std::string(63, 'h')));
  UploadProfile p = c.profile(0);
  EXPECT_FALSE(p.setListName("../x.lst"));
  EXPECT_FALSE(p.setExtension("toolong"));
  EXPECT_EQ(p.listName(), "Profile1.lst");
}

struct LoadCase {
  const char* name;
  std::size_t size;
  unsigned version;
  bool older;
  InetConfigSource want;
};

TEST(InetConfigTest, FilesThatAreNotTakenGiveDefaultsAndStayUntouched) {
  const LoadCase cases[] = {
      {"none", 0, 0, false, InetConfigSource::kDefaults},
      {"only older file", 0, 0, true, InetConfigSource::kOlderFileIgnored},
      {"wrong version", 6144, 1, false, InetConfigSource::kInvalidFile},
      {"short file", 6000, 2, true, InetConfigSource::kInvalidFile},
  };
  for (const auto& tc : cases) {
    platform::MemFileSystem files;
    std::string stored;
    if (tc.size != 0) {
      stored.assign(tc.size, '\0');
      stored[4772] = static_cast<char>(tc.version);
      files.setContents("/st/Inet-Configuration.cfg", stored);
    }
    if (tc.older) files.setContents("/st/Internet.cfg", std::string(3428, 'o'));
    auto loaded = loadInetConfig(files, "/st");
    ASSERT_TRUE(loaded) << tc.name;
    EXPECT_EQ(loaded->source, tc.want) << tc.name;
    EXPECT_EQ(loaded->config.ftpPort(), 21) << tc.name;
    EXPECT_EQ(files.contents("/st/Inet-Configuration.cfg"), stored) << tc.name;
    if (tc.older) {
      EXPECT_EQ(files.contents("/st/Internet.cfg"), std::string(3428, 'o')) << tc.name;
    }
  }
}

}  // namespace
}  // namespace publish
