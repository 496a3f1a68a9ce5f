#include "platform/status.h"

namespace platform {

namespace {
const char* kindName(Errc kind) {
  switch (kind) {
    case Errc::kOk: return "ok";
    case Errc::kNotFound: return "not found";
    case Errc::kCorrupt: return "corrupt";
    case Errc::kIo: return "i/o error";
    case Errc::kTimeout: return "time-out";
    case Errc::kBusy: return "busy";
    case Errc::kBadArgument: return "bad argument";
    case Errc::kCancelled: return "cancelled";
    case Errc::kUnsupported: return "not supported";
    case Errc::kPermission: return "permission denied";
  }
  return "error";
}
}  // namespace

std::string Status::toString() const {
  if (isOk()) return "ok";
  std::string s = kindName(kind_);
  if (!message_.empty()) s += ": " + message_;
  return s;
}

}  // namespace platform
