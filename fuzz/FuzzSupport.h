#pragma once

// What the fuzz targets share: a scratch folder for the files the commands read and write, a
// message sink that keeps every message, and the check that stops a run whose outcome breaks a
// property the program promises.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/Seams.h"

namespace modKestralMGA::fuzz {

// Stops the run when condition is false: prints what was expected on standard error and aborts,
// which libFuzzer reports as a crash and the replay test as a failed test.
void Require(bool condition, std::string_view what);

// The input as text, bytes unchanged.
std::string_view AsText(const std::uint8_t* data, std::size_t size);

// A hash of the input (FNV-1a), from which a target takes the options it runs with, so that the
// same input always runs the same way.
std::uint64_t InputHash(std::string_view bytes);

// A folder of this process for the targets' files (under /dev/shm when it is there, so that
// the files stay in memory), removed when the process ends.
const std::string& ScratchFolder();

// Writes bytes, unchanged, to the file name in the scratch folder, replacing it; returns its
// path.
std::string WriteScratchFile(std::string_view name, std::string_view bytes);

// The bytes of the file at path, or nothing (exists false) when it cannot be read.
std::string ReadWholeFile(const std::string& path, bool& exists);

// The names in a folder, sorted.
std::vector<std::string> FolderNames(const std::string& folder);

// A message sink that keeps every message.
class KeptMessages final : public MessageSink {
 public:
  struct Entry {
    std::string Text;
    std::string Title;
    MessageIcon Icon;
  };
  void Message(const std::string& text, const std::string& title, MessageIcon icon) override {
    m_entries.push_back({text, title, icon});
  }
  const std::vector<Entry>& Entries() const { return m_entries; }
  bool Empty() const { return m_entries.empty(); }
  // True when every message carries one of the titles.
  bool AllTitled(std::initializer_list<std::string_view> titles) const;
  // True when some message carries the title.
  bool AnyTitled(std::string_view title) const;

 private:
  std::vector<Entry> m_entries;
};

}  // namespace modKestralMGA::fuzz
