#include "platform/file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/testing/mem_file_system.h"

namespace platform {
namespace {

std::span<const std::byte> bytesOf(std::string_view s) {
  return std::as_bytes(std::span(s.data(), s.size()));
}

TEST(MemFileSystem, PowerCutKeepsOnlySyncedBytes) {
  MemFileSystem fs;
  auto f = fs.open("st/2006-03.slg", OpenMode::kReadWriteCreate);
  ASSERT_TRUE(f.isOk());
  ASSERT_TRUE((*f)->writeAt(0, bytesOf("header")).isOk());
  ASSERT_TRUE((*f)->sync().isOk());
  ASSERT_TRUE((*f)->writeAt(6, bytesOf("record")).isOk());
  fs.dropUnsyncedData();
  EXPECT_EQ(fs.contents("st/2006-03.slg"), "header");
  EXPECT_TRUE(fs.isDirectory("st"));
  auto list = fs.listDirectory("st");
  ASSERT_TRUE(list.isOk());
  ASSERT_EQ(list->size(), 1u);
  EXPECT_EQ((*list)[0].name, "2006-03.slg");
}

TEST(MemFileSystem, MissingFileIsNotFound) {
  MemFileSystem fs;
  EXPECT_EQ(fs.open("nope", OpenMode::kReadWrite).status().kind(), Errc::kNotFound);
  EXPECT_EQ(fs.readFile("nope").status().kind(), Errc::kNotFound);
}

TEST(PosixFileSystem, ReplaceAtomicallyWritesWholeFileAndPrivateMode) {
  auto dir =
      std::filesystem::temp_directory_path() / ("stratalog-fs-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  FileSystem& fs = defaultFileSystem();
  std::string path = joinPath(dir.string(), "tsp.utl");
  ASSERT_TRUE(fs.replaceFileAtomically(path, "old").isOk());
  ASSERT_TRUE(fs.replaceFileAtomically(path, "secret", /*privateMode=*/true).isOk());
  EXPECT_EQ(*fs.readFile(path), "secret");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  auto list = fs.listDirectory(dir.string());
  ASSERT_TRUE(list.isOk());
  EXPECT_EQ(list->size(), 1u) << "no temporary file is left behind";
  std::filesystem::remove_all(dir);
}

// The data files (a month file, download.log through its temporary file) follow the
// umask; credentials stay the owner's alone.
TEST(PosixFileSystem, NewFilesFollowTheUmaskExceptCredentials) {
  auto dir = std::filesystem::temp_directory_path() /
             ("stratalog-mode-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  FileSystem& fs = defaultFileSystem();
  auto modeOf = [](const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 0777;
  };
  struct Case {
    mode_t umask;
    mode_t shared;
  };
  for (const Case c : {Case{022, 0644}, Case{027, 0640}}) {
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const mode_t saved = ::umask(c.umask);
    const std::string month = joinPath(dir.string(), "2026-12.slg");
    const std::string temp = joinPath(dir.string(), "download.tmp");
    const std::string log = joinPath(dir.string(), "download.log");
    const std::string cfg = joinPath(dir.string(), "STATION.CFG");
    const std::string settings = joinPath(dir.string(), "progdata.dat");
    EXPECT_TRUE(fs.open(month, OpenMode::kReadWriteCreate).isOk());
    EXPECT_TRUE(fs.open(temp, OpenMode::kTruncate).isOk());
    EXPECT_TRUE(fs.rename(temp, log).isOk());
    EXPECT_TRUE(fs.replaceFileAtomically(settings, "x").isOk());
    EXPECT_TRUE(fs.replaceFileAtomically(cfg, "x", /*privateMode=*/true).isOk());
    ::umask(saved);
    EXPECT_EQ(modeOf(month), c.shared) << std::oct << c.umask;
    EXPECT_EQ(modeOf(log), c.shared) << std::oct << c.umask;
    EXPECT_EQ(modeOf(settings), c.shared) << std::oct << c.umask;
    EXPECT_EQ(modeOf(cfg), 0600u) << std::oct << c.umask;
  }
  std::filesystem::remove_all(dir);
}

TEST(PosixFileSystem, MappedPrefixIsInTheFileAtOnce) {
  auto dir =
      std::filesystem::temp_directory_path() / ("stratalog-map-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  FileSystem& fs = defaultFileSystem();
  std::string path = joinPath(dir.string(), "2006-03.slg");
  {
    auto f = fs.open(path, OpenMode::kReadWriteCreate);
    ASSERT_TRUE(f.isOk());
    EXPECT_TRUE((*f)->mappedPrefix(4).empty()) << "an empty file has nothing to map";
    ASSERT_TRUE((*f)->writeAt(0, bytesOf("headerrecord")).isOk());
    auto map = (*f)->mappedPrefix(6);
    ASSERT_EQ(map.size(), 6u);
    std::memcpy(map.data(), "HEADER", 6);
    // Another reader sees the store without any write or sync: a killed process loses
    // nothing it stored through the mapping.
    EXPECT_EQ(*fs.readFile(path), "HEADERrecord");
    ASSERT_TRUE((*f)->sync().isOk());
  }
  auto readOnly = fs.open(path, OpenMode::kRead);
  ASSERT_TRUE(readOnly.isOk());
  EXPECT_TRUE((*readOnly)->mappedPrefix(6).empty());
  std::filesystem::remove_all(dir);
}

TEST(PosixFileSystem, OnlyARegularFileIsOpened) {
  auto dir =
      std::filesystem::temp_directory_path() / ("stratalog-fifo-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  FileSystem& fs = defaultFileSystem();
  const std::string path = joinPath(dir.string(), "intl.ini");
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  // With a writer holding the FIFO open a blocking open would return, and the reader would
  // take the FIFO for an empty file.
  const int writer = ::open(path.c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(writer, 0);
  auto text = fs.readFile(path);
  ::close(writer);
  ASSERT_FALSE(text.isOk());
  EXPECT_NE(text.status().message().find(path), std::string::npos) << text.status().message();
  // With no writer at all, nothing waits for one.
  EXPECT_FALSE(fs.readFile(path).isOk());
  for (OpenMode mode : {OpenMode::kRead, OpenMode::kReadWrite, OpenMode::kReadWriteCreate}) {
    EXPECT_FALSE(fs.open(path, mode).isOk());
  }
  EXPECT_FALSE(fs.readFile(dir.string()).isOk());
  // A regular file reads as before.
  const std::string plain = joinPath(dir.string(), "rain.db");
  ASSERT_TRUE(fs.replaceFileAtomically(plain, "abc").isOk());
  EXPECT_EQ(*fs.readFile(plain), "abc");
  std::filesystem::remove_all(dir);
}

TEST(JoinPath, OneSlashBetweenPieces) {
  EXPECT_EQ(joinPath("a/", "/b"), "a/b");
  EXPECT_EQ(joinPath("/", "b"), "/b");
  EXPECT_EQ(joinPath("", "b"), "b");
}

}  // namespace
}  // namespace platform
