#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace frame {

// What a settings file looked like when the program last read or wrote it.
struct FileFingerprint {
  bool exists = false;
  std::uint64_t size = 0;
  std::optional<std::int64_t> modified;
  std::uint64_t hash = 0;

  bool operator==(const FileFingerprint&) const = default;
};

// FNV-1a over the bytes: enough to tell an edited file from the one remembered.
std::uint64_t hashBytes(std::string_view bytes);
FileFingerprint fingerprintOf(platform::FileSystem& files, const std::string& path,
                              const std::optional<std::string>& bytes);

// A settings file the running program holds in memory and writes back later (progdata.dat,
// STATION.CFG). It remembers the bytes it last read or wrote, so that before it writes
// again it can tell whether someone else (a command, an editor) changed the file since,
// and take that change instead of overwriting it.
class HeldFile {
 public:
  HeldFile() = default;
  explicit HeldFile(std::string path) : path_(std::move(path)) {}

  const std::string& path() const { return path_; }
  bool held() const { return !path_.empty(); }
  // The bytes as last read or written.
  const std::string& base() const { return base_; }

  // After the program read or wrote `bytes` to the file.
  void remember(platform::FileSystem& files, std::string bytes);
  // The file's bytes now, when they differ from what was remembered and can be read;
  // nullopt when the file is as the program left it (or gone: nothing to adopt).
  std::optional<std::string> changedOutside(platform::FileSystem& files) const;

 private:
  std::string path_;
  std::string base_;
  FileFingerprint fingerprint_;
};

// The outside version `theirs` with the program's own pending change applied: every byte
// where `mine` differs from `base` (what the program read) is the program's; every other
// byte is taken from `theirs`. The three are records of one fixed layout.
// REQUIRES: base, mine and theirs are of one size
std::string mergeOwnChanges(std::string_view base, std::string_view mine, std::string_view theirs);

}  // namespace frame
