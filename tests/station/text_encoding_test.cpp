#include "station/text_encoding.h"

#include <gtest/gtest.h>

namespace station {
namespace {

struct Repair {
  const char* name;
  std::string bytes;
  std::string want;
};

// Each byte that does not begin a well-formed sequence is one U+FFFD (EF BF BD); what is
// well formed stays byte for byte. Nothing is read as Windows-1252: these are bytes of a
// path or a damaged line, not an older file's text.
TEST(ToValidUtf8, ReplacesEachBadByteAndKeepsTheRest) {
  const Repair kCases[] = {
      {"ASCII", "/datos/Casa", "/datos/Casa"},
      {"UTF-8 kept", "Jard\xC3\xADn", "Jard\xC3\xADn"},
      {"Latin-1 byte", "Jard\xEDn", "Jard\xEF\xBF\xBDn"},
      {"cut sequence at the end", "ab\xE2\x82", "ab\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"lone continuation", "\x80x", "\xEF\xBF\xBDx"},
      {"overlong slash", "\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"surrogate", "\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const Repair& c : kCases) {
    const std::string got = toValidUtf8(c.bytes);
    EXPECT_EQ(got, c.want) << c.name;
    EXPECT_TRUE(isValidUtf8(got)) << c.name;
  }
}

}  // namespace
}  // namespace station
