#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/file_system.h"

namespace platform {

namespace {

Status posixError(const std::string& context, int err) {
  std::string msg = context + ": " + std::strerror(err);
  if (err == ENOENT) return Status(Errc::kNotFound, msg, err);
  if (err == EACCES || err == EPERM) return Status(Errc::kPermission, msg, err);
  return Status(Errc::kIo, msg, err);
}

Status fsError(const std::string& context, const std::error_code& ec) {
  return posixError(context, ec.value());
}

class PosixFile final : public File {
 public:
  PosixFile(int fd, std::string path, bool writable)
      : fd_(fd), path_(std::move(path)), writable_(writable) {}
  ~PosixFile() override {
    unmap();
    ::close(fd_);
  }

  std::span<std::byte> mappedPrefix(std::size_t bytes) override {
    if (map_ != nullptr && bytes <= mapBytes_) return {static_cast<std::byte*>(map_), bytes};
    if (!writable_ || map_ != nullptr || bytes == 0) return {};
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || static_cast<std::uint64_t>(st.st_size) < bytes) return {};
    void* p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
    if (p == MAP_FAILED) return {};
    map_ = p;
    mapBytes_ = bytes;
    return {static_cast<std::byte*>(map_), bytes};
  }

  Result<std::size_t> readAt(std::uint64_t offset, std::span<std::byte> into) override {
    std::size_t done = 0;
    while (done < into.size()) {
      ssize_t n =
          ::pread(fd_, into.data() + done, into.size() - done, static_cast<off_t>(offset + done));
      if (n < 0) {
        if (errno == EINTR) continue;
        return posixError(path_, errno);
      }
      if (n == 0) break;
      done += static_cast<std::size_t>(n);
    }
    return done;
  }

  Status writeAt(std::uint64_t offset, std::span<const std::byte> bytes) override {
    std::size_t done = 0;
    while (done < bytes.size()) {
      ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done,
                           static_cast<off_t>(offset + done));
      if (n < 0) {
        if (errno == EINTR) continue;
        return posixError(path_, errno);
      }
      done += static_cast<std::size_t>(n);
    }
    return Status::ok();
  }

  Result<std::uint64_t> size() override {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return posixError(path_, errno);
    return static_cast<std::uint64_t>(st.st_size);
  }

  Status truncate(std::uint64_t size) override {
    if (size < mapBytes_) unmap();
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) return posixError(path_, errno);
    return Status::ok();
  }

  Status sync() override {
    if (map_ != nullptr && ::msync(map_, mapBytes_, MS_SYNC) != 0) return posixError(path_, errno);
    if (::fdatasync(fd_) != 0) return posixError(path_, errno);
    return Status::ok();
  }

 private:
  void unmap() {
    if (map_ != nullptr) ::munmap(map_, mapBytes_);
    map_ = nullptr;
    mapBytes_ = 0;
  }

  int fd_;
  std::string path_;
  bool writable_;
  void* map_ = nullptr;
  std::size_t mapBytes_ = 0;
};

// Files are created readable by whom the umask allows (0644, or 0640 under a service's
// UMask=0027); credentials are for the owner alone.
constexpr mode_t kSharedFileMode = 0666;
constexpr mode_t kPrivateFileMode = 0600;

Status syncDirectoryOf(const std::string& path) {
  std::string dir = std::filesystem::path(path).parent_path().string();
  if (dir.empty()) dir = ".";
  int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return posixError(dir, errno);
  int rc = ::fsync(fd);
  int err = errno;
  ::close(fd);
  if (rc != 0) return posixError(dir, err);
  return Status::ok();
}

