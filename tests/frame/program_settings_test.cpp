#include "frame/program_settings.h"

#include <gtest/gtest.h>

#include <map>

#include "frame/messages.h"
#include "platform/testing/mem_file_system.h"
#include "platform/testing/scripted_user_interface.h"
#include "quantities/units.h"

namespace frame {
namespace {

using platform::FakeClock;
using platform::MemFileSystem;
using platform::ScriptedUserInterface;

constexpr const char* kPath = "/prog/progdata.dat";

std::string bytesOf(const ProgramSettings& s) {
  return std::string(reinterpret_cast<const char*>(s.bytes().data()), s.bytes().size());
}

// The defaults, byte by byte; every byte not listed is zero.
const std::map<std::size_t, unsigned char> kDefaultBytes = {
    {4, 1},   {6, 5},   {8, 5},      {10, 1},      // elevation in feet, markers, version
    {12, 1},  {790, 5}, {792, 0xFF}, {793, 0xFF},  // minute 5, no last download hour
    {922, 9},
};

void expectDefaults(const std::string& bytes) {
  ASSERT_EQ(bytes.size(), 2048u);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i >= 244 && i < 504) continue;  // the program directory, set at every start
    auto want = kDefaultBytes.count(i) ? kDefaultBytes.at(i) : 0;
    ASSERT_EQ(static_cast<unsigned char>(bytes[i]), want) << "offset " << i;
  }
}

class ProgramSettingsTest : public ::testing::Test {
 protected:
  ProgramSettingsTest() { ui_.watch(unattended_); }
  MemFileSystem fs_;
  FakeClock clock_;
  EventLog log_{fs_, clock_, "/prog"};
  ScriptedUserInterface ui_;
  platform::UnattendedFlag unattended_;
  Messages messages_{log_, ui_, unattended_};
};

TEST_F(ProgramSettingsTest, NewRecordHoldsTheDefaults) {
  expectDefaults(bytesOf(ProgramSettings()));
}

struct BadFileCase {
  const char* name;
  std::optional<std::string> contents;  // nullopt: no file
  std::string_view message;
};

class ProgramSettingsReplaced : public ProgramSettingsTest,
                                public ::testing::WithParamInterface<BadFileCase> {};

std::string versionTwo() {
  std::string bytes(2048, '\x33');
  bytes[10] = 2;
  bytes[11] = 0;
  return bytes;
}

constexpr std::string_view kCannotOpen = "No se pudieron abrir los datos de config. del programa.";
constexpr std::string_view kOldVersion =
    "Se encontró una versión antigua del archivo de configuración del programa. Se sustituirá "
    "con la versión nueva. Algunas configuraciones pueden perderse.";

