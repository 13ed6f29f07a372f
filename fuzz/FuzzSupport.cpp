#include "FuzzSupport.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace modKestralMGA::fuzz {

namespace {

// The scratch folder, made on first use and removed with its files when the process ends.
class Scratch {
 public:
  Scratch() {
    std::error_code error;
    const std::string base = std::filesystem::is_directory("/dev/shm", error)
                                 ? std::string("/dev/shm")
                                 : std::filesystem::temp_directory_path().string();
    std::string pattern = base + "/kestral-fuzz-XXXXXX";
    Require(::mkdtemp(pattern.data()) != nullptr, "a scratch folder can be made");
    m_path = pattern;
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

}  // namespace

void Require(bool condition, std::string_view what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz property broken: %.*s\n", static_cast<int>(what.size()), what.data());
  std::fflush(stderr);
  std::abort();
}

std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return size == 0 ? std::string_view()
                   : std::string_view(reinterpret_cast<const char*>(data), size);
}

std::uint64_t InputHash(std::string_view bytes) {
  std::uint64_t hash = 14695981039346656037ULL;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ULL;
  }
  return hash;
}

const std::string& ScratchFolder() {
  static const Scratch scratch;
  return scratch.Path();
}

std::string WriteScratchFile(std::string_view name, std::string_view bytes) {
  const std::string path = ScratchFolder() + "/" + std::string(name);
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  Require(fd >= 0, "a scratch file can be made");
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
    Require(written > 0, "a scratch file can be written");
    done += static_cast<std::size_t>(written);
  }
  ::close(fd);
  return path;
}

std::string ReadWholeFile(const std::string& path, bool& exists) {
  std::string bytes;
  exists = false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return bytes;
  exists = true;
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got <= 0) break;
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return bytes;
}

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool KeptMessages::AllTitled(std::initializer_list<std::string_view> titles) const {
  return std::all_of(m_entries.begin(), m_entries.end(), [&](const Entry& entry) {
    return std::find(titles.begin(), titles.end(), entry.Title) != titles.end();
  });
}

bool KeptMessages::AnyTitled(std::string_view title) const {
  return std::any_of(m_entries.begin(), m_entries.end(),
                     [&](const Entry& entry) { return entry.Title == title; });
}

}  // namespace modKestralMGA::fuzz
