#pragma once

// A table of objects given to callers as handles, (kind << 16) | slot. A destroyed slot
// is reused first, the most recently freed first; otherwise the table grows by one slot.

#include <cstdint>
#include <memory>
#include <vector>

namespace database {

inline constexpr int kWeatherDataHandleKind = 1;
inline constexpr int kDailySummaryHandleKind = 2;
inline constexpr int kDatabaseHandleKind = 3;

inline constexpr int kMaxHandleSlots = 65535;

// Last-error values a lookup leaves behind.
inline constexpr int kLastErrorNone = 0;
inline constexpr int kLastErrorInvalidHandle = 6;  // wrong kind
inline constexpr int kLastErrorBadState = 1609;    // slot out of range or freed

template <typename T>
class HandleTable {
 public:
  // `lastError` receives the outcome of every lookup; it outlives the table.
  HandleTable(int kind, int& lastError) : kind_(kind), lastError_(lastError) {}

  // A new handle for a new T, or -1 when every slot is taken.
  int create() {
    int slot;
    if (!free_.empty()) {
      slot = free_.back();
      free_.pop_back();
    } else if (slots_.size() < static_cast<std::size_t>(kMaxHandleSlots)) {
      slot = static_cast<int>(slots_.size());
      slots_.emplace_back();
    } else {
      return -1;
    }
    slots_[static_cast<std::size_t>(slot)] = std::make_unique<T>();
    return (kind_ << 16) | slot;
  }

  // The object behind `handle`, or null (and the last-error value says why).
  T* find(int handle) {
    if ((handle >> 16) != kind_) {
      lastError_ = kLastErrorInvalidHandle;
      return nullptr;
    }
    const int slot = handle & 0xFFFF;
    if (slot >= static_cast<int>(slots_.size()) || !slots_[static_cast<std::size_t>(slot)]) {
      lastError_ = kLastErrorBadState;
      return nullptr;
    }
    lastError_ = kLastErrorNone;
    return slots_[static_cast<std::size_t>(slot)].get();
  }

  // 1 when freed (or already free); 6 for a wrong kind; 1609 for a slot out of range.
  int destroy(int handle) {
    if ((handle >> 16) != kind_) return kLastErrorInvalidHandle;
    const int slot = handle & 0xFFFF;
    if (slot >= static_cast<int>(slots_.size())) return kLastErrorBadState;
    auto& object = slots_[static_cast<std::size_t>(slot)];
    // A second destroy must not list the slot as free twice, or two later handles
    // would share one object.
    if (object) {
      object.reset();
      free_.push_back(slot);
    }
    return 1;
  }

  std::size_t slotCount() const { return slots_.size(); }

 private:
  int kind_;
  int& lastError_;
  std::vector<std::unique_ptr<T>> slots_;
  std::vector<int> free_;
};

}  // namespace database
