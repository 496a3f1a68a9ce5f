#include "publish/upload_list.h"

namespace publish {

namespace {

bool isSeparator(char c) { return c == '/' || c == '\\'; }

std::vector<std::string> remoteSegments(std::string_view dir) {
  std::vector<std::string> segments;
  std::string piece;
  for (char c : dir) {
    if (isSeparator(c)) {
      if (!piece.empty()) segments.push_back(std::move(piece));
      piece.clear();
    } else {
      piece += c;
    }
  }
  if (!piece.empty()) segments.push_back(std::move(piece));
  return segments;
}

std::string rootPrefix(std::string_view root) {
  std::string r(root);
  while (r.size() > 1 && r.back() == '/') r.pop_back();
  if (r.empty()) r = "/";
  return r;
}

std::string below(const std::string& root, const std::string& piece) {
  return root == "/" ? "/" + piece : root + "/" + piece;
}

}  // namespace

std::vector<std::string> splitFields(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t tab = line.find('\t', start);
    if (tab == std::string_view::npos) {
      fields.emplace_back(line.substr(start));
      return fields;
    }
    fields.emplace_back(line.substr(start, tab - start));
    start = tab + 1;
  }
}

ListRows parseList(std::string_view text, std::size_t fields, std::size_t minLength) {
  ListRows out;
  int number = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() < minLength) continue;
    std::vector<std::string> row = splitFields(line);
    if (row.size() != fields) {
      out.badLines.push_back({number, row.size()});
      continue;
    }
    out.rows.push_back(std::move(row));
  }
  return out;
}

std::string joinPieces(std::initializer_list<std::string_view> pieces) {
  std::string out;
  for (std::string_view p : pieces) {
    if (!out.empty()) {
      while (!p.empty() && isSeparator(p.front())) p.remove_prefix(1);
    }
    if (p.empty()) continue;
    if (!out.empty()) {
      while (!out.empty() && isSeparator(out.back())) out.pop_back();
      out += '/';
    }
    out += p;
  }
  return out;
}

std::string remoteDirFor(std::string_view ftpPath, std::string_view subdir) {
  std::string out;
  for (std::string_view part : {ftpPath, subdir}) {
    for (const std::string& s : remoteSegments(part)) out += (out.empty() ? "" : "/") + s;
  }
  return out;
}

std::string fileNameOf(std::string_view path) {
  const std::size_t slash = path.find_last_of('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string formatUploadList(const std::vector<UploadLine>& lines) {
  std::string out;
  for (const UploadLine& l : lines) {
    out += l.source + '\t' + l.remoteDir + '\t' + l.name + '\t' + l.localDestination + '\n';
  }
  return out;
}

std::string remoteTarget(std::string_view root, std::string_view dir) {
  std::string target = rootPrefix(root);
  for (const std::string& s : remoteSegments(dir)) target = below(target, s);
  return target;
}

std::vector<std::string> remoteLevels(std::string_view root, std::string_view dir) {
  std::vector<std::string> levels;
  std::string level = rootPrefix(root);
  for (const std::string& s : remoteSegments(dir)) {
    level = below(level, s);
    levels.push_back(level);
  }
  return levels;
}

}  // namespace publish
