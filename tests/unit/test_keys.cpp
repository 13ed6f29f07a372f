// Keys made from PSM numbers.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "common/Errors.h"
#include "geodesy/Keys.h"

namespace modKestralMGA {
namespace {

TEST(Keys, PsmKeyDropsTheFifthCharacterOnlyWhenThereIsASlash) {
  struct Case {
    const char* psmNumber;
    std::int32_t key;
    const char* why;
  };
  const Case cases[] = {
      {"6628/1001", 66281001, "the usual form"},
      {"66281001", 66281001, "no slash: the whole text"},
      {"662/1001", 662, "the 1 is dropped and reading stops at the slash"},
      {"6628/1001A", 66281001, "reading stops at the letter"},
      {"", 0, "empty"},
      {" 6628/1001", 662, "the blank shifts the slash to the sixth place"},
      {"6628", 6628, "four characters"},
      {"2147483647", 2147483647, "the largest key"},
      {"-2147483648", -2147483647 - 1, "the smallest key"},
      {"2147483646.5", 2147483646, "halves go to the even neighbour"},
      {"6628/1001.5", 66281002, "halves go to the even neighbour, upwards"},
  };
  for (const Case& c : cases) EXPECT_EQ(PsmKey(c.psmNumber), c.key) << c.why;
}

TEST(Keys, SlashedPsmKeyAlwaysDropsTheFifthCharacter) {
  EXPECT_EQ(SlashedPsmKey("6628/1001"), 66281001);
  EXPECT_EQ(SlashedPsmKey("66281001"), 6628001);
  EXPECT_EQ(SlashedPsmKey("6628"), 6628);
}

TEST(Keys, KeysBeyond32BitsAreAnErrorCarryingThePsmNumber) {
  // The first rounds half to even up to 2^31.
  const char* const tooLarge[] = {"2147483647.5", "21474836480", "6628/12345678", "-2147483649"};
  for (const char* psmNumber : tooLarge) {
    try {
      PsmKey(psmNumber);
      ADD_FAILURE() << psmNumber << " made a key";
    } catch (const KeyTooLargeError& error) {
      EXPECT_EQ(std::string(error.what()),
                std::string("PSM number too large for a key: ") + psmNumber);
    }
    EXPECT_EQ(TryPsmKey(psmNumber), std::nullopt) << psmNumber;
  }
  // Eleven digits without a slash: too large whole, a key once the fifth digit is dropped.
  EXPECT_THROW(PsmKey("12345678901"), KeyTooLargeError);
  EXPECT_EQ(SlashedPsmKey("12345678901"), 1234678901);
  EXPECT_THROW(SlashedPsmKey("1234/5678901"), KeyTooLargeError);
}

}  // namespace
}  // namespace modKestralMGA
