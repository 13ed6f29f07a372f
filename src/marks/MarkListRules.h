#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/BigBlocks.h"
#include "common/Seams.h"
#include "marks/MarkList.h"

namespace modKestralMGA {

// True when the list has no mark row, or when the PSM No. of its first row is empty, whatever
// the other rows hold.
bool IsGridEmpty(const MarkList& list);

// True when the row's PSM No., East and North are all non-empty: the row is complete, is saved,
// and is offered for joins.
bool DataToSave(const MarkList& list, std::size_t row);

// The farthest a survey's height (metres) lies above or below the ellipsoid: beyond it the height
// factor of the combined scale factor is no longer a small correction.
inline constexpr double kHeightLimit = 100000.0;

// The value in metres of a height text by the numeric value rule (a text that is not a number is
// 0) when it lies within kHeightLimit above or below the ellipsoid, limits included; nothing when
// it lies beyond, or beyond the range of a double.
std::optional<double> HeightWithinLimit(std::string_view text);

// The refusal of an average height text beyond the limit: "Average Height beyond 100000 m: " and
// the text.
std::string HeightBeyondLimitText(const std::string& text);

// Refuses an average height text (typed, or given to the batch program) beyond the limit before
// any join is computed: shows HeightBeyondLimitText under title (exclamation) and gives false.
bool CheckAverageHeightText(const std::string& text, MessageSink& sink, const std::string& title);

// The mean height (metres) of the rows whose Height cell is not empty, each read by the numeric
// value rule (a text that is not a number counts as a height of 0); 0 when the sum of those
// heights is 0 or negative, or when there are none. Not rounded. A Height cell beyond the limit
// (HeightWithinLimit) is left out, as an empty one is.
double AverageHeight(const MarkList& list);

// AverageHeight, telling sink under title (exclamation) about each Height cell it leaves out:
// "6628/1001 has a Height beyond 100000 m: left out of the average height" (a row without a PSM
// No. is named "Row " and its number in the list, from 1).
double AverageHeight(const MarkList& list, MessageSink& sink, const std::string& title);

// Appends rows to a list and leaves it as appending them all, taking AverageHeight and then
// removing the marks listed twice would, in one pass: of several rows with the same PSM No. text
// (exactly: same bytes, same case, blanks count) only the first stays, with its own cells; rows
// with an empty PSM No. count as equal to each other. A row whose PSM No. text is listed already
// is counted in the average height but not appended, and Finish removes the repeats among the
// rows listed before (so a list alone is cleared of its repeats by Finish at once). Linear in the
// number of rows. The list must not change otherwise until Finish.
// A row that the removal of repeats took out, with its place in the list before the removal.
struct RemovedRow {
  std::size_t Position = 0;
  MarkRow Row;
};

// A mark read from a file, as its reader made it once: its cells (views, which may lie in the
// bytes the list adopted), the PSM key of its PSM No. (TryPsmKey) and the value of its Height
// cell when that is within the limit (HeightWithinLimit; nothing for an empty cell).
struct ReadMarkRow {
  MarkCellViews Cells;
  std::optional<std::int32_t> Key;
  std::optional<double> Height;
};

class MarkRowsWithoutRepeats {
 public:
  explicit MarkRowsWithoutRepeats(MarkList& list);
  // Room for count more rows.
  void Reserve(std::size_t count);
  // The list's AdoptBytes, for rows read from those bytes.
  std::span<char> AdoptBytes(ByteBuffer bytes, std::size_t extra);
  void Append(const MarkRow& row);
  void Append(const ReadMarkRow& row);
  // AverageHeight of every row listed before and every row given to Append, in that order.
  double AverageHeight() const;
  // Removes the later rows of each PSM No. among the rows listed before. The list then knows the
  // sum of its heights (MarkList::KnownHeightSum) until it next changes.
  void Finish();
  // After Finish: every repeat left out, listed before or given to Append, in the order of its
  // place in the list of every row listed before followed by every row given to Append. Putting
  // each back at its place, in this order, gives that list again (the tidy-up undone).
  std::vector<RemovedRow> TakeRemoved() { return std::move(m_removed); }

 private:
  // True when a row of the list holds the PSM No. text (whose PSM key is key); otherwise notes
  // that row of the list, about to hold it, does.
  bool SeenBefore(std::string_view psmNumber, std::optional<std::int32_t> key, std::size_t row);
  // The height of a non-empty Height cell read (nothing when beyond the limit), in row order.
  void AddHeight(std::optional<double> height, bool kept);
  void GrowSeen(std::size_t count);

  MarkList& m_list;
  std::size_t m_listedBefore;
  std::vector<bool> m_keepListed;  // of the rows listed before: false for a later repeat
  bool m_anyListedRepeat = false;
  std::size_t m_appended = 0;         // rows given to Append, repeats included
  std::vector<RemovedRow> m_removed;  // the repeats given to Append, then after Finish all
  // The rows of the list holding each PSM No. text once: open addressing, a slot holding the
  // text's hash (high half) and its row plus one (low half), 0 when free; at most half full.
  std::vector<std::uint64_t, BigBlockAllocator<std::uint64_t>> m_seen;
  std::size_t m_seenCount = 0;
  MarkList::HeightSum m_all;   // of every row, repeats included
  MarkList::HeightSum m_kept;  // of the rows kept, when no listed row is a repeat
};

// What pressing Enter in the cell editor stores in a cell.
struct CellCommit {
  bool Stores = false;  // false: nothing is stored and the current cell stays (empty PSM No.)
  std::string Text;     // the cell's new text when Stores
};

// The commit rule of the cell editor for the text typed into column of row (a row index of
// list, from 0):
// - PSM No.: empty -> nothing stored; 1 to 4 characters, or a "/" anywhere -> as typed; else the
//   first four characters, "/", then the rest (66281001 -> 6628/1001; 662810 -> 6628/10);
// - East, North, Height: empty -> the cell is emptied; else the numeric value with three decimals
//   (280000.1234 -> 280000.123, abc -> 0.000);
// - Order, Zone, Datum, Status: typed text in upper case (Windows-1252 letters); empty
//   -> when the cell is empty and the row is not the first, the cell above is repeated, else the
//   cell is emptied.
CellCommit CommitCellText(const MarkList& list, std::size_t row, int column,
                          std::string_view typed);

}  // namespace modKestralMGA
