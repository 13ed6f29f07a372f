#include "common/ByteBuffer.h"

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
// From this size on a block is mapped from the system on its own: it grows by remapping, never
// by copying, and goes back to the system when let go.
constexpr std::size_t kMappedSize = std::size_t{1} << 20;

// Offers a mapped block to the kernel's huge pages, the whole of it, so that the mapping stays in
// one piece and can be remapped; refused or not, the block works the same.
void AdviseHugePages([[maybe_unused]] char* data, [[maybe_unused]] std::size_t length) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  if (length >= kHugePage) ::madvise(data, length, MADV_HUGEPAGE);
#endif
}

#if defined(__linux__)
// A fresh mapping of count bytes holding the first size bytes of data.
char* MapCopy(const char* data, std::size_t size, std::size_t count) {
  void* block = ::mmap(nullptr, count, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) throw std::bad_alloc();
  if (size > 0) std::memcpy(block, data, size);
  return static_cast<char*>(block);
}
#endif

}  // namespace

char* ByteBuffer::Grow(std::size_t count) {
#if defined(__linux__)
  if (count >= kMappedSize) {
    char* data = nullptr;
    if (m_mapped) {
      void* moved = ::mremap(m_data, m_capacity, count, MREMAP_MAYMOVE);
      if (moved != MAP_FAILED) {
        data = static_cast<char*>(moved);
      } else {
        data = MapCopy(m_data, m_size, count);
        ::munmap(m_data, m_capacity);
      }
    } else {
      data = MapCopy(m_data, m_size, count);
      std::free(m_data);
      m_mapped = true;
    }
    AdviseHugePages(data, count);
    return data;
  }
#endif
  void* grown = std::realloc(m_data, count);
  if (grown == nullptr) throw std::bad_alloc();
  return static_cast<char*>(grown);
}

void ByteBuffer::Release() {
#if defined(__linux__)
  if (m_mapped) {
    ::munmap(m_data, m_capacity);
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
  m_data = Grow(count);
  m_capacity = count;
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
