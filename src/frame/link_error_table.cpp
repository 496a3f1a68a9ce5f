#include "frame/link_error_table.h"

#include "link/link_types.h"
#include "platform/string_table.h"

namespace frame {

namespace {

// System error values that mean the port timed out underneath the link.
constexpr int kSystemSemaphoreTimeout = 1121;
constexpr int kSystemIoTimeout = 1460;

}  // namespace

int linkErrorStringId(int code) {
  switch (code) {
    case 0:
      return 0;
    case stationlink::kErrCrc:
      return 61265;
    case stationlink::kErrTimeout:
    case kSystemSemaphoreTimeout:
    case kSystemIoTimeout:
      return 61266;
    case stationlink::kErrRead:
      return 61267;
    case stationlink::kErrNoAcknowledge:
      return 61268;
    case stationlink::kErrPortMissing:
      return 61269;
    case stationlink::kErrPortBusy:
      return 61270;
    case stationlink::kErrArchiveIntervalZero:
      return 61467;
    default:
      return 61461;
  }
}

std::string_view linkErrorText(int code) {
  const int id = linkErrorStringId(code);
  return id == 0 ? std::string_view{} : platform::stringText(id);
}

}  // namespace frame
