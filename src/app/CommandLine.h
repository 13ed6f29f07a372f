#pragma once

#include <string>
#include <vector>

// The screen dump path named by the program's arguments (those left after Qt has taken its own
// options, such as -platform): the arguments joined by single blanks, so that a path with blanks
// works unquoted. When that text names no file but the same text without one pair of
// surrounding double quotes does, the text without them: a caller that quotes such a path (as a
// Windows shortcut or a desktop file does) gets the file it meant, while a file whose name really
// begins and ends with quotes still opens as named. Empty when there are no arguments.
std::string DumpPathFromArguments(const std::vector<std::string>& arguments);
