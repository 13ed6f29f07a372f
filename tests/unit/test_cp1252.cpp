// Windows-1252 bytes to UTF-8 for display and back. Expected characters are those of
// Microsoft's code page 1252 table (bestfit1252.txt), written here as UTF-8 bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Cp1252.h"

using namespace modKestralMGA;

namespace {

TEST(Cp1252Test, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::string utf8 = Cp1252ToUtf8(all);
  EXPECT_EQ(Utf8ToCp1252(utf8), all);
  // 128 ASCII bytes one byte each; of 0x80-0x9F, the 17 characters from U+2000 up (euro, trade
  // mark, quotation marks, dashes, dagger, bullet, ellipsis, per mille) three bytes; the other
  // 15 and 0xA0-0xFF two bytes.
  EXPECT_EQ(utf8.size(), 128u + 17u * 3u + (15u + 96u) * 2u);
}

TEST(Cp1252Test, CharactersBothWays) {
  struct Case {
    std::string Byte;
    std::string Utf8;
  };
  const std::vector<Case> cases = {
      {"\x80", "\xE2\x82\xAC"},  // euro sign U+20AC
      {"\x8A", "\xC5\xA0"},      // S with caron U+0160
      {"\x92", "\xE2\x80\x99"},  // right single quotation mark U+2019
      {"\x96", "\xE2\x80\x93"},  // en dash U+2013
      {"\x99", "\xE2\x84\xA2"},  // trade mark sign U+2122
      {"\x9F", "\xC5\xB8"},      // Y with diaeresis U+0178
      {"\x81", "\xC2\x81"},      // undefined: the control U+0081
      {"\x9D", "\xC2\x9D"},      // undefined: the control U+009D
      {"\xA0", "\xC2\xA0"},      // no-break space
      {"\xB0", "\xC2\xB0"},      // degree sign
      {"\xE9", "\xC3\xA9"},      // e with acute
      {"\xFF", "\xC3\xBF"},      // y with diaeresis
      {"PSM 6628/1001", "PSM 6628/1001"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Cp1252ToUtf8(c.Byte), c.Utf8);
    EXPECT_EQ(Utf8ToCp1252(c.Utf8), c.Byte);
  }
}

TEST(Cp1252Test, TypedTextTheCodePageCannotHold) {
  struct Case {
    const char* Name;
    std::string Utf8;
    std::string Expected;
  };
  const std::vector<Case> cases = {
      {"CJK character", "\xE6\x97\xA5", "?"},
      {"emoji (four bytes)", "a\xF0\x9F\x98\x80z", "a?z"},
      {"C1 control U+0080: byte 0x80 is the euro sign", "\xC2\x80", "?"},
      {"Greek small alpha", "\xCE\xB1", "?"},
      // Bytes that are not UTF-8 are kept as they are.
      {"lone Windows-1252 byte", "caf\xE9", "caf\xE9"},
      {"stray continuation byte", "\x80x", "\x80x"},
      {"cut sequence at the end", "x\xE2\x82", "x\xE2\x82"},
      {"overlong slash", "\xC0\xAF", "\xC0\xAF"},
      {"surrogate", "\xED\xA0\x80", "\xED\xA0\x80"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", "\xF4\x90\x80\x80"},
      {"lead byte before ASCII", "\xC3(", "\xC3("},
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8ToCp1252(c.Utf8), c.Expected) << c.Name;
}

}  // namespace
