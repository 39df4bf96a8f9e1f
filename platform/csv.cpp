#include "platform/csv.h"

#include "platform/text.h"

namespace platform {

namespace {

std::string_view WithoutLineEnd(std::string_view line) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

}  // namespace

void SplitCsvLine(std::string_view line, std::string_view separator, std::vector<std::string>& fields) {
  line = WithoutLineEnd(line);
  if (separator.empty()) {
    if (!line.empty()) fields.emplace_back(line);
    return;
  }
  const char sep = separator.front();
  std::size_t fieldStart = 0;
  std::size_t i = 0;
  while (i < line.size()) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    if (platform::IsCp932LeadByte(c) && i + 1 < line.size()) {
      i += 2;  // a double-byte character: its second byte may equal the separator
      continue;
    }
    if (line[i] == sep) {
      fields.emplace_back(line.substr(fieldStart, i - fieldStart));
      fieldStart = i + 1;
    }
    ++i;
  }
  if (fieldStart < line.size()) fields.emplace_back(line.substr(fieldStart));
}

}  // namespace platform
