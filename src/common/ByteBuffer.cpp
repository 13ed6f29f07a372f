#include "common/ByteBuffer.h"

#include "common/BigBlocks.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace modKestralMGA {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

#if defined(__linux__)
// A fresh big block for count bytes holding the first size bytes of data.
char* MapCopy(const char* data, std::size_t size, std::size_t count) {
  char* block = static_cast<char*>(MapBigBlock(count));
  if (size > 0) std::memcpy(block, data, size);
  return block;
}
#endif

}  // namespace

std::size_t ByteBuffer::Grow(std::size_t count) {
#if defined(__linux__)
  if (count >= kBigBlockSize) {
    // A big block is mapped in whole pages: the room is used to its end.
    const std::size_t room = BigBlockRoom(count);
    char* data = nullptr;
    if (m_mapped) {
#if defined(MADV_HUGEPAGE)
      // The block's small-page tail advised as its body is, so that the block is one mapping
      // again, which is what can be remapped.
      ::madvise(m_data, m_capacity, MADV_HUGEPAGE);
#endif
      void* moved = ::mremap(m_data, m_capacity, room, MREMAP_MAYMOVE);
      if (moved != MAP_FAILED) {
        data = static_cast<char*>(moved);
#if defined(MADV_HUGEPAGE)
        // The whole huge pages of the grown block, where it now lies.
        const std::uintptr_t at = reinterpret_cast<std::uintptr_t>(data);
        const std::size_t skip = (kHugePage - at % kHugePage) % kHugePage;
        if (room > skip + kHugePage) {
          ::madvise(data + skip, (room - skip) / kHugePage * kHugePage, MADV_HUGEPAGE);
        }
#endif
      } else {
        data = MapCopy(m_data, m_size, room);
        UnmapBigBlock(m_data, m_capacity);
      }
    } else {
      data = MapCopy(m_data, m_size, room);
      std::free(m_data);
      m_mapped = true;
    }
    m_data = data;
    return room;
  }
#endif
  void* grown = std::realloc(m_data, count);
  if (grown == nullptr) throw std::bad_alloc();
  m_data = static_cast<char*>(grown);
  return count;
}

void ByteBuffer::Release() {
#if defined(__linux__)
  if (m_mapped) {
    UnmapBigBlock(m_data, m_capacity);
    return;
  }
#endif
  std::free(m_data);
}

ByteBuffer& ByteBuffer::operator=(const ByteBuffer& other) {
  if (this != &other) {
    clear();
    append(other.view());
  }
  return *this;
}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept {
  if (this != &other) {
    ByteBuffer taken(std::move(other));
    swap(taken);
  }
  return *this;
}

ByteBuffer::~ByteBuffer() {
  Release();
}

void ByteBuffer::reserve(std::size_t count) {
  if (count <= m_capacity) return;
  m_capacity = Grow(count);
}

void ByteBuffer::resize(std::size_t count) {
  reserve(count);
  m_size = count;
}

void ByteBuffer::append(std::string_view bytes) {
  if (bytes.empty()) return;
  if (m_size + bytes.size() > m_capacity) {
    // Geometric growth, so that appending byte by byte stays linear.
    reserve(std::max(m_size + bytes.size(), m_capacity + m_capacity / 2 + 64));
  }
  std::memcpy(m_data + m_size, bytes.data(), bytes.size());
  m_size += bytes.size();
}

void ByteBuffer::erase_front(std::size_t count) {
  count = std::min(count, m_size);
  if (count == 0) return;
  std::memmove(m_data, m_data + count, m_size - count);
  m_size -= count;
}

void ByteBuffer::swap(ByteBuffer& other) noexcept {
  std::swap(m_data, other.m_data);
  std::swap(m_size, other.m_size);
  std::swap(m_capacity, other.m_capacity);
  std::swap(m_mapped, other.m_mapped);
}

}  // namespace modKestralMGA
