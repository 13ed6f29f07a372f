#pragma once

#include <string>

namespace modKestralMGA {

// The path to open for a path that may be spelled in another letter case than the file system
// holds it (a plan identifier typed or shown in upper case). When the path exists as given it is
// returned unchanged. Otherwise each component is looked up in its folder, from the first: an
// exact name is taken as it is, else a name equal to it ignoring letter case (ASCII and the
// Latin-1 letters in UTF-8); where several match, the first in byte order. When a component
// cannot be found the path is returned as given, so that opening it fails with the usual message.
// "\" is an ordinary character of a name.
std::string ResolvePath(const std::string& path);

// True when an entry of that path (resolved as above) exists; false when none is found or the
// query itself fails.
bool FileExists(const std::string& path);

}  // namespace modKestralMGA
