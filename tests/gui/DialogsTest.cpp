// The dialogs seam's filters and texts, and the dump path taken from the program's arguments.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/CommandLine.h"
#include "app/Dialogs.h"
#include "app/QtDialogs.h"

TEST(DialogFilter, PairsBecomeQtFiltersKeepingTheProgramsDescriptions) {
  const std::pair<const char*, QStringList> cases[] = {
      // The description already names its pattern (in another letter case): shown as it is, and
      // the dialog matches names regardless of case.
      {"CSV Files (*.CSV)|*.csv|Screen dump files (*.DMP)|*.dmp",
       {"CSV Files (*.CSV)", "Screen dump files (*.DMP)"}},
      // A description without its pattern gets it in parentheses, where Qt reads it.
      {"Text files|*.txt;*.csv", {"Text files (*.txt *.csv)"}},
      {"Lines (*.LNS)|*.cve", {"Lines (*.LNS) (*.cve)"}},
      {"Lines|*.cve|All files", {"Lines (*.cve)", "All files"}},  // the last without a pattern
      {"", {}}};
  for (const auto& [filter, expected] : cases) EXPECT_EQ(QtNameFilters(filter), expected) << filter;
}

TEST(DialogText, Utf8IsShownAsItIsAndOtherBytesAsWindows1252) {
  EXPECT_EQ(MessageText("Cannot write /home/j\xC3\xBCrgen/a.csv"),
            QStringLiteral("Cannot write /home/j\u00fcrgen/a.csv"));
  EXPECT_EQ(MessageText("PSM number too large for a key: 99\xE9"),
            QStringLiteral("PSM number too large for a key: 99\u00e9"));
}

TEST(CommandLine, ArgumentsJoinedByBlanksNameTheDumpFile) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(folder.path()));
  for (const char* name : {"my marks.dmp", "\"odd.dmp\"", "odd.dmp"})
    QFile(name).open(QIODevice::WriteOnly);
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, ""},
      {{"my", "marks.dmp"}, "my marks.dmp"},  // unquoted, the blank splits the path: joined again
      // Quoted as one argument (a shortcut that adds quotes): the quotes go when only the
      // unquoted path names a file; a path that names nothing either way is used as given, so
      // that its message names what was asked for.
      {{"\"my marks.dmp\""}, "my marks.dmp"},
      {{"\"/no/such file.dmp\""}, "\"/no/such file.dmp\""},
      // A file whose name really begins and ends with quotes opens as named, even beside the
      // file without them.
      {{"\"odd.dmp\""}, "\"odd.dmp\""}};
  for (const auto& [arguments, path] : cases) EXPECT_EQ(DumpPathFromArguments(arguments), path);
  QDir::setCurrent(previous);
}
