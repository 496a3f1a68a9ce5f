#include "publish/profile_list.h"

#include <cctype>

namespace publish {

bool ProfileFile::isTemplate() const {
  if (path.size() < 4) return false;
  const std::string_view tail = std::string_view(path).substr(path.size() - 4);
  const char* want = ".htx";
  for (std::size_t i = 0; i < 4; ++i) {
    if (std::tolower(static_cast<unsigned char>(tail[i])) != want[i]) return false;
  }
  return true;
}

ProfileList parseProfileList(std::string_view text) {
  ListRows rows = parseList(text, kProfileListFields, kProfileListMinLine);
  ProfileList list;
  list.badLines = std::move(rows.badLines);
  for (auto& r : rows.rows) list.files.push_back({r[0], r[4]});
  return list;
}

std::string formatProfileList(const std::vector<ProfileFile>& files) {
  std::string out;
  for (const ProfileFile& f : files) out += f.name + "\t\t\t\t" + f.path + "\n";
  return out;
}

std::string profileListPath(const std::string& stationDir, const UploadProfile& profile) {
  return platform::joinPath(stationDir, profile.listName());
}

platform::Result<ProfileList> readProfileList(platform::FileSystem& files,
                                              const std::string& stationDir,
                                              const UploadProfile& profile) {
  const std::string path = profileListPath(stationDir, profile);
  if (!files.exists(path)) return ProfileList{};
  auto text = files.readFile(path);
  if (!text) return text.status();
  return parseProfileList(*text);
}

platform::Status writeProfileList(platform::FileSystem& files, const std::string& stationDir,
                                  const UploadProfile& profile,
                                  const std::vector<ProfileFile>& list) {
  return files.replaceFileAtomically(profileListPath(stationDir, profile),
                                     formatProfileList(list));
}

}  // namespace publish