TEST_P(ProgramSettingsReplaced, ByDefaultsWithTheMessage) {
  const BadFileCase& c = GetParam();
  ASSERT_TRUE(fs_.createDirectories("/prog").isOk());
  if (c.contents) fs_.setContents(kPath, *c.contents);
  auto settings = loadProgramSettingsAtStart(fs_, "/prog", messages_);
  ASSERT_TRUE(settings.isOk());
  ASSERT_EQ(ui_.messages().size(), 1u);
  EXPECT_EQ(ui_.messages()[0].title, "Error");
  EXPECT_EQ(ui_.messages()[0].text, c.message);
  fs_.dropUnsyncedData();
  expectDefaults(fs_.contents(kPath));
  EXPECT_EQ(settings->programDirectory(), "/prog");
  EXPECT_EQ(settings->layoutVersion(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgramSettingsReplaced,
    ::testing::Values(BadFileCase{"empty", std::string(), kOldVersion},
                      BadFileCase{"short", std::string(2047, '\0'), kOldVersion},
                      BadFileCase{"long", std::string(2049, '\0'), kOldVersion},
                      BadFileCase{"version_two", versionTwo(), kOldVersion},
                      BadFileCase{"version_zero", std::string(2048, '\0'), kOldVersion}),
    [](const auto& info) { return std::string(info.param.name); });

// A first start in a new program directory: the file is made with the defaults and
// nobody is told that something went wrong.
TEST_F(ProgramSettingsTest, FirstStartCreatesTheFileWithoutAMessage) {
  ASSERT_TRUE(fs_.createDirectories("/prog").isOk());
  auto settings = loadProgramSettingsAtStart(fs_, "/prog", messages_);
  ASSERT_TRUE(settings.isOk());
  EXPECT_TRUE(ui_.messages().empty());
  fs_.dropUnsyncedData();
  expectDefaults(fs_.contents(kPath));
  EXPECT_EQ(settings->programDirectory(), "/prog");
}

// progdata.dat is there but the system refuses to open it (permissions, say).
class UnopenableSettings : public MemFileSystem {
 public:
  platform::Result<std::unique_ptr<platform::File>> open(const std::string& path,
                                                         platform::OpenMode mode) override {
    if (path == kPath && mode == platform::OpenMode::kRead)
      return platform::Status::io(path + ": permission denied");
    return MemFileSystem::open(path, mode);
  }
};

TEST(ProgramSettingsAtStart, FileThatCannotBeOpenedIsReplacedAfter61865) {
  UnopenableSettings fs;
  fs.setContents(kPath, std::string(2048, '\x11'));
  FakeClock clock;
  EventLog log{fs, clock, "/prog"};
  ScriptedUserInterface ui;
  platform::UnattendedFlag unattended;
  Messages messages{log, ui, unattended};
  auto settings = loadProgramSettingsAtStart(fs, "/prog", messages);
  ASSERT_TRUE(settings.isOk());
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.messages()[0].text, kCannotOpen);
  fs.dropUnsyncedData();
  expectDefaults(fs.contents(kPath));
}

TEST_F(ProgramSettingsTest, UnknownBytesSurviveAStartAndASave) {
  std::string original(2048, '\0');
  for (std::size_t i = 0; i < original.size(); ++i) original[i] = static_cast<char>(i * 7 + 3);
  original[10] = 1;
  original[11] = 0;
  fs_.setContents(kPath, original);

  auto settings = loadProgramSettingsAtStart(fs_, "/prog", messages_);
  ASSERT_TRUE(settings.isOk());
  EXPECT_TRUE(ui_.shown().empty());
  ASSERT_TRUE(saveProgramSettingsAtExit(*settings, fs_, "/prog", messages_).isOk());

  const std::string saved = fs_.contents(kPath);
  ASSERT_EQ(saved.size(), 2048u);
  // What a start and a save may change: markers 6, 8, 922, the field at 12 (kept here
  // because it holds neither 0 nor 1), the program directory, the last download hour and
  // the leap-year notice.
  auto changes = [](std::size_t i) {
    return (i >= 6 && i < 10) || (i >= 244 && i < 504) || i == 792 || i == 793 || i == 920 ||
           i == 922 || i == 923;
  };
  for (std::size_t i = 0; i < saved.size(); ++i) {
    if (!changes(i)) {
      ASSERT_EQ(saved[i], original[i]) << "offset " << i;
    }
  }
  EXPECT_EQ(saved.substr(6, 4), std::string("\x05\x00\x05\x00", 4));
  EXPECT_EQ(saved.substr(12, 2), original.substr(12, 2));
  EXPECT_EQ(saved.substr(792, 2), "\xFF\xFF");
  EXPECT_EQ(saved[920], '\0');
  EXPECT_EQ(saved.substr(922, 2), std::string("\x09\x00", 2));
  EXPECT_EQ(saved.substr(244, 6), std::string("/prog\0", 6));
}

TEST_F(ProgramSettingsTest, InterruptedSaveLeavesTheOldFileWhole) {
  std::string original(2048, '\x11');
  fs_.setContents(kPath, original);
  ProgramSettings settings;
  fs_.failWrites(true);
  EXPECT_FALSE(saveProgramSettingsAtExit(settings, fs_, "/prog", messages_).isOk());
  EXPECT_EQ(fs_.contents(kPath), original);
  ASSERT_EQ(ui_.messages().size(), 1u);
  EXPECT_EQ(ui_.messages()[0].text, "Error guardando el archivo de configuración del programa.");
}

// Forwards to a MemFileSystem; files opened from it fail every read.
class UnreadableFileSystem : public MemFileSystem {
 public:
  platform::Result<std::unique_ptr<platform::File>> open(const std::string& path,
                                                         platform::OpenMode mode) override {
    auto file = MemFileSystem::open(path, mode);
    if (!file) return file;
    return std::unique_ptr<platform::File>(new Unreadable(std::move(*file)));
  }

 private:
  class Unreadable : public platform::File {
   public:
    explicit Unreadable(std::unique_ptr<platform::File> f) : f_(std::move(f)) {}
    platform::Result<std::size_t> readAt(std::uint64_t, std::span<std::byte>) override {
      return platform::Status::io("bad sector");
    }
    platform::Status writeAt(std::uint64_t o, std::span<const std::byte> b) override {
      return f_->writeAt(o, b);
    }
    platform::Result<std::uint64_t> size() override { return f_->size(); }
    platform::Status truncate(std::uint64_t s) override { return f_->truncate(s); }
    platform::Status sync() override { return f_->sync(); }

   private:
    std::unique_ptr<platform::File> f_;
  };
};

TEST_F(ProgramSettingsTest, ReadErrorEndsTheProgramAndKeepsTheFile) {
  UnreadableFileSystem fs;
  std::string original(2048, '\x22');
  fs.setContents(kPath, original);
  auto settings = loadProgramSettingsAtStart(fs, "/prog", messages_);
  EXPECT_FALSE(settings.isOk());
  ASSERT_EQ(ui_.messages().size(), 1u);
  EXPECT_EQ(ui_.messages()[0].text,
            "Error al leer el Archivo de Configuración del Programa. Imposible iniciar Stratalog!");
  EXPECT_EQ(fs.contents(kPath), original);
}

TEST(ProgramSettings, FieldsLandAtTheirOffsets) {
  ProgramSettings s;
  s.setUnitCodes({1, 3, 1, 2, 0});
  s.setDownloadInHour(7, true);
  s.setDownloadMinute(-3);
  s.setAutoDownloadEnabled(true);
  s.setLastDownloadHour(13);
  s.setFramePlacement({1, -2, 800, 600});
  s.setFrameMaximised(true);
  s.setLeapYearNoticeShown(true);
  const std::string b = bytesOf(s);
  EXPECT_EQ(b.substr(0, 5), std::string("\x01\x03\x01\x02\x00", 5));
  EXPECT_EQ(b[766 + 7], '\x01');
  EXPECT_EQ(b[790], '\xFD');
  EXPECT_EQ(b[791], '\x01');
  EXPECT_EQ(b.substr(792, 2), std::string("\x0D\x00", 2));
  EXPECT_EQ(b.substr(116, 20), std::string("\x01\x00\x00\x00\xFE\xFF\xFF\xFF\x20\x03\x00\x00"
                                           "\x58\x02\x00\x00\x01\x00\x00\x00",
                                           20));
  EXPECT_EQ(b[920], '\x01');
}

TEST(ProgramSettings, UnitCodesReachTheUnitLayer) {
  ProgramSettings s;
  s.setUnitCodes({1, 2, 1, 3, 0});
  quantities::Units units;
  applyUnits(s, units);
  EXPECT_EQ(units.GetTempUnit(), quantities::kCelsius);
  EXPECT_EQ(units.GetBarUnit(), quantities::kMillibars);
  EXPECT_EQ(units.GetRainUnit(), quantities::kMillimetres);
  EXPECT_EQ(units.GetWindSpeedUnit(), quantities::kMetresPerSecond);
  EXPECT_EQ(units.GetElevUnit(), quantities::kMetres);
  (void)units.SetTempUnit(quantities::kFahrenheit);
  units.RestoreUnits();
  EXPECT_EQ(units.GetTempUnit(), quantities::kCelsius);
}

TEST(ProgramSettings, ScreenChangeZeroesOnlyTheScreenBoundPlacements) {
  std::string bytes(2048, '\0');
  for (std::size_t at = 16; at < 236; ++at) bytes[at] = '\x01';
  for (std::size_t at = 860; at < 880; ++at) bytes[at] = '\x01';
  bytes[10] = 1;
  auto s = ProgramSettings::decode(std::as_bytes(std::span(bytes)));
  ASSERT_TRUE(s.isOk());

  ProgramSettings same = *s;
  same.adjustForScreen(0, 0);  // the stored size: nothing moves
  EXPECT_EQ(bytesOf(same), bytes);

  s->adjustForScreen(1920, 1080);
  const std::string b = bytesOf(*s);
  for (std::size_t at : {16, 36, 56, 76, 96, 116, 136, 176, 216}) {
    EXPECT_EQ(b.substr(at, 20), std::string(20, '\0')) << "placement at " << at;
  }
  for (std::size_t at : {156, 196, 860}) {
    EXPECT_EQ(b.substr(at, 20), std::string(20, '\x01')) << "placement at " << at;
  }
  EXPECT_EQ(b.substr(236, 8), std::string("\x80\x07\x00\x00\x38\x04\x00\x00", 8));
}

// The two directory fields are paths: bytes in, the same bytes out.
TEST(ProgramSettings, DirectoryFieldsKeepPathBytes) {
  ProgramSettings s;
  const std::string fits(259, 'd');
  s.setProgramDirectory(fits);
  EXPECT_EQ(s.programDirectory(), fits);
  // 258 bytes and a two-byte character: cut anywhere, it would name another directory.
  s.setProgramDirectory(std::string(258, 'd') + "\xC3\xB3");
  EXPECT_EQ(s.programDirectory(), "");
  EXPECT_EQ(bytesOf(s).substr(244, 260), std::string(260, '\0'));

  const std::string latin1 = "/datos/Jard\xEDn";  // a folder named in Latin-1
  s.setLastStationDirectory(latin1);
  EXPECT_EQ(bytesOf(s).substr(504, latin1.size() + 1), latin1 + std::string(1, '\0'));
  std::string bytes = bytesOf(s);
  auto read = ProgramSettings::decode(std::as_bytes(std::span(bytes)));
  ASSERT_TRUE(read.isOk());
  EXPECT_EQ(read->lastStationDirectory(), latin1) << "never read as Windows-1252";
}

}  // namespace
}  // namespace frame
