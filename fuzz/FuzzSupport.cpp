#include "FuzzSupport.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace modKestralMGA::fuzz {

namespace {

constexpr std::string_view kScratchPrefix = "kestral-fuzz-";

// The scratch folder, made on first use and removed with its files when the process ends. libFuzzer
// often ends a process without running destructors, so the folder is named after the process, and
// the folders of processes that no longer run are removed when a new one is made.
class Scratch {
 public:
  Scratch() {
    std::error_code error;
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    RemoveLeftOvers(base);
    char pid[24];
    char* end = std::to_chars(pid, pid + sizeof pid, ::getpid()).ptr;
    m_path = (base / (std::string(kScratchPrefix) + std::string(pid, end))).string();
    std::filesystem::remove_all(m_path, error);
    Require(std::filesystem::create_directory(m_path, error), "a scratch folder can be made");
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  const std::string& Path() const { return m_path; }

 private:
  // Removes the scratch folders of processes that no longer run.
  static void RemoveLeftOvers(const std::filesystem::path& base) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(base, error)) {
      const std::string name = entry.path().filename().string();
      if (!name.starts_with(kScratchPrefix)) continue;
      pid_t pid = 0;
      const char* first = name.data() + kScratchPrefix.size();
      const char* last = name.data() + name.size();
      const auto [end, result] = std::from_chars(first, last, pid);
      if (result != std::errc() || end != last || pid <= 0) continue;
      if (::kill(pid, 0) != 0 && errno == ESRCH) std::filesystem::remove_all(entry.path(), error);
    }
  }

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
