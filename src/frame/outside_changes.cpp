#include "frame/outside_changes.h"

namespace frame {

std::uint64_t hashBytes(std::string_view bytes) {
  std::uint64_t h = 14695981039346656037ull;
  for (char c : bytes) {
    h ^= static_cast<unsigned char>(c);
    h *= 1099511628211ull;
  }
  return h;
}

FileFingerprint fingerprintOf(platform::FileSystem& files, const std::string& path,
                              const std::optional<std::string>& bytes) {
  FileFingerprint f;
  if (!bytes) return f;
  f.exists = true;
  f.size = bytes->size();
  f.modified = files.modifiedTime(path);
  f.hash = hashBytes(*bytes);
  return f;
}

void HeldFile::remember(platform::FileSystem& files, std::string bytes) {
  fingerprint_ = fingerprintOf(files, path_, bytes);
  base_ = std::move(bytes);
}

std::optional<std::string> HeldFile::changedOutside(platform::FileSystem& files) const {
  if (!held()) return std::nullopt;
  auto now = files.readFile(path_);
  if (!now) return std::nullopt;
  if (fingerprintOf(files, path_, *now) == fingerprint_) return std::nullopt;
  // A file written again with the same bytes (a newer time only) holds nothing to adopt.
  if (*now == base_) return std::nullopt;
  return std::move(*now);
}

std::string mergeOwnChanges(std::string_view base, std::string_view mine, std::string_view theirs) {
  std::string merged(theirs);
  for (std::size_t i = 0; i < merged.size() && i < base.size() && i < mine.size(); ++i) {
    if (mine[i] != base[i]) merged[i] = mine[i];
  }
  return merged;
}

}  // namespace frame
