#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/file_system.h"

namespace platform {

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) ::close(fd_);
}

InstanceLock::InstanceLock(InstanceLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

InstanceLock& InstanceLock::operator=(InstanceLock&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

Result<InstanceLock> InstanceLock::acquire(const std::string& programDirectory,
                                           std::string_view fileName) {
  std::string path = joinPath(programDirectory, fileName);
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    int err = errno;
    Errc kind = (err == EACCES || err == EPERM || err == EROFS) ? Errc::kPermission : Errc::kIo;
    return Status(kind, path + ": " + std::strerror(err), err);
  }
  int rc;
  do {
    rc = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    int err = errno;
    ::close(fd);
    if (err == EWOULDBLOCK) {
      return Status::busy("another Stratalog is already working in " + programDirectory +
                          " (lock " + path + ")");
    }
    return Status::io(path + ": " + std::strerror(err), err);
  }
  return InstanceLock(fd);
}

}  // namespace platform
