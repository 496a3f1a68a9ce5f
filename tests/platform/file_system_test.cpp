#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/file_system.h"
#include "platform/testing/mem_file_system.h"

namespace platform {
namespace {

std::span<const std::byte> bytesOf(std::string_view s) { return std::as_bytes(std::span(s.data(), s.size())); }

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
  auto dir = std::filesystem::temp_directory_path() / ("stratalog-fs-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  FileSystem& fs = defaultFileSystem();
  std::string path = joinPath(dir.string(), "tsp.utl");
  ASSERT_TRUE(fs.replaceFileAtomically(path, "old").isOk());
  ASSERT_TRUE(fs.replaceFileAtomically(path, "secret", /*privateMode=*/true).isOk());
  EXPECT_EQ(*fs.readFile(path), "secret");
  struct stat st{};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  auto list = fs.listDirectory(dir.string());
  ASSERT_TRUE(list.isOk());
  EXPECT_EQ(list->size(), 1u) << "no temporary file is left behind";
  std::filesystem::remove_all(dir);
}

TEST(PosixFileSystem, MappedPrefixIsInTheFileAtOnce) {
  auto dir = std::filesystem::temp_directory_path() / ("stratalog-map-" + std::to_string(::getpid()));
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

TEST(JoinPath, OneSlashBetweenPieces) {
  EXPECT_EQ(joinPath("a/", "/b"), "a/b");
  EXPECT_EQ(joinPath("/", "b"), "/b");
  EXPECT_EQ(joinPath("", "b"), "b");
}

}  // namespace
}  // namespace platform
