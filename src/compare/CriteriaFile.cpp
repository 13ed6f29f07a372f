#include "compare/CriteriaFile.h"

#include <cmath>
#include <nlohmann/json.hpp>
#include <set>
#include <string_view>
#include <vector>

#include "common/Cp1252.h"
#include "common/Errors.h"
#include "common/TextFile.h"
#include "compare/BuiltInCriteriaText.h"

namespace modKestralMGA {

namespace {

using Json = nlohmann::json;

// The largest criteria file read: a few hundred criteria fit in far less.
constexpr std::size_t kMaxCriteriaFileBytes = std::size_t{1} << 20;

// Names one entry of a criteria file in messages: "criteria.json, entry 2 (\"NSW Urban\")".
class EntryName {
 public:
  EntryName(const std::string& fileName, std::size_t number)
      : m_text(fileName + ", entry " + std::to_string(number)) {}
  void SetName(const std::string& name) { m_text += " (\"" + name + "\")"; }
  [[noreturn]] void Refuse(const std::string& reason) const {
    throw FileError("Criteria file " + m_text + ": " + reason);
  }

 private:
  std::string m_text;
};

// The number under key, which must be finite and at least (or above, when strict) lowest.
double NumberField(const Json& entry, const char* key, double lowest, bool strict,
                   const EntryName& where) {
  const auto found = entry.find(key);
  if (found == entry.end()) where.Refuse(std::string("no ") + key);
  if (!found->is_number()) where.Refuse(std::string(key) + " is not a number");
  const double value = found->get<double>();
  if (!std::isfinite(value)) where.Refuse(std::string(key) + " is not a finite number");
  if (strict ? !(value > lowest) : !(value >= lowest)) {
    where.Refuse(std::string(key) + (strict ? " must be greater than 0" : " must not be negative"));
  }
  return value;
}

// p: "none" (0, no length term) or a number greater than 0.
double LengthDivisorField(const Json& entry, const EntryName& where) {
  const auto found = entry.find("p");
  if (found != entry.end() && found->is_string() && found->get<std::string>() == "none") {
    return 0.0;
  }
  if (found != entry.end() && found->is_number() && !(found->get<double>() > 0.0)) {
    where.Refuse("p must be greater than 0, or \"none\"");
  }
  if (found != entry.end() && !found->is_number()) {
    where.Refuse("p is neither a number nor \"none\"");
  }
  return NumberField(entry, "p", 0.0, true, where);
}

AccuracyCriterion ReadEntry(const Json& entry, const EntryName& where) {
  static const std::set<std::string> kFields = {"name", "a", "K", "c", "b", "p", "source"};
  for (const auto& field : entry.items()) {
    if (!kFields.contains(field.key())) where.Refuse("unknown field \"" + field.key() + "\"");
  }
  AccuracyCriterion criterion;
  criterion.Subtended = NumberField(entry, "a", 0.0, true, where);
  criterion.SecondsPerRadian = NumberField(entry, "K", 0.0, true, where);
  criterion.FixedSeconds = NumberField(entry, "c", 0.0, false, where);
  criterion.FixedMetres = NumberField(entry, "b", 0.0, true, where);
  criterion.LengthDivisor = LengthDivisorField(entry, where);
  if (const auto source = entry.find("source"); source != entry.end()) {
    if (!source->is_string()) where.Refuse("source is not a text");
    criterion.Source = Utf8ToCp1252(source->get<std::string>());
  }
  return criterion;
}

// The entry's name, as the program holds texts (Windows-1252); refused when empty or taken.
std::string ReadName(const Json& entry, const std::vector<AccuracyCriterion>& known,
                     EntryName& where) {
  if (!entry.is_object()) where.Refuse("not an object");
  const auto found = entry.find("name");
  if (found == entry.end() || !found->is_string()) where.Refuse("no name");
  const std::string name = Utf8ToCp1252(found->get<std::string>());
  if (name.empty()) where.Refuse("the name is empty");
  where.SetName(name);
  for (const AccuracyCriterion& other : known) {
    if (other.Name == name) where.Refuse("the name is already a criterion");
  }
  return name;
}

// The parser's own description without its "[json.exception...] " prefix.
std::string ParseErrorText(const nlohmann::json::exception& e) {
  const std::string_view what = e.what();
  const std::size_t cut = what.find("] ");
  return std::string(cut == std::string_view::npos ? what : what.substr(cut + 2));
}

}  // namespace

CriteriaTable AddCriteriaText(const CriteriaTable& known, std::string_view text,
                              const std::string& fileName, bool userDefined) {
  Json document;
  try {
    document = Json::parse(text.begin(), text.end());
  } catch (const nlohmann::json::exception& e) {
    throw FileError("Criteria file " + fileName + " is not valid JSON: " + ParseErrorText(e));
  }
  const auto list = document.is_object() ? document.find("criteria") : document.end();
  if (list == document.end() || !list->is_array()) {
    throw FileError("Criteria file " + fileName + " holds no \"criteria\" list");
  }
  std::vector<AccuracyCriterion> criteria = known.All();
  std::size_t number = 0;
  for (const Json& entry : *list) {
    EntryName where(fileName, ++number);
    std::string name = ReadName(entry, criteria, where);
    AccuracyCriterion criterion = ReadEntry(entry, where);
    criterion.Name = std::move(name);
    criterion.UserDefined = userDefined;
    criteria.push_back(std::move(criterion));
  }
  return CriteriaTable(std::move(criteria));
}

CriteriaTable AddCriteriaFile(const CriteriaTable& known, const std::string& path) {
  const TextFile file = ReadTextFile(path, path, "criteria file", kMaxCriteriaFileBytes);
  return AddCriteriaText(known, file.Bytes, path, true);
}

const CriteriaTable& BuiltInCriteria() {
  // Read once; a build whose file does not read fails its tests before it ships.
  static const CriteriaTable builtIn =
      AddCriteriaText(CriteriaTable(), kBuiltInCriteriaText, "criteria.json", false);
  return builtIn;
}

}  // namespace modKestralMGA
