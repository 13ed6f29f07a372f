#include "Floors.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <string_view>

#include "geodesy/Ellipsoid.h"
#include "geodesy/ScaleFactor.h"

namespace modKestralMGA {

namespace {

// A buffer of size bytes, not cleared, in memory advised for huge pages when it is large: the
// least a program pays for fresh memory (a 4 KiB page fault costs about 20 µs on a virtual
// machine; a 2 MiB page covers 512 of them).
struct Buffer {
  explicit Buffer(std::size_t size) : Size(size) {
    constexpr std::size_t kHuge = std::size_t{2} << 20;
    Mapped = (size + kHuge - 1) / kHuge * kHuge;
    void* at = Mapped == 0 ? MAP_FAILED
                           : ::mmap(nullptr, Mapped, PROT_READ | PROT_WRITE,
                                    MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (at == MAP_FAILED) {
      Mapped = 0;
      return;
    }
    ::madvise(at, Mapped, MADV_HUGEPAGE);
    Data = static_cast<char*>(at);
  }
  ~Buffer() {
    if (Data != nullptr) ::munmap(Data, Mapped);
  }
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;
  char* Data = nullptr;
  std::size_t Size = 0;
  std::size_t Mapped = 0;
};

// The file's bytes read whole.
std::size_t ReadWhole(const std::string& path, std::unique_ptr<Buffer>& bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw std::runtime_error("cannot open " + path);
  struct stat info {};
  ::fstat(fd, &info);
  bytes = std::make_unique<Buffer>(static_cast<std::size_t>(info.st_size));
  std::size_t done = 0;
  while (bytes->Data != nullptr && done < bytes->Size) {
    const ssize_t got = ::read(fd, bytes->Data + done, bytes->Size - done);
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  ::close(fd);
  return done;
}

}  // namespace

std::size_t ReadAndSplitFloor(const std::string& path) {
  std::unique_ptr<Buffer> bytes;
  const std::size_t size = ReadWhole(path, bytes);
  const std::string_view text(bytes->Data, size);
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

double ClosedFormFootPointLatitude(double N, DistanceCalculationMode mode) {
  const Ellipsoid ellipsoid = EllipsoidOf(mode);
  const double f = 1.0 / ellipsoid.InverseFlattening;
  const double n = f / (2.0 - f);
  const double n2 = n * n;
  const double n3 = n2 * n;
  const double n4 = n2 * n2;
  // The rectifying radius: the meridian distance is g times the rectifying latitude.
  const double g =
      ellipsoid.SemiMajorAxis * (1.0 - n) * (1.0 - n2) * (1.0 + 9.0 * n2 / 4.0 + 225.0 * n4 / 64.0);
  const double sigma = (N - kFalseNorthing) / kCentralScaleFactor / g;
  // sin 2k sigma for k = 1..4 from one sine and cosine.
  const double s2 = std::sin(2.0 * sigma);
  const double c2 = std::cos(2.0 * sigma);
  const double s4 = 2.0 * s2 * c2;
  const double c4 = 1.0 - 2.0 * s2 * s2;
  const double s6 = s4 * c2 + c4 * s2;
  const double s8 = 2.0 * s4 * c4;
  return sigma + (3.0 * n / 2.0 - 27.0 * n3 / 32.0) * s2 +
         (21.0 * n2 / 16.0 - 55.0 * n4 / 32.0) * s4 + (151.0 * n3 / 96.0) * s6 +
         (1097.0 * n4 / 512.0) * s8;
}

namespace {

// The MGA join between every pair of the points, the mid-point latitude found by latitude(E, N).
template <typename Latitude>
double JoinArithmetic(const std::vector<double>& east, const std::vector<double>& north,
                      Latitude latitude) {
  constexpr DistanceCalculationMode kMode = DistanceCalculationMode::MGA94_2020;
  double sum = 0.0;
  for (std::size_t a = 0; a < east.size(); ++a) {
    for (std::size_t b = a + 1; b < east.size(); ++b) {
      const double phi = latitude((east[a] + east[b]) / 2.0, (north[a] + north[b]) / 2.0);
      const double dE = east[b] - east[a];
      const double dN = north[b] - north[a];
      sum += LineScaleFactor(east[a], east[b], phi, kMode) * std::sqrt(dE * dE + dN * dN) +
             std::atan2(dE, dN);
    }
  }
  return sum;
}

}  // namespace

double JoinArithmeticFloor(const std::vector<double>& east, const std::vector<double>& north) {
  return JoinArithmetic(east, north, [](double e, double n) {
    constexpr DistanceCalculationMode kMode = DistanceCalculationMode::MGA94_2020;
    return LatitudeFromFootPoint(ClosedFormFootPointLatitude(n, kMode), e - kFalseEasting, kMode);
  });
}

double JoinArithmeticIterated(const std::vector<double>& east, const std::vector<double>& north) {
  return JoinArithmetic(east, north, [](double e, double n) {
    return GridToLatitude(e, n, DistanceCalculationMode::MGA94_2020);
  });
}

}  // namespace modKestralMGA
