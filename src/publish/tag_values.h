#pragma once

// What each tag gives: the value of a value tag (the bare number in the user's units, or
// a text), the unit label of a unit tag, and "---" for any value that is missing, out of
// range, or whose sensor the station lacks.

#include <string>

#include "publish/publish_context.h"

namespace publish {

// The text tag `id` gives in `context`; "---" for a number that is no tag.
std::string tagText(const PublishContext& context, int id);

}  // namespace publish
