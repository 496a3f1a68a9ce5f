#pragma once

// Byte layout of the 6144-byte internet configuration, "Inet-Configuration.cfg", and of
// the eight 512-byte upload profiles inside it. Little-endian, nothing padded. Offsets of
// profile fields are from the start of the profile.

#include <cstddef>
#include <cstdint>

#include "station/station_config_layout.h"

namespace publish::layout {

using station::layout::Field;
using station::layout::TextField;
using station::layout::u16;
using station::layout::i16;
using station::layout::u32;
using station::layout::u8;

inline constexpr std::size_t kRecordSize = 6144;
inline constexpr std::size_t kProfileCount = 8;
inline constexpr std::size_t kProfileSize = 512;
inline constexpr std::size_t kProfilesOffset = 676;

inline constexpr TextField kFtpHost{0, 64, 63};
inline constexpr TextField kFtpUser{64, 64, 63};
inline constexpr TextField kFtpPassword{128, 64, 63};
inline constexpr TextField kFtpPath{192, 64, 63};
inline constexpr TextField kLocalPath{320, 150, 149};
inline constexpr TextField kDialEntry{470, 64, 63};
inline constexpr TextField kDialUser{534, 64, 63};
inline constexpr TextField kDialPassword{598, 64, 63};
inline constexpr Field<u8> kNewRecordMark1{662};
inline constexpr Field<u8> kNewRecordMark2{663};
inline constexpr Field<u8> kStayConnected{664};
inline constexpr Field<u16> kFtpPort{666};
inline constexpr Field<u8> kLocalNetwork{668};
inline constexpr Field<u8> kInternetTransfer{669};
inline constexpr Field<u8> kLocalTransfer{670};
inline constexpr Field<u8> kPassiveFtp{671};
inline constexpr Field<u16> kVersion{4772};
inline constexpr Field<i16> kCheckField{4774};
inline constexpr Field<u16> kAccessType{4776};
inline constexpr Field<u16> kAutoProxyDetection{4778};
// The proxy text has no stated width; 256 bytes leave the rest of the record to whatever
// else may live there.
inline constexpr TextField kProxyServer{4780, 256, 255};

static_assert(kProfilesOffset + kProfileCount * kProfileSize == kVersion.offset);
static_assert(kProxyServer.offset + kProxyServer.width <= kRecordSize);

namespace profile {

inline constexpr TextField kName{0, 16, 15};
inline constexpr Field<u32> kReports{16};
inline constexpr TextField kCurrentImageDir{20, 64, 63};
inline constexpr TextField kHistoryImageDir{84, 64, 63};
inline constexpr TextField kReportDir{148, 64, 63};
inline constexpr TextField kPageDir{212, 64, 63};
inline constexpr TextField kListName{276, 32, 31};
inline constexpr TextField kExtension{308, 6, 5};
inline constexpr Field<u16> kInterval{314};
inline constexpr Field<u16> kStartMinute{316};
inline constexpr Field<u16> kTemplateCount{318};
inline constexpr Field<u16> kCurrentImageCount{320};
inline constexpr Field<u16> kHistoryImageCount{322};
inline constexpr Field<u16> kReportCount{324};
inline constexpr Field<u8> kDownloadFirst{326};
inline constexpr Field<u8> kEnabled{339};
inline constexpr Field<u8> kDialUp{340};
inline constexpr Field<u8> kDoneThisPeriod{341};
inline constexpr Field<i16> kLastRunMinute{342};
// 64-bit masks, stored as two little-endian 32-bit halves, low half first.
inline constexpr std::size_t kCurrentImageMask = 344;
inline constexpr std::size_t kHistoryImageMask = 352;
inline constexpr Field<u8> kImageSize{360};
inline constexpr Field<u8> kImageOptions{361};

static_assert(kImageOptions.offset < kProfileSize);

}  // namespace profile

}  // namespace publish::layout
