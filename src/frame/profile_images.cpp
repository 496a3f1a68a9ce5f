#include "frame/profile_images.h"

#include <optional>

#include "frame/link_error_table.h"
#include "link/current_conditions.h"
#include "publish/image_profile.h"

namespace frame {

ProfileImages drawProfileImagesNow(Program& program, const publish::UploadProfile& profile,
                                   int number, const stationlink::SensorImage* given,
                                   const std::string& outputDirectory) {
  ProfileImages result;
  const station::StationConfig* config = program.currentStation();
  const publish::ImageSelection selection = publish::imageSelectionOf(profile);
  if (config == nullptr || (selection.currentMask == 0 && selection.historyMask == 0)) return result;
  std::optional<stationlink::SensorImage> reading;
  if (given != nullptr) {
    reading = *given;
  } else if (selection.currentMask != 0) {
    stationlink::ConsoleLink* link = program.stations().stationLink();
    auto image = link != nullptr ? stationlink::readCurrentConditions(*link)
                                 : platform::Result<stationlink::SensorImage>(
                                       platform::Status::unsupported("no link"));
    if (image) reading = *image;
    else result.readingError = linkErrorText(image.status().code());
  }
  const platform::CivilTime t = program.clock().localNow();
  const publish::ImageInputs inputs{
      program.files(),
      program.currentStationDir(),
      *config,
      program.conventions().values(),
      reading ? &*reading : nullptr,
      program.stations().database(),
      records::DateTime::fromDate(t.year, t.month, t.day,
                                  static_cast<std::uint16_t>(t.hour * 60 + t.minute)),
      outputDirectory};
  result.written = publish::drawProfileImages(inputs, number, selection, profile.currentImageDir(),
                                              profile.historyImageDir(), result.log);
  for (const std::string& line : result.log.messages) {
    (void)program.messages().LogMessage(line, program.currentStationName());
  }
  return result;
}

publish::DrawnImages uploadImageFiles(const ProfileImages& images) {
  publish::DrawnImages drawn;
  for (const publish::WrittenImage& w : images.written) {
    drawn.files.push_back({w.path(), w.family == publish::ImageFamily::kHistory});
  }
  drawn.writeFailed = images.log.errors;
  return drawn;
}

}  // namespace frame
