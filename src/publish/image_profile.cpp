#include "publish/image_profile.h"

#include <algorithm>
#include <bit>
#include <cctype>

#include "platform/string_table.h"
#include "publish/image_style.h"

namespace publish {

namespace {

constexpr std::string_view kSizeWords[kImageSizeCount] = {"pequeño", "med", "grande", "franja"};
constexpr int kFirstSizeNameId = 66610;  // "Pequeño", "Med.", "Grande", "Franja"

std::string folded(std::string_view word) {
  std::string s;
  for (std::size_t i = 0; i < word.size(); ++i) {
    // "ñ" and "Ñ" in UTF-8 are C3 B1 and C3 91.
    if (static_cast<unsigned char>(word[i]) == 0xC3 && i + 1 < word.size() &&
        (static_cast<unsigned char>(word[i + 1]) == 0x91 ||
         static_cast<unsigned char>(word[i + 1]) == 0xB1)) {
      s += "n";
      ++i;
      continue;
    }
    s += static_cast<char>(std::tolower(static_cast<unsigned char>(word[i])));
  }
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s;
}

}  // namespace

ImageSelection imageSelectionOf(const UploadProfile& profile) {
  ImageSelection s;
  s.currentMask = profile.currentImageMask();
  s.historyMask = profile.historyImageMask();
  s.size = profile.imageSize();
  s.options = profile.imageOptions();
  return s;
}

void storeImageSelection(UploadProfile& profile, const ImageSelection& selection) {
  // Bits past the catalogue name no picture; they are never stored.
  const std::uint64_t current = selection.currentMask & ((std::uint64_t{1} << kCurrentImageCount) - 1);
  const std::uint64_t history = selection.historyMask & ((std::uint64_t{1} << kHistoryImageCount) - 1);
  profile.setCurrentImageMask(current);
  profile.setHistoryImageMask(history);
  profile.setCurrentImageCount(static_cast<std::uint16_t>(std::popcount(current)));
  profile.setHistoryImageCount(static_cast<std::uint16_t>(std::popcount(history)));
  profile.setImageSize(selection.size);
  profile.setImageOptions(selection.options);
}

std::optional<int> imageSizeCode(std::string_view word) {
  const std::string w = folded(word);
  for (int i = 0; i < kImageSizeCount; ++i) {
    if (folded(kSizeWords[i]) == w) return i;
  }
  return std::nullopt;
}

std::vector<std::string> imageSizeWords() {
  return {kSizeWords, kSizeWords + kImageSizeCount};
}

std::string imageSizeName(int code) {
  return platform::loadString(kFirstSizeNameId + (code >= 0 && code < kImageSizeCount ? code : 1));
}

}  // namespace publish
