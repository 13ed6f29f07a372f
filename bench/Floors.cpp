#include "Floors.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>
#include <string_view>

#include "geodesy/Ellipsoid.h"
#include "geodesy/ScaleFactor.h"

namespace modKestralMGA {

namespace {

std::string ReadWhole(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw std::runtime_error("cannot open " + path);
  struct stat info {};
  ::fstat(fd, &info);
  std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  ::close(fd);
  bytes.resize(done);
  return bytes;
}

}  // namespace

std::size_t ReadAndSplitFloor(const std::string& path) {
  const std::string bytes = ReadWhole(path);
  const std::string_view text = bytes;
  std::vector<std::string_view> fields;
  std::size_t total = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != ',' && c != '\n' && c != '\r') continue;
    fields.push_back(text.substr(start, i - start));
    start = i + 1;
    if (c != ',') {
      // A line end: the line's fields are done with.
      total += fields.size();
      for (const std::string_view field : fields) total += field.size();
      fields.clear();
    }
  }
  return total + fields.size();
}

double JoinArithmeticFloor(const std::vector<double>& east, const std::vector<double>& north) {
  constexpr DistanceCalculationMode kMode = DistanceCalculationMode::MGA94_2020;
  double sum = 0.0;
  for (std::size_t a = 0; a < east.size(); ++a) {
    for (std::size_t b = a + 1; b < east.size(); ++b) {
      const double latitude =
          GridToLatitude((east[a] + east[b]) / 2.0, (north[a] + north[b]) / 2.0, kMode);
      sum += LineScaleFactor(east[a], east[b], latitude, kMode);
    }
  }
  return sum;
}

}  // namespace modKestralMGA
