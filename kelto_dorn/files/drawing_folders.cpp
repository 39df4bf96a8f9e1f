#include "kelto_dorn/files/drawing_folders.h"

#include "kelto_dorn/app/app_state.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {

namespace fs = std::filesystem;

namespace {
constexpr std::size_t kFolderNameLimit = 52;
}

fs::path DrawingFolder() {
  const std::string unit = platform::FieldText(g_drawingHeader.unitName);
  const std::string second = platform::FieldText(g_drawingHeader.secondName);
  return platform::ResolvePath(platform::ResolvePath(platform::DataRoot(), unit), second);
}

fs::path SegFolder() { return platform::ResolvePath(DrawingFolder(), "SEG"); }
fs::path DatFolder() { return platform::ResolvePath(DrawingFolder(), "DAT"); }

std::string DrawingFolderText() {
  return platform::SystemName(platform::DataRoot()) + "\\" + platform::FieldText(g_drawingHeader.unitName) + "\\" +
         platform::FieldText(g_drawingHeader.secondName);
}

std::string TakeName(std::string_view text, std::size_t limit, std::string_view stops) {
  std::string name;
  for (std::size_t i = 0; i < text.size() && name.size() < limit; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (platform::IsCp932LeadByte(c) && i + 1 < text.size()) {
      if (name.size() + 2 > limit) break;
      name.append(text.substr(i, 2));
      ++i;
      continue;
    }
    if (stops.find(static_cast<char>(c)) != std::string_view::npos) break;
    if (c == ' ' && i + 1 < text.size() && text[i + 1] == ' ') break;
    name.push_back(static_cast<char>(c));
  }
  return name;
}

std::string CutListName(std::string_view text, std::size_t limit) {
  using namespace std::string_view_literals;
  std::string name = TakeName(text, limit, ".\0\t"sv);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return name;
}

void SetDrawingFolderNames(std::string_view unit, std::string_view second) {
  platform::SetFieldText(g_drawingHeader.unitName, CutListName(unit, kFolderNameLimit));
  platform::SetFieldText(g_drawingHeader.secondName, CutListName(second, kFolderNameLimit));
}

}  // namespace dorn
