#pragma once

#include <stdexcept>
#include <string>

namespace modKestralMGA {

// A failure that ends the routine that met it. what() is the description shown to the user,
// under the title of the command that caught it.
class KestralError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file that cannot be opened, read or written, or whose content is refused where it is read
// ("Number out of range at line 3 of plan.lns: 1e400"). The description names the file.
class FileError : public KestralError {
 public:
  using KestralError::KestralError;
};

// A PSM number whose key does not fit a 32-bit signed whole number.
class KeyTooLargeError : public KestralError {
 public:
  explicit KeyTooLargeError(const std::string& psmNumber)
      : KestralError("PSM number too large for a key: " + psmNumber), m_psmNumber(psmNumber) {}
  const std::string& PsmNumber() const { return m_psmNumber; }

 private:
  std::string m_psmNumber;
};

}  // namespace modKestralMGA
