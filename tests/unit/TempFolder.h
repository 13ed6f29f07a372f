#pragma once

// A fresh folder for one test's files, removed with everything in it when the test ends.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <string_view>

namespace modKestralMGA::testsupport {

class TempFolder {
 public:
  TempFolder() : m_path((std::filesystem::temp_directory_path() / "kestral-test-XXXXXX").string()) {
    if (::mkdtemp(m_path.data()) == nullptr) ADD_FAILURE() << "cannot create " << m_path;
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }

  const std::string& Path() const { return m_path; }
  // The path of name inside the folder.
  std::string operator/(std::string_view name) const { return m_path + "/" + std::string(name); }

  // Writes bytes, unchanged, to the file name in the folder; returns its path.
  std::string Write(std::string_view name, std::string_view bytes) const {
    const std::string path = *this / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) ADD_FAILURE() << "cannot write " << path;
    return path;
  }

  // The names of the entries of folder (the whole folder when empty).
  std::set<std::string> Names(std::string_view folder = {}) const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(*this / folder))
      names.insert(entry.path().filename().string());
    return names;
  }

 private:
  std::string m_path;
};

// The bytes of the file at path ("" when it cannot be read).
inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// True when the golden files are to be written from what the tests get: KESTRAL_UPDATE_GOLDEN=1
// in the environment (make golden). A normal run only reads them.
inline bool UpdatingGolden() {
  const char* value = std::getenv("KESTRAL_UPDATE_GOLDEN");
  return value != nullptr && std::string_view(value) == "1";
}

// The bytes of the golden file at path, which actual replaces first when UpdatingGolden.
inline std::string Golden(const std::string& path, std::string_view actual) {
  if (UpdatingGolden()) std::ofstream(path, std::ios::binary) << actual;
  return ReadBytes(path);
}

}  // namespace modKestralMGA::testsupport
