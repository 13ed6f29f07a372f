#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace modKestralMGA {

// A growable run of bytes that, unlike std::string, never fills the room it makes: a file read
// into it is written once, by the read. Growing reallocates in place where the system can (a
// large block is mapped on its own and remapped, not copied), and a large block is offered huge
// pages, so that the bytes of a big file cost few page faults. Moving it hands the block over
// without a copy.
class ByteBuffer {
 public:
  ByteBuffer() = default;
  explicit ByteBuffer(std::string_view bytes) { append(bytes); }
  ByteBuffer(const ByteBuffer& other) : ByteBuffer(other.view()) {}
  ByteBuffer(ByteBuffer&& other) noexcept { swap(other); }
  ByteBuffer& operator=(const ByteBuffer& other);
  ByteBuffer& operator=(ByteBuffer&& other) noexcept;
  ~ByteBuffer();

  char* data() { return m_data; }
  const char* data() const { return m_data; }
  std::size_t size() const { return m_size; }
  std::size_t capacity() const { return m_capacity; }
  bool empty() const { return m_size == 0; }
  const char* begin() const { return m_data; }
  const char* end() const { return m_data + m_size; }
  std::string_view view() const { return {m_data, m_size}; }
  operator std::string_view() const { return view(); }  // NOLINT: used as text everywhere
  std::string str() const { return std::string(view()); }

  // Makes room for count bytes in all; the bytes held stay, the room is not filled.
  void reserve(std::size_t count);
  // Holds count bytes: the first ones stay; bytes added by growing are unset until written.
  void resize(std::size_t count);
  void append(std::string_view bytes);
  void append(char byte) { append(std::string_view(&byte, 1)); }
  // Drops the first count bytes.
  void erase_front(std::size_t count);
  void clear() { m_size = 0; }
  void swap(ByteBuffer& other) noexcept;

  std::size_t find(char byte, std::size_t from = 0) const { return view().find(byte, from); }
  bool starts_with(std::string_view prefix) const { return view().starts_with(prefix); }

 private:
  // Moves the block to hold count bytes, the bytes held kept; gives the room it now has.
  std::size_t Grow(std::size_t count);
  void Release();

  char* m_data = nullptr;
  std::size_t m_size = 0;
  std::size_t m_capacity = 0;
  bool m_mapped = false;  // the block is mapped on its own rather than from the heap
};

inline bool operator==(const ByteBuffer& bytes, std::string_view text) {
  return bytes.view() == text;
}

}  // namespace modKestralMGA
