#pragma once

// A profile's file list in the station directory: one line per file, "name<TAB><TAB>
// <TAB><TAB>path". A path ending in ".htx" (any case) is a template, converted before it
// is sent; any other file is sent as it is.

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/status.h"
#include "publish/inet_config.h"
#include "publish/upload_list.h"

namespace publish {

inline constexpr std::size_t kProfileListFields = 5;
// Shorter lines are ignored.
inline constexpr std::size_t kProfileListMinLine = 5;

struct ProfileFile {
  std::string name;
  std::string path;
  bool isTemplate() const;
};

struct ProfileList {
  std::vector<ProfileFile> files;
  std::vector<BadLine> badLines;
};

ProfileList parseProfileList(std::string_view text);
std::string formatProfileList(const std::vector<ProfileFile>& files);

// The list of `profile` in `stationDir`; a missing list is an empty one.
platform::Result<ProfileList> readProfileList(platform::FileSystem& files,
                                              const std::string& stationDir,
                                              const UploadProfile& profile);
// Replaces the list atomically.
platform::Status writeProfileList(platform::FileSystem& files, const std::string& stationDir,
                                  const UploadProfile& profile,
                                  const std::vector<ProfileFile>& list);

// The list's path.
std::string profileListPath(const std::string& stationDir, const UploadProfile& profile);

}  // namespace publish
