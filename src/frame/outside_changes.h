#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace frame {

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
  void remember(std::string bytes) { base_ = std::move(bytes); }
  // The file's bytes now, when they differ from what was remembered and can be read;
  // nullopt when the file is as the program left it (or gone: nothing to adopt).
  std::optional<std::string> changedOutside(platform::FileSystem& files) const;

 private:
  std::string path_;
  std::string base_;
};

// The outside version `theirs` with the program's own pending change applied: every byte
// where `mine` differs from `base` (what the program read) is the program's; every other
// byte is taken from `theirs`. The three are records of one fixed layout.
// REQUIRES: base, mine and theirs are of one size
std::string mergeOwnChanges(std::string_view base, std::string_view mine, std::string_view theirs);

}  // namespace frame
