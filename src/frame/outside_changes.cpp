#include "frame/outside_changes.h"

namespace frame {

std::optional<std::string> HeldFile::changedOutside(platform::FileSystem& files) const {
  if (!held()) return std::nullopt;
  // The file is small and read whole: its modification time could not tell two writes in
  // one clock tick apart, and a file written again with the same bytes holds nothing new.
  auto now = files.readFile(path_);
  if (!now || *now == base_) return std::nullopt;
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
