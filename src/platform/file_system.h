#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace platform {

// An open file with positioned reads and writes. Not thread-safe.
class File {
 public:
  virtual ~File() = default;
  // Reads up to into.size() bytes at `offset`. Returns the count read; fewer than asked
  // means the end of the file was reached.
  virtual Result<std::size_t> readAt(std::uint64_t offset, std::span<std::byte> into) = 0;
  // Writes all of `bytes` at `offset`, growing the file if needed.
  virtual Status writeAt(std::uint64_t offset, std::span<const std::byte> bytes) = 0;
  virtual Result<std::uint64_t> size() = 0;
  virtual Status truncate(std::uint64_t size) = 0;
  // Brings what was written to stable storage.
  virtual Status sync() = 0;
  // The first `bytes` bytes of the file as writable memory shared with the file, for a
  // header that is rewritten after every small append: a store into it costs no system
  // call and is in the file as soon as it is made (it survives the process; sync() brings
  // it to the disk). Empty when the file cannot be mapped (read-only, shorter than
  // `bytes`, or a file system without mappings); callers then use writeAt. Valid until
  // the file is closed or truncated.
  virtual std::span<std::byte> mappedPrefix(std::size_t /*bytes*/) { return {}; }
};

enum class OpenMode {
  kRead,             // must exist; read only
  kReadWrite,        // must exist
  kReadWriteCreate,  // created when missing, with the process's umask applied to 0666
  kTruncate,         // created (as above) or emptied; read/write
};

struct DirEntry {
  std::string name;
  bool isDirectory = false;
};

// The file system as the program sees it. Paths use '/'. Every failure comes back as a
// Status naming the path; kNotFound when the path does not exist.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual Result<std::unique_ptr<File>> open(const std::string& path, OpenMode mode) = 0;
  virtual Result<std::string> readFile(const std::string& path) = 0;
  // Replaces `path` so that a crash leaves either the old or the new contents whole:
  // temporary file in the same directory, sync, rename, sync of the directory.
  // The file gets the process's umask applied to 0666; `privateMode` gives it 0600
  // whatever the umask (credentials).
  virtual Status replaceFileAtomically(const std::string& path, std::string_view bytes,
                                       bool privateMode = false) = 0;
  virtual Result<std::vector<DirEntry>> listDirectory(const std::string& path) = 0;
  virtual bool exists(const std::string& path) = 0;
  virtual bool isDirectory(const std::string& path) = 0;
  virtual Status createDirectories(const std::string& path) = 0;
  virtual Status removeFile(const std::string& path) = 0;
  // Removes a directory and all it holds.
  virtual Status removeAll(const std::string& path) = 0;
  virtual Status rename(const std::string& from, const std::string& to) = 0;
  virtual Status copyFile(const std::string& from, const std::string& to) = 0;
};

// The real file system.
FileSystem& defaultFileSystem();

// Joins two path pieces with exactly one '/'.
std::string joinPath(std::string_view dir, std::string_view name);

}  // namespace platform
