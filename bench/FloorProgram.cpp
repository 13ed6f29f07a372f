// The floor of a whole batch job as a process of its own: the least work any program must do to
// produce the job's output from its input. Starting and ending a process, reading and splitting
// every input file, the bare arithmetic of the joins, and writing as many bytes as the job
// writes: to standard output, and to a report file as the batch program does (a temporary file
// beside it, synced, renamed over it).
//   kestral_floor [--read FILE]... [--joins XY_FILE] [--stdout BYTES] [--write PATH BYTES]
// XY_FILE holds the PSMs' MGA coordinates, "east north" a line.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Floors.h"

namespace {

constexpr std::size_t kPiece = 1 << 20;

bool WriteBytes(int fd, std::size_t bytes) {
  const std::unique_ptr<char[]> piece(new char[kPiece]);
  std::memset(piece.get(), 'x', kPiece);
  while (bytes > 0) {
    const std::size_t size = bytes < kPiece ? bytes : kPiece;
    const ssize_t written = ::write(fd, piece.get(), size);
    if (written <= 0) return false;
    bytes -= static_cast<std::size_t>(written);
  }
  return true;
}

bool WriteFile(const std::string& path, std::size_t bytes) {
  const std::string temp = path + ".floor-tmp";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool written = WriteBytes(fd, bytes) && ::fsync(fd) == 0;
  return ::close(fd) == 0 && written && std::rename(temp.c_str(), path.c_str()) == 0;
}

double Joins(const char* path) {
  std::FILE* file = std::fopen(path, "r");
  if (file == nullptr) return -1.0;
  std::vector<double> east;
  std::vector<double> north;
  double e = 0.0;
  double n = 0.0;
  while (std::fscanf(file, "%lf %lf", &e, &n) == 2) {
    east.push_back(e);
    north.push_back(n);
  }
  std::fclose(file);
  return modKestralMGA::JoinArithmeticFloor(east, north);
}

}  // namespace

int main(int argc, char** argv) {
  double sum = 0.0;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    const bool hasValue = i + 1 < argc;
    if (option == "--read" && hasValue) {
      sum += static_cast<double>(modKestralMGA::ReadAndSplitFloor(argv[++i]));
    } else if (option == "--joins" && hasValue) {
      sum += Joins(argv[++i]);
    } else if (option == "--stdout" && hasValue) {
      if (!WriteBytes(1, std::strtoull(argv[++i], nullptr, 10))) return 1;
    } else if (option == "--write" && i + 2 < argc) {
      const std::string path = argv[++i];
      if (!WriteFile(path, std::strtoull(argv[++i], nullptr, 10))) return 1;
    } else {
      std::fprintf(stderr, "kestral_floor: unknown argument %s\n", option.c_str());
      return 2;
    }
  }
  // The sum is the work's result: written so that none of the work can be left out.
  std::fprintf(stderr, "%g\n", sum);
  return 0;
}
