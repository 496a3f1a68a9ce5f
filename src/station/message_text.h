#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace station {

// String `id` of the table with each "%s" or "%d" filled by the next argument, in order;
// "%%" gives "%". Arguments are data: a "%" in them is never interpreted.
std::string messageText(int id, std::initializer_list<std::string_view> args = {});

}  // namespace station
