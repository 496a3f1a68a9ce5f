#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "platform/file_system.h"
#include "platform/mem_file_system.h"

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

TEST(JoinPath, OneSlashBetweenPieces) {
  EXPECT_EQ(joinPath("a/", "/b"), "a/b");
  EXPECT_EQ(joinPath("/", "b"), "/b");
  EXPECT_EQ(joinPath("", "b"), "b");
}

}  // namespace
}  // namespace platform
