#pragma once

// The tab-separated list files of the upload runs and the paths they hold.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/status.h"

namespace publish {

inline constexpr std::string_view kUploadListFileName = "UploadList.txt";

// The fields of a line, split at every TAB: two TABs in a row are an empty field, so an
// empty remote directory never shifts the fields after it.
std::vector<std::string> splitFields(std::string_view line);

// A line that did not have the fields its list needs; it is skipped.
struct BadLine {
  int lineNumber = 0;  // from 1
  std::size_t fieldCount = 0;
};

// The lines of a list file with exactly `fields` fields each (LF or CRLF ends a line).
// Lines shorter than `minLength` bytes are ignored, as the lists have always done.
struct ListRows {
  std::vector<std::vector<std::string>> rows;
  std::vector<BadLine> badLines;
};
ListRows parseList(std::string_view text, std::size_t fields, std::size_t minLength = 1);

// Pieces of a path joined with exactly one "/" between them; "\" counts as a separator
// at the joins. Empty pieces are left out.
std::string joinPieces(std::initializer_list<std::string_view> pieces);

// A remote directory as the lists hold it: the FTP path and a subdirectory joined, with
// "/" as the only separator and no leading one (it is relative to the login directory).
std::string remoteDirFor(std::string_view ftpPath, std::string_view subdir);

// The name of a file: what follows its last "/".
std::string fileNameOf(std::string_view path);

// One file to send: where it is, the remote directory (relative to the login directory),
// the name it has there and locally, and the local copy's path.
struct UploadLine {
  std::string source;
  std::string remoteDir;
  std::string name;
  std::string localDestination;
  bool operator==(const UploadLine&) const = default;
};

std::string formatUploadList(const std::vector<UploadLine>& lines);

// Remote directories below the login directory `root`, whatever the separators: the
// directory itself and every level of it from the top, each an absolute path.
std::string remoteTarget(std::string_view root, std::string_view dir);
std::vector<std::string> remoteLevels(std::string_view root, std::string_view dir);

}  // namespace publish
