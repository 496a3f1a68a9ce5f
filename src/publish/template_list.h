#pragma once

// "TemplateList.txt": the templates of a run's profiles and the pages made from them, one
// line each, "name<TAB><TAB><TAB><TAB>template<TAB>page".

#include <string>
#include <string_view>
#include <vector>

#include "publish/upload_list.h"

namespace publish {

inline constexpr std::string_view kTemplateListFileName = "TemplateList.txt";

struct TemplateJob {
  int profile = 0;  // index 0-7
  std::string name;
  std::string templatePath;
  std::string pagePath;
  bool operator==(const TemplateJob&) const = default;
};

// The page of a template: its ".htx" replaced by "." and `extension`.
std::string pagePathFor(std::string_view templatePath, std::string_view extension);

std::string formatTemplateList(const std::vector<TemplateJob>& jobs);

}  // namespace publish
