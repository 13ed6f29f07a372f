#include "marks/MarkList.h"

#include <algorithm>
#include <utility>

namespace modKestralMGA {

MarkList& MarkList::operator=(const MarkList& other) {
  if (this != &other) {
    const std::uint64_t newer = std::max(m_revision, other.m_revision) + 1;
    m_rows = other.m_rows;
    m_revision = newer;
  }
  return *this;
}

MarkList& MarkList::operator=(MarkList&& other) noexcept {
  if (this != &other) {
    const std::uint64_t newer = std::max(m_revision, other.m_revision) + 1;
    m_rows = std::move(other.m_rows);
    m_revision = newer;
  }
  return *this;
}

void MarkList::SetCell(std::size_t row, int column, std::string text) {
  m_rows[row][static_cast<std::size_t>(column)] = std::move(text);
  Touch();
}

void MarkList::AppendRow(MarkRow row) {
  m_rows.push_back(std::move(row));
  Touch();
}

void MarkList::InsertRow(std::size_t position, MarkRow row) {
  m_rows.insert(m_rows.begin() + static_cast<std::ptrdiff_t>(position), std::move(row));
  Touch();
}

void MarkList::RemoveRow(std::size_t row) {
  m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(row));
  Touch();
}

void MarkList::KeepRows(const std::vector<bool>& keep) {
  std::size_t out = 0;
  for (std::size_t in = 0; in < m_rows.size(); ++in) {
    if (in < keep.size() && keep[in]) {
      if (out != in) m_rows[out] = std::move(m_rows[in]);
      ++out;
    }
  }
  m_rows.resize(out);
  Touch();
}

void MarkList::Resize(std::size_t count) {
  m_rows.resize(count);
  Touch();
}

void MarkList::Clear() {
  m_rows.clear();
  Touch();
}

}  // namespace modKestralMGA
