#include "frame/upload_schedule.h"

namespace frame {

UploadsDue dueUploads(publish::InetConfig& config, int minuteOfDay) {
  UploadsDue due;
  for (int k = 0; k < publish::kProfileCount; ++k) {
    publish::UploadProfile p = config.profile(k);
    if (!p.enabled() || p.interval() == 0) continue;
    bool isDue = false;
    if (p.interval() == 1) {
      isDue = p.lastRunMinute() != minuteOfDay;
    } else {
      int elapsed = minuteOfDay - p.startMinute() % kMinutesPerDay;
      if (elapsed < 0) elapsed += kMinutesPerDay;
      if (elapsed % p.interval() != 0) {
        p.setDoneThisPeriod(false);
      } else if (!p.doneThisPeriod()) {
        isDue = true;
        p.setDoneThisPeriod(true);
      }
    }
    if (isDue) {
      p.setLastRunMinute(static_cast<std::int16_t>(minuteOfDay));
      due.profiles |= 1u << k;
      if (p.dialUp()) due.dialUp = true;
    }
    config.setProfile(k, p);
  }
  return due;
}

}  // namespace frame
