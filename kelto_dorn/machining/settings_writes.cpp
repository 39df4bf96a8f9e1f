#include "kelto_dorn/machining/settings_writes.h"

#include "kelto_dorn/tooldb/db_messages.h"
#include "kelto_dorn/tooldb/tool_folders.h"

namespace dorn {

namespace {
constexpr int kFileOpenError = 50;
}

void ReportWriteFailure(const std::filesystem::path& path) {
  PutPathInTextBuffer(path);
  ShowMessage(kFileOpenError);
}

bool WriteSettingsFile(const std::filesystem::path& path, const void* data, std::size_t size) {
  if (platform::WriteFileAtomic(path, data, size).ok()) return true;
  ReportWriteFailure(path);
  return false;
}

}  // namespace dorn
