// The dialogs seam's filters and texts, and the dump path taken from the program's arguments.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/CommandLine.h"
#include "app/Dialogs.h"
#include "app/QtDialogs.h"

TEST(DialogFilter, SplitsDescriptionPatternPairsInOrder) {
  const auto entries = ParseDialogFilter("CSV Files (*.CSV)|*.csv|Screen dump files (*.DMP)|*.dmp");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].Description, "CSV Files (*.CSV)");
  EXPECT_EQ(entries[0].Pattern, "*.csv");
  EXPECT_EQ(entries[1].Description, "Screen dump files (*.DMP)");
  EXPECT_EQ(entries[1].Pattern, "*.dmp");

  const auto lone = ParseDialogFilter("All files");
  ASSERT_EQ(lone.size(), 1u);
  EXPECT_EQ(lone[0].Description, "All files");
  EXPECT_EQ(lone[0].Pattern, "");
  EXPECT_TRUE(ParseDialogFilter("").empty());
}

TEST(DialogFilter, QtFiltersKeepTheProgramsDescriptionsAndCarryThePatterns) {
  struct Case {
    const char* filter;
    QStringList expected;
  };
  const Case cases[] = {
      // The description already names its pattern (in another letter case): shown as it is,
      // and the dialog matches names regardless of case.
      {"CSV Files (*.CSV)|*.csv|Screen dump files (*.DMP)|*.dmp",
       {"CSV Files (*.CSV)", "Screen dump files (*.DMP)"}},
      {"KESTRAL Lines files (*.LNS)|*.lns", {"KESTRAL Lines files (*.LNS)"}},
      // A description without its pattern gets it in parentheses, where Qt reads it.
      {"Text files|*.txt;*.csv", {"Text files (*.txt *.csv)"}},
      {"Lines (*.LNS)|*.cve", {"Lines (*.LNS) (*.cve)"}},
  };
  for (const Case& c : cases) EXPECT_EQ(QtNameFilters(c.filter), c.expected) << c.filter;
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
  const std::string withBlanks =
      QFile::encodeName(folder.filePath(QStringLiteral("my marks.dmp"))).toStdString();
  QFile(QString::fromStdString(withBlanks)).open(QIODevice::WriteOnly);
  const std::string base = QFile::encodeName(folder.path()).toStdString();

  EXPECT_EQ(DumpPathFromArguments({}), "");
  // Unquoted, the blank splits the path into two arguments: joined again.
  EXPECT_EQ(DumpPathFromArguments({base + "/my", "marks.dmp"}), withBlanks);
  // Quoted as one argument (a shortcut that adds quotes): the quotes go when only the unquoted
  // path names a file.
  EXPECT_EQ(DumpPathFromArguments({"\"" + withBlanks + "\""}), withBlanks);
  // A path that names nothing either way is used as given, quotes and all, so that its message
  // names what was asked for.
  EXPECT_EQ(DumpPathFromArguments({"\"/no/such file.dmp\""}), "\"/no/such file.dmp\"");
  // A file whose name really begins and ends with quotes opens as named, even beside the file
  // without them.
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(folder.path()));
  QFile(QStringLiteral("\"odd.dmp\"")).open(QIODevice::WriteOnly);
  QFile(QStringLiteral("odd.dmp")).open(QIODevice::WriteOnly);
  EXPECT_EQ(DumpPathFromArguments({"\"odd.dmp\""}), "\"odd.dmp\"");
  QDir::setCurrent(previous);
}
