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

// Offers the whole huge pages inside a block to the kernel's huge pages; refused or not, the
// block works the same.
void AdviseHugePages([[maybe_unused]] char* data, [[maybe_unused]] std::size_t length) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  if (length < 2 * kHugePage) return;
  const auto start = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
  const std::uintptr_t last = (start + length) & ~(kHugePage - 1);
  if (last > first) {
    ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
  }
#endif
}

}  // namespace

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
  std::free(m_data);
}

void ByteBuffer::reserve(std::size_t count) {
  if (count <= m_capacity) return;
  void* grown = std::realloc(m_data, count);
  if (grown == nullptr) throw std::bad_alloc();
  m_data = static_cast<char*>(grown);
  m_capacity = count;
  AdviseHugePages(m_data, m_capacity);
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
}

}  // namespace modKestralMGA
