#include "common/BigBlocks.h"

#include <cstdint>
#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace modKestralMGA {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kPage = 4096;

}  // namespace

std::size_t BigBlockRoom(std::size_t bytes) {
  return (bytes + kPage - 1) / kPage * kPage;
}

#if defined(__linux__)

void* MapBigBlock(std::size_t bytes) {
  const std::size_t room = BigBlockRoom(bytes);
  // Mapped a huge page longer than asked, then trimmed to start on a huge-page boundary.
  const std::size_t mapped = room + kHugePage;
  void* raw = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  char* const first = static_cast<char*>(raw);
  const std::uintptr_t at = reinterpret_cast<std::uintptr_t>(first);
  char* const block = first + ((kHugePage - at % kHugePage) % kHugePage);
  if (block != first) ::munmap(first, static_cast<std::size_t>(block - first));
  char* const end = block + room;
  if (end != first + mapped) ::munmap(end, static_cast<std::size_t>(first + mapped - end));
#if defined(MADV_HUGEPAGE)
  // Huge pages for the whole huge pages of the block; its tail keeps small pages, so that the
  // memory in use is no more than the block. Refused or not, the block works the same.
  if (room >= kHugePage) ::madvise(block, room / kHugePage * kHugePage, MADV_HUGEPAGE);
#endif
  return block;
}

void UnmapBigBlock(void* block, std::size_t bytes) {
  if (block != nullptr) ::munmap(block, BigBlockRoom(bytes));
}

#else

void* MapBigBlock(std::size_t bytes) {
  void* block = std::calloc(1, BigBlockRoom(bytes));
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

void UnmapBigBlock(void* block, std::size_t) {
  std::free(block);
}

#endif

}  // namespace modKestralMGA
