#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace modKestralMGA {

// One field as comma-separated values write it: as it is, or between double quotes (each double
// quote inside doubled) when it holds a comma, a double quote, a carriage return or a line feed.
std::string CsvField(std::string_view text);

// The fields of one record, each through CsvField, separated by commas and ended by CR LF.
std::string CsvRecord(const std::vector<std::string>& fields);

}  // namespace modKestralMGA
