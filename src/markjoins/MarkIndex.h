#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "common/Int32HashMap.h"
#include "common/Seams.h"
#include "geodesy/MarkNames.h"
#include "marks/MarkList.h"

namespace modKestralMGA {

// The largest easting and northing (metres) that a transverse Mercator grid with false easting
// 500000 m and false northing 10000000 m can give: a mark above either lies on no grid.
inline constexpr double kGridEastLimit = 10000000.0;
inline constexpr double kGridNorthLimit = 20000000.0;

class OffGridNotices;

// What a join needs of a listed mark, read from its cells by the numeric value rule.
struct IndexedMark {
  double East = 0.0;
  double North = 0.0;
  double Order = 0.0;  // the Order cell's value rounded half to even (no 16-bit limit)
};

// Looks marks up by PSM key. Gives the same answers as scanning the list at every join (the last
// row with the key wins; the list as it is at the moment of the call) at hash-table cost: the
// index is rebuilt only when the list's revision has changed, and a row's cells are read at its
// first lookup after a rebuild and kept until the next. A row whose PSM number gives a key beyond
// 32 bits is never matched. A mark whose easting is above kGridEastLimit or whose northing is
// above kGridNorthLimit lies on no grid: it is found with East and North 0, as a mark without
// coordinates, and the OffGridNotices of the running command, if any, tell about it.
class MarkIndex {
 public:
  explicit MarkIndex(const MarkList& list) : m_list(&list) {}
  MarkIndex(const MarkIndex&) = delete;
  MarkIndex& operator=(const MarkIndex&) = delete;
  // The mark with that key, or nothing when no row has it.
  std::optional<IndexedMark> Find(std::int32_t key);
  // The mark with that key, or a mark with every value 0 when no row has it: the coordinates of
  // a missing mark count as 0.
  IndexedMark FindOrZero(std::int32_t key) { return Find(key).value_or(IndexedMark{}); }
  // The row of the list (from 0) that Find takes the mark of, or nothing when no row has the key.
  // Reads no cell but the keys.
  std::optional<std::size_t> FindRow(std::int32_t key);
  const MarkList& List() const { return *m_list; }
  // The named marks of the plan being compared: from the next lookup on, a row whose PSM No. the
  // key rule cannot turn into a number is found under the key that names gives its match text
  // (the last such row wins), and a row whose key equals one of those keys is not found under it.
  // An empty table puts the index back to keys alone.
  void UseNames(const MarkNameTable& names);
  // Builds the index and reads every keyed row now, each as its first lookup would (an off-grid
  // mark is told to the OffGridNotices of the running command, if any). Afterwards, as long as
  // the list does not change and no OffGridNotices is made over the index, Find only reads: one
  // index may then serve lookups from several threads at once.
  void ReadEveryRow();

 private:
  friend class OffGridNotices;

  // Which limit a listed mark's coordinates are above, if any.
  enum class OffGrid : std::uint8_t { No, East, North };
  struct ReadMark {
    IndexedMark Mark;
    OffGrid Where = OffGrid::No;
  };
  void Rebuild();
  // The key a row is found under: its PSM key, or its name's key in m_names; nothing when none.
  std::optional<std::int32_t> KeyOfRow(std::size_t row) const;
  // The values of a row, read from its cells.
  ReadMark ReadRow(std::size_t row) const;

  const MarkList* m_list;
  Int32HashMap<std::uint32_t> m_rows;  // the row that holds each key
  // The values of the rows looked up since the rebuild, and where each key's values are in it:
  // a list of 200,000 marks against a plan of 60 PSMs reads 60 rows and keeps 60 places.
  std::vector<ReadMark> m_read;
  Int32HashMap<std::uint32_t> m_readAt;
  std::uint64_t m_revision = 0;
  bool m_built = false;
  OffGridNotices* m_notices = nullptr;
  MarkNameTable m_names;
};

// While a command runs: tells about each listed mark that the command's lookups find on no grid,
// once per mark (by key) however often the command looks it up, with the message "<PSM No.> lies
// outside every MGA zone (East above 10000000 m): taken as without coordinates" ("North above
// 20000000 m" when only the northing is) under the command's title (exclamation). The command
// makes one over the index it uses for as long as it runs; outside such a command the index
// tells no one.
class OffGridNotices {
 public:
  OffGridNotices(MarkIndex& index, MessageSink& sink, std::string title);
  ~OffGridNotices();
  OffGridNotices(const OffGridNotices&) = delete;
  OffGridNotices& operator=(const OffGridNotices&) = delete;

 private:
  friend class MarkIndex;
  void Tell(std::int32_t key, std::string_view psmNumber, MarkIndex::OffGrid where);

  MarkIndex& m_index;
  OffGridNotices* m_outer;  // the notices of a command that runs this one, restored after it
  MessageSink& m_sink;
  std::string m_title;
  std::unordered_set<std::int32_t> m_told;
};

// A listed mark with positive coordinates, under its key.
struct ListedMark {
  std::int32_t Key = 0;
  IndexedMark Mark;
};

// A place on the grid, metres.
struct GridPlace {
  double East = 0.0;
  double North = 0.0;
};

// The listed marks within radius metres of any of places, as Find gives them (the last row with
// a key wins; positive coordinates only), once each, in list order. Reads a row's northing and
// key only when its easting is near a place, so that a list of 200,000 marks costs one reading
// of an easting a row.
std::vector<ListedMark> MarksNear(MarkIndex& index, const std::vector<GridPlace>& places,
                                  double radius);

}  // namespace modKestralMGA
