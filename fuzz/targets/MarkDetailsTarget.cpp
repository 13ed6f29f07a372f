// Opening a Mark Details file with the Open command's rules, into an empty list and into one
// that already holds marks, then saving the list and opening the saved file again: a refused file
// leaves the list as it was and says why, a stopped reading says why, and a saved list opens
// again with the same complete rows.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "common/NumberFormat.h"
#include "geodesy/Keys.h"
#include "marks/MarkCommands.h"
#include "marks/MarkDetailsFile.h"
#include "marks/MarkListRules.h"

namespace modKestralMGA::fuzz {

namespace {

// The complete rows of a list as a saved file keeps them: the reader trims the blanks around the
// two parts of a PSM number, so those blanks do not survive (the key is the same without them).
std::vector<MarkRow> CompleteRowsAsSaved(const MarkList& list) {
  std::vector<MarkRow> rows;
  for (std::size_t row = 0; row < list.RowCount(); ++row) {
    if (!DataToSave(list, row)) continue;
    MarkRow kept = list.Row(row).Owned();
    const std::optional<std::int32_t> key = TryPsmKey(kept[kColPsmNo]);
    std::erase(kept[kColPsmNo], ' ');
    kept[kColPsmNo] += '#';
    kept[kColPsmNo] += key ? FormatNumber(*key, kFormatCount) : std::string("none");
    rows.push_back(std::move(kept));
  }
  return rows;
}

// Opens path into list and checks what the Open command promises.
OpenResult OpenAndCheck(const std::string& path, MarkList& list) {
  const std::vector<MarkRow> before = list.OwnedRows();
  KeptMessages messages;
  const OpenResult result = OpenMarkDetailsFile(path, path, list, messages);
  Require(messages.AllTitled({kOpenCsvFileErrorTitle}), "every message is an open message");
  switch (result.Outcome) {
    case OpenOutcome::Refused:
      Require(list.OwnedRows() == before, "a refused file leaves the list as it was");
      Require(
          !messages.Empty() && messages.Entries().back().Text == "This is not a Mark Details file",
          "a refused file says so");
      break;
    case OpenOutcome::Stopped:
      Require(!messages.Empty() && messages.Entries().front().Icon == MessageIcon::Critical,
              "a reading that stopped says why");
      break;
    case OpenOutcome::Read:
      for (const KeptMessages::Entry& entry : messages.Entries()) {
        Require(entry.Icon == MessageIcon::Exclamation, "a file read whole only warns");
      }
      break;
  }
  if (result.Outcome != OpenOutcome::Refused) {
    Require(!list.Empty(), "an opened list keeps at least one row");
    std::vector<std::string> numbers;
    for (std::size_t row = 0; row < list.RowCount(); ++row) {
      numbers.emplace_back(list.Cell(row, kColPsmNo));
    }
    std::sort(numbers.begin(), numbers.end());
    Require(std::adjacent_find(numbers.begin(), numbers.end()) == numbers.end(),
            "no PSM number is listed twice after an open");
  }
  return result;
}

}  // namespace

int FuzzMarkDetails(const std::uint8_t* data, std::size_t size) {
  const std::string path = WriteScratchFile("marks.csv", AsText(data, size));

  MarkList filled;
  filled.AppendRow(
      {"6628/1001", "280000.000", "6130000.000", "100.000", "1", "54", "GDA2020", "FOUND"});
  filled.AppendRow({"6628/1002", "281000.000", "6131000.000", "", "2", "54", "", ""});
  OpenAndCheck(path, filled);

  MarkList list;
  if (OpenAndCheck(path, list).Outcome == OpenOutcome::Refused) return 0;

  // What Save writes opens again into the same complete rows.
  const std::vector<MarkRow> saved = CompleteRowsAsSaved(list);
  if (saved.empty()) return 0;
  const std::string savedPath = ScratchFolder() + "/saved.csv";
  KeptMessages saveMessages;
  Require(SaveMarkDetailsFile(savedPath, list, saveMessages), "the list can be saved");
  MarkList reopened;
  Require(OpenAndCheck(savedPath, reopened).Outcome == OpenOutcome::Read,
          "a saved list opens whole");
  Require(CompleteRowsAsSaved(reopened) == saved,
          "a saved list opens with the same complete rows and keys");
  return 0;
}

}  // namespace modKestralMGA::fuzz
