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
