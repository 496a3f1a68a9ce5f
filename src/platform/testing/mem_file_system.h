#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>

#include "platform/file_system.h"

namespace platform {

// An in-memory file system for tests. Each file remembers what was last synced, so a
// test can simulate a power cut (`dropUnsyncedData`) and see what a crash would leave.
// Directories are implied by the files under them and by createDirectories.
class MemFileSystem : public FileSystem {
 public:
  MemFileSystem();
  ~MemFileSystem() override;

  Result<std::unique_ptr<File>> open(const std::string& path, OpenMode mode) override;
  Result<std::string> readFile(const std::string& path) override;
  Status replaceFileAtomically(const std::string& path, std::string_view bytes,
                               bool privateMode = false) override;
  Result<std::vector<DirEntry>> listDirectory(const std::string& path) override;
  bool exists(const std::string& path) override;
  bool isDirectory(const std::string& path) override;
  Status createDirectories(const std::string& path) override;
  Status removeFile(const std::string& path) override;
  Status removeAll(const std::string& path) override;
  Status rename(const std::string& from, const std::string& to) override;
  Status copyFile(const std::string& from, const std::string& to) override;

  // Test helpers.
  void setContents(const std::string& path, std::string bytes);  // as if synced
  std::string contents(const std::string& path) const;           // "" when missing
  // Every file goes back to its last synced contents.
  void dropUnsyncedData();
  // When set, every write and replace fails with kIo.
  void failWrites(bool fail) { failWrites_ = fail; }
  bool isPrivate(const std::string& path) const;

  struct Node {
    std::string data;
    std::string synced;
    bool privateMode = false;
  };

 private:
  std::shared_ptr<Node> find(const std::string& path) const;
  static std::string normalize(const std::string& path);

  std::map<std::string, std::shared_ptr<Node>> files_;
  std::set<std::string> dirs_;
  bool failWrites_ = false;
  friend class MemFile;
};

}  // namespace platform
