#include "link/link_services.h"

#include "link/link_types.h"

namespace stationlink {

platform::Status linkFailure(int code, std::string message) {
  using platform::Errc;
  Errc kind = Errc::kIo;
  switch (code) {
    case kErrCrc:
      kind = Errc::kCorrupt;
      break;
    case kErrTimeout:
      kind = Errc::kTimeout;
      break;
    case kErrPortMissing:
      kind = Errc::kNotFound;
      break;
    case kErrPortBusy:
      kind = Errc::kBusy;
      break;
    default:
      break;
  }
  return platform::Status(kind, std::move(message), code);
}

}  // namespace stationlink
