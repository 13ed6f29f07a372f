// The column writer's text back end and recorder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/ColumnWriter.h"

using namespace modKestralMGA;

namespace {

TEST(ColumnWriterTest, PlacesFieldsAtTheirColumns) {
  TextColumnWriter out;
  out.Field(1, "PSM");
  out.Field(10, "East");   // pads with 6 blanks: "PSM" holds 3 columns
  out.Field(14, "North");  // the line holds exactly 13 columns: no padding
  out.Text(" m");          // straight on
  out.EndLine();
  out.Field(5, "");  // an empty field still pads to its column
  out.Text("x");
  out.EndLine();
  out.EndLine();  // an empty line
  out.Field(3, "abc");
  out.Field(5, "de");  // the line already holds 5 columns: column 5 of the next line
  out.Field(0, "z");   // below 1 counts as column 1: a new line again
  EXPECT_EQ(out.Bytes(),
            "PSM      EastNorth m\r\n"
            "    x\r\n"
            "\r\n"
            "  abc\r\n"
            "    de\r\n"
            "z");
}

// The boundary of the column rule, one byte either side: a line holding n - 1, n and n + 1
// bytes before a field at column n.
TEST(ColumnWriterTest, ColumnRuleBoundary) {
  struct Case {
    std::string Before;
    int Column;
    std::string Expected;
  };
  const std::vector<Case> cases = {
      {"abcd", 5, "abcdX"},            // holds n - 1: straight after
      {"abc", 5, "abc X"},             // holds n - 2: one blank
      {"abcde", 5, "abcde\r\n    X"},  // holds n: next line
      {"abcdef", 5, "abcdef\r\n    X"},
      {"", 1, "X"},
      {"a", 1, "a\r\nX"},
  };
  for (const Case& c : cases) {
    TextColumnWriter out;
    out.Text(c.Before);
    out.Field(c.Column, "X");
    EXPECT_EQ(out.Bytes(), c.Expected) << '"' << c.Before << "\" then column " << c.Column;
  }
}

TEST(ColumnWriterTest, RecorderKeepsTheCallsAndRendersTheLines) {
  RecordingColumnWriter out;
  out.Field(1, "From");
  out.Field(8, "To");
  out.Text("!");
  out.EndLine();
  out.Field(4, "long text");
  out.Field(6, "wrapped");
  out.EndLine();
  out.Field(2, "open");

  const auto& items = out.Items();
  ASSERT_EQ(items.size(), 3u);
  ASSERT_EQ(items[0].size(), 3u);
  EXPECT_EQ(items[0][1].Column, 8);
  EXPECT_EQ(items[0][1].Text, "To");
  EXPECT_EQ(items[0][2].Column, 0);
  EXPECT_EQ(items[0][2].Text, "!");
  ASSERT_EQ(items[1].size(), 2u);
  EXPECT_EQ(items[1][1].Column, 6);
  ASSERT_EQ(items[2].size(), 1u);
  EXPECT_EQ(items[2][0].Text, "open");

  // The rendered lines include the one the overflowing field started; the open line is not
  // ended and so not among them.
  EXPECT_EQ(out.Lines(), (std::vector<std::string>{"From   To!", "   long text", "     wrapped"}));
}

}  // namespace
