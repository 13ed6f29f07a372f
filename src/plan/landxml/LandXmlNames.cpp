#include "plan/landxml/LandXmlNames.h"

#include <cmath>
#include <unordered_set>
#include <vector>

#include "common/Errors.h"
#include "common/NumericValue.h"
#include "common/Rounding.h"
#include "geodesy/Keys.h"

namespace modKestralMGA::landxml {

namespace {

constexpr std::int32_t kHighestOrdinaryPoint = 4600;

bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The whole 32-bit number a point's name reads as, if it reads wholly as one.
std::optional<std::int32_t> WholeNumber(const std::string& name) {
  if (name.find_first_not_of(" \t") == std::string::npos) return std::nullopt;
  const NumberReading reading = ReadStrictNumber(name);
  if (reading.Status != NumberStatus::Ok || !IsExactly(std::trunc(reading.Value), reading.Value) ||
      reading.Value < -2147483648.0 || reading.Value > 2147483647.0) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(reading.Value);
}

// What stands on each CgPoint: a PSM key, or a state's mark name.
struct MonumentsOnPoints {
  std::unordered_map<std::string, std::int32_t> Keys;
  std::unordered_map<std::string, std::string> Names;
};

MonumentsOnPoints ReadMonuments(xmlNode* root,
                                const std::unordered_map<std::string, xmlNode*>& cgPoints,
                                const std::string& file) {
  MonumentsOnPoints marks;
  for (xmlNode* monument : ElementsNamed(root, "Monument")) {
    const std::string pntRef = Attribute(monument, "pntRef").value_or("");
    if (cgPoints.count(pntRef) == 0) {
      throw FileError(Where(monument, file) + " refers to point \"" + pntRef +
                      "\", which CgPoints do not define");
    }
    const std::string name = Attribute(monument, "name").value_or("");
    if (const std::optional<std::int32_t> key = MonumentKey(name)) {
      marks.Keys.emplace(pntRef, *key);
    } else if (IsStateMarkName(name)) {
      marks.Names.emplace(pntRef, name);
    }
  }
  return marks;
}

}  // namespace

bool IsStateMarkName(std::string_view name) {
  std::size_t i = 0;
  while (i < name.size() && IsLetter(name[i])) ++i;
  if (i == 0) return false;
  while (i < name.size() && name[i] == ' ') ++i;
  if (i == name.size() || !IsDigit(name[i])) return false;
  for (; i < name.size(); ++i) {
    if (!IsDigit(name[i]) && name[i] != '/') return false;
  }
  return true;
}

std::optional<std::int32_t> MonumentKey(std::string_view name) {
  if (!HasNumericKey(name)) return std::nullopt;
  const std::optional<std::int32_t> key = TryPsmKey(name);
  if (!key || *key <= kHighestOrdinaryPoint) return std::nullopt;
  return key;
}

PointNumbers::PointNumbers(xmlNode* root, const std::string& file) : m_file(file) {
  std::vector<std::pair<std::string, xmlNode*>> points;
  std::unordered_map<std::string, xmlNode*> byName;
  for (xmlNode* point : ElementsNamed(root, "CgPoint")) {
    const std::optional<std::string> name = Attribute(point, "name");
    if (!name) continue;
    if (!byName.emplace(*name, point).second) {
      throw FileError(Where(point, file) + " defines point \"" + *name + "\" a second time");
    }
    points.emplace_back(*name, point);
  }
  const MonumentsOnPoints marks = ReadMonuments(root, byName, file);
  std::unordered_set<std::int32_t> taken;
  for (const auto& [name, point] : points) {
    if (const auto key = marks.Keys.find(name); key != marks.Keys.end()) {
      taken.insert(key->second);
    } else if (const std::optional<std::int32_t> number = WholeNumber(name)) {
      taken.insert(*number);
    }
  }
  std::unordered_map<std::int32_t, const xmlNode*> holders;
  std::int32_t nextOther = -1;
  for (const auto& [name, point] : points) {
    std::int32_t number = 0;
    if (const auto key = marks.Keys.find(name); key != marks.Keys.end()) {
      number = key->second;
    } else if (const auto mark = marks.Names.find(name); mark != marks.Names.end()) {
      number = m_names.KeyOf(mark->second, [&](std::int32_t k) { return taken.count(k) != 0; });
    } else if (const std::optional<std::int32_t> whole = WholeNumber(name)) {
      number = *whole;
    } else {
      while (taken.count(nextOther) != 0) --nextOther;
      number = nextOther--;
    }
    const auto [holder, added] = holders.emplace(number, point);
    if (!added) {
      throw FileError(Where(point, file) + " and " + Where(holder->second, file) +
                      " stand for the same point");
    }
    m_numbers.emplace(name, number);
  }
}

std::int32_t PointNumbers::NumberOf(const std::string& name, const xmlNode* referrer) const {
  const auto found = m_numbers.find(name);
  if (found == m_numbers.end()) {
    throw FileError(Where(referrer, m_file) + " refers to point \"" + name +
                    "\", which CgPoints do not define");
  }
  return found->second;
}

}  // namespace modKestralMGA::landxml
