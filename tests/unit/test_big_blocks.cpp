// Big blocks of memory: the byte buffer that files are read into and the allocator of the
// containers that grow with the number of marks, across the size from which blocks are mapped
// on their own.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "TempFolder.h"
#include "common/BigBlocks.h"
#include "common/ByteBuffer.h"
#include "common/TextFile.h"

namespace modKestralMGA {
namespace {

// A byte pattern that tells every place apart within a few megabytes.
char PatternByte(std::size_t at) {
  return static_cast<char>((at * 131 + at / 4099) % 251);
}

// Grown from nothing past several mapped sizes, by small and by large appends, the buffer holds
// exactly what was appended; a copy and a move hold it too, and dropping the front keeps the rest.
TEST(BigBlocks, AByteBufferGrownAcrossMappedSizesHoldsEveryByte) {
  ByteBuffer buffer;
  std::string expected;
  std::size_t at = 0;
  const std::size_t pieces[] = {1, 7, 4096, 300000, 1, 1 << 20, 3, 5 << 20, 65536};
  for (int round = 0; round < 3; ++round) {
    for (const std::size_t length : pieces) {
      std::string piece(length, '\0');
      for (char& c : piece) c = PatternByte(at++);
      buffer.append(piece);
      expected += piece;
      ASSERT_GE(buffer.capacity(), buffer.size());
    }
  }
  ASSERT_EQ(buffer.size(), expected.size());
  EXPECT_TRUE(buffer.view() == expected);

  ByteBuffer copy(buffer);
  EXPECT_TRUE(copy.view() == expected);
  ByteBuffer moved(std::move(copy));
  EXPECT_TRUE(moved.view() == expected);
  EXPECT_TRUE(copy.empty());

  moved.erase_front(12345);
  EXPECT_TRUE(moved.view() == std::string_view(expected).substr(12345));

  // Shrinking then growing again by resize keeps the first bytes; reserve never loses any.
  buffer.resize(100);
  buffer.reserve(64 << 20);
  buffer.resize(3 << 20);
  EXPECT_EQ(std::memcmp(buffer.data(), expected.data(), 100), 0);
}

// Containers on the big-block allocator keep their values when they grow from heap blocks into
// mapped ones and between mapped ones; a mapped block starts on a huge-page boundary, holds
// zeros, and can be written to its whole room.
TEST(BigBlocks, ContainersKeepTheirValuesAcrossMappedBlocks) {
  std::vector<std::uint64_t, BigBlockAllocator<std::uint64_t>> values;
  for (std::uint64_t i = 0; i < 700000; ++i) values.push_back(i * 2654435761U);
  for (std::uint64_t i = 0; i < values.size(); ++i) {
    ASSERT_EQ(values[i], i * 2654435761U) << i;
  }
  values.resize(50);
  values.shrink_to_fit();
  EXPECT_EQ(values.back(), std::uint64_t{49} * 2654435761U);

  for (const std::size_t bytes : {kBigBlockSize, kBigBlockSize + 1, std::size_t{5} << 21}) {
    const std::size_t room = BigBlockRoom(bytes);
    ASSERT_GE(room, bytes);
    auto* block = static_cast<unsigned char*>(MapBigBlock(bytes));
#if defined(__linux__)
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % (std::size_t{2} << 20), 0U) << bytes;
#endif
    bool zeros = true;
    for (std::size_t i = 0; i < room; i += 4096) zeros = zeros && block[i] == 0;
    EXPECT_TRUE(zeros) << bytes;
    std::memset(block, 0xA5, room);
    EXPECT_EQ(block[room - 1], 0xA5);
    UnmapBigBlock(block, bytes);
  }
}

// A file read with room to spare is read exactly, with the room made at once: appending up to
// it leaves the bytes where they are.
TEST(BigBlocks, AFileReadWithRoomToSpareKeepsItsBytesInPlace) {
  testsupport::TempFolder folder;
  std::string text;
  for (std::size_t at = 0; text.size() < (3U << 20); ++at) {
    text += "1000/" + std::to_string(at) + ",327458.776,6249987.375\r\n";
  }
  const std::string path = folder.Write("marks.csv", text);
  TextFile file = ReadTextFile(path, {}, "mark details file", kMaxTextFileBytes, 3);
  EXPECT_TRUE(file.Bytes.view() == text);
  ASSERT_GE(file.Bytes.capacity(), 3 * text.size());
  const char* const before = file.Bytes.data();
  file.Bytes.append(std::string(2 * text.size(), '/'));
  EXPECT_EQ(file.Bytes.data(), before);
  EXPECT_TRUE(file.Bytes.view().substr(0, text.size()) == text);
}

}  // namespace
}  // namespace modKestralMGA
