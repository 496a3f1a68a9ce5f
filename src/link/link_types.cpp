#include "link/link_types.h"

namespace stationlink {

PortParams normalizePortParams(PortParams params) {
  if (params.linkType == LinkType::kClassic && params.baudRate > kClassicMaxBaud) {
    params.baudRate = kClassicMaxBaud;
  }
  if (params.idleSeconds < 1 || params.idleSeconds > 1999) params.idleSeconds = kDefaultIdleSeconds;
  return params;
}

const char* consoleModelName(int code) {
  switch (code) {
    case 0:
      return "Tessel III";
    case 1:
      return "Tessel II";
    case 2:
      return "Basalt II";
    case 3:
      return "Lumeno II";
    case 4:
      return "Tillmark";
    case 5:
      return "Kestrane";
    case 6:
      return "Orvell";
    case 16:
      return "Cirrant Pro";
    default:
      return "";
  }
}

}  // namespace stationlink
