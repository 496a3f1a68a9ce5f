#include "frame/title_line.h"

namespace frame {

std::string formatTitleLine(std::string_view programName, const platform::CivilTime& now,
                            const platform::IntlSettings& style, std::string_view stationName) {
  std::string t(programName);
  t += "  ";
  t += formatLogDate(now, style);
  t += "  ";
  t += formatLogTime(now, style);
  t += ": ";
  t += stationName;
  return t;
}

bool TitleLine::update(const std::string& text) {
  if (text == text_) return false;
  text_ = text;
  if (sink_) sink_(text_);
  return true;
}

}  // namespace frame
