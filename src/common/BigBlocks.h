#pragma once

#include <cstddef>
#include <new>

namespace modKestralMGA {

// Blocks of memory from this size on are mapped from the system on their own and offered huge
// pages: a list of 200,000 marks, its PSM table and its index then cost a handful of page faults
// rather than thousands, and go back to the system when let go.
inline constexpr std::size_t kBigBlockSize = std::size_t{1} << 20;

// The room a big block of at least bytes is mapped with: whole pages.
std::size_t BigBlockRoom(std::size_t bytes);
// A block of BigBlockRoom(bytes) bytes starting on a huge-page boundary, its whole huge pages
// offered huge pages, zero-filled by the system on first touch; or std::bad_alloc.
void* MapBigBlock(std::size_t bytes);
// Lets go of a block MapBigBlock gave for bytes.
void UnmapBigBlock(void* block, std::size_t bytes);

// A standard allocator that takes big blocks (kBigBlockSize and more) from MapBigBlock and the
// rest from the heap; for the containers that grow with the number of marks or plan points.
template <typename T>
struct BigBlockAllocator {
  using value_type = T;
  BigBlockAllocator() = default;
  template <typename U>
  BigBlockAllocator(const BigBlockAllocator<U>&) noexcept {}  // NOLINT: rebinding

  T* allocate(std::size_t count) {
    const std::size_t bytes = count * sizeof(T);
    if (bytes >= kBigBlockSize) return static_cast<T*>(MapBigBlock(bytes));
    return static_cast<T*>(::operator new (bytes, std::align_val_t{alignof(T)}));
  }
  void deallocate(T* block, std::size_t count) noexcept {
    const std::size_t bytes = count * sizeof(T);
    if (bytes >= kBigBlockSize) {
      UnmapBigBlock(block, bytes);
    } else {
      ::operator delete (block, std::align_val_t{alignof(T)});
    }
  }
  template <typename U>
  bool operator==(const BigBlockAllocator<U>&) const noexcept {
    return true;
  }
};

}  // namespace modKestralMGA