class PosixFileSystem final : public FileSystem {
 public:
  Result<std::unique_ptr<File>> open(const std::string& path, OpenMode mode) override {
    int flags = O_CLOEXEC;
    switch (mode) {
      case OpenMode::kRead:
        flags |= O_RDONLY;
        break;
      case OpenMode::kReadWrite:
        flags |= O_RDWR;
        break;
      case OpenMode::kReadWriteCreate:
        flags |= O_RDWR | O_CREAT;
        break;
      case OpenMode::kTruncate:
        flags |= O_RDWR | O_CREAT | O_TRUNC;
        break;
    }
    // Opened without blocking: a FIFO in place of a file would otherwise hold open() until
    // some writer came. Anything but a regular file is refused before it is read.
    // A new file gets the process's umask, so the service's group may read the data.
    int fd = ::open(path.c_str(), flags | O_NONBLOCK, kSharedFileMode);
    if (fd < 0) return posixError(path, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
      const int err = errno;
      ::close(fd);
      return posixError(path, err);
    }
    if (!S_ISREG(st.st_mode)) {
      ::close(fd);
      return Status(Errc::kUnsupported, path + ": not a regular file", EINVAL);
    }
    if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
      const int err = errno;
      ::close(fd);
      return posixError(path, err);
    }
    return std::unique_ptr<File>(new PosixFile(fd, path, mode != OpenMode::kRead));
  }

  // Goes through open(), so a FIFO or a device never blocks or feeds the reader.
  Result<std::string> readFile(const std::string& path) override {
    auto file = open(path, OpenMode::kRead);
    if (!file) return file.status();
    auto size = (*file)->size();
    if (!size) return size.status();
    std::string bytes(*size, '\0');
    auto n = (*file)->readAt(0, std::as_writable_bytes(std::span(bytes)));
    if (!n) return n.status();
    bytes.resize(*n);
    return bytes;
  }

  Status replaceFileAtomically(const std::string& path, std::string_view bytes,
                               bool privateMode) override {
    std::string tmp = path + ".tmp-" + std::to_string(::getpid());
    // A temporary file left by a crash keeps its old mode when reopened; a fresh one gets
    // the mode asked for, with the umask applied to a file that is not private.
    (void)::unlink(tmp.c_str());
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                    privateMode ? kPrivateFileMode : kSharedFileMode);
    if (fd < 0) return posixError(tmp, errno);
    // Credentials are owner read/write whatever the umask says.
    if (privateMode) ::fchmod(fd, kPrivateFileMode);
    std::size_t done = 0;
    while (done < bytes.size()) {
      ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
      if (n < 0) {
        if (errno == EINTR) continue;
        int err = errno;
        ::close(fd);
        ::unlink(tmp.c_str());
        return posixError(tmp, err);
      }
      done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) {
      int err = errno;
      ::close(fd);
      ::unlink(tmp.c_str());
      return posixError(tmp, err);
    }
    ::close(fd);
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
      int err = errno;
      ::unlink(tmp.c_str());
      return posixError(path, err);
    }
    return syncDirectoryOf(path);
  }

  Result<std::vector<DirEntry>> listDirectory(const std::string& path) override {
    std::error_code ec;
    std::vector<DirEntry> entries;
    for (std::filesystem::directory_iterator it(path, ec), end; !ec && it != end;
         it.increment(ec)) {
      std::error_code typeEc;
      entries.push_back({it->path().filename().string(), it->is_directory(typeEc)});
    }
    if (ec) return fsError(path, ec);
    return entries;
  }

  bool exists(const std::string& path) override {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
  }

  bool isDirectory(const std::string& path) override {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
  }

  Status createDirectories(const std::string& path) override {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    if (ec) return fsError(path, ec);
    return Status::ok();
  }

  Status removeFile(const std::string& path) override {
    if (::unlink(path.c_str()) != 0) return posixError(path, errno);
    return Status::ok();
  }

  Status removeAll(const std::string& path) override {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
    if (ec) return fsError(path, ec);
    return Status::ok();
  }

  Status rename(const std::string& from, const std::string& to) override {
    if (::rename(from.c_str(), to.c_str()) != 0) return posixError(from + " -> " + to, errno);
    return Status::ok();
  }

  Status copyFile(const std::string& from, const std::string& to) override {
    std::error_code ec;
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec);
    if (ec) return fsError(from + " -> " + to, ec);
    return Status::ok();
  }
};

}  // namespace

FileSystem& defaultFileSystem() {
  static PosixFileSystem fs;
  return fs;
}

std::string joinPath(std::string_view dir, std::string_view name) {
  if (dir.empty()) return std::string(name);
  std::string out(dir);
  while (out.size() > 1 && out.back() == '/') out.pop_back();
  while (!name.empty() && name.front() == '/') name.remove_prefix(1);
  if (out != "/") out += '/';
  out += name;
  return out;
}

}  // namespace platform
