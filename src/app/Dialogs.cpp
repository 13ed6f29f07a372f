#include "app/Dialogs.h"

std::vector<DialogFilterEntry> ParseDialogFilter(const std::string& filter) {
  std::vector<std::string> parts;
  std::string::size_type start = 0;
  while (start <= filter.size() && !filter.empty()) {
    const auto bar = filter.find('|', start);
    if (bar == std::string::npos) {
      parts.push_back(filter.substr(start));
      break;
    }
    parts.push_back(filter.substr(start, bar - start));
    start = bar + 1;
  }
  std::vector<DialogFilterEntry> entries;
  for (std::size_t i = 0; i < parts.size(); i += 2) {
    DialogFilterEntry entry;
    entry.Description = parts[i];
    if (i + 1 < parts.size()) entry.Pattern = parts[i + 1];
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::string DefaultSuffix(const std::string& filter) {
  const std::vector<DialogFilterEntry> entries = ParseDialogFilter(filter);
  if (entries.empty()) return {};
  const std::string& pattern = entries.front().Pattern;
  const auto end = pattern.find_first_of(" ;");
  const std::string first = pattern.substr(0, end);
  if (first.size() < 3 || first.compare(0, 2, "*.") != 0) return {};
  const std::string suffix = first.substr(2);
  if (suffix.find_first_of("*?[") != std::string::npos) return {};
  return suffix;
}
