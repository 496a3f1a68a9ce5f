#pragma once

// LZW compression of colour indices as GIF image data expects it: a clear code first,
// codes growing from (minimum code size + 1) bits to 12 bits in step with the decoder's
// table, a clear whenever all 4096 codes are in use, and the end code last.

#include <cstdint>
#include <vector>

namespace publish {

// Compresses the indices (each below 2^minCodeSize) in the order given. Returns the code
// stream packed least significant bit first, before it is cut into sub-blocks.
// REQUIRES: 2 <= minCodeSize <= 8.
std::vector<std::uint8_t> lzwCompress(int minCodeSize, const std::vector<std::uint8_t>& indices);

}  // namespace publish
