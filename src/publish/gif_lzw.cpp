#include "publish/gif_lzw.h"

#include <algorithm>
#include <array>
#include <memory>

namespace publish {

namespace {

constexpr int kMaxCodeBits = 12;
constexpr std::uint32_t kCodeLimit = 1u << kMaxCodeBits;  // 4096 codes

// The dictionary: (prefix code, next index) -> code, in an open-addressed table. A
// search through the entries would cost a pass over thousands of codes per pixel on
// noisy pictures; a hash costs one or two probes.
class Dictionary {
 public:
  Dictionary() : keys_(std::make_unique<std::uint32_t[]>(kSlots)),
                 codes_(std::make_unique<std::uint16_t[]>(kSlots)) {
    clear();
  }

  void clear() { std::fill_n(keys_.get(), kSlots, kEmpty); }

  // The code of `key`, or -1.
  int find(std::uint32_t key) const {
    for (std::uint32_t s = slot(key);; s = (s + 1) & (kSlots - 1)) {
      if (keys_[s] == key) return codes_[s];
      if (keys_[s] == kEmpty) return -1;
    }
  }

  void insert(std::uint32_t key, std::uint16_t code) {
    std::uint32_t s = slot(key);
    while (keys_[s] != kEmpty) s = (s + 1) & (kSlots - 1);
    keys_[s] = key;
    codes_[s] = code;
  }

 private:
  // Twice the codes a table can hold, so probes stay short.
  static constexpr std::uint32_t kSlots = 1u << 13;
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;

  static std::uint32_t slot(std::uint32_t key) { return (key * 2654435761u) >> (32 - 13); }

  std::unique_ptr<std::uint32_t[]> keys_;
  std::unique_ptr<std::uint16_t[]> codes_;
};

class BitPacker {
 public:
  explicit BitPacker(std::size_t expected) { out_.reserve(expected); }

  void put(std::uint32_t code, int width) {
    acc_ |= static_cast<std::uint64_t>(code) << bits_;
    bits_ += width;
    while (bits_ >= 8) {
      out_.push_back(static_cast<std::uint8_t>(acc_ & 0xFF));
      acc_ >>= 8;
      bits_ -= 8;
    }
  }

  std::vector<std::uint8_t> finish() {
    if (bits_ > 0) out_.push_back(static_cast<std::uint8_t>(acc_ & 0xFF));
    acc_ = 0;
    bits_ = 0;
    return std::move(out_);
  }

 private:
  std::vector<std::uint8_t> out_;
  std::uint64_t acc_ = 0;
  int bits_ = 0;
};

}  // namespace

std::vector<std::uint8_t> lzwCompress(int minCodeSize, const std::vector<std::uint8_t>& indices) {
  const std::uint32_t clearCode = 1u << minCodeSize;
  const std::uint32_t endCode = clearCode + 1;
  Dictionary dict;
  BitPacker out(indices.size() + 16);
  int width = minCodeSize + 1;
  std::uint32_t next = clearCode + 2;

  // The decoder adds its entry one code later than the encoder and widens when its table
  // reaches 2^width; widening here after each code once `next` has reached 2^width keeps
  // both sides reading the same widths, the end code included.
  auto emit = [&](std::uint32_t code) {
    out.put(code, width);
    if (next >= (1u << width) && width < kMaxCodeBits) ++width;
  };

  out.put(clearCode, width);
  if (indices.empty()) {
    out.put(endCode, width);
    return out.finish();
  }
  std::uint32_t prefix = indices[0];
  for (std::size_t i = 1; i < indices.size(); ++i) {
    const std::uint32_t pixel = indices[i];
    const std::uint32_t key = (prefix << 8) | pixel;
    const int found = dict.find(key);
    if (found >= 0) {
      prefix = static_cast<std::uint32_t>(found);
      continue;
    }
    emit(prefix);
    if (next < kCodeLimit) {
      dict.insert(key, static_cast<std::uint16_t>(next++));
    } else {
      out.put(clearCode, width);
      dict.clear();
      width = minCodeSize + 1;
      next = clearCode + 2;
    }
    prefix = pixel;
  }
  emit(prefix);
  out.put(endCode, width);
  return out.finish();
}

}  // namespace publish
