#include "publish/template_converter.h"

#include "platform/string_table.h"
#include "publish/tag_table.h"
#include "publish/tag_values.h"
#include "publish/template_scanner.h"

namespace publish {

namespace {

constexpr int kTemplateUnreadable = 62558;  // "No se pudo abrir archivo de plantilla para ..."
constexpr int kPageUnwritable = 62559;      // "No se pudo abrir archivo html para escritura: "

// The path with repeated "/" and "." steps taken out, so that two spellings of one file
// compare equal.
std::string lexicalForm(std::string_view path) {
  std::string out;
  std::size_t at = 0;
  while (at <= path.size()) {
    std::size_t slash = path.find('/', at);
    if (slash == std::string_view::npos) slash = path.size();
    const std::string_view step = path.substr(at, slash - at);
    if (!step.empty() && step != ".") {
      if (!out.empty() || path.starts_with('/')) out += '/';
      out.append(step);
    }
    at = slash + 1;
  }
  return out.empty() && path.starts_with('/') ? "/" : out;
}

}  // namespace

std::string fillTemplateText(const PublishContext& context, std::string_view text) {
  const TagReplacer replace = [&context](std::string_view comment) -> std::optional<std::string> {
    const std::optional<int> id = findTag(comment);
    if (!id) return std::nullopt;
    return tagText(context, *id);
  };
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    end = end == std::string_view::npos ? text.size() : end + 1;
    const std::string_view line = text.substr(at, end - at);
    if (line.size() <= kLongestTemplateLine) {
      fillLine(line, replace, out);
    } else {
      out.append(line);
    }
    at = end;
  }
  return out;
}

platform::Status convertTemplate(const PublishContext& context, platform::FileSystem& files,
                                 const std::string& templatePath, const std::string& pagePath) {
  const std::string unwritable = platform::loadString(kPageUnwritable) + pagePath;
  if (lexicalForm(templatePath) == lexicalForm(pagePath)) {
    return platform::Status::badArgument(unwritable);
  }
  platform::Result<std::string> text = files.readFile(templatePath);
  if (!text) {
    return platform::Status(text.status().kind(),
                            platform::loadString(kTemplateUnreadable) + templatePath);
  }
  if (platform::Status s = files.replaceFileAtomically(pagePath, fillTemplateText(context, *text));
      !s) {
    return platform::Status(s.kind(), unwritable);
  }
  return platform::Status::ok();
}

}  // namespace publish
