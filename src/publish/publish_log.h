#pragma once

#include <functional>
#include <string_view>

namespace publish {

// Where the reports write their event-log lines: the message and its title.
using LogSink = std::function<void(std::string_view message, std::string_view title)>;

}  // namespace publish
