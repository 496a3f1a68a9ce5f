#include "frame/clear_procedure.h"

namespace frame {

platform::Status runClearProcedure(const std::array<std::uint8_t, 8>& autoClearItems,
                                   ClearOperations& console) {
  for (const ClearItem& item : kClearItems) {
    std::uint8_t b = autoClearItems[static_cast<std::size_t>(item.byteIndex)];
    bool selected = item.mask == 0 ? b != 0 : (b & item.mask) != 0;
    if (!selected) continue;
    platform::Status s = item.slot == 59 ? console.PutRain(0) : console.clearSlot(item.slot);
    if (!s.isOk()) return s;
  }
  return platform::Status::ok();
}

}  // namespace frame
