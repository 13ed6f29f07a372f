// Importing a delimited text file as the batch program's --import does, with column numbers
// chosen by the input: a refused file appends nothing and says why, and every imported cell is a
// run of the field characters copied from the file, after at most one minus sign of its own (a
// decimal comma becomes the decimal point).
#include <array>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "marks/ImportText.h"
#include "marks/MarkList.h"

namespace modKestralMGA::fuzz {

namespace {

// Column numbers as the import window's boxes might hold them: the initial ones, all five, an
// order of the user's own, repeated numbers (the first box wins), and numbers no field carries.
const std::array<ImportColumnNumbers, 7> kColumnSets = {{
    {1.0, 2.0, 3.0, 0.0, 0.0},
    {1.0, 2.0, 3.0, 4.0, 5.0},
    {3.0, 1.0, 2.0, 0.0, 4.0},
    {1.0, 1.0, 2.0, 2.0, 0.0},
    {2.5, -1.0, 1e9, 0.0, 0.0},
    {5.0, 4.0, 3.0, 2.0, 1.0},
    {1.0, 2.0, 3.0, 4.0, 5.0, /*DecimalComma=*/true},
}};

// A field as the import cuts it: a minus sign only in front, and only before a digit or a point.
bool IsFieldText(const std::string& cell) {
  const std::size_t start = cell.starts_with('-') ? 1 : 0;
  if (start == 1 && (cell.size() < 2 || cell[1] == '/')) return false;
  return cell.find_first_not_of("0123456789./", start) == std::string::npos;
}

}  // namespace

int FuzzImportText(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = AsText(data, size);
  const std::string path = WriteScratchFile("points.txt", bytes);
  const ImportColumnNumbers& columns = kColumnSets[InputHash(bytes) % kColumnSets.size()];

  // A complete mark, then an incomplete last row that the import removes first.
  MarkList list;
  list.AppendRow({"6628/1001", "280000.000", "6130000.000", "", "", "", "", ""});
  list.AppendRow({"6628/1002", "", "", "", "", "", "", ""});
  KeptMessages messages;
  const ImportOutcome outcome = ImportDelimitedText(path, path, columns, list, messages);
  Require(list.RowCount() >= 1 && list.Row(0)[kColPsmNo] == "6628/1001",
          "the marks before the import stay");
  Require(messages.AllTitled({kImportFileErrorTitle, kImportErrorTitle}),
          "every message is an import message");
  switch (outcome) {
    case ImportOutcome::Refused:
      Require(list.RowCount() == 1, "a refused file adds nothing");
      Require(!messages.Empty() && messages.Entries().back().Text == kNothingFoundInFile,
              "a refused file says nothing was found");
      break;
    case ImportOutcome::Stopped:
      Require(!messages.Empty() && messages.Entries().back().Title == kImportFileErrorTitle,
              "an import that stopped says why");
      break;
    case ImportOutcome::Read:
      Require(messages.Empty(), "an import read whole shows nothing");
      break;
  }
  for (std::size_t row = 1; row < list.RowCount(); ++row) {
    const MarkRow mark = list.Row(row).Owned();
    Require(!mark[kColPsmNo].empty(), "an imported row has a point");
    for (const std::string& cell : mark) {
      Require(IsFieldText(cell), "an imported cell is a run of field characters");
      // (Looked for in the first rows only: the search is slow on a large input. A decimal
      // comma's cell holds a point where the file has the comma.)
      if (row <= 50 && !columns.DecimalComma) {
        Require(bytes.find(cell) != std::string_view::npos, "an imported cell comes from the file");
      }
    }
  }
  return 0;
}

}  // namespace modKestralMGA::fuzz
