#pragma once

// The fuzz targets. Each runs one input through the entry points that the program's commands
// use, with a message sink that keeps the messages, and checks what the program promises: no
// exception escapes a command, every failure ends in a message, and no number that is not finite
// reaches a result. An input that breaks a promise stops the process (Require). libFuzzer calls
// them through FuzzMain.cpp; the replay test calls them on the committed findings and seeds.
#include <array>
#include <cstddef>
#include <cstdint>

namespace modKestralMGA::fuzz {

// The numeric value rule, the strict reading of plan values, number formats, keys and angles of
// a text.
int FuzzNumericValue(const std::uint8_t* data, std::size_t size);
// The text-file byte rules and the value-list reader on a file.
int FuzzValueList(const std::uint8_t* data, std::size_t size);
// Opening a Mark Details file (43 or 51 fields) into an empty and into a filled list, and saving
// what was read.
int FuzzMarkDetails(const std::uint8_t* data, std::size_t size);
// Importing a delimited text file with column numbers taken from the input.
int FuzzImportText(const std::uint8_t* data, std::size_t size);
// Reading a plan's lines file as the Compare command does.
int FuzzLinesFile(const std::uint8_t* data, std::size_t size);
// Reading a plan's curve file and the chords of its curves.
int FuzzCurveFile(const std::uint8_t* data, std::size_t size);
// A whole Compare, and the saved joins report, on a lines file and a curve file (the input split
// at its first kCompareFileSeparator) against a fixed mark list.
int FuzzCompare(const std::uint8_t* data, std::size_t size);
// Reading a LandXML file as a plan (and building its points) and as a source of marks.
int FuzzLandXml(const std::uint8_t* data, std::size_t size);
// Replacing a file atomically while file operations fail as the input's first bytes say.
int FuzzAtomicWrite(const std::uint8_t* data, std::size_t size);
// Reading a user's criteria file (JSON) after the shipped criteria.
int FuzzCriteriaFile(const std::uint8_t* data, std::size_t size);

// Between the lines file and the curve file in an input of FuzzCompare.
inline constexpr const char* kCompareFileSeparator = "\n====\n";

struct FuzzTarget {
  const char*
      Name;  // the folder of its seeds (fuzz/corpus/) and findings (tests/data/fuzz-regress/)
  int (*Run)(const std::uint8_t* data, std::size_t size);
};

inline constexpr std::array<FuzzTarget, 10> kFuzzTargets = {{
    {"numeric_value", FuzzNumericValue},
    {"value_list", FuzzValueList},
    {"mark_details", FuzzMarkDetails},
    {"import_text", FuzzImportText},
    {"lines_file", FuzzLinesFile},
    {"curve_file", FuzzCurveFile},
    {"compare", FuzzCompare},
    {"atomic_write", FuzzAtomicWrite},
    {"landxml", FuzzLandXml},
    {"criteria_file", FuzzCriteriaFile},
}};

}  // namespace modKestralMGA::fuzz
