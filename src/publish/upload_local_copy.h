#pragma once

#include <functional>
#include <string_view>

#include "platform/file_system.h"
#include "publish/upload_list.h"

namespace publish {

// Copies one upload line's file to its local destination, creating the destination's
// directories when they are missing. The copy is made beside the destination and renamed
// over it, so the destination is never half a file; a copy onto itself is skipped.
// Failures are logged through `log` (the copy title's source); false then, which ends the
// copy phase.
bool copyUploadLine(platform::FileSystem& files, const UploadLine& line,
                    const std::function<void(std::string_view text)>& log);

}  // namespace publish
