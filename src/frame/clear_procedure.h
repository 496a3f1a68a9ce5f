#pragma once

#include <array>
#include <cstdint>

#include "platform/status.h"

namespace frame {

// The clear operations of the older consoles, by their slot in the console interface:
// 68-80 are the classic operations, 59 is PutRain. The older consoles' link provides
// them; errors carry the link error code in Status::code().
class ClearOperations {
 public:
  virtual ~ClearOperations() = default;
  virtual platform::Status clearSlot(int slot) = 0;
  virtual platform::Status PutRain(int yearlyRainClicks) = 0;
};

// One check mark of `autoClearItems` and the operation it selects.
struct ClearItem {
  int byteIndex;
  std::uint8_t mask;  // 0: the byte being non-zero selects the item
  int slot;           // 59 means PutRain(0)
};

// The items in the order the procedure runs them.
inline constexpr std::array<ClearItem, 14> kClearItems{{
    {0, 0x01, 68},
    {0, 0x02, 69},
    {1, 0x01, 70},
    {1, 0x02, 71},
    {2, 0x01, 74},
    {2, 0x02, 75},
    {3, 0x01, 72},
    {3, 0x02, 73},
    {4, 0x01, 80},
    {4, 0x02, 59},
    {5, 0x00, 78},
    {6, 0x00, 79},
    {7, 0x01, 76},
    {7, 0x02, 77},
}};

// Runs the selected items in order, stopping at the first failure, whose Status is
// returned (the caller logs the link error with the station's name).
platform::Status runClearProcedure(const std::array<std::uint8_t, 8>& autoClearItems,
                                   ClearOperations& console);

}  // namespace frame
