// The value-list reader shared by the Mark Details, lines and curve files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Errors.h"
#include "common/ValueList.h"

using namespace modKestralMGA;

namespace {

using Values = std::vector<std::string>;

Values Split(std::string_view line) {
  Values values;
  SplitValueLine(line, 1, "test.csv", values);
  return values;
}

TEST(ValueListTest, SplitsALineIntoItsValues) {
  struct Case {
    const char* Name;
    std::string Line;
    Values Expected;
  };
  const std::vector<Case> cases = {
      {"plain", "6628/1001,273741.2966,5796489.7769", {"6628/1001", "273741.2966", "5796489.7769"}},
      {"one value", "4601", {"4601"}},
      {"quoted with commas", "\"Smith, J\",\"a,b,c\",3", {"Smith, J", "a,b,c", "3"}},
      {"doubled quote is one quote", "\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}},
      {"only a doubled quote", "\"\"\"\"", {"\""}},
      {"empty quotes", "\"\",x", {"", "x"}},
      {"text after the closing quote dropped", "\"abc\"def,ghi", {"abc", "ghi"}},
      {"dropped text holds quotes", "\"a\" \"b\",c", {"a", "c"}},
      {"leading blanks and tabs skipped", "  a,\t b,  \"c\"", {"a", "b", "c"}},
      {"trailing blanks kept", "a  ,b\t", {"a  ", "b\t"}},
      {"blanks inside a quoted value kept", "\"  a  \"", {"  a  "}},
      {"quote inside an unquoted value kept", "ab\"c,d", {"ab\"c", "d"}},
      {"trailing comma adds an empty value", "a,b,", {"a", "b", ""}},
      {"commas only", ",,", {"", "", ""}},
      {"lone comma", ",", {"", ""}},
      {"blank after the last comma", "a,  ", {"a", ""}},
      {"unterminated quote ends at the line end", "a,\"b,c", {"a", "b,c"}},
      {"unterminated after a doubled quote", "\"x\"\"", {"x\""}},
      {"lone quote", "\"", {""}},
      {"blank line", "", {}},
      {"line of blanks and tabs", " \t  ", {}},
      {"CR is an ordinary byte here", "a\r,b", {"a\r", "b"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Split(c.Line), c.Expected) << c.Name;
}

// The values of the previous line are replaced, whatever their number.
TEST(ValueListTest, ReplacesWhatTheVectorHeld) {
  Values values = {"old", "old", "old", "old", "old"};
  SplitValueLine("a,b", 1, "f", values);
  EXPECT_EQ(values, (Values{"a", "b"}));
  SplitValueLine("\"x\",y,z", 2, "f", values);
  EXPECT_EQ(values, (Values{"x", "y", "z"}));
  SplitValueLine("   ", 3, "f", values);
  EXPECT_TRUE(values.empty());
}

TEST(ValueListTest, RefusesAValueLongerThan64KiB) {
  const std::string longest(kMaxValueLength, 'v');
  EXPECT_EQ(Split(longest + ",x"), (Values{longest, "x"}));
  EXPECT_EQ(Split("\"" + longest + "\""), (Values{longest}));

  struct Case {
    const char* Name;
    std::string Line;
  };
  const std::vector<Case> tooLong = {
      {"unquoted", "a," + longest + "v"},
      {"quoted", "\"" + longest + "v\""},
      {"unterminated quote", "\"" + longest + "v"},
      {"grown by a doubled quote", "\"" + longest + "\"\"\""},
  };
  for (const Case& c : tooLong) {
    Values values;
    try {
      SplitValueLine(c.Line, 41207, "/plans/DP1234.lns", values);
      ADD_FAILURE() << c.Name << ": no error";
    } catch (const FileError& e) {
      EXPECT_STREQ(e.what(), "Value too long at line 41207 of /plans/DP1234.lns") << c.Name;
    }
  }
}

}  // namespace
