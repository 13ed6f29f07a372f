#pragma once

#include <string>

namespace modKestralMGA {

// A temporary folder of benchmark input files, removed with everything in it at the end.
class BenchFolder {
 public:
  BenchFolder();
  ~BenchFolder();
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;

  // Writes bytes to the file name in the folder, replacing it; returns the file's path. Throws
  // std::runtime_error when the file cannot be written.
  std::string Write(const std::string& name, const std::string& bytes) const;
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

// A plan's lines and curve files, "plan.lns" and "plan.cve", in a folder of their own.
class PlanFiles {
 public:
  PlanFiles(const std::string& lines, const std::string& curves)
      : m_lines(m_folder.Write("plan.lns", lines)), m_curves(m_folder.Write("plan.cve", curves)) {}
  // The plan identifier: the files' path without extension.
  std::string Identifier() const { return m_folder.Path() + "/plan"; }
  const std::string& Lines() const { return m_lines; }
  const std::string& Curves() const { return m_curves; }

 private:
  BenchFolder m_folder;
  std::string m_lines;
  std::string m_curves;
};

}  // namespace modKestralMGA
