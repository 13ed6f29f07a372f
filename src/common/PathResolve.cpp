#include "common/PathResolve.h"

#include <dirent.h>
#include <sys/stat.h>

#include <string_view>

namespace modKestralMGA {

namespace {

bool EntryExists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

// name with its letters in lower case, for comparing names ignoring letter case: ASCII A-Z, and
// the UTF-8 Latin-1 capitals U+00C0 to U+00DE (but the multiplication sign U+00D7), whose lower
// case lies 0x20 above them in the second byte.
std::string FoldCase(std::string_view name) {
  std::string folded(name);
  for (std::size_t i = 0; i < folded.size(); ++i) {
    const auto byte = static_cast<unsigned char>(folded[i]);
    if (byte >= 'A' && byte <= 'Z') {
      folded[i] = static_cast<char>(byte + ('a' - 'A'));
    } else if (byte == 0xC3 && i + 1 < folded.size()) {
      const auto next = static_cast<unsigned char>(folded[i + 1]);
      if (next >= 0x80 && next <= 0x9E && next != 0x97) {
        folded[i + 1] = static_cast<char>(next + 0x20);
      }
      ++i;
    }
  }
  return folded;
}

// The entry of folder whose name equals name ignoring letter case, the first in byte order when
// several do; empty when none does or the folder cannot be read.
std::string FindIgnoringCase(const std::string& folder, std::string_view name) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return {};
  const std::string wanted = FoldCase(name);
  std::string best;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view candidate(entry->d_name);
    if (candidate.size() != name.size() || FoldCase(candidate) != wanted) continue;
    if (best.empty() || candidate < best) best = candidate;
  }
  ::closedir(dir);
  return best;
}

}  // namespace

std::string ResolvePath(const std::string& path) {
  if (path.empty() || EntryExists(path)) return path;
  // Walk the components, keeping every separator as written; resolved holds the path up to and
  // including the current component.
  std::string resolved;
  std::size_t pos = 0;
  while (pos < path.size()) {
    if (path[pos] == '/') {
      resolved.push_back('/');
      ++pos;
      continue;
    }
    std::size_t end = path.find('/', pos);
    if (end == std::string::npos) end = path.size();
    const std::string_view component(path.data() + pos, end - pos);
    const std::string folder = resolved;
    resolved.append(component);
    if (!EntryExists(resolved)) {
      const std::string match = FindIgnoringCase(folder, component);
      if (match.empty()) return path;
      resolved.replace(folder.size(), component.size(), match);
    }
    pos = end;
  }
  return resolved;
}

bool FileExists(const std::string& path) {
  return !path.empty() && EntryExists(ResolvePath(path));
}

}  // namespace modKestralMGA
