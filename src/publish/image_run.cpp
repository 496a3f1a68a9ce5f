#include "publish/image_run.h"

#include <optional>

#include "platform/string_table.h"
#include "publish/gif_writer.h"
#include "publish/image_current.h"
#include "publish/image_history.h"
#include "publish/image_style.h"
#include "publish/image_values.h"

namespace publish {

namespace {

quantities::StationRainCollector collectorOf(const station::StationConfig& config) {
  return {config.rainCollectorType(), config.rainClick()};
}

// The picture drawn and written to `path`: 0, or -1 when it cannot be written.
int writePicture(const ImageInputs& inputs, const ImageKind& kind, const ImageSelection& selection,
                 const std::string& path, const HistoryData* history) {
  const bool isHistory = kind.nameId >= kFirstHistoryNameId;
  const Raster raster =
      isHistory && history != nullptr
          ? drawHistoryPicture(kind, imageTitle(kind), *history, inputs.values, selection.size)
          : drawCurrentPicture(kind, imageTitle(kind),
                               currentValue(kind, inputs.current, inputs.values,
                                            collectorOf(inputs.config)),
                               inputs.values.units, selection.size);
  const ImagePalette palette = imagePalette(selection.options);
  GifImage gif;
  gif.width = raster.width();
  gif.height = raster.height();
  gif.bits = kPaletteBits;
  gif.background = kInkBackground;
  gif.red = palette.red;
  gif.green = palette.green;
  gif.blue = palette.blue;
  gif.pixels = raster.pixels();
  return writeGif(inputs.files, path, gif);
}

}  // namespace

std::string profileImageDirectory(const std::string& stationDir, int profileNumber) {
  return platform::joinPath(platform::joinPath(stationDir, "Images"),
                            "Profile" + std::to_string(profileNumber)) +
         "/";
}

std::vector<WrittenImage> drawProfileImages(const ImageInputs& inputs, int profileNumber,
                                            const ImageSelection& selection,
                                            const std::string& currentSubdirectory,
                                            const std::string& historySubdirectory,
                                            ImageRunLog& log) {
  std::vector<WrittenImage> written;
  if (selection.currentMask == 0 && selection.historyMask == 0) return written;
  std::string dir = inputs.outputDirectory.empty()
                        ? profileImageDirectory(inputs.stationDir, profileNumber)
                        : inputs.outputDirectory;
  if (dir.back() != '/') dir += '/';
  const bool haveDir = inputs.files.createDirectories(dir).isOk();
  std::optional<HistoryData> history;

  for (ImageFamily family : {ImageFamily::kCurrent, ImageFamily::kHistory}) {
    const std::uint64_t mask =
        family == ImageFamily::kCurrent ? selection.currentMask : selection.historyMask;
    const auto kinds = imagesOf(family);
    for (std::size_t i = 0; i < kinds.size(); ++i) {
      if (((mask >> i) & 1) == 0) continue;
      const ImageKind& kind = kinds[i];
      if (!stationAllows(inputs.config, kind)) {
        log.messages.push_back(imageFailureMessage(kind));
        continue;
      }
      if (family == ImageFamily::kHistory && !history) {
        history = loadHistoryData(inputs.database, inputs.now);
      }
      const std::string name = imageFileName(kind);
      if (!haveDir || writePicture(inputs, kind, selection, dir + name,
                                   family == ImageFamily::kHistory ? &*history : nullptr) != 0) {
        log.messages.push_back(platform::loadString(kMsgCannotCreateImage) + name);
        log.errors = true;
        continue;
      }
      written.push_back({family, dir, name,
                         family == ImageFamily::kCurrent ? currentSubdirectory : historySubdirectory});
    }
  }
  return written;
}

}  // namespace publish
