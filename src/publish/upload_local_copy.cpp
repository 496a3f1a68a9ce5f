#include "publish/upload_local_copy.h"

#include <filesystem>

#include "publish/upload_text.h"

namespace publish {

namespace {

std::string parentOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return {};
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

bool sameFile(const std::string& a, const std::string& b) {
  return std::filesystem::path(a).lexically_normal() == std::filesystem::path(b).lexically_normal();
}

platform::Status copyReplacing(platform::FileSystem& files, const UploadLine& line) {
  const std::string temp = line.localDestination + ".tmp";
  platform::Status s = files.copyFile(line.source, temp);
  if (s) s = files.rename(temp, line.localDestination);
  if (!s && s.kind() != platform::Errc::kNotFound) (void)files.removeFile(temp);
  return s;
}

}  // namespace

bool copyUploadLine(platform::FileSystem& files, const UploadLine& line,
                    const std::function<void(std::string_view text)>& log) {
  if (sameFile(line.source, line.localDestination)) {
    log(message(msg::kCopyOntoItself, {line.source}));
    return true;
  }
  platform::Status s = copyReplacing(files, line);
  if (!s && s.kind() == platform::Errc::kNotFound && files.exists(line.source)) {
    const std::string dir = parentOf(line.localDestination);
    if (platform::Status made = files.createDirectories(dir); !made) {
      log(message(msg::kCreateDirFailed, {dir}));
      return false;
    }
    s = copyReplacing(files, line);
  }
  if (!s) {
    log(message(msg::kCopyFailed, {std::to_string(s.code()), line.source, line.localDestination}));
    return false;
  }
  return true;
}

}  // namespace publish
