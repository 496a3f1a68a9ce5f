#include "publish/template_list.h"

namespace publish {

std::string pagePathFor(std::string_view templatePath, std::string_view extension) {
  std::string page(templatePath.substr(0, templatePath.size() >= 4 ? templatePath.size() - 4 : 0));
  return page + "." + std::string(extension);
}

std::string formatTemplateList(const std::vector<TemplateJob>& jobs) {
  std::string out;
  for (const TemplateJob& j : jobs) {
    out += j.name + "\t\t\t\t" + j.templatePath + "\t" + j.pagePath + "\n";
  }
  return out;
}

}  // namespace publish
