#pragma once

// A profile's picture choice as the upload profile stores it, and the names people use
// for the sizes.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "publish/image_run.h"
#include "publish/inet_config.h"

namespace publish {

ImageSelection imageSelectionOf(const UploadProfile& profile);

// Stores the choice in the profile: masks, size, options, and the two image counts
// (the number of bits set in each mask).
void storeImageSelection(UploadProfile& profile, const ImageSelection& selection);

// "pequeño", "med", "grande", "franja" (letter case and the accent not required, "med."
// accepted) -> 0 to 3.
std::optional<int> imageSizeCode(std::string_view word);
// The words imageSizeCode takes, as shown in a usage error.
std::vector<std::string> imageSizeWords();
// The size's name as the profile dialog shows it: "Pequeño", "Med.", "Grande", "Franja".
std::string imageSizeName(int code);

}  // namespace publish
