#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace modKestralMGA {

// Whether the PSM key rule turns a mark's number into a number of its own: its key text (the
// number without its fifth character when it holds a slash) reads wholly as a number, blanks
// aside. 6628/1234 and 66281234 do; PM 12345, SSM 1234 and 1234A do not, and are matched by their
// text instead.
bool HasNumericKey(std::string_view psmNumber);

// The text by which a named mark is matched: letters in upper case, blanks and tabs dropped
// ("pm 12345" and "PM12345" both give "PM12345").
std::string MarkNameMatchText(std::string_view name);

// The marks of one plan whose names the PSM key rule cannot turn into numbers. Each stands in the
// plan under a key of its own, chosen above every point number of the plan and given to the rows
// of the mark list whose PSM No. has the same match text, so that the comparison looks named marks
// up as it looks up numbered ones.
struct MarkNameTable {
  std::unordered_map<std::string, std::int32_t> KeyOfMatchText;
  std::unordered_map<std::int32_t, std::string> WrittenName;  // the name as the plan writes it

  bool Empty() const { return KeyOfMatchText.empty(); }
  // The key of name, given a new one (the highest 32-bit number not yet taken and not refused by
  // taken) when its match text has none yet.
  template <typename Taken>
  std::int32_t KeyOf(std::string_view name, Taken&& taken) {
    std::string text = MarkNameMatchText(name);
    if (const auto found = KeyOfMatchText.find(text); found != KeyOfMatchText.end()) {
      return found->second;
    }
    std::int32_t key = m_nextKey;
    while (taken(key) || WrittenName.count(key) != 0) --key;
    m_nextKey = key - 1;
    KeyOfMatchText.emplace(std::move(text), key);
    WrittenName.emplace(key, std::string(name));
    return key;
  }
  bool operator==(const MarkNameTable& other) const {
    return KeyOfMatchText == other.KeyOfMatchText && WrittenName == other.WrittenName;
  }

 private:
  std::int32_t m_nextKey = 2147483647;
};

}  // namespace modKestralMGA
