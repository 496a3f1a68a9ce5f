#include "platform/testing/mem_file_system.h"

#include <algorithm>
#include <cstring>

namespace platform {

class MemFile final : public File {
 public:
  MemFile(std::shared_ptr<MemFileSystem::Node> node, const MemFileSystem& fs, bool writable)
      : node_(std::move(node)), fs_(fs), writable_(writable) {}

  Result<std::size_t> readAt(std::uint64_t offset, std::span<std::byte> into) override {
    const std::string& d = node_->data;
    if (offset >= d.size()) return std::size_t{0};
    std::size_t n = std::min<std::size_t>(into.size(), d.size() - offset);
    std::memcpy(into.data(), d.data() + offset, n);
    return n;
  }

  Status writeAt(std::uint64_t offset, std::span<const std::byte> bytes) override {
    if (!writable_) return Status::io("file opened read-only");
    if (fs_.failWrites_) return Status::io("write failed (injected)");
    std::string& d = node_->data;
    if (d.size() < offset + bytes.size()) d.resize(offset + bytes.size(), '\0');
    if (!bytes.empty()) std::memcpy(d.data() + offset, bytes.data(), bytes.size());
    return Status::ok();
  }

  Result<std::uint64_t> size() override { return static_cast<std::uint64_t>(node_->data.size()); }

  Status truncate(std::uint64_t size) override {
    if (!writable_) return Status::io("file opened read-only");
    node_->data.resize(size, '\0');
    return Status::ok();
  }

  Status sync() override {
    node_->synced = node_->data;
    return Status::ok();
  }

 private:
  std::shared_ptr<MemFileSystem::Node> node_;
  const MemFileSystem& fs_;
  bool writable_;
};

MemFileSystem::MemFileSystem() { dirs_.insert(""); }
MemFileSystem::~MemFileSystem() = default;

std::string MemFileSystem::normalize(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  if (p == "/") return "";
  return p;
}

std::shared_ptr<MemFileSystem::Node> MemFileSystem::find(const std::string& path) const {
  auto it = files_.find(normalize(path));
  return it == files_.end() ? nullptr : it->second;
}

Result<std::unique_ptr<File>> MemFileSystem::open(const std::string& path, OpenMode mode) {
  std::string p = normalize(path);
  auto node = find(p);
  if (!node) {
    if (mode == OpenMode::kRead || mode == OpenMode::kReadWrite) return Status::notFound(p + ": no such file");
    if (failWrites_) return Status::io(p + ": create failed (injected)");
    node = std::make_shared<Node>();
    files_[p] = node;
  } else if (mode == OpenMode::kTruncate) {
    node->data.clear();
  }
  return std::unique_ptr<File>(new MemFile(node, *this, mode != OpenMode::kRead));
}

Result<std::string> MemFileSystem::readFile(const std::string& path) {
  auto node = find(path);
  if (!node) return Status::notFound(path + ": no such file");
  return node->data;
}

Status MemFileSystem::replaceFileAtomically(const std::string& path, std::string_view bytes, bool privateMode) {
  if (failWrites_) return Status::io(path + ": write failed (injected)");
  auto node = std::make_shared<Node>();
  node->data = std::string(bytes);
  node->synced = node->data;
  node->privateMode = privateMode;
  files_[normalize(path)] = node;
  return Status::ok();
}

Result<std::vector<DirEntry>> MemFileSystem::listDirectory(const std::string& path) {
  std::string dir = normalize(path);
  if (!isDirectory(dir)) return Status::notFound(path + ": no such directory");
  std::string prefix = dir.empty() ? "" : dir + "/";
  std::set<std::string> seenDirs;
  std::vector<DirEntry> out;
  auto consider = [&](const std::string& full, bool isDir) {
    if (full.size() <= prefix.size() || full.compare(0, prefix.size(), prefix) != 0) return;
    std::string rest = full.substr(prefix.size());
    auto slash = rest.find('/');
    if (slash == std::string::npos) {
      if (isDir) {
        if (seenDirs.insert(rest).second) out.push_back({rest, true});
      } else {
        out.push_back({rest, false});
      }
    } else if (seenDirs.insert(rest.substr(0, slash)).second) {
      out.push_back({rest.substr(0, slash), true});
    }
  };
  for (const auto& [name, node] : files_) consider(name, false);
  for (const auto& d : dirs_) consider(d, true);
  return out;
}

bool MemFileSystem::exists(const std::string& path) { return find(path) != nullptr || isDirectory(path); }

bool MemFileSystem::isDirectory(const std::string& path) {
  std::string p = normalize(path);
  if (dirs_.count(p)) return true;
  std::string prefix = p + "/";
  for (const auto& [name, node] : files_)
    if (name.compare(0, prefix.size(), prefix) == 0) return true;
  return false;
}

Status MemFileSystem::createDirectories(const std::string& path) {
  std::string p = normalize(path);
  if (find(p)) return Status::io(p + ": is a file");
  for (std::size_t pos = 0; pos != std::string::npos;) {
    pos = p.find('/', pos + 1);
    dirs_.insert(p.substr(0, pos));
  }
  return Status::ok();
}

Status MemFileSystem::removeFile(const std::string& path) {
  if (files_.erase(normalize(path)) == 0) return Status::notFound(path + ": no such file");
  return Status::ok();
}

Status MemFileSystem::removeAll(const std::string& path) {
  std::string p = normalize(path);
  std::string prefix = p + "/";
  std::erase_if(files_, [&](const auto& kv) { return kv.first == p || kv.first.compare(0, prefix.size(), prefix) == 0; });
  std::erase_if(dirs_, [&](const std::string& d) { return !p.empty() && (d == p || d.compare(0, prefix.size(), prefix) == 0); });
  return Status::ok();
}

Status MemFileSystem::rename(const std::string& from, const std::string& to) {
  auto node = find(from);
  if (!node) return Status::notFound(from + ": no such file");
  files_.erase(normalize(from));
  files_[normalize(to)] = node;
  return Status::ok();
}

Status MemFileSystem::copyFile(const std::string& from, const std::string& to) {
  auto node = find(from);
  if (!node) return Status::notFound(from + ": no such file");
  auto copy = std::make_shared<Node>(*node);
  copy->synced = copy->data;
  files_[normalize(to)] = copy;
  return Status::ok();
}

void MemFileSystem::setContents(const std::string& path, std::string bytes) {
  auto node = std::make_shared<Node>();
  node->data = std::move(bytes);
  node->synced = node->data;
  files_[normalize(path)] = node;
}

std::string MemFileSystem::contents(const std::string& path) const {
  auto node = find(path);
  return node ? node->data : std::string();
}

void MemFileSystem::dropUnsyncedData() {
  for (auto& [name, node] : files_) node->data = node->synced;
}

bool MemFileSystem::isPrivate(const std::string& path) const {
  auto node = find(path);
  return node && node->privateMode;
}

}  // namespace platform
