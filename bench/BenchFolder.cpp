#include "BenchFolder.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace modKestralMGA {

BenchFolder::BenchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kestral-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot create a temporary folder");
  }
  m_path = pattern;
}

BenchFolder::~BenchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

std::string BenchFolder::Write(const std::string& name, const std::string& bytes) const {
  const std::string path = m_path + "/" + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path);
  return path;
}

}  // namespace modKestralMGA
