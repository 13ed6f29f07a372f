#pragma once

// A fresh folder for one test's files, removed with everything in it when the test ends.
#include <gtest/gtest.h>
#include <stdlib.h>

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

}  // namespace modKestralMGA::testsupport
