#include "kelto_dorn/files/drawing_names.h"

#include <cstring>
#include <fstream>
#include <system_error>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/files/drawing_folders.h"
#include "kelto_dorn/files/files_messages.h"
#include "kelto_dorn/files/files_state.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {

namespace fs = std::filesystem;

std::string FilterDrawingName(std::string_view text, std::size_t limit) {
  using namespace std::string_view_literals;
  return TakeName(text, limit, "\0*./:\\"sv);
}

bool ReadDrawingHeaderOfFile() {
  const std::string name = platform::FieldText(g_drawingHeader.drawingName);
  if (name.empty() || platform::FieldText(g_drawingHeader.unitName).empty() ||
      platform::FieldText(g_drawingHeader.secondName).empty())
    return false;
  for (const char* extension : {".KWD", ".KWQ", ".KSE"}) {
    std::ifstream in(platform::ResolvePath(SegFolder(), name + extension), std::ios::binary);
    if (!in) continue;
    handover::DrawingHeader header;
    if (!in.read(reinterpret_cast<char*>(&header), sizeof header)) break;  // too short: keep the record
    std::memcpy(header.drawingName, g_drawingHeader.drawingName, sizeof header.drawingName);
    std::memcpy(header.unitName, g_drawingHeader.unitName, sizeof header.unitName);
    std::memcpy(header.secondName, g_drawingHeader.secondName, sizeof header.secondName);
    g_drawingHeader = header;
    platform::TerminateField(g_drawingHeader.designerName);
    platform::TerminateField(g_drawingHeader.dataExtension);
    break;
  }
  FileListKind = kFileListDrawings;
  return true;
}

void DeleteDrawingFolder(const fs::path& folder) {
  const auto failed = [](const fs::path& p) {
    ShowFilesMessage(platform::Sjis("削除出来ません.....\n\n") + platform::SystemName(p));
  };
  std::error_code ec;
  for (const char* part : {"SEG", "DAT"}) {
    for (const auto& entry : fs::directory_iterator(folder / part, ec)) {
      std::error_code removeError;
      fs::remove_all(entry.path(), removeError);
      if (removeError) failed(entry.path());
    }
  }
  for (const fs::path& p : {folder / "DAT", folder / "SEG", folder}) {
    std::error_code removeError;
    if (fs::exists(p, removeError) && !fs::remove(p, removeError)) failed(p);
  }
}

}  // namespace dorn
